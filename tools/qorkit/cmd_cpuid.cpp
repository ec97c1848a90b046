// The cpuinfo subcommand (what the identification unit reports about this processor) and the
// tour section about it.
#include <cstdio>
#include <iomanip>
#include <sstream>
#include <vector>

#include "command.h"
#include "qorkit/Qor_cpuid.h"
#include "qorkit/Qor_dstruct.h"

namespace qorkit::tool {

namespace {

// Short names of the feature bits, as the enumeration names them.
constexpr const char* kFeatureMnemonics[32] = {
    "fpu", "vme",   "de",     "pse",     "tsc",       "msr", "pae",  "mce",
    "cx8", "apic",  "sepamd", "sep",     "mtrr",      "pge", "mca",  "cmov",
    "pat", "pse36", "serial", "clflush", "reserved1", "dts", "acpi", "mmx",
    "xsr", "simd",  "simd2",  "ss",      "reserved2", "tm",  "ia64", "3dnow"};

std::string Hex8(std::uint32_t v) {
    char buf[12];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

void PrintIdentity(std::ostream& out) {
    const std::uint32_t sig = CPU_Signature();
    out << "vendor: " << ToUtf8(CPU_VendorString()) << "\n";
    String brand;
    try {
        brand = CPU_MarketName();
    } catch (const EQORCpuIdError&) {
        brand = u"(no brand text)";
    }
    out << "brand: " << ToUtf8(brand) << "\n";
    out << "signature: " << Hex8(sig) << "\n";
    out << "family: " << CPUSignatureFamily(sig) << " (base " << CPU_Family() << ", extended "
        << CPU_ExFamily() << ")\n";
    out << "model: " << CPUSignatureModel(sig) << " (base " << CPU_Model() << ", extended "
        << CPU_ExModel() << ")\n";
    out << "stepping: " << CPU_Stepping() << "\n";
    out << "type: " << CPU_Type() << (CPU_OverDrive() ? " (OverDrive)" : "") << "\n";
    out << "brand id: " << CPU_BrandID() << "\n";
}

void PrintFeatures(std::ostream& out) {
    const std::uint32_t set = CPU_FeatureSet();
    out << "feature word: " << Hex8(set) << ", extended: " << Hex8(CPU_ExtendedFeatureSet())
        << "\nflags:";
    for (int bit = 0; bit < 32; ++bit)
        if (set >> bit & 1u) out << " " << kFeatureMnemonics[bit];
    out << "\n";
    for (int bit = 0; bit < 32; ++bit)
        if (set >> bit & 1u)
            out << "  " << std::setw(2) << bit << "  " << ToUtf8(String(CPUFeatureNames[bit]))
                << "\n";
}

int CpuInfo(Args args, std::ostream& out, std::ostream&) {
    std::int32_t delay = 200;
    OptionParser().Int("--delay", delay, 1, 10000).Parse(args, 0, 0);
    if (!CPU_IDSupport()) throw Failure("this processor has no identification instruction");
    PrintIdentity(out);
    out << "processors: " << CPU_Count() << "\n";
    PrintFeatures(out);
    out << "fast paths: CRC-32 " << CRC32Implementation() << ", SHA-1 " << SHA1Implementation()
        << ", Base64 " << Base64Implementation() << "\n";
    out << std::fixed << std::setprecision(0) << "clock: " << CPU_Speed(delay)
        << " MHz (measured over " << delay << " ms)\n";
    out << "division flaw: " << (CPU_FDIVBugPresent() ? "present" : "absent") << "\n";
    return 0;
}

void ShowCpu(std::ostream& out) {
    if (!CPU_IDSupport()) {
        out << "This processor has no identification instruction.\n";
        return;
    }
    const std::uint32_t sig = CPU_Signature();
    out << ToUtf8(CPU_VendorString()) << ", family " << CPUSignatureFamily(sig) << " model "
        << CPUSignatureModel(sig) << " stepping " << CPU_Stepping() << ", " << CPU_Count()
        << " processor(s)\n";
    std::ostringstream flags;
    PrintFeatures(flags);
    const std::string text = flags.str();
    out << text.substr(0, text.find("\n  ") + 1);  // the words and the short names only
    out << std::fixed << std::setprecision(0) << "Clock over 50 ms: " << CPU_Speed(50)
        << " MHz; the library's CRC-32 runs " << CRC32Implementation() << ", SHA-1 "
        << SHA1Implementation() << ", Base64 " << Base64Implementation() << "\n";
}

const RegisterCommand kReg({"cpuinfo", "qorkit cpuinfo [--delay MS]",
                            "processor vendor, brand, signature, features and clock", CpuInfo});
const RegisterTourSection kSection({120, "CPU identification", ShowCpu});

}  // namespace

}  // namespace qorkit::tool
