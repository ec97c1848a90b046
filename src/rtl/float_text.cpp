// Floating-point text in both directions. Output goes through std::to_chars, which prints the
// exact binary value correctly rounded (ties to even) and never looks at the locale. Input
// goes through strtold_l with a private "C" locale: std::from_chars for long double in
// libstdc++ 12 reports the whole subnormal range as out of range, while glibc's strtold is
// correctly rounded down to the smallest subnormal.
#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace {

// No long double has more than 16445 decimals after the point (the smallest subnormal is
// 2^-16445), nor more significant digits than that; every digit asked for beyond this limit
// is a zero and is appended without asking the converter.
constexpr std::int64_t kMaxExactDigits = 16500;
// Integer digits of the largest long double (about 1.19e4932), plus room for sign and point.
constexpr std::size_t kMaxIntegerText = 4940;

bool IsBlank(Char c) noexcept {
    return c == u' ' || c == u'\t';
}

String Widen(std::string_view s) {
    return String(s.begin(), s.end());
}

String PadLeft(String s, std::int32_t width) {
    if (width > 0 && s.size() < static_cast<std::size_t>(width))
        s.insert(0, static_cast<std::size_t>(width) - s.size(), u' ');
    return s;
}

String NonFiniteText(long double x) {
    if (std::isnan(x)) return u"NAN";
    return x > 0 ? u"+INF" : u"-INF";
}

// Scientific digits of a finite `x`: `mantissa` holds the significant digits without sign or
// point (precision + 1 of them), `exponent` the power of ten of the first one.
struct SciDigits {
    bool negative = false;
    std::string mantissa;
    std::int32_t exponent = 0;
};

SciDigits Scientific(long double x, std::int32_t precision) {
    std::string buf(kMaxIntegerText + static_cast<std::size_t>(precision) + 16, '\0');
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x,
                                   std::chars_format::scientific, precision);
    if (res.ec != std::errc{}) throw EConvertError("floating-point conversion failed");
    buf.resize(static_cast<std::size_t>(res.ptr - buf.data()));
    SciDigits out;
    std::size_t i = 0;
    if (buf[i] == '-') {
        out.negative = true;
        ++i;
    }
    const std::size_t e = buf.find('e', i);
    for (; i < e; ++i)
        if (buf[i] != '.') out.mantissa += buf[i];
    // The exponent is "e+NN" or "e-NNNN"; from_chars does not take a '+'.
    const char* first = buf.data() + e + 1;
    const bool expNegative = *first == '-';
    ++first;
    std::int32_t mag = 0;
    std::from_chars(first, buf.data() + buf.size(), mag);
    out.exponent = expNegative ? -mag : mag;
    return out;
}

// The "C" locale for strtold_l, created once for the life of the library.
class CLocale {
  public:
    CLocale() : FLocale(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {}
    ~CLocale() {
        if (FLocale != static_cast<locale_t>(nullptr)) freelocale(FLocale);
    }
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;
    locale_t Get() const noexcept { return FLocale; }

  private:
    locale_t FLocale;
};

bool EqualsNoCase(std::u16string_view s, std::string_view upper) {
    if (s.size() != upper.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (UpCase(s[i]) != static_cast<Char>(upper[i])) return false;
    return true;
}

bool IsDigit(Char c) noexcept {
    return c >= u'0' && c <= u'9';
}

// Checks the documented grammar and converts; false for anything else or on overflow.
bool ParseFloat(std::u16string_view s, long double& value) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    s = s.substr(b, e - b);

    bool negative = false;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    const std::u16string_view body = s.substr(i);
    if (EqualsNoCase(body, "INF")) {
        value = negative ? -HUGE_VALL : HUGE_VALL;
        return true;
    }
    if (EqualsNoCase(body, "NAN")) {
        value = std::nanl("");
        return true;
    }

    std::string ascii;
    ascii.reserve(s.size());
    if (negative) ascii += '-';
    std::size_t digits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++digits)
        ascii += static_cast<char>(s[i]);
    if (i < s.size() && s[i] == u'.') {
        ascii += '.';
        for (++i; i < s.size() && IsDigit(s[i]); ++i, ++digits)
            ascii += static_cast<char>(s[i]);
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii += static_cast<char>(s[i++]);
        std::size_t expDigits = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i, ++expDigits)
            ascii += static_cast<char>(s[i]);
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;

