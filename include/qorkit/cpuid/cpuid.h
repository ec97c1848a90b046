// Processor identification: vendor, brand, signature, feature words, processor count, the
// historic division-flaw test and a clock measurement over the time-stamp counter.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// One value per bit of the feature word that `CPU_FeatureSet` returns, from bit 0 upwards.
enum TCPUFeatures : std::uint8_t {
    cpuft_fpu,
    cpuft_vme,
    cpuft_de,
    cpuft_pse,
    cpuft_tsc,
    cpuft_msr,
    cpuft_pae,
    cpuft_mce,
    cpuft_cx8,
    cpuft_apic,
    cpuft_sepamd,
    cpuft_sep,
    cpuft_mtrr,
    cpuft_pge,
    cpuft_mca,
    cpuft_cmov,
    cpuft_pat,
    cpuft_pse36,
    cpuft_serial,
    cpuft_clflush,
    cpuft_reserved1,
    cpuft_dts,
    cpuft_acpi,
    cpuft_mmx,
    cpuft_xsr,
    cpuft_simd,
    cpuft_simd2,
    cpuft_ss,
    cpuft_reserved2,
    cpuft_tm,
    cpuft_ia64,
    cpuft_3dnow
};

/// Descriptions of the 32 feature bits, indexed by `TCPUFeatures`.
inline constexpr std::array<std::u16string_view, 32> CPUFeatureNames = {
    u"Floating Point Unit",
    u"V86 Mode Extensions",
    u"Debug Extensions - I/O breakpoints supported",
    u"Page Size Extensions (4 MB pages supported)",
    u"Time Stamp Counter and RDTSC instruction are available",
    u"Model Specific Registers",
    u"Physical Address Extensions (36-bit address, 2MB pages)",
    u"Machine Check Exception supported",
    u"Compare Exchange Eight Byte instruction available",
    u"Local APIC present (multiprocessor operation support)",
    u"Fast system calls (AMD only)",
    u"Fast system calls",
    u"Memory Type Range Registers",
    u"Page Global Enable",
    u"Machine Check Architecture",
    u"Conditional MOVe instructions",
    u"Page Attribute Table",
    u"36 bit Page Size Extensions",
    u"Processor Serial Number",
    u"Cache Flush",
    u"reserved",
    u"Debug Trace Store",
    u"ACPI support",
    u"MultiMedia Extensions",
    u"FXSAVE and FXRSTOR instructions",
    u"SSE instructions",
    u"SSE2 (WNI) instructions",
    u"self snoop",
    u"reserved",
    u"Automatic clock control",
    u"IA64 instructions",
    u"3DNow! instructions available"};

/// The four registers that one identification query returns.
struct TCPUIDResult {
    std::uint32_t EAX = 0;
    std::uint32_t EBX = 0;
    std::uint32_t ECX = 0;
    std::uint32_t EDX = 0;
};

/// True when the processor has the identification instruction (always on x86-64; on 32-bit
/// x86 when bit 21 of the flags register can be toggled; false on other processors).
bool CPU_IDSupport() noexcept;

/// Runs the identification instruction for `Leaf`. A basic leaf is accepted up to the highest
/// basic leaf (leaf 0's EAX), an extended leaf (80000000h and above) up to the highest extended
/// leaf (leaf 80000000h's EAX), both compared unsigned. Raises `EQORCpuIdError` with "Cannot
/// acquire CPU information (CPUID not supported)" without the instruction and with "CPUID:
/// execution level not supported" for a leaf beyond the highest one.
TCPUIDResult CPU_Query(std::uint32_t Leaf);

/// The number of processors that the operating system has online (at least 1). Never raises.
std::int32_t CPU_Count() noexcept;

/// The 12-character vendor text of leaf 0 (EBX, EDX, ECX), e.g. "GenuineIntel". The text
/// stops at the first zero byte; a text shorter than 12 characters gives "Unknown". Raises as
/// `CPU_Query`.
String CPU_VendorString();

/// The brand text of leaves 80000002h-80000004h with characters of code 32 or less trimmed at
/// both ends; "unknown" when a control character remains inside. Raises "CPUID: execution
/// level not supported" on a processor without these leaves, and as `CPU_Query` otherwise.
String CPU_MarketName();

/// EAX of leaf 1 (the signature), or 0 when leaf 1 is beyond the highest basic leaf.
/// Raises only without the instruction.
std::uint32_t CPU_Signature();
/// EDX of leaf 1 (bit n is `TCPUFeatures` n), or 0 without leaf 1. Raises only without the
/// instruction.
std::uint32_t CPU_FeatureSet();
/// EDX of leaf 80000001h, or 0 without that leaf. Raises only without the instruction.
std::uint32_t CPU_ExtendedFeatureSet();
/// The low byte of EBX of leaf 1, or 0 without leaf 1. Raises only without the instruction.
std::int32_t CPU_BrandID();

/// Bits 12-13 of the signature (0 when the signature is 0).
std::int32_t CPU_Type();
/// True when `CPU_Type()` is 1 (an OverDrive processor).
bool CPU_OverDrive();
/// Bits 8-11 of the signature (the base family).
std::int32_t CPU_Family();
/// Bits 20-27 of the signature (the extended family, added to a base family of 15).
std::int32_t CPU_ExFamily();
/// Bits 4-7 of the signature (the base model).
std::int32_t CPU_Model();
/// Bits 16-19 of the signature (the extended model, the high nibble of families 6 and 15+).
std::int32_t CPU_ExModel();
/// Bits 0-3 of the signature.
std::int32_t CPU_Stepping();

/// The family a signature names, as processor documentation counts it: the base family,
/// plus the extended family when the base family is 15. `CPUSignatureFamily(0x00A00F11) == 25`.
std::int32_t CPUSignatureFamily(std::uint32_t Signature) noexcept;
/// The model a signature names: the base model, with the extended model as its high nibble
/// for base families 6 and 15. `CPUSignatureModel(0x000306C3) == 0x3C`.
std::int32_t CPUSignatureModel(std::uint32_t Signature) noexcept;

/// 24 upper-case hexadecimal digits: EAX of leaf 1, then EDX and ECX of a second leaf-1 query.
/// Raises as `CPU_Query`.
String CPU_SerialNumber();

/// True when 3145727 x (4195835 / 3145727) - 4195835, evaluated wholly in extended precision,
/// is not 0 (the division flaw of some early Pentium processors). Never raises.
bool CPU_FDIVBugPresent() noexcept;

/// The processor clock in MHz, measured as time-stamp counter cycles over `DelayMs`
/// milliseconds of the monotonic millisecond tick (the span starts at a tick change). The
/// calling thread runs at the highest scheduling priority it is allowed for the measurement
/// (real-time where permitted) and gets its previous priority back. A `DelayMs` of 0, or a
/// processor without a time-stamp counter, gives 0. Never raises.
float CPU_Speed(std::uint32_t DelayMs) noexcept;

}  // namespace qorkit
