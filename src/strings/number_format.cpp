// Number formatting on top of the platform's exact base conversions (StrFixed, StrExpo).
#include "qorkit/strings/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "qorkit/rtl/sysutils.h"
#include "qorkit/strings/string_strip.h"

namespace qorkit {

namespace {

constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

std::int32_t ClampInt(std::int64_t v) noexcept {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), kMaxInt));
}

// Decimals up to which the double fast path below is used; beyond them (and for values that
// are not doubles) the general conversion of the platform layer does the work.
constexpr std::int32_t kFastDecimals = 40;

// Fixed(x, width, decimals), decimals >= 0. Values that are exactly doubles of moderate size
// are converted with std::to_chars on the double into a stack buffer: the digits are the same
// (both conversions are exact and round ties to even), without the general path's large
// scratch buffer.
String FixedText(long double x, std::int32_t width, std::int32_t decimals) {
    const double d = static_cast<double>(x);
    if (decimals <= kFastDecimals && static_cast<long double>(d) == x && std::fabs(d) < 1e300) {
        std::array<char, 400> buf;
        const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), d,
                                       std::chars_format::fixed, decimals);
        if (res.ec == std::errc{}) {
            const char* first = buf.data();
            const char* last = res.ptr;
            // A negative value that rounds to zero is written without its sign.
            if (*first == '-' &&
                std::all_of(first + 1, last, [](char c) { return c == '0' || c == '.'; }))
                ++first;
            const auto len = static_cast<std::int64_t>(last - first);
            const std::int64_t pad = width > len ? width - len : 0;
            String out(static_cast<std::size_t>(pad), u' ');
            out.append(first, last);
            return out;
        }
    }
    return StrFixed(x, width, decimals);
}

// Expo(x, width): the exponent form with four exponent digits. Doubles with at most
// kFastDecimals + 1 significant digits requested go through std::to_chars on the double into
// a stack buffer (the same exact, ties-to-even digits as the general path).
String ExpoText(long double x, std::int32_t width) {
    const std::int64_t k = std::max<std::int64_t>(std::int64_t{width} - 8, 2);
    const double d = static_cast<double>(x);
    if (k - 1 <= kFastDecimals && static_cast<long double>(d) == x) {
        std::array<char, 96> buf;
        const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), d,
                                       std::chars_format::scientific, static_cast<int>(k - 1));
        if (res.ec == std::errc{}) {
            const char* p = buf.data();
            const bool negative = *p == '-';
            if (negative) ++p;
            const char* last = res.ptr;
            const char* e = std::find(p, last, 'e');
            String out;
            out.reserve(static_cast<std::size_t>(k) + 8);
            out += negative && d != 0 ? u'-' : u' ';
            out.append(p, e);
            out += u'E';
            out += static_cast<Char>(e[1]);  // the exponent's sign
            const auto digits = static_cast<std::size_t>(last - (e + 2));
            out.append(digits < 4 ? 4 - digits : 0, u'0');
            out.append(e + 2, last);
            return out;
        }
    }
    return StrExpo(x, width);
}

// Leading blanks become zeros; a minus sign after them moves to the front.
void ZeroPad(String& t) {
    std::size_t i = 0;
    while (i < t.size() && t[i] == u' ') {
        t[i] = u'0';
        ++i;
    }
    if (i < t.size() && t[i] == u'-') {
        t[i] = u'0';
        t[0] = u'-';
    }
}

bool IsFinite(long double x) noexcept {
    return std::isfinite(x);
}

// The exact number of digits before the decimal point of a finite non-zero `x`
// (floor(log10 |x|) + 1); 0 or less for |x| < 1.
std::int32_t IntegerDigits(double x) noexcept {
    const double l = std::log10(std::fabs(x));
    const double f = std::floor(l);
    auto e = static_cast<std::int32_t>(f) + 1;
    // Near an exact power of ten the logarithm may land a hair off; settle it by comparison.
    if (l - f < 1e-9 || f + 1 - l < 1e-9) {
        const long double a = std::fabs(static_cast<long double>(x));
        if (a >= std::pow(10.0L, static_cast<long double>(e)))
            ++e;
        else if (a < std::pow(10.0L, static_cast<long double>(e - 1)))
            --e;
    }
    return e;
}

}  // namespace

