// Transliteration of German letters, reduction to safe characters and backslash escapes.
#include "qorkit/strings/string_translit.h"

#include "hex_field.h"
#include "qorkit/strings/char_classes.h"

namespace qorkit {

namespace {

bool IsFN83Safe(Char c) noexcept {
    if (IsDigitLetter(c)) return true;
    switch (c) {
        case u'!':
        case u'#':
        case u'$':
        case u'%':
        case u'&':
        case u'\'':
        case u'(':
        case u')':
        case u'-':
        case u'.':
        case u'@':
        case u'^':
        case u'_':
        case u'`':
        case u'{':
        case u'}':
        case u'~':
            return true;
        default:
            return false;
    }
}

}  // namespace

String ExpandDiphthongs(std::u16string_view S) {
    String result;
    result.reserve(S.size() + S.size() / 8);
    for (std::size_t i = 0; i < S.size(); ++i) {
        const Char c = S[i];
        // Ä, Ö, Ü keep a lower-case "e" only when a lower-case letter follows.
        const bool lowerNext = i + 1 < S.size() && S[i + 1] >= u'a' && S[i + 1] <= u'z';
        const Char e = lowerNext ? u'e' : u'E';
        switch (c) {
            case 228:
                result.append(u"ae");
                break;
            case 246:
                result.append(u"oe");
                break;
            case 252:
                result.append(u"ue");
                break;
            case 223:
                result.append(u"ss");
                break;
            case 196:
                result.push_back(u'A');
                result.push_back(e);
                break;
            case 214:
                result.push_back(u'O');
                result.push_back(e);
                break;
            case 220:
                result.push_back(u'U');
                result.push_back(e);
                break;
            case 181:
                result.push_back(u'u');
                break;
            default:
                result.push_back(c);
                break;
        }
    }
    return result;
}

String ReduceStringToAZ09(std::u16string_view S) {
    String result(S);
    for (Char& c : result)
        if (!IsDigitLetter(c)) c = u'_';
    return result;
}

String ReduceStringToFN83CompliantChars(std::u16string_view S) {
    String result(S);
    for (Char& c : result)
        if (!IsFN83Safe(c)) c = u'_';
    return result;
}

String ProcessHexChars(std::u16string_view S) {
    String result;
    result.reserve(S.size());
    std::size_t p = 0;
    while (p < S.size()) {
        if (S[p] == u'\\' && p + 1 < S.size()) {
            if (S[p + 1] == u'#') {
                // "\#" and the (up to) two characters after it become one character.
                const std::u16string_view field = S.substr(p + 2, 2);
                result.push_back(static_cast<Char>(detail::ReadHexField(field)));
                p += 2 + field.size();
                continue;
            }
            if (S[p + 1] == u'\\') {
                // The escaped backslash is kept and not read as the start of an escape.
                result.push_back(u'\\');
                p += 2;
                continue;
            }
        }
        result.push_back(S[p]);
        ++p;
    }
    return result;
}

}  // namespace qorkit
