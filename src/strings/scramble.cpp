// The scrambler's substitution tables.
#include "qorkit/strings/scramble.h"

#include "qorkit/rtl/random.h"

namespace qorkit {

namespace {

// Plain arrays, constant-initialised: the tables are built from the library's load hook,
// before dynamic initialisation of this file can be relied upon.
std::uint8_t gForward[256];
std::uint8_t gInverse[256];

String Substitute(std::u16string_view s, const std::uint8_t (&table)[256]) {
    String out(s);
    for (Char& c : out)
        if (c < 256) c = table[c];
    return out;
}

}  // namespace

void InitScramble(std::int32_t seed) {
    RandSeed = static_cast<std::uint32_t>(seed);
    for (int i = 0; i < 256; ++i) {
        gForward[i] = 0;
        gInverse[i] = 0;
    }
    for (int b = 1; b <= 255; ++b) {
        int r = 0;
        do {
            r = Random(255) + 1;
        } while (gInverse[r] != 0);
        gForward[b] = static_cast<std::uint8_t>(r);
        gInverse[r] = static_cast<std::uint8_t>(b);
    }
}

String Scramble(std::u16string_view s) {
    return Substitute(s, gForward);
}

String DeScramble(std::u16string_view s) {
    return Substitute(s, gInverse);
}

}  // namespace qorkit
