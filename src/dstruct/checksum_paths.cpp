// Which checksum and coding kernels this processor runs, decided once from the processor
// identification, and the test hook that forces another one.
#include <atomic>

#include "../cpuid/cpuid_backend.h"
#include "checksum_cpu.h"

namespace qorkit::detail {

namespace {

// The kernel in use per algorithm, -1 until first asked.
std::atomic<int> gCrc32{-1}, gCrc16{-1}, gSha1{-1}, gBase64{-1};

template <class P>
P Active(std::atomic<int>& slot, P fastest) noexcept {
    int v = slot.load(std::memory_order_relaxed);
    if (v < 0) {
        for (v = static_cast<int>(fastest); v > 0 && !CanRun(static_cast<P>(v)); --v) {
        }
        slot.store(v, std::memory_order_relaxed);
    }
    return static_cast<P>(v);
}

template <class P>
bool Force(std::atomic<int>& slot, P p) noexcept {
    if (!CanRun(p)) return false;
    slot.store(static_cast<int>(p), std::memory_order_relaxed);
    return true;
}

}  // namespace

bool CpuHasClmul() noexcept {
    const ProcessorFeatures& f = HostFeatures();
    return f.Pclmul && f.Ssse3 && f.Sse41;
}

bool CpuHasShaNi() noexcept {
    const ProcessorFeatures& f = HostFeatures();
    return f.Sha && f.Ssse3 && f.Sse41;
}

bool CanRun(Crc32Path P) noexcept {
    const ProcessorFeatures& f = HostFeatures();
    switch (P) {
        case Crc32Path::Slice8:
            return true;
        case Crc32Path::Clmul:
            return CpuHasClmul();
        case Crc32Path::Vpclmul512:
            return CpuHasClmul() && f.Vpclmul && f.Avx512F;
    }
    return false;
}

bool CanRun(Crc16Path P) noexcept {
    return P == Crc16Path::Table || CpuHasClmul();
}

bool CanRun(Sha1Path P) noexcept {
    return P == Sha1Path::Portable || CpuHasShaNi();
}

bool CanRun(Base64Path P) noexcept {
    const ProcessorFeatures& f = HostFeatures();
    switch (P) {
        case Base64Path::Scalar:
            return true;
        case Base64Path::Avx2:
            return f.Avx2;
        case Base64Path::Avx512Vbmi:
            return f.Avx512F && f.Avx512BW && f.Avx512Vbmi;
    }
    return false;
}

Crc32Path ActiveCrc32Path() noexcept {
    return Active(gCrc32, Crc32Path::Vpclmul512);
}
Crc16Path ActiveCrc16Path() noexcept {
    return Active(gCrc16, Crc16Path::Clmul);
}
Sha1Path ActiveSha1Path() noexcept {
    return Active(gSha1, Sha1Path::ShaNi);
}
Base64Path ActiveBase64Path() noexcept {
    return Active(gBase64, Base64Path::Avx512Vbmi);
}

bool ForcePath(Crc32Path P) noexcept {
    return Force(gCrc32, P);
}
bool ForcePath(Crc16Path P) noexcept {
    return Force(gCrc16, P);
}
bool ForcePath(Sha1Path P) noexcept {
    return Force(gSha1, P);
}
bool ForcePath(Base64Path P) noexcept {
    return Force(gBase64, P);
}

}  // namespace qorkit::detail
