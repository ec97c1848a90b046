// Internal: what stands behind every identification query, and the one decoding of the feature
// bits that the library's fast paths choose by.
#pragma once

#include <cstdint>

#include "qorkit/cpuid/cpuid.h"

namespace qorkit::detail {

/// The processor facilities the identification code reads: whether the instruction exists,
/// the instruction itself (leaf and sub-leaf) and the operating system's enabled register
/// state (XCR0, 0 when it cannot be read). Tests install synthetic ones.
struct CpuIdBackend {
    bool (*Present)() = nullptr;
    TCPUIDResult (*Execute)(std::uint32_t Leaf, std::uint32_t SubLeaf) = nullptr;
    std::uint64_t (*EnabledState)() = nullptr;
};

/// The real processor (Present is false on processors without the instruction).
CpuIdBackend HardwareCpuId() noexcept;

/// Makes `Backend` answer every later query and returns the one in force before. For tests
/// (one thread installs at a time); `HostFeatures` always reads the hardware.
CpuIdBackend SetCpuIdBackend(CpuIdBackend Backend) noexcept;

/// How a query of `TryCpuId` ended.
enum class CpuIdStatus : std::uint8_t { Done, NoInstruction, LeafBeyondHighest };

/// The checked query without exceptions: asks `Backend` for the highest basic or extended leaf
/// (whichever range `Leaf` lies in) and runs `Leaf`/`SubLeaf` only when it is within it.
CpuIdStatus TryCpuId(const CpuIdBackend& Backend, std::uint32_t Leaf, std::uint32_t SubLeaf,
                     TCPUIDResult& Out) noexcept;

/// The backend in force.
CpuIdBackend CurrentCpuId() noexcept;

/// The instruction-set extensions the library's fast paths use, each true only when both the
/// processor reports it and the operating system saves the registers it needs.
struct ProcessorFeatures {
    bool Popcnt = false;
    bool Ssse3 = false;
    bool Sse41 = false;
    bool Pclmul = false;
    bool Avx2 = false;
    bool Avx512F = false;
    bool Avx512BW = false;
    bool Avx512VL = false;
    bool Avx512Vbmi = false;
    bool Vpclmul = false;
    bool Sha = false;
};

/// Decodes the features that `Backend` reports (all false without the instruction).
ProcessorFeatures DecodeProcessorFeatures(const CpuIdBackend& Backend) noexcept;

/// This processor's features, decoded once from the hardware.
const ProcessorFeatures& HostFeatures() noexcept;

}  // namespace qorkit::detail