namespace {
// The plain fixed form: blank padding only, a width <= 0 meaning none.
String Fixed(long double x, std::int32_t width, std::int32_t decimals) {
    return strff(x, std::max(width, 0), decimals);
}
}  // namespace

String strff(long double x, std::int32_t width, std::int32_t decimals) {
    const std::int32_t w = ClampInt(std::abs(std::int64_t{width}));
    if (!IsFinite(x)) return StrFixed(x, w, 0);
    String t;
    if (decimals == -2) {
        t = ExpoText(x, ClampInt(std::int64_t{w} + 2));
        const std::size_t e = t.find(u'E');
        if (e != String::npos && t.size() == e + 6) {
            const bool fits = t[e + 2] == u'0' && t[e + 3] == u'0';
            t.erase(e + 2, 2);
            if (!fits) t.assign(t.size(), u'*');
        }
    } else if (decimals >= 0) {
        t = FixedText(x, w, decimals);
    } else {
        t = ExpoText(x, w);
    }
    if (width < 0) ZeroPad(t);
    return t;
}

String strffForcePlus(long double x, std::int32_t width, std::int32_t decimals) {
    String t = strff(x, width, decimals);
    if (!(x >= 0) || !IsFinite(x) || t.empty()) return t;
    std::size_t blanks = 0;
    while (blanks + 1 < t.size() && t[blanks] == u' ')
        ++blanks;
    if (blanks > 0)
        t[blanks - 1] = u'+';
    else if (t.size() > 1 && t[0] == u'0' && t[1] != u'.')
        t[0] = u'+';
    else
        t.insert(0, 1, u'+');
    return t;
}

String FormatData(double x, std::int32_t width, std::int32_t decimals) {
    // Upper limits: nine nines for no decimals, eight nines for 1 to 8 decimals.
    static constexpr double kUpper[9] = {999999999.0, 9999999.9, 999999.99, 99999.999, 9999.9999,
                                         999.99999,   99.999999, 9.9999999, 0.99999999};
    static constexpr double kLower[9] = {1.0, 0.1, 0.01, 0.001, 0.0001, 1e-5, 1e-6, 1e-7, 1e-8};
    const auto expo = [&] { return strff(x, ClampInt(std::int64_t{width} + 6), -2); };
    if (decimals < 0 || decimals > 8) return expo();
    const double a = std::fabs(x);
    if (a > kUpper[decimals] || (a < kLower[decimals] && x != 0)) return expo();
    return Fixed(x, width, decimals);
}

String SigDigStr(double x, std::int32_t width, std::int32_t digits) {
    if (x == 0) return Fixed(0.0L, width, std::max(digits, 1) - 1);
    if (!std::isfinite(x)) return Fixed(x, width, 0);
    const std::int64_t n = digits;
    const std::int64_t e = IntegerDigits(x);
    const auto expo = [&] { return strff(x, ClampInt(std::max<std::int64_t>(width, n + 6)), -2); };
    if (n < e) {
        if (e > std::int64_t{width} - 1) return expo();
        return Fixed(x, width, 0);
    }
    if (e < n - width + 3) return expo();
    return Fixed(x, width, ClampInt(n - e));
}

String SigDigStr(double x, std::int32_t width, std::int32_t digits, bool strip) {
    String t = SigDigStr(x, width, digits);
    return strip ? StripLTBlanks(t) : t;
}

String AutoFormatData(double x, std::int32_t digits) {
    const std::int32_t n = std::clamp(digits, 2, 16);
    String t;
    if (x == 0) {
        t = strff(0.0L, 1, n - 1);
    } else {
        // An exact decimal logarithm at powers of ten: 0.1 and 10^(n-1) take the exponent form.
        const double a = std::fabs(x);
        double d = std::log10(a);
        if (std::isfinite(d)) {
            const std::int32_t e = IntegerDigits(x) - 1;  // floor(log10 |x|), exact
            if (std::floor(d) != e) d = e;
        }
        if (d > -1 && d < n - 1)
            t = strff(x, 1, n - 1 - static_cast<std::int32_t>(std::trunc(d)));
        else
            t = strff(x, n + 6, -2);
    }
    return StripLTBlanks(t);
}

String AutoFormatData(double x, std::int32_t digits, bool comma) {
    String t = AutoFormatData(x, digits);
    if (comma) std::replace(t.begin(), t.end(), u'.', u',');
    return t;
}

