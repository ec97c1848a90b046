// Word separators and word counting.
#include "qorkit/strings/word_count.h"

#include <array>
#include <bit>
#include <initializer_list>

namespace qorkit {

namespace {

// NUL, LF, CR, blank, " # % ' ( ) * + , - . / : ; < = > [ \ ] { }
constexpr std::initializer_list<unsigned> kInitialSeparators = {0,  10, 13, 32, 34, 35, 37,  39, 40,
                                                                41, 42, 43, 44, 45, 46, 47,  58, 59,
                                                                60, 61, 62, 91, 92, 93, 123, 125};

constexpr std::array<std::uint64_t, 4> SeparatorWords() {
    std::array<std::uint64_t, 4> words{};
    for (unsigned c : kInitialSeparators)
        words[c / 64] |= std::uint64_t{1} << (c % 64);
    return words;
}

// std::bitset can be built at compile time only from one 64-bit word before C++23, so the
// 256-bit set is assembled as four words and bit-cast. The static assertion below checks,
// bit by bit, that this matches the bitset's own numbering on the implementation at hand.
static_assert(sizeof(std::bitset<256>) == sizeof(std::array<std::uint64_t, 4>));
static_assert(std::endian::native == std::endian::little);
constexpr std::bitset<256> kInitialWordSeps = std::bit_cast<std::bitset<256>>(SeparatorWords());

constexpr bool InitialSetIsExact() {
    std::size_t members = 0;
    for (std::size_t c = 0; c < 256; ++c)
        members += kInitialWordSeps[c];
    if (members != kInitialSeparators.size()) return false;
    for (unsigned c : kInitialSeparators)
        if (!kInitialWordSeps[c]) return false;
    return true;
}
static_assert(InitialSetIsExact());

}  // namespace

// Constant initialisation: the set is valid before any dynamic initialiser of the process
// runs, so code that counts words during start-up sees the initial members.
constinit std::bitset<256> WordSeps = kInitialWordSeps;

std::int32_t CountWords(std::u16string_view S) noexcept {
    const std::bitset<256> seps = WordSeps;  // a local copy keeps the loop free of reloads
    std::int32_t words = 0;
    std::size_t run = 0;
    for (Char c : S) {
        if (c < 256 && seps[c]) {
            if (run >= 2) ++words;
            run = 0;
        } else {
            ++run;
        }
    }
    return words;
}

}  // namespace qorkit
