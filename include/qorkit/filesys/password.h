// Pronounceable passwords from the process-wide random generator.
#pragma once

#include <cstdint>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// A pronounceable password of `Count` characters, `Count` clamped to 4..14: a vowel first
/// when the count is odd, then consonant-vowel pairs, with a two-digit number (00 to 99)
/// inserted before the 7th character, or appended when the syllables are shorter. Letters are
/// lower case: vowels "aeiouy", consonants "bcdfghjklmnpqrstvwxz".
/// Draws from the process-wide generator `Random` without seeding it, so the same `RandSeed`
/// gives the same password. Easy to remember, not a secret of cryptographic strength.
String InventPassword(std::int32_t Count);
/// As `InventPassword(Count)`; then with `MixedCase` each letter becomes upper case with
/// probability 1/2, and with `DigitsAndSpecials` each character is replaced with probability
/// 1/5 by one of "_!$%#=" (6 of 16) or a digit (10 of 16).
String InventPassword(std::int32_t Count, bool MixedCase, bool DigitsAndSpecials);

}  // namespace qorkit
