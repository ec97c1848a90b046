// temporary until the string helpers land
#include "qorkit/rtl/sysutils.h"
namespace qorkit {
String LowerCase(std::u16string_view S) {
    String r(S);
    for (auto& c : r) if (c >= u'A' && c <= u'Z') c = static_cast<Char>(c + 32);
    return r;
}
}
