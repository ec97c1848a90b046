// The identification instruction behind every query, the leaf check, and the decoding of the
// extension bits that the fast paths of the library are chosen by.
#include "cpuid_backend.h"

#include <atomic>
#include <deque>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace qorkit::detail {

namespace {

#if defined(__x86_64__) || defined(__i386__)

bool HardwarePresent() {
#if defined(__x86_64__)
    return true;  // every 64-bit x86 processor has the instruction
#else
    // The compiler's helper toggles the ID flag (bit 21 of EFLAGS) and answers 0 when it sticks.
    return __get_cpuid_max(0, nullptr) != 0;
#endif
}

TCPUIDResult HardwareExecute(std::uint32_t Leaf, std::uint32_t SubLeaf) {
    TCPUIDResult r;
    __cpuid_count(Leaf, SubLeaf, r.EAX, r.EBX, r.ECX, r.EDX);
    return r;
}

std::uint64_t HardwareEnabledState() {
    TCPUIDResult r = HardwareExecute(1, 0);
    if (!(r.ECX & (1u << 27))) return 0;  // the operating system has not enabled XSAVE
    std::uint32_t lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return std::uint64_t{hi} << 32 | lo;
}

constexpr CpuIdBackend kHardware{HardwarePresent, HardwareExecute, HardwareEnabledState};

#else

bool HardwarePresent() {
    return false;
}
constexpr CpuIdBackend kHardware{HardwarePresent, nullptr, nullptr};

#endif

// Three pointers swapped as one: a query never sees half of a new backend.
std::atomic<const CpuIdBackend*> gBackend{&kHardware};

}  // namespace

CpuIdBackend HardwareCpuId() noexcept {
    return kHardware;
}

CpuIdBackend SetCpuIdBackend(CpuIdBackend Backend) noexcept {
    // Installed backends are kept until the process ends: a query running on another thread
    // may still read the previous one.
    static std::deque<CpuIdBackend> installed;
    installed.push_back(Backend);
    return *gBackend.exchange(&installed.back());
}

CpuIdBackend CurrentCpuId() noexcept {
    return *gBackend.load();
}

CpuIdStatus TryCpuId(const CpuIdBackend& Backend, std::uint32_t Leaf, std::uint32_t SubLeaf,
                     TCPUIDResult& Out) noexcept {
    if (Backend.Present == nullptr || Backend.Execute == nullptr || !Backend.Present())
        return CpuIdStatus::NoInstruction;
    // Leaf 0 answers the highest basic leaf, 80000000h the highest extended one. Extended
    // leaves are compared unsigned within their own range: as signed numbers they would all
    // pass the basic check.
    const std::uint32_t base = Leaf & 0x80000000u;
    const std::uint32_t highest = Backend.Execute(base, 0).EAX;
    if (base != 0 && (highest & 0x80000000u) == 0) return CpuIdStatus::LeafBeyondHighest;
    if (Leaf > highest) return CpuIdStatus::LeafBeyondHighest;
    Out = Backend.Execute(Leaf, SubLeaf);
    return CpuIdStatus::Done;
}

ProcessorFeatures DecodeProcessorFeatures(const CpuIdBackend& Backend) noexcept {
    ProcessorFeatures f;
    TCPUIDResult one, seven;
    if (TryCpuId(Backend, 1, 0, one) != CpuIdStatus::Done) return f;
    if (TryCpuId(Backend, 7, 0, seven) != CpuIdStatus::Done) seven = {};
    const auto bit = [](std::uint32_t word, int n) { return (word >> n & 1u) != 0; };
    // The XMM registers are always saved by a 64-bit system; the YMM (bits 1-2 of XCR0) and
    // the ZMM and mask registers (bits 5-7) only when the system enabled them.
    const std::uint64_t xcr0 =
        bit(one.ECX, 27) && Backend.EnabledState != nullptr ? Backend.EnabledState() : 0;
    const bool ymm = (xcr0 & 0x6) == 0x6;
    const bool zmm = ymm && (xcr0 & 0xE0) == 0xE0;
    f.Popcnt = bit(one.ECX, 23);
    f.Ssse3 = bit(one.ECX, 9);
    f.Sse41 = bit(one.ECX, 19);
    f.Pclmul = bit(one.ECX, 1);
    f.Avx2 = ymm && bit(one.ECX, 28) && bit(seven.EBX, 5);
    f.Avx512F = zmm && bit(seven.EBX, 16);
    f.Avx512BW = f.Avx512F && bit(seven.EBX, 30);
    f.Avx512VL = f.Avx512F && bit(seven.EBX, 31);
    f.Avx512Vbmi = f.Avx512F && bit(seven.ECX, 1);
    f.Vpclmul = ymm && bit(seven.ECX, 10);
    f.Sha = bit(seven.EBX, 29);
    return f;
}

const ProcessorFeatures& HostFeatures() noexcept {
    static const ProcessorFeatures features = DecodeProcessorFeatures(kHardware);
    return features;
}

}  // namespace qorkit::detail
