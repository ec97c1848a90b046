// Fixed-width layout of strings.
#include "qorkit/strings/string_layout.h"

namespace qorkit {

String LeftString(std::u16string_view S, std::uint8_t Width) {
    if (S.size() >= Width) return String(S.substr(0, Width));
    String result(S);
    result.append(Width - S.size(), u' ');
    return result;
}

String RightString(std::u16string_view S, std::uint8_t Width) {
    if (S.size() >= Width) return String(S.substr(0, Width));
    String result(Width - S.size(), u' ');
    result.append(S);
    return result;
}

String CenterString(std::u16string_view S, std::uint8_t Width) {
    if (S.size() >= Width) return String(S.substr(0, Width));
    const std::size_t front = (Width - S.size()) / 2;
    String result(front, u' ');
    result.append(S);
    result.append(Width - S.size() - front, u' ');
    return result;
}

String AbbrevString(std::u16string_view S, std::int32_t N) {
    if (N >= 0 && S.size() <= static_cast<std::size_t>(N)) return String(S);
    if (N < 2) return u"..";
    String result(S.substr(0, static_cast<std::size_t>(N) - 2));
    result.append(u"..");
    return result;
}

String MultiChar(Char C, std::int32_t N) {
    const std::int32_t n = N < 1 ? 1 : (N > 255 ? 255 : N);
    return String(static_cast<std::size_t>(n), C);
}

String ReverseString(std::u16string_view S) {
    return String(S.rbegin(), S.rend());
}

}  // namespace qorkit
