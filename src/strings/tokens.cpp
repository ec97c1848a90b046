// Cutting strings into tokens, fields, words and lines.
#include "qorkit/strings/tokens.h"

#include <algorithm>

#include "qorkit/core/lookup_tables.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/strings/string_search.h"
#include "qorkit/strings/string_strip.h"
#include "qorkit/strings/word_count.h"

namespace qorkit {

namespace {

constexpr std::int32_t kMaxTokens = 1000;
constexpr auto npos = std::u16string_view::npos;

// First occurrence of `sub` in `s` from `from` on; npos for an empty `sub`.
std::size_t Find(std::u16string_view s, std::u16string_view sub, std::size_t from) {
    if (sub.empty() || from > s.size()) return npos;
    return s.find(sub, from);
}

String LowerAZ(std::u16string_view s) {
    String t(s);
    for (Char& c : t)
        if (c >= u'A' && c <= u'Z') c = static_cast<Char>(c + 32);
    return t;
}

bool IsWordSep(Char c) noexcept {
    return c < 256 && WordSeps.test(c);
}

String MaybeStrip(std::u16string_view s, bool strip) {
    return strip ? StripLTBlanks(s) : String(s);
}

}  // namespace

std::int32_t Tokenize(std::u16string_view s, std::u16string_view delimiter,
                      TOpenStringArray& tokens) {
    tokens.clear();
    std::size_t start = 0;
    while (static_cast<std::int32_t>(tokens.size()) < kMaxTokens - 1) {
        const std::size_t p = Find(s, delimiter, start);
        if (p == npos) break;
        tokens.emplace_back(s.substr(start, p - start));
        start = p + delimiter.size();
    }
    tokens.emplace_back(s.substr(start));
    return static_cast<std::int32_t>(tokens.size());
}

std::int32_t Tokenize(std::u16string_view s, std::u16string_view delimiter, Char escape,
                      TOpenStringArray& tokens) {
    tokens.clear();
    std::size_t start = 0;
    std::size_t from = 0;
    while (static_cast<std::int32_t>(tokens.size()) < kMaxTokens - 1) {
        const std::size_t p = Find(s, delimiter, from);
        if (p == npos) break;
        if (p > start && s[p - 1] == escape) {
            from = p + 1;
            continue;
        }
        tokens.emplace_back(s.substr(start, p - start));
        start = from = p + delimiter.size();
    }
    tokens.emplace_back(s.substr(start));
    const String esc(1, escape);
    const String escEsc = esc + esc;
    const String escDelim = esc + String(delimiter);
    for (String& t : tokens) {
        t = ReplaceStringInString(t, escEsc, esc, true);
        if (!delimiter.empty()) t = ReplaceStringInString(t, escDelim, delimiter, true);
    }
    return static_cast<std::int32_t>(tokens.size());
}

String ExtractSubString(std::u16string_view s, std::int32_t n, std::u16string_view delimiter) {
    if (n < 0 || s.empty()) return String();
    if (delimiter.empty()) return n == 0 ? String(s) : String();
    std::size_t p = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::size_t q = Find(s, delimiter, p);
        if (q == npos) return String();
        p = q + delimiter.size();
    }
    const std::u16string_view rest = s.substr(p);
    if (rest.size() >= delimiter.size() &&
        AnsiUpperCase(rest.substr(0, delimiter.size())) == AnsiUpperCase(delimiter))
        return String();
    const std::size_t end = Find(s, delimiter, p + 1);
    return String(s.substr(p, end == npos ? npos : end - p));
}

String ExtractWordFromString(std::u16string_view s, std::int32_t position) {
    std::int32_t first = 0;
    std::int32_t last = 0;
    return ExtractWordFromString(s, position, first, last);
}

String ExtractWordFromString(std::u16string_view s, std::int32_t position, std::int32_t& first,
                             std::int32_t& last) {
    first = last = 0;
    if (position < 1 || static_cast<std::size_t>(position) > s.size()) return String();
    const auto at = static_cast<std::size_t>(position - 1);
    if (IsWordSep(s[at])) {
        first = last = position;
        return String(1, s[at]);
    }
    std::size_t lo = at;
    while (lo > 0 && !IsWordSep(s[lo - 1]))
        --lo;
    std::size_t hi = at;
    while (hi + 1 < s.size() && !IsWordSep(s[hi + 1]))
        ++hi;
    first = static_cast<std::int32_t>(lo + 1);
    last = static_cast<std::int32_t>(hi + 1);
    return String(s.substr(lo, hi - lo + 1));
}

String ExtractAfterTrigger(std::u16string_view s, std::u16string_view trigger, bool strip) {
    const std::size_t p = Find(s, trigger, 0);
    return p == npos ? String() : MaybeStrip(s.substr(p + trigger.size()), strip);
}

String ExtractBeforeTrigger(std::u16string_view s, std::u16string_view trigger, bool strip) {
    const std::size_t p = Find(s, trigger, 0);
    return p == npos ? String() : MaybeStrip(s.substr(0, p), strip);
}

