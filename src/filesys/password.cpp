// The password generator.
#include "qorkit/filesys/password.h"

#include <algorithm>
#include <string_view>

#include "qorkit/rtl/random.h"

namespace qorkit {

namespace {

constexpr std::u16string_view kVowels = u"aeiouy";
constexpr std::u16string_view kConsonants = u"bcdfghjklmnpqrstvwxz";
constexpr std::u16string_view kSpecials = u"_!$%#=";

Char Pick(std::u16string_view alphabet) {
    return alphabet[static_cast<std::size_t>(Random(static_cast<std::int32_t>(alphabet.size())))];
}

}  // namespace

String InventPassword(std::int32_t Count) {
    const std::int32_t n = std::clamp(Count, 4, 14);
    String s;
    if (n % 2 != 0) s += Pick(kVowels);
    for (std::int32_t i = 0; i < n / 2 - 1; ++i) {
        s += Pick(kConsonants);
        s += Pick(kVowels);
    }
    const std::int32_t number = Random(100);
    const String digits{static_cast<Char>(u'0' + number / 10),
                        static_cast<Char>(u'0' + number % 10)};
    s.insert(std::min<std::size_t>(6, s.size()), digits);
    return s;
}

String InventPassword(std::int32_t Count, bool MixedCase, bool DigitsAndSpecials) {
    String s = InventPassword(Count);
    if (MixedCase) {
        for (Char& c : s)
            if (Random() > 0.5 && c >= u'a' && c <= u'z') c = static_cast<Char>(c - u'a' + u'A');
    }
    if (DigitsAndSpecials) {
        for (Char& c : s) {
            if (Random() <= 0.8) continue;
            const std::int32_t d = 1 + Random(16);
            c = d <= 6 ? kSpecials[static_cast<std::size_t>(d - 1)]
                       : static_cast<Char>(u'0' + d - 7);
        }
    }
    return s;
}

}  // namespace qorkit
