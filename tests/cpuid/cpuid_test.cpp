// CPU identification: recorded processor signatures, the text and feature rules on synthetic
// register values, the leaf checks and messages, and sanity on the processor at hand.
#include <pthread.h>
#include <sys/resource.h>

#include <algorithm>
#include <map>

#include <gtest/gtest.h>

#include "../../src/cpuid/cpuid_backend.h"
#include "qorkit/Qor_cpuid.h"

namespace qorkit {
namespace {

// A processor made of registers: queries of leaves not listed answer zeros.
struct FakeCpu {
    bool present = true;
    std::map<std::uint32_t, TCPUIDResult> leaves;
    std::uint64_t xcr0 = 0;
};
FakeCpu gFake;

// Installs `gFake` for the life of the object.
class FakeCpuScope {
  public:
    FakeCpuScope()
        : FOld(detail::SetCpuIdBackend({[] { return gFake.present; },
                                        [](std::uint32_t leaf, std::uint32_t) {
                                            const auto it = gFake.leaves.find(leaf);
                                            return it == gFake.leaves.end() ? TCPUIDResult{}
                                                                            : it->second;
                                        },
                                        [] { return gFake.xcr0; }})) {}
    ~FakeCpuScope() { detail::SetCpuIdBackend(FOld); }

  private:
    detail::CpuIdBackend FOld;
};

constexpr std::uint32_t Text4(const char (&s)[5]) {
    return std::uint32_t{static_cast<unsigned char>(s[0])} |
           std::uint32_t{static_cast<unsigned char>(s[1])} << 8 |
           std::uint32_t{static_cast<unsigned char>(s[2])} << 16 |
           std::uint32_t{static_cast<unsigned char>(s[3])} << 24;
}

// A processor with the brand text "  Test CPU @ 1.00GHz" padded with zeros.
void MakeTypicalCpu() {
    gFake = FakeCpu{};
    gFake.leaves[0] = {7, Text4("Genu"), Text4("ntel"), Text4("ineI")};
    gFake.leaves[1] = {0x000306C3u, 0x00100842u, 0x7FFAFBFFu, 0xBFEBFBFFu};
    gFake.leaves[0x80000000u] = {0x80000008u, 0, 0, 0};
    gFake.leaves[0x80000001u] = {0, 0, 0x21u, 0x2C100800u};
    gFake.leaves[0x80000002u] = {Text4("  Te"), Text4("st C"), Text4("PU @"), Text4(" 1.0")};
    gFake.leaves[0x80000003u] = {Text4("0GHz"), 0, 0, 0};
    gFake.leaves[0x80000004u] = {0, 0, 0, 0};
}

std::string Utf8(const String& s) {
    return ToUtf8(s);
}

TEST(CpuIdSignatures, RecordedProcessorsDecodeToTheirPublishedFields) {
    // Signatures (EAX of leaf 1) of well-documented processors with the family, model and
    // stepping their makers publish for them.
    struct Row {
        const char* name;
        std::uint32_t signature;
        int family, model, stepping;
    };
    const Row rows[] = {
        {"Pentium P5 (60/66 MHz)", 0x00000513u, 5, 0x01, 3},
        {"Pentium Pro", 0x00000617u, 6, 0x01, 7},
        {"Pentium 4 Northwood", 0x00000F27u, 15, 0x02, 7},
        {"Pentium 4 Prescott", 0x00000F41u, 15, 0x04, 1},
        {"Core 2 Conroe", 0x000006F6u, 6, 0x0F, 6},
        {"Sandy Bridge", 0x000206A7u, 6, 0x2A, 7},
        {"Haswell", 0x000306C3u, 6, 0x3C, 3},
        {"Skylake", 0x000506E3u, 6, 0x5E, 3},
        {"Alder Lake", 0x00090672u, 6, 0x97, 2},
        {"Athlon 64 (K8)", 0x00020F32u, 15, 0x23, 2},
        {"EPYC Naples (Zen)", 0x00800F12u, 0x17, 0x01, 2},
        {"EPYC Rome (Zen 2)", 0x00830F10u, 0x17, 0x31, 0},
        {"EPYC Milan (Zen 3)", 0x00A00F11u, 0x19, 0x01, 1},
        {"EPYC Genoa (Zen 4)", 0x00A10F11u, 0x19, 0x11, 1},
        {"AMD K6 (family 5)", 0x0000058Cu, 5, 0x08, 12},
    };
    FakeCpuScope scope;
    for (const Row& r : rows) {
        EXPECT_EQ(CPUSignatureFamily(r.signature), r.family) << r.name;
        EXPECT_EQ(CPUSignatureModel(r.signature), r.model) << r.name;
        MakeTypicalCpu();
        gFake.leaves[1].EAX = r.signature;
        ASSERT_EQ(CPU_Signature(), r.signature) << r.name;
        EXPECT_EQ(CPU_Stepping(), r.stepping) << r.name;
        // The raw fields recombine to the published ones.
        const int base = CPU_Family();
        EXPECT_EQ(base == 15 ? base + CPU_ExFamily() : base, r.family) << r.name;
        EXPECT_EQ(base == 6 || base == 15 ? CPU_ExModel() << 4 | CPU_Model() : CPU_Model(), r.model)
            << r.name;
        EXPECT_EQ(CPU_Type(), 0) << r.name;
    }
}

TEST(CpuIdSynthetic, VendorBrandWordsAndSerialNumber) {
    FakeCpuScope scope;
    MakeTypicalCpu();
    EXPECT_TRUE(CPU_IDSupport());
    EXPECT_EQ(Utf8(CPU_VendorString()), "GenuineIntel");
    EXPECT_EQ(Utf8(CPU_MarketName()), "Test CPU @ 1.00GHz");
    EXPECT_EQ(CPU_Signature(), 0x000306C3u);
    EXPECT_EQ(CPU_FeatureSet(), 0xBFEBFBFFu);
    EXPECT_EQ(CPU_ExtendedFeatureSet(), 0x2C100800u);
    EXPECT_EQ(CPU_BrandID(), 0x42);
    EXPECT_EQ(Utf8(CPU_SerialNumber()), "000306C3BFEBFBFF7FFAFBFF");
    EXPECT_EQ(CPU_Query(0x80000001u).ECX, 0x21u);

    // A vendor text with a zero byte inside is short, hence unknown.
    gFake.leaves[0].ECX = Text4("nt\0l");
    EXPECT_EQ(Utf8(CPU_VendorString()), "Unknown");
    // A control character left inside the trimmed brand makes it unknown; codes of 32 and
    // below at both ends are trimmed, whatever they are.
    gFake.leaves[0x80000003u].EBX = Text4("\tx\1\0");
    EXPECT_EQ(Utf8(CPU_MarketName()), "unknown");
    gFake.leaves[0x80000003u].EBX = Text4("\t\x1F \0");
    gFake.leaves[0x80000002u].EAX = Text4("\x01\x02Te");
    EXPECT_EQ(Utf8(CPU_MarketName()), "Test CPU @ 1.00GHz");
    // Bytes above 127 are character codes too.
    gFake.leaves[0x80000003u].EBX = Text4("\xAE\0\0\0");
    EXPECT_EQ(CPU_MarketName().back(), u'\u00AE');
}

TEST(CpuIdSynthetic, SignatureFieldsTypeAndOverDrive) {
    FakeCpuScope scope;
    MakeTypicalCpu();
    gFake.leaves[1].EAX = 0x0FED15A3u;  // every field distinct; type 1 marks an OverDrive part
    EXPECT_EQ(CPU_Stepping(), 0x3);
    EXPECT_EQ(CPU_Model(), 0xA);
    EXPECT_EQ(CPU_Family(), 0x5);
    EXPECT_EQ(CPU_Type(), 1);
    EXPECT_TRUE(CPU_OverDrive());
    EXPECT_EQ(CPU_ExModel(), 0xD);
    EXPECT_EQ(CPU_ExFamily(), 0xFE);
    gFake.leaves[1].EAX = 0x00002000u;  // type 2: a dual processor, not an OverDrive
    EXPECT_FALSE(CPU_OverDrive());
    // Without leaf 1 every signature-derived value is 0, and the words read 0.
    gFake.leaves[0].EAX = 0;
    EXPECT_EQ(CPU_Signature(), 0u);
    EXPECT_EQ(CPU_FeatureSet(), 0u);
    EXPECT_EQ(CPU_BrandID(), 0);
    EXPECT_EQ(CPU_Family() + CPU_Model() + CPU_Stepping() + CPU_ExFamily() + CPU_ExModel(), 0);
    EXPECT_FALSE(CPU_OverDrive());
}

void ExpectCpuIdError(void (*f)(), const char* message) {
    try {
        f();
        ADD_FAILURE() << "no error for " << message;
    } catch (const EQORCpuIdError& e) {
        EXPECT_STREQ(e.what(), message);
    }
}

TEST(CpuIdSynthetic, LeavesBeyondTheHighestAreRefused) {
    constexpr const char* kLevel = "CPUID: execution level not supported";
    FakeCpuScope scope;
    MakeTypicalCpu();
    ExpectCpuIdError([] { CPU_Query(8); }, kLevel);
    ExpectCpuIdError([] { CPU_Query(0x80000009u); }, kLevel);
    // Extended leaves are checked against the highest extended leaf, not accepted because
    // they are negative as signed numbers: without the brand leaves there is no brand text.
    gFake.leaves[0x80000000u].EAX = 0x80000001u;
    ExpectCpuIdError([] { CPU_MarketName(); }, kLevel);
    EXPECT_EQ(CPU_ExtendedFeatureSet(), 0x2C100800u);
    // A processor answering leaf 80000000h with a basic-range value has no extended leaves.
    gFake.leaves[0x80000000u].EAX = 0x0000000Du;
    EXPECT_EQ(CPU_ExtendedFeatureSet(), 0u);
    ExpectCpuIdError([] { CPU_Query(0x80000000u); }, kLevel);
}

TEST(CpuIdSynthetic, WithoutTheInstructionEveryQueryRaises) {
    constexpr const char* kNone = "Cannot acquire CPU information (CPUID not supported)";
    FakeCpuScope scope;
    MakeTypicalCpu();
    gFake.present = false;
    EXPECT_FALSE(CPU_IDSupport());
    ExpectCpuIdError([] { CPU_VendorString(); }, kNone);
    ExpectCpuIdError([] { CPU_MarketName(); }, kNone);
    ExpectCpuIdError([] { CPU_Signature(); }, kNone);
    ExpectCpuIdError([] { CPU_FeatureSet(); }, kNone);
    ExpectCpuIdError([] { CPU_ExtendedFeatureSet(); }, kNone);
    ExpectCpuIdError([] { CPU_BrandID(); }, kNone);
    ExpectCpuIdError([] { CPU_Stepping(); }, kNone);
    ExpectCpuIdError([] { CPU_OverDrive(); }, kNone);
    ExpectCpuIdError([] { CPU_SerialNumber(); }, kNone);
    ExpectCpuIdError([] { CPU_Query(0); }, kNone);
    // These never raise on their own.
    EXPECT_GE(CPU_Count(), 1);
    EXPECT_FALSE(CPU_FDIVBugPresent());
    EXPECT_EQ(CPU_Speed(0), 0.0f);
}

TEST(CpuIdSynthetic, ExtensionsNeedTheRegisterStateTheSystemSaves) {
    FakeCpu cpu;
    cpu.leaves[0] = {7, 0, 0, 0};
    // PCLMUL, SSSE3, SSE4.1, POPCNT, OSXSAVE, AVX; AVX2, AVX-512 F/BW/VL, SHA; VBMI, VPCLMULQDQ.
    cpu.leaves[1] = {0, 0,
                     (1u << 1) | (1u << 9) | (1u << 19) | (1u << 23) | (1u << 27) | (1u << 28), 0};
    cpu.leaves[7] = {0, (1u << 5) | (1u << 16) | (1u << 29) | (1u << 30) | (1u << 31),
                     (1u << 1) | (1u << 10), 0};
    FakeCpuScope scope;
    gFake = cpu;
    gFake.xcr0 = 0xE7;  // x87, SSE, AVX, opmask, ZMM
    auto f = detail::DecodeProcessorFeatures(detail::CurrentCpuId());
    EXPECT_TRUE(f.Pclmul && f.Ssse3 && f.Sse41 && f.Popcnt && f.Avx2 && f.Sha && f.Vpclmul);
    EXPECT_TRUE(f.Avx512F && f.Avx512BW && f.Avx512VL && f.Avx512Vbmi);
    gFake.xcr0 = 0x07;  // the system saves no ZMM state
    f = detail::DecodeProcessorFeatures(detail::CurrentCpuId());
    EXPECT_TRUE(f.Avx2 && f.Vpclmul);
    EXPECT_FALSE(f.Avx512F || f.Avx512BW || f.Avx512VL || f.Avx512Vbmi);
    gFake.leaves[1].ECX &= ~(1u << 27);  // no XSAVE enabled: XMM only
    f = detail::DecodeProcessorFeatures(detail::CurrentCpuId());
    EXPECT_TRUE(f.Pclmul && f.Sha);
    EXPECT_FALSE(f.Avx2 || f.Vpclmul || f.Avx512F);
    gFake.leaves[0].EAX = 1;  // leaf 7 beyond the highest: none of its extensions
    gFake.xcr0 = 0xE7;
    gFake.leaves[1].ECX |= 1u << 27;
    f = detail::DecodeProcessorFeatures(detail::CurrentCpuId());
    EXPECT_TRUE(f.Pclmul);
    EXPECT_FALSE(f.Avx2 || f.Sha || f.Avx512F);
    gFake.present = false;
    f = detail::DecodeProcessorFeatures(detail::CurrentCpuId());
    EXPECT_FALSE(f.Pclmul || f.Ssse3 || f.Popcnt);
}

TEST(CpuIdHost, TheProcessorAtHand) {
    EXPECT_GE(CPU_Count(), 1);
    EXPECT_FALSE(CPU_FDIVBugPresent());
    // The division flaw test needs the quotient in extended precision: rounded to a double
    // first, the same expression is not 0 on a sound processor.
    volatile long double a = 3145727.0L, b = 4195835.0L;
    const double rounded = static_cast<double>(b / a);
    EXPECT_NE(a * rounded - b, 0.0L);
#if defined(__x86_64__) || defined(__i386__)
    ASSERT_TRUE(CPU_IDSupport());
    EXPECT_EQ(CPU_VendorString().size(), 12u);
    EXPECT_NE(CPU_Signature(), 0u);
    EXPECT_TRUE(CPU_FeatureSet() >> cpuft_fpu & 1u);
    EXPECT_EQ(CPU_SerialNumber().size(), 24u);
    EXPECT_GT(CPU_Speed(20), 0.0f);
    // The one feature decoding agrees with the compiler's own probe.
    const detail::ProcessorFeatures& f = detail::HostFeatures();
    __builtin_cpu_init();
    EXPECT_EQ(f.Avx2, __builtin_cpu_supports("avx2") != 0);
    EXPECT_EQ(f.Avx512F, __builtin_cpu_supports("avx512f") != 0);
    EXPECT_EQ(f.Avx512BW, __builtin_cpu_supports("avx512bw") != 0);
    EXPECT_EQ(f.Avx512Vbmi, __builtin_cpu_supports("avx512vbmi") != 0);
    EXPECT_EQ(f.Pclmul, __builtin_cpu_supports("pclmul") != 0);
    EXPECT_EQ(f.Sse41, __builtin_cpu_supports("sse4.1") != 0);
    EXPECT_EQ(f.Popcnt, __builtin_cpu_supports("popcnt") != 0);
#else
    EXPECT_FALSE(CPU_IDSupport());
#endif
    EXPECT_EQ(CPUFeatureNames[cpuft_fpu], u"Floating Point Unit");
    EXPECT_EQ(CPUFeatureNames[cpuft_3dnow], u"3DNow! instructions available");
}

}  // namespace
}  // namespace qorkit

