// Tour section: the package frame, shared types and universal constants.
#include <iomanip>

#include "command.h"
#include "qorkit/qorkit.h"

namespace qorkit::tool {

namespace {

void ShowCore(std::ostream& out) {
    out << std::setprecision(19) << "uc_e = " << uc_e << ", uc_ln10 = " << uc_ln10
        << ", uc_GoldenR = " << uc_GoldenR << "\n";
    out << std::setprecision(15) << "ln(10!) = " << uc_LnFactorial[10]
        << ", ln(1000!) = " << uc_LnFactorial[1000] << "\n";
    out << "uc_MaxInt64 = " << uc_MaxInt64 << ", uc_MaxDouble = " << std::setprecision(2)
        << static_cast<double>(uc_MaxDouble) << "\n";
    try {
        throw EQORDStructError(u"a data-structure error");
    } catch (const EQORError& e) {
        out << "EQORError catches every library error, e.g. \"" << e.what() << "\"\n";
    }
    out << "The library's units start when it is loaded, in this order:";
    for (const TPackageUnitInfo& u : GetPackageInfoTable())
        out << " " << u.Name;
    out << "\n";
}

const RegisterTourSection kSection({10, "Constants, errors and the package frame", ShowCore});

}  // namespace

}  // namespace qorkit::tool
