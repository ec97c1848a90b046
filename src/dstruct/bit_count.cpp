// Population count: a byte table everywhere, the POPCNT instruction where the processor has it.
#include "bit_count.h"

#include "../cpuid/cpuid_backend.h"

#include <array>
#include <cstring>

namespace qorkit::detail {

namespace {

constexpr std::array<std::uint8_t, 256> kByteCounts = [] {
    std::array<std::uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v)
        t[static_cast<std::size_t>(v)] =
            static_cast<std::uint8_t>((v & 1) + (v >> 1 & 1) + (v >> 2 & 1) + (v >> 3 & 1) +
                                      (v >> 4 & 1) + (v >> 5 & 1) + (v >> 6 & 1) + (v >> 7 & 1));
    return t;
}();

#if defined(__x86_64__) || defined(__i386__)

// Four independent sums keep the instruction's latency hidden.
__attribute__((target("popcnt"))) std::uint64_t CountBitsPopcnt(const std::uint8_t* Data,
                                                                std::size_t Len) noexcept {
    std::uint64_t s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    std::size_t i = 0;
    for (; i + 32 <= Len; i += 32) {
        std::uint64_t w[4];
        std::memcpy(w, Data + i, sizeof w);
        s0 += static_cast<std::uint64_t>(__builtin_popcountll(w[0]));
        s1 += static_cast<std::uint64_t>(__builtin_popcountll(w[1]));
        s2 += static_cast<std::uint64_t>(__builtin_popcountll(w[2]));
        s3 += static_cast<std::uint64_t>(__builtin_popcountll(w[3]));
    }
    for (; i + 8 <= Len; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, Data + i, sizeof w);
        s0 += static_cast<std::uint64_t>(__builtin_popcountll(w));
    }
    return s0 + s1 + s2 + s3 + CountBitsTable(Data + i, Len - i);
}

bool ProcessorHasPopcnt() noexcept {
    return HostFeatures().Popcnt;
}

#else

bool ProcessorHasPopcnt() noexcept {
    return false;
}

#endif

}  // namespace

std::uint64_t CountBitsTable(const std::uint8_t* Data, std::size_t Len) noexcept {
    std::uint64_t n = 0;
    for (std::size_t i = 0; i < Len; ++i)
        n += kByteCounts[Data[i]];
    return n;
}

std::uint64_t CountBits(const std::uint8_t* Data, std::size_t Len) noexcept {
#if defined(__x86_64__) || defined(__i386__)
    if (ProcessorHasPopcnt()) return CountBitsPopcnt(Data, Len);
#endif
    return CountBitsTable(Data, Len);
}

const char* CountBitsImplementation() noexcept {
    return ProcessorHasPopcnt() ? "popcnt" : "table";
}

}  // namespace qorkit::detail