String SortableNumericString(std::u16string_view s, Char decimal, std::int32_t position) {
    String t = StripLTBlanks(s);
    const std::size_t p = t.find(decimal);
    const std::int64_t at = p == String::npos ? 0 : static_cast<std::int64_t>(p) + 1;
    if (at < position) t.insert(0, static_cast<std::size_t>(position - at), u' ');
    return t;
}

namespace {

// `v` in decimal, right-aligned in two characters; `zero` pads with '0' instead of a blank.
String Two(std::uint64_t v, bool zero) {
    std::array<char, 24> buf;
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    String out(buf.data(), res.ptr);
    if (out.size() < 2) out.insert(0, 1, zero ? u'0' : u' ');
    return out;
}

}  // namespace

String TimeString(double seconds, std::uint8_t mode) {
    constexpr double kMaxHours = 4503599627370496.0;  // 2^52
    if (!(seconds > 0)) seconds = 0;
    const double hoursF = std::min(std::trunc(seconds / 3600), kMaxHours);
    if (hoursF >= kMaxHours) seconds = kMaxHours * 3600;
    const auto hours = static_cast<std::uint64_t>(hoursF);
    const double rest = seconds - hoursF * 3600;
    const auto minutes = static_cast<std::uint64_t>(std::clamp(std::trunc(rest / 60), 0.0, 59.0));
    const auto secs =
        static_cast<std::uint64_t>(std::clamp(std::trunc(rest - minutes * 60.0), 0.0, 59.0));
    const auto hundredths = static_cast<std::uint64_t>(
        std::clamp(std::trunc((seconds - std::trunc(seconds)) * 100), 0.0, 99.0));
    switch (mode) {
        case 0:
            return Two(hours, true) + u':' + Two(minutes, true) + u':' + Two(secs, true) + u'.' +
                   Two(hundredths, true);
        case 1:
            return Two(hours, true) + u':' + Two(minutes, true) + u':' + Two(secs, true);
        case 2:
            return Two(hours, false) + u'h' + Two(minutes, true);
        case 3:
            return Two(hours, false) + u'h' + Two(minutes, true) + u'\'' + Two(secs, true) + u'"';
        case 4:
            return Two(hours, true) + u':' + Two(minutes, true);
        case 5: {
            const std::uint64_t h12 = hours == 0 ? 12 : hours > 12 ? hours - 12 : hours;
            return Two(h12, false) + u':' + Two(minutes, true) + (hours < 12 ? u'a' : u'p');
        }
        default:
            return String();
    }
}

String BoolToStr(bool b, std::int32_t mode) {
    static constexpr std::u16string_view kTrue[8] = {u"TRUE", u"T",  u".T.", u"1",
                                                     u"-1",   u"FF", u"YES", u"GOOD"};
    static constexpr std::u16string_view kFalse[8] = {u"FALSE", u"F",  u".F.", u"0",
                                                      u"0",     u"00", u"NO",  u"BAD"};
    const std::size_t m = mode >= 0 && mode < 8 ? static_cast<std::size_t>(mode) : 0;
    return String(b ? kTrue[m] : kFalse[m]);
}

String BinString(bool b, std::u16string_view ifTrue, std::u16string_view ifFalse) {
    return String(b ? ifTrue : ifFalse);
}

TTriState StrToTriState(std::u16string_view s) {
    String t = StripLTBlanks(s);
    for (Char& c : t)
        if (c >= u'A' && c <= u'Z') c = static_cast<Char>(c + 32);
    if (t == u"true" || t == u"1" || t == u"+1" || t == u"yes") return tsTrue;
    if (t == u"false" || t == u"-1" || t == u"no") return tsFalse;
    return tsUndefined;
}

String TriStateToStr(TTriState t, std::int32_t mode) {
    const std::size_t i = t == tsFalse ? 0 : t == tsTrue ? 1 : 2;
    static constexpr std::u16string_view kMode1[3] = {u"-1", u"1", u"0"};
    static constexpr std::u16string_view kMode2[3] = {u"no", u"yes", u"unknown"};
    static constexpr std::u16string_view kMode0[3] = {u"false", u"true", u""};
    return String(mode == 1 ? kMode1[i] : mode == 2 ? kMode2[i] : kMode0[i]);
}

}  // namespace qorkit