#if defined(__x86_64__) || defined(__i386__)
namespace qorkit {
namespace {

// The measurement spans whole ticks from a tick change, so a short span agrees with a long
// one (a span started inside a tick was up to one tick short, 10% at 10 ms); the scheduling
// class and the nice value are what they were before, whether they could be raised or not.
TEST(CpuIdHost, SpeedSpansWholeTicksAndRestoresThePriority) {
    int policy = 0;
    sched_param param{};
    ASSERT_EQ(::pthread_getschedparam(::pthread_self(), &policy, &param), 0);
    const int nice = ::getpriority(PRIO_PROCESS, 0);
    // The lowest of a few measurements: on a busy machine a span can only overrun.
    const auto lowest = [](std::uint32_t ms, int times) {
        float v = 1e30f;
        for (int i = 0; i < times; ++i)
            v = std::min(v, CPU_Speed(ms));
        return v;
    };
    EXPECT_NEAR(lowest(10, 5) / lowest(100, 3), 1.0, 0.03);
    int policyAfter = -1;
    sched_param paramAfter{};
    ASSERT_EQ(::pthread_getschedparam(::pthread_self(), &policyAfter, &paramAfter), 0);
    EXPECT_EQ(policyAfter, policy);
    EXPECT_EQ(paramAfter.sched_priority, param.sched_priority);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, 0), nice);
}

}  // namespace
}  // namespace qorkit
#endif
