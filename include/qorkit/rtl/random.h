// The process-wide pseudo-random generator.
#pragma once

#include <cstdint>

namespace qorkit {

/// The generator's seed. Each draw first sets RandSeed := RandSeed * 134775813 + 1
/// (mod 2^32), so the same seed always gives the same sequence. Process-wide and not
/// synchronised: callers on several threads synchronise themselves.
extern std::uint32_t RandSeed;

/// A real in [0, 1): the new seed divided by 2^32.
double Random();
/// An integer in 0..Range-1: (new seed * Range) >> 32. A `Range` <= 0 still advances the
/// generator and gives 0.
std::int32_t Random(std::int32_t Range);
/// Seeds the generator from the clock.
void Randomize();

}  // namespace qorkit
