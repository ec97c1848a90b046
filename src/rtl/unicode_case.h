// Internal: the library's Unicode case table (generated into unicode_case_table.cpp by
// tools/gen/gen_unicode_case.py). Not installed.
#pragma once

namespace qorkit::detail {

/// Unicode version the table was generated from, e.g. "15.0.0".
extern const char* const kUnicodeCaseVersion;

/// Simple lower-case mapping of one BMP code unit; unchanged when the character has no
/// one-to-one lower-case partner in the BMP (surrogates never map).
char16_t UnicodeToLower(char16_t c) noexcept;
/// Simple upper-case mapping of one BMP code unit, as `UnicodeToLower`.
char16_t UnicodeToUpper(char16_t c) noexcept;

}  // namespace qorkit::detail