void SplitString(std::u16string_view s, std::u16string_view separator, bool strip, String& left,
                 String& right) {
    const std::size_t p = Find(s, separator, 0);
    if (p == npos) {
        left.clear();
        right.clear();
        return;
    }
    left = MaybeStrip(s.substr(0, p), strip);
    right = MaybeStrip(s.substr(p + separator.size()), strip);
}

String ReadLnString(std::u16string_view s, std::int32_t& position, bool& atEnd, std::int32_t mode) {
    atEnd = false;
    if (position < 1) position = 1;
    String line;
    Char prev = 0;
    while (true) {
        if (static_cast<std::size_t>(position) > s.size()) {
            atEnd = true;
            return line;
        }
        const Char c = s[static_cast<std::size_t>(position - 1)];
        ++position;
        if (c >= 32) {
            line += c;
        } else {
            const bool ends = (mode == 0 && c == u'\n') || (mode == 1 && c == u'\r') ||
                              (mode == 2 && (c == u'\r' || c == u'\n')) ||
                              (mode == 3 && c == u'\r' && prev == u'\n') ||
                              (mode == 4 && c == u'\n' && prev == u'\r');
            if (ends) return line;
        }
        prev = c;
    }
}

std::int32_t StringIx(std::u16string_view s, std::span<const String> list) {
    return StringIx(s, true, list);
}

std::int32_t StringIx(std::u16string_view s, std::initializer_list<std::u16string_view> list) {
    return StringIx(s, true, list);
}

std::int32_t StringIx(std::u16string_view s, bool exact, std::span<const String> list) {
    const String key = exact ? String(s) : LowerAZ(s);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (exact ? list[i] == key : LowerAZ(list[i]) == key)
            return static_cast<std::int32_t>(i + 1);
    return 0;
}

std::int32_t StringIx(std::u16string_view s, bool exact,
                      std::initializer_list<std::u16string_view> list) {
    const std::vector<String> copy(list.begin(), list.end());
    return StringIx(s, exact, std::span<const String>(copy));
}

TCSVDelimiters DetectCSVDelimiter(std::u16string_view s) {
    std::size_t best = 0;
    std::size_t bestCount = 0;
    for (std::size_t k = 0; k < CSVDELIMITERS.size(); ++k) {
        const auto count =
            static_cast<std::size_t>(std::count(s.begin(), s.end(), CSVDELIMITERS[k]));
        if (count > bestCount) {
            best = k;
            bestCount = count;
        }
    }
    return static_cast<TCSVDelimiters>(best);
}

bool ParseQuotedName(Char c, Char quote, String& name, TQuotedStrState& state) {
    switch (state) {
        case vsStart:
            if (c <= u' ') return true;
            if (c == quote)
                state = vs1stQuote;
            else {
                name += c;
                state = vsNormal;
            }
            return true;
        case vs1stQuote:
            if (c == quote)
                state = vsQuote;
            else
                name += c;
            return true;
        case vsQuote:
            if (c == quote) {
                name += quote;
                state = vs1stQuote;
                return true;
            }
            state = vsEnd;
            return false;
        case vsNormal:
            if (c <= u' ')
                state = vsEnd;
            else
                name += c;
            return true;
        default:
            return false;
    }
}

String ExtractParam(std::u16string_view s, std::int32_t index, Char delimiter, Char quote,
                    std::u16string_view deflt) {
    if (index < 1) return String(deflt);
    std::int32_t current = 1;
    String field;
    std::size_t keep = 0;  // characters of `field` protected by quotes from stripping
    bool inQuotes = false;
    const auto finish = [&] {
        std::size_t end = field.size();
        while (end > keep && field[end - 1] == u' ')
            --end;
        field.resize(end);
        return field;
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        const Char c = s[i];
        if (inQuotes) {
            if (c == quote) {
                if (i + 1 < s.size() && s[i + 1] == quote) {
                    field += quote;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += c;
            }
            keep = field.size();
            continue;
        }
        if (c == delimiter) {
            if (current == index) return finish();
            ++current;
            field.clear();
            keep = 0;
        } else if (c == quote) {
            inQuotes = true;
        } else if (c != u' ' || field.size() > keep || keep > 0) {
            field += c;
        }
    }
    return current == index ? finish() : String(deflt);
}

void TextLineCoords(std::u16string_view s, std::int32_t position, std::int32_t& line,
                    std::int32_t& col) {
    line = col = 0;
    if (s.empty()) return;
    const std::size_t target =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(position, 1)) - 1, s.size());
    line = col = 1;
    for (std::size_t i = 0; i < target; ++i) {
        const Char c = s[i];
        const bool crlf = c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n';
        if ((c == u'\n' || c == u'\r') && !crlf) {
            ++line;
            col = 1;
        } else {
            ++col;
        }
    }
}

}  // namespace qorkit