    static const CLocale cLocale;
    if (cLocale.Get() == static_cast<locale_t>(nullptr))
        throw EConvertError("cannot create the \"C\" locale for number conversion");
    errno = 0;
    char* end = nullptr;
    const long double v = strtold_l(ascii.c_str(), &end, cLocale.Get());
    const int err = errno;
    if (end != ascii.c_str() + ascii.size()) return false;
    // ERANGE with an infinite result is an overflow; with a finite one it is a correctly
    // rounded subnormal (or zero), which is the right answer.
    if (err == ERANGE && std::isinf(v)) return false;
    value = v;
    return true;
}

}  // namespace

long double StrToFloat(const String& S) {
    long double v = 0;
    if (!ParseFloat(S, v)) throw EConvertError(u"'" + S + u"' is not a valid floating point value");
    return v;
}

bool TryStrToFloat(const String& S, long double& Value) {
    return ParseFloat(S, Value);
}

String FloatToStr(long double Value) {
    if (!std::isfinite(Value)) return std::isnan(Value) ? u"NAN" : Value > 0 ? u"INF" : u"-INF";
    if (Value == 0) return u"0";
    SciDigits d = Scientific(Value, 14);
    while (d.mantissa.size() > 1 && d.mantissa.back() == '0')
        d.mantissa.pop_back();
    const auto n = static_cast<std::int32_t>(d.mantissa.size());
    const std::int32_t e = d.exponent;

    std::string out = d.negative ? "-" : "";
    if (e >= -4 && e <= 14) {
        if (e >= 0) {
            const std::int32_t intDigits = e + 1;
            out.append(d.mantissa, 0, static_cast<std::size_t>(std::min(n, intDigits)));
            if (n < intDigits) out.append(static_cast<std::size_t>(intDigits - n), '0');
            if (n > intDigits) {
                out += '.';
                out.append(d.mantissa, static_cast<std::size_t>(intDigits));
            }
        } else {
            out += "0.";
            out.append(static_cast<std::size_t>(-e - 1), '0');
            out += d.mantissa;
        }
    } else {
        out += d.mantissa[0];
        if (n > 1) {
            out += '.';
            out.append(d.mantissa, 1);
        }
        out += 'E';
        out += std::to_string(e);
    }
    return Widen(out);
}

String StrFixed(long double X, std::int32_t Width, std::int32_t Decimals) {
    if (Decimals < 0)
        throw EConvertError("StrFixed: the number of decimals must not be negative (got " +
                            std::to_string(Decimals) + ")");
    if (!std::isfinite(X)) return PadLeft(NonFiniteText(X), Width);
    const auto precision =
        static_cast<std::int32_t>(std::min<std::int64_t>(Decimals, kMaxExactDigits));
    std::string buf(kMaxIntegerText + static_cast<std::size_t>(precision) + 16, '\0');
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), X, std::chars_format::fixed, precision);
    if (res.ec != std::errc{}) throw EConvertError("floating-point conversion failed");
    buf.resize(static_cast<std::size_t>(res.ptr - buf.data()));
    buf.append(static_cast<std::size_t>(Decimals - precision), '0');
    // A negative value that rounds to zero prints without its sign.
    if (buf[0] == '-' && buf.find_first_not_of("0.", 1) == std::string::npos) buf.erase(0, 1);
    return PadLeft(Widen(buf), Width);
}

String StrExpo(long double X, std::int32_t Width) {
    if (!std::isfinite(X)) return PadLeft(NonFiniteText(X), Width);
    const std::int64_t k = std::max<std::int64_t>(std::int64_t{Width} - 8, 2);
    const auto precision = static_cast<std::int32_t>(std::min(k - 1, kMaxExactDigits));
    const SciDigits d = Scientific(X, precision);

    std::string out;
    out += d.negative && X != 0 ? '-' : ' ';
    out += d.mantissa[0];
    out += '.';
    out.append(d.mantissa, 1);
    out.append(static_cast<std::size_t>(k - 1 - precision), '0');
    out += 'E';
    out += d.exponent < 0 ? '-' : '+';
    const std::string exp = std::to_string(d.exponent < 0 ? -d.exponent : d.exponent);
    out.append(4 - std::min<std::size_t>(exp.size(), 4), '0');
    out += exp;
    return PadLeft(Widen(out), Width);
}

String StrReal(long double X, std::int32_t Width, std::int32_t Decimals) {
    return Decimals >= 0 ? StrFixed(X, Width, Decimals) : StrExpo(X, Width);
}

}  // namespace qorkit
