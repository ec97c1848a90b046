// Character classes and character-set tests.
#include "qorkit/strings/char_classes.h"

#include <array>
#include <bitset>

namespace qorkit {

namespace {

constexpr bool InRange(Char c, Char lo, Char hi) noexcept {
    return c >= lo && c <= hi;
}

// A class keyword of the set syntax and the codes lo..hi it stands for.
struct SetKeyword {
    std::u16string_view Word;
    Char Lo;
    Char Hi;
};

constexpr std::array<SetKeyword, 5> kSetKeywords{{
    {u"//dig", u'0', u'9'},
    {u"//lc", u'a', u'z'},
    {u"//uc", u'A', u'Z'},
    {u"//31dwn", 0, 31},
    {u"//128up", 128, 255},
}};

// The members of a character-set string. Expanding the keywords in rounds (the first
// occurrence of each per round, until a round finds none) expands every occurrence: no
// keyword contains a "/" after its start, so occurrences never overlap, and no expansion
// contains a "/" or begins with the rest of a keyword, so expanding never creates a new
// occurrence. A single left-to-right pass thus gives the same members. Characters above 255
// cannot be members.
std::bitset<256> SetMembers(std::u16string_view set) {
    std::bitset<256> members;
    std::size_t i = 0;
    while (i < set.size()) {
        const SetKeyword* found = nullptr;
        if (set[i] == u'/')
            for (const SetKeyword& k : kSetKeywords)
                if (set.substr(i, k.Word.size()) == k.Word) {
                    found = &k;
                    break;
                }
        if (found != nullptr) {
            for (unsigned c = found->Lo; c <= found->Hi; ++c)
                members.set(c);
            i += found->Word.size();
        } else {
            if (set[i] < 256) members.set(set[i]);
            ++i;
        }
    }
    return members;
}

bool IsMember(const std::bitset<256>& members, Char c) {
    return c < 256 && members[c];
}

}  // namespace

bool IsDigit(Char C) noexcept {
    return InRange(C, u'0', u'9');
}

bool IsLetter(Char C) noexcept {
    return InRange(C, u'A', u'Z') || InRange(C, u'a', u'z');
}

bool IsDigitLetter(Char C) noexcept {
    return IsLetter(C) || IsDigit(C);
}

bool IsHexChar(Char C) noexcept {
    return IsDigit(C) || InRange(C, u'A', u'F') || InRange(C, u'a', u'f');
}

bool IsUmlaut(Char C) noexcept {
    switch (C) {
        case 228:
        case 246:
        case 252:
        case 196:
        case 214:
        case 220:
        case 223:
            return true;
        default:
            return false;
    }
}

bool TestAllChar(std::u16string_view S, Char C) noexcept {
    return !S.empty() && S.find_first_not_of(C) == std::u16string_view::npos;
}

bool IsAbbreviation(std::u16string_view S) noexcept {
    std::size_t run = 0;
    std::size_t longest = 0;
    std::size_t lowerAndDigits = 0;
    for (Char c : S) {
        if (InRange(c, u'A', u'Z')) {
            if (++run > longest) longest = run;
            continue;
        }
        run = 0;
        if (InRange(c, u'a', u'z') || IsDigit(c)) ++lowerAndDigits;
    }
    return longest >= 2 && longest > lowerAndDigits;
}

bool StringContains(std::u16string_view S, std::u16string_view CharSet) {
    if (S.empty()) return false;
    const std::bitset<256> members = SetMembers(CharSet);
    for (Char c : S)
        if (IsMember(members, c)) return true;
    return false;
}

bool StringContainsOtherThan(std::u16string_view S, std::u16string_view CharSet) {
    if (S.empty()) return false;
    const std::bitset<256> members = SetMembers(CharSet);
    for (Char c : S)
        if (!IsMember(members, c)) return true;
    return false;
}

}  // namespace qorkit
