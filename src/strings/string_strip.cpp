// Stripping characters from the ends of a string and ensuring a leading or trailing character.
#include "qorkit/strings/string_strip.h"

namespace qorkit {

namespace {

std::u16string_view DropLeading(Char c, std::u16string_view s) {
    const std::size_t i = s.find_first_not_of(c);
    return i == std::u16string_view::npos ? std::u16string_view() : s.substr(i);
}

std::u16string_view DropTrailing(Char c, std::u16string_view s) {
    const std::size_t i = s.find_last_not_of(c);
    return i == std::u16string_view::npos ? std::u16string_view() : s.substr(0, i + 1);
}

}  // namespace

String StripLTBlanks(std::u16string_view S) {
    return String(DropTrailing(u' ', DropLeading(u' ', S)));
}

String StripLeadingBlanks(std::u16string_view S) {
    return String(DropLeading(u' ', S));
}

String StripTrailingBlanks(std::u16string_view S) {
    return String(DropTrailing(u' ', S));
}

String StripLeadingChars(Char C, std::u16string_view S) {
    return String(DropLeading(C, S));
}

String StripTrailingChars(Char C, std::u16string_view S) {
    return String(DropTrailing(C, S));
}

String EnsureTrailingBkSlash(std::u16string_view S) {
    return EnsureTrailingChar(u'\\', S);
}

String EnsureTrailingChar(Char C, std::u16string_view S) {
    String result(S);
    if (!result.empty() && result.back() != C) result.push_back(C);
    return result;
}

String EnsureLeadingChar(Char C, std::u16string_view S) {
    if (S.empty() || S.front() == C) return String(S);
    String result;
    result.reserve(S.size() + 1);
    result.push_back(C);
    result.append(S);
    return result;
}

}  // namespace qorkit
