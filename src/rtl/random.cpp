#include "qorkit/rtl/random.h"

#include <time.h>

namespace qorkit {

std::uint32_t RandSeed = 0;

namespace {

// Unsigned arithmetic wraps modulo 2^32, which is exactly the generator's recurrence.
std::uint32_t NextSeed() noexcept {
    RandSeed = RandSeed * 134775813u + 1u;
    return RandSeed;
}

}  // namespace

double Random() {
    return static_cast<double>(NextSeed()) / 4294967296.0;
}

std::int32_t Random(std::int32_t Range) {
    const std::uint64_t s = NextSeed();
    if (Range <= 0) return 0;
    return static_cast<std::int32_t>((s * static_cast<std::uint32_t>(Range)) >> 32);
}

void Randomize() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    // Fold seconds and nanoseconds together so that two calls within the same second differ.
    const auto ns = static_cast<std::uint64_t>(ts.tv_sec) * 1'000'000'000u +
                    static_cast<std::uint64_t>(ts.tv_nsec);
    RandSeed = static_cast<std::uint32_t>(ns ^ (ns >> 32));
}

}  // namespace qorkit
