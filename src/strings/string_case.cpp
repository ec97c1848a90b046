// Case changes.
#include "qorkit/strings/string_case.h"

#include "qorkit/rtl/sysutils.h"
#include "qorkit/strings/char_classes.h"

namespace qorkit {

String CapitalizeString(std::u16string_view S) {
    String result(S);
    bool wordStart = true;
    for (Char& c : result) {
        if (IsLetter(c) || c > 127) {
            if (wordStart) c = UpCase(c);
            wordStart = false;
        } else {
            wordStart = !IsDigit(c);
        }
    }
    return result;
}

String ChangeCase(std::u16string_view S) {
    String result(S);
    for (Char& c : result) {
        const Char upper = AnsiUpperChar(c);
        c = upper == c ? AnsiLowerChar(c) : upper;
    }
    return result;
}

bool EqualAnsiStrings(std::u16string_view A, std::u16string_view B) {
    // Each text counts only up to its first NUL.
    const auto toNul = [](std::u16string_view s) { return s.substr(0, s.find(u'\0')); };
    return AnsiStrIComp(toNul(A), toNul(B)) == 0;
}

}  // namespace qorkit
