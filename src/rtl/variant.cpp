#include "qorkit/rtl/variant.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <utility>
#include <vector>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace detail {

/// Storage of a variant array. Elements are kept in column-major order (the first index
/// varies fastest); in a typed array each element already holds a value of `ElemType`.
struct VarArrayData {
    std::uint16_t ElemType = varVariant;
    std::vector<std::int32_t> Low;
    std::vector<std::int32_t> High;
    std::vector<Variant> Elems;
};

void VarArrayDeleter::operator()(VarArrayData* p) const noexcept {
    delete p;
}

}  // namespace detail

/// Internal access to the representation, for the helpers of this file.
struct VariantAccess {
    static std::int64_t I64(const Variant& V) noexcept { return V.FVal.I64; }
    static std::uint64_t U64(const Variant& V) noexcept { return V.FVal.U64; }
    static double Dbl(const Variant& V) noexcept { return V.FVal.Dbl; }
    static bool Bool(const Variant& V) noexcept { return V.FVal.Bool; }
    static const String& Str(const Variant& V) noexcept { return V.FStr; }
    static const detail::VarArrayData* Arr(const Variant& V) noexcept { return V.FArray.get(); }
    static detail::VarArrayData* Arr(Variant& V) noexcept { return V.FArray.get(); }

    static Variant MakeI64(std::uint16_t Type, std::int64_t Value) noexcept {
        Variant r;
        r.FType = Type;
        r.FVal.I64 = Value;
        return r;
    }
    static Variant MakeU64(std::uint16_t Type, std::uint64_t Value) noexcept {
        Variant r;
        r.FType = Type;
        r.FVal.U64 = Value;
        return r;
    }
    static Variant MakeDbl(std::uint16_t Type, double Value) noexcept {
        Variant r;
        r.FType = Type;
        r.FVal.Dbl = Value;
        return r;
    }
    static Variant MakeStr(std::uint16_t Type, String Value) noexcept {
        Variant r;
        r.FType = Type;
        r.FStr = std::move(Value);
        return r;
    }
    static Variant MakeArray(std::unique_ptr<detail::VarArrayData> Data) noexcept {
        Variant r;
        r.FType = static_cast<std::uint16_t>(varArray | Data->ElemType);
        r.FArray.reset(Data.release());
        return r;
    }
};

namespace {

using VA = VariantAccess;

constexpr double kTwo63 = 9223372036854775808.0;   // 2^63
constexpr double kTwo64 = 18446744073709551616.0;  // 2^64
constexpr std::int64_t kCurrencyScale = 10000;
// TDateTime values of 0001-01-01 00:00 and of the day after 9999-12-31.
constexpr double kMinDate = -693593.0;
constexpr double kMaxDateExclusive = 2958466.0;

bool IsSignedCode(std::uint16_t t) noexcept {
    return t == varSmallint || t == varInteger || t == varShortInt || t == varInt64;
}
bool IsUnsignedCode(std::uint16_t t) noexcept {
    return t == varByte || t == varWord || t == varLongWord || t == varUInt64;
}
bool IsFloatCode(std::uint16_t t) noexcept {
    return t == varSingle || t == varDouble || t == varDate;
}
bool IsStringCode(std::uint16_t t) noexcept {
    return t == varOleStr || t == varString || t == varUString;
}
// Element types that an array may hold.
bool IsElementCode(std::uint16_t t) noexcept {
    return IsSignedCode(t) || IsUnsignedCode(t) || IsFloatCode(t) || IsStringCode(t) ||
           t == varCurrency || t == varError || t == varBoolean || t == varVariant;
}

[[noreturn]] void CastError(std::uint16_t From, const String& To, const String& Detail = {}) {
    String msg =
        u"Could not convert variant of type (" + VarTypeAsText(From) + u") into type (" + To + u")";
    if (!Detail.empty()) msg += u": " + Detail;
    throw EVariantTypeCastError(msg);
}

[[noreturn]] void OverflowError(std::uint16_t From, const String& To) {
    throw EVariantOverflowError(u"Overflow while converting variant of type (" +
                                VarTypeAsText(From) + u") into type (" + To + u")");
}

// Rounds to the nearest integer, halves to the even neighbour, independent of the floating-
// point environment's rounding mode. NaN and infinities pass through.
template <typename F>
F RoundHalfEven(F x) noexcept {
    if (!std::isfinite(x)) return x;
    const F fl = std::floor(x);
    const F diff = x - fl;  // exact: fl and x share the binade or x is an integer
    if (diff < F(0.5)) return fl;
    if (diff > F(0.5)) return fl + 1;
    return std::fmod(fl, F(2)) == 0 ? fl : fl + 1;
}

// Scaled currency divided by 10000 and rounded half to even, without overflow.
std::int64_t CurrencyToInt(std::int64_t c) noexcept {
    std::int64_t q = c / kCurrencyScale;
    const std::int64_t r = c % kCurrencyScale;  // same sign as c
    const bool odd = (q % 2) != 0;
    if (r > kCurrencyScale / 2 || (r == kCurrencyScale / 2 && odd)) ++q;
    if (r < -kCurrencyScale / 2 || (r == -kCurrencyScale / 2 && odd)) --q;
    return q;
}

// Text of a scaled currency: up to four decimals, trailing zeros dropped.
String CurrencyToStr(std::int64_t c) {
    const bool neg = c < 0;
    const std::uint64_t mag =
        neg ? 0 - static_cast<std::uint64_t>(c) : static_cast<std::uint64_t>(c);
    const std::uint64_t whole = mag / kCurrencyScale;
    std::uint64_t frac = mag % kCurrencyScale;
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, whole);
    std::string s(buf, res.ptr);
    if (frac != 0) {
        char digits[4];
        for (int i = 3; i >= 0; --i) {
            digits[i] = static_cast<char>('0' + frac % 10);
            frac /= 10;
        }
        int n = 4;
        while (digits[n - 1] == '0')
            --n;
        s += '.';
        s.append(digits, static_cast<std::size_t>(n));
    }
    String out = neg ? String(u"-") : String();
    for (char ch : s)
        out += static_cast<Char>(ch);
    return out;
}

String UInt64ToStr(std::uint64_t v) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    String out;
    for (const char* p = buf; p != res.ptr; ++p)
        out += static_cast<Char>(*p);
    return out;
}

// A single's shortest decimal form, written the way FloatToStr writes a double.
String SingleToStr(double stored) {
    const auto f = static_cast<float>(stored);
    if (!std::isfinite(f)) return FloatToStr(f);
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, f);
    double d = stored;
    std::from_chars(buf, res.ptr, d);
    return FloatToStr(d);
}

String DateToStr(double d) {
    if (!(d >= kMinDate && d < kMaxDateExclusive))
        CastError(varDate, u"String", u"the date lies outside the years 1 to 9999");
    if (d == std::trunc(d)) return FormatDateTime(u"yyyy-mm-dd", d);
    return FormatDateTime(u"yyyy-mm-dd hh:nn:ss", d);
}

// A-Z case-insensitive equality of `s` with the upper-case ASCII word `upper`.
bool EqualsFolded(const String& s, std::u16string_view upper) noexcept {
    if (s.size() != upper.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        Char c = s[i];
        if (c >= u'a' && c <= u'z') c = static_cast<Char>(c - (u'a' - u'A'));
        if (c != upper[i]) return false;
    }
    return true;
}

// Reads `s` with StrToFloat; failures become EVariantTypeCastError from `from` to `to`.
long double ParseFloat(const String& s, std::uint16_t from, const String& to) {
    long double x = 0;
    if (!TryStrToFloat(s, x)) CastError(from, to, u"'" + s + u"' is not a valid number");
    return x;
}

// A string as a 64-bit integer: integer syntax first, else a rounded floating-point number
// within [lo, hi]. `Narrow` tries the 32-bit integer reader first (its hexadecimal forms may
// read differently from the 64-bit one's).
std::int64_t ParseInteger(const String& s, std::uint16_t from, const String& to, bool Narrow,
                          long double lo, long double hi) {
    if (Narrow) {
        std::int32_t v = 0;
        if (TryStrToInt(s, v)) return v;
    }
    try {
        // Beyond the 32-bit range this still reads the number, so the caller reports an
        // overflow rather than bad syntax.
        return StrToInt64(s);
    } catch (const EConvertError&) {
        // Not integer syntax, or beyond 64 bits: try the floating-point reading below.
    }
    const long double x = RoundHalfEven(ParseFloat(s, from, to));
    if (!(x >= lo && x <= hi)) OverflowError(from, to);
    return static_cast<std::int64_t>(x);
}

// The value as an integer within [lo, hi] (both within the int64 range); `Narrow` as above.
std::int64_t ToInteger(const Variant& v, const String& to, std::int64_t lo, std::int64_t hi,
                       bool Narrow) {
    const std::uint16_t t = v.VType();
    std::int64_t r = 0;
    if (t == varEmpty) {
        r = 0;
    } else if (IsSignedCode(t)) {
        r = VA::I64(v);
    } else if (IsUnsignedCode(t)) {
        if (VA::U64(v) > static_cast<std::uint64_t>(hi)) OverflowError(t, to);
        r = static_cast<std::int64_t>(VA::U64(v));
    } else if (IsFloatCode(t)) {
        const double x = RoundHalfEven(VA::Dbl(v));
        // Compare in double: hi + 1 and lo are exact powers of two (or small integers).
        const auto lod = static_cast<double>(lo);
        const double hid =
            hi == std::numeric_limits<std::int64_t>::max() ? kTwo63 : static_cast<double>(hi) + 1.0;
        if (!(x >= lod && x < hid)) OverflowError(t, to);
        r = static_cast<std::int64_t>(x);
    } else if (t == varCurrency) {
        r = CurrencyToInt(VA::I64(v));
    } else if (t == varBoolean) {
        r = VA::Bool(v) ? -1 : 0;
    } else if (IsStringCode(t)) {
        r = ParseInteger(VA::Str(v), t, to, Narrow, static_cast<long double>(lo),
                         static_cast<long double>(hi));
    } else {
        CastError(t, to);
    }
    if (r < lo || r > hi) OverflowError(t, to);
    return r;
}

std::uint64_t ToUInt64(const Variant& v) {
    const std::uint16_t t = v.VType();
    const String to = VarTypeAsText(varUInt64);
    if (t == varEmpty) return 0;
    if (IsUnsignedCode(t)) return VA::U64(v);
    if (IsFloatCode(t)) {
        const double x = RoundHalfEven(VA::Dbl(v));
        if (!(x >= 0.0 && x < kTwo64)) OverflowError(t, to);
        return static_cast<std::uint64_t>(x);
    }
    if (IsStringCode(t)) {
        const String& s = VA::Str(v);
        try {
            const std::int64_t i = StrToInt64(s);
            if (i < 0) OverflowError(t, to);
            return static_cast<std::uint64_t>(i);
        } catch (const EConvertError&) {
            // Beyond the int64 range or not integer syntax: read as a number.
        }
        const long double x = RoundHalfEven(ParseFloat(s, t, to));
        if (!(x >= 0.0L && x < static_cast<long double>(kTwo64))) OverflowError(t, to);
        return static_cast<std::uint64_t>(x);
    }
    const std::int64_t i = ToInteger(v, to, std::numeric_limits<std::int64_t>::min(),
                                     std::numeric_limits<std::int64_t>::max(), false);
    if (i < 0) OverflowError(t, to);
    return static_cast<std::uint64_t>(i);
}

// A floating-point amount as scaled currency, rounded half to even.
std::int64_t ScaleCurrency(long double x, std::uint16_t from) {
    const long double s = RoundHalfEven(x * kCurrencyScale);
    if (!(s >= -static_cast<long double>(kTwo63) && s < static_cast<long double>(kTwo63)))
        OverflowError(from, VarTypeAsText(varCurrency));
    return static_cast<std::int64_t>(s);
}

std::int64_t ToCurrencyScaled(const Variant& v) {
    const std::uint16_t t = v.VType();
    const String to = VarTypeAsText(varCurrency);
    constexpr std::int64_t kMaxWhole = std::numeric_limits<std::int64_t>::max() / kCurrencyScale;
    if (t == varEmpty) return 0;
    if (t == varCurrency) return VA::I64(v);
    if (IsSignedCode(t)) {
        const std::int64_t i = VA::I64(v);
        if (i > kMaxWhole || i < -kMaxWhole) OverflowError(t, to);
        return i * kCurrencyScale;
    }
    if (IsUnsignedCode(t)) {
        if (VA::U64(v) > static_cast<std::uint64_t>(kMaxWhole)) OverflowError(t, to);
        return static_cast<std::int64_t>(VA::U64(v)) * kCurrencyScale;
    }
    if (IsFloatCode(t)) return ScaleCurrency(VA::Dbl(v), t);
    if (t == varBoolean) return VA::Bool(v) ? -kCurrencyScale : 0;
    if (IsStringCode(t)) return ScaleCurrency(ParseFloat(VA::Str(v), t, to), t);
    CastError(t, to);
}

void RequireArray(const Variant& A) {
    if (!VarIsArray(A))
        throw EVariantArrayError(u"Variant of type (" + VarTypeAsText(A.VType()) +
                                 u") is not an array");
}

// Position of the element at `Indices` in the column-major element vector.
std::size_t ElementOffset(const detail::VarArrayData& a, std::span<const std::int32_t> Indices) {
    const std::size_t dims = a.Low.size();
    if (Indices.size() != dims)
        throw EVariantBadIndexError(
            u"Variant array has " + IntToStr(static_cast<std::int64_t>(dims)) +
            u" dimension(s) but " + IntToStr(static_cast<std::int64_t>(Indices.size())) +
            u" index(es) were given");
    std::int64_t offset = 0;
    std::int64_t stride = 1;
    for (std::size_t d = 0; d < dims; ++d) {
        const std::int32_t i = Indices[d];
        if (i < a.Low[d] || i > a.High[d])
            throw EVariantBadIndexError(u"Variant array index " + IntToStr(i) +
                                        u" is out of bounds " + IntToStr(a.Low[d]) + u".." +
                                        IntToStr(a.High[d]) + u" of dimension " +
                                        IntToStr(static_cast<std::int64_t>(d + 1)));
        offset += (static_cast<std::int64_t>(i) - a.Low[d]) * stride;
        stride *= static_cast<std::int64_t>(a.High[d]) - a.Low[d] + 1;
    }
    return static_cast<std::size_t>(offset);
}

// The initial element of an array of `ElemType`.
Variant DefaultElement(std::uint16_t ElemType) {
    if (ElemType == varVariant) return Variant();
    if (ElemType == varError) return Variant::FromError(0);
    return VarAsType(Variant(), ElemType);
}

}  // namespace

// --- construction -------------------------------------------------------------------------

Variant::Variant() noexcept = default;
Variant::~Variant() = default;

Variant::Variant(bool Value) noexcept : FType(varBoolean) {
    FVal.Bool = Value;
}
Variant::Variant(float Value) noexcept : FType(varSingle) {
    FVal.Dbl = Value;
}
Variant::Variant(double Value) noexcept : FType(varDouble) {
    FVal.Dbl = Value;
}
Variant::Variant(long double Value) noexcept : FType(varDouble) {
    FVal.Dbl = static_cast<double>(Value);
}
Variant::Variant(const String& Value) : FType(varUString), FStr(Value) {}
Variant::Variant(String&& Value) noexcept : FType(varUString), FStr(std::move(Value)) {}
Variant::Variant(const char16_t* Value) : FType(varUString) {
    if (Value) FStr = Value;
}
Variant::Variant(std::u16string_view Value) : FType(varUString), FStr(Value) {}

Variant::Variant(const Variant& Other) : FType(Other.FType), FVal(Other.FVal), FStr(Other.FStr) {
    if (Other.FArray) {
        try {
            FArray.reset(new detail::VarArrayData(*Other.FArray));
        } catch (const std::bad_alloc&) {
            throw EVariantArrayError(u"Out of memory while copying a variant array");
        }
    }
}

Variant::Variant(Variant&& Other) noexcept
    : FType(Other.FType),
      FVal(Other.FVal),
      FStr(std::move(Other.FStr)),
      FArray(std::move(Other.FArray)) {
    Other.FType = varEmpty;
    Other.FVal.I64 = 0;
    Other.FStr.clear();
}

Variant& Variant::operator=(const Variant& Other) {
    if (this != &Other) {
        Variant copy(Other);
        *this = std::move(copy);
    }
    return *this;
}

Variant& Variant::operator=(Variant&& Other) noexcept {
    if (this != &Other) {
        // Detach our old array first: Other may live inside it.
        auto old = std::move(FArray);
        FType = Other.FType;
        FVal = Other.FVal;
        FStr = std::move(Other.FStr);
        FArray = std::move(Other.FArray);
        Other.FType = varEmpty;
        Other.FVal.I64 = 0;
        Other.FStr.clear();
    }
    return *this;
}

Variant Variant::Null() noexcept {
    return VA::MakeI64(varNull, 0);
}
Variant Variant::FromShortInt(std::int8_t Value) noexcept {
    return VA::MakeI64(varShortInt, Value);
}
Variant Variant::FromByte(std::uint8_t Value) noexcept {
    return VA::MakeU64(varByte, Value);
}
Variant Variant::FromSmallint(std::int16_t Value) noexcept {
    return VA::MakeI64(varSmallint, Value);
}
Variant Variant::FromWord(std::uint16_t Value) noexcept {
    return VA::MakeU64(varWord, Value);
}
Variant Variant::FromInteger(std::int32_t Value) noexcept {
    return VA::MakeI64(varInteger, Value);
}
Variant Variant::FromLongWord(std::uint32_t Value) noexcept {
    return VA::MakeU64(varLongWord, Value);
}
Variant Variant::FromInt64(std::int64_t Value) noexcept {
    return VA::MakeI64(varInt64, Value);
}
Variant Variant::FromUInt64(std::uint64_t Value) noexcept {
    return VA::MakeU64(varUInt64, Value);
}
Variant Variant::FromCurrency(double Value) {
    return VA::MakeI64(varCurrency, ScaleCurrency(Value, varDouble));
}
Variant Variant::FromCurrencyScaled(std::int64_t Scaled) noexcept {
    return VA::MakeI64(varCurrency, Scaled);
}
Variant Variant::FromDate(TDateTime Value) noexcept {
    return VA::MakeDbl(varDate, Value);
}
Variant Variant::FromOleStr(const String& Value) {
    return VA::MakeStr(varOleStr, Value);
}
Variant Variant::FromAnsiString(std::u16string_view Value) {
    return VA::MakeStr(varString, Win1252ToString(StringToWin1252(Value)));
}
Variant Variant::FromAnsiBytes(std::string_view Win1252) {
    return VA::MakeStr(varString, Win1252ToString(Win1252));
}
Variant Variant::FromError(std::int32_t Code) noexcept {
    return VA::MakeI64(varError, Code);
}

// --- conversions --------------------------------------------------------------------------

String Variant::AsString() const {
    const std::uint16_t t = FType;
    if (t == varEmpty) return String();
    if (IsSignedCode(t)) return IntToStr(FVal.I64);
    if (IsUnsignedCode(t)) return UInt64ToStr(FVal.U64);
    if (t == varSingle) return SingleToStr(FVal.Dbl);
    if (t == varDouble) return FloatToStr(FVal.Dbl);
    if (t == varDate) return DateToStr(FVal.Dbl);
    if (t == varCurrency) return CurrencyToStr(FVal.I64);
    if (t == varBoolean) return FVal.Bool ? String(u"True") : String(u"False");
    if (IsStringCode(t)) return FStr;
    CastError(t, u"String");
}

double Variant::AsDouble() const {
    const std::uint16_t t = FType;
    if (t == varEmpty) return 0.0;
    if (IsSignedCode(t)) return static_cast<double>(FVal.I64);
    if (IsUnsignedCode(t)) return static_cast<double>(FVal.U64);
    if (IsFloatCode(t)) return FVal.Dbl;
    if (t == varCurrency) return static_cast<double>(FVal.I64) / kCurrencyScale;
    if (t == varBoolean) return FVal.Bool ? -1.0 : 0.0;
    if (IsStringCode(t)) {
        const long double x = ParseFloat(FStr, t, u"Double");
        if (std::isfinite(x) && std::fabs(x) > static_cast<long double>(DBL_MAX))
            OverflowError(t, u"Double");
        return static_cast<double>(x);
    }
    CastError(t, u"Double");
}

std::int32_t Variant::AsInteger() const {
    return static_cast<std::int32_t>(ToInteger(*this, u"Integer",
                                               std::numeric_limits<std::int32_t>::min(),
                                               std::numeric_limits<std::int32_t>::max(), true));
}

std::int64_t Variant::AsInt64() const {
    return ToInteger(*this, u"Int64", std::numeric_limits<std::int64_t>::min(),
                     std::numeric_limits<std::int64_t>::max(), false);
}

bool Variant::AsBoolean() const {
    const std::uint16_t t = FType;
    if (t == varEmpty) return false;
    if (t == varBoolean) return FVal.Bool;
    if (IsSignedCode(t) || t == varCurrency) return FVal.I64 != 0;
    if (IsUnsignedCode(t)) return FVal.U64 != 0;
    if (IsFloatCode(t)) return FVal.Dbl != 0.0;
    if (IsStringCode(t)) {
        if (EqualsFolded(FStr, u"TRUE")) return true;
        if (EqualsFolded(FStr, u"FALSE")) return false;
        return ParseFloat(FStr, t, u"Boolean") != 0.0L;
    }
    CastError(t, u"Boolean");
}

AnsiString Variant::AsAnsiString() const {
    return StringToWin1252(AsString());
}

// --- type queries -------------------------------------------------------------------------

std::uint16_t VarType(const Variant& V) noexcept {
    return V.VType();
}
bool VarIsNull(const Variant& V) noexcept {
    return V.VType() == varNull;
}
bool VarIsEmpty(const Variant& V) noexcept {
    return V.VType() == varEmpty;
}
bool VarIsArray(const Variant& V) noexcept {
    return (V.VType() & varArray) != 0;
}

String VarTypeAsText(std::uint16_t VType) {
    if (VType & varArray)
        return u"Array of " + VarTypeAsText(static_cast<std::uint16_t>(VType & varTypeMask));
    switch (VType) {
        case varEmpty:
            return u"Empty";
        case varNull:
            return u"Null";
        case varSmallint:
            return u"Smallint";
        case varInteger:
            return u"Integer";
        case varSingle:
            return u"Single";
        case varDouble:
            return u"Double";
        case varCurrency:
            return u"Currency";
        case varDate:
            return u"Date";
        case varOleStr:
            return u"OleStr";
        case varError:
            return u"Error";
        case varBoolean:
            return u"Boolean";
        case varVariant:
            return u"Variant";
        case varShortInt:
            return u"ShortInt";
        case varByte:
            return u"Byte";
        case varWord:
            return u"Word";
        case varLongWord:
            return u"LongWord";
        case varInt64:
            return u"Int64";
        case varUInt64:
            return u"UInt64";
        case varString:
            return u"String";
        case varUString:
            return u"UnicodeString";
        default:
            return IntToStr(VType);
    }
}

String VarToStr(const Variant& V) {
    if (VarIsNull(V)) return String();
    return V.AsString();
}

Variant VarAsType(const Variant& V, std::uint16_t VType) {
    const std::uint16_t t = V.VType();
    const String to = VarTypeAsText(VType);
    if (t == VType) return V;
    if (t == varNull || t == varError || (t & varArray) || VType == varEmpty || VType == varNull ||
        VType == varVariant || VType == varError || (VType & varArray))
        CastError(t, to);
    auto ranged = [&](std::int64_t lo, std::int64_t hi) {
        return VA::MakeI64(VType, ToInteger(V, to, lo, hi, false));
    };
    switch (VType) {
        case varShortInt:
            return ranged(INT8_MIN, INT8_MAX);
        case varSmallint:
            return ranged(INT16_MIN, INT16_MAX);
        case varInteger:
            return VA::MakeI64(VType, ToInteger(V, to, INT32_MIN, INT32_MAX, true));
        case varInt64:
            return ranged(INT64_MIN, INT64_MAX);
        case varByte:
            return VA::MakeU64(VType,
                               static_cast<std::uint64_t>(ToInteger(V, to, 0, UINT8_MAX, false)));
        case varWord:
            return VA::MakeU64(VType,
                               static_cast<std::uint64_t>(ToInteger(V, to, 0, UINT16_MAX, false)));
        case varLongWord:
            return VA::MakeU64(VType,
                               static_cast<std::uint64_t>(ToInteger(V, to, 0, UINT32_MAX, false)));
        case varUInt64:
            return VA::MakeU64(VType, ToUInt64(V));
        case varSingle: {
            const double x = V.AsDouble();
            if (std::isfinite(x) && std::fabs(x) > FLT_MAX) OverflowError(t, to);
            return VA::MakeDbl(VType, static_cast<double>(static_cast<float>(x)));
        }
        case varDouble:
        case varDate:
            return VA::MakeDbl(VType, V.AsDouble());
        case varCurrency:
            return VA::MakeI64(VType, ToCurrencyScaled(V));
        case varBoolean:
            return Variant(V.AsBoolean());
        case varOleStr:
        case varUString:
            return VA::MakeStr(VType, V.AsString());
        case varString:
            return Variant::FromAnsiString(V.AsString());
        default:
            CastError(t, to);
    }
}

// --- arrays -------------------------------------------------------------------------------

Variant VarArrayCreate(std::span<const std::int32_t> Bounds, std::uint16_t ElemType) {
    if (Bounds.empty() || Bounds.size() % 2 != 0)
        throw EVariantArrayError(
            u"Variant array bounds need a low and a high bound per "
            u"dimension; " +
            IntToStr(static_cast<std::int64_t>(Bounds.size())) + u" value(s) were given");
    const std::size_t dims = Bounds.size() / 2;
    if (dims > static_cast<std::size_t>(MaxVarArrayDims))
        throw EVariantArrayError(u"Variant array has too many dimensions: " +
                                 IntToStr(static_cast<std::int64_t>(dims)) + u" (at most " +
                                 IntToStr(MaxVarArrayDims) + u")");
    if (!IsElementCode(ElemType))
        throw EVariantArrayError(u"Invalid variant array element type: " + VarTypeAsText(ElemType));
    std::int64_t count = 1;
    for (std::size_t d = 0; d < dims; ++d) {
        const std::int64_t lo = Bounds[2 * d];
        const std::int64_t hi = Bounds[2 * d + 1];
        const std::int64_t extent = hi - lo + 1;
        if (extent < 0)
            throw EVariantArrayError(u"Invalid variant array bounds " + IntToStr(lo) + u".." +
                                     IntToStr(hi) + u" in dimension " +
                                     IntToStr(static_cast<std::int64_t>(d + 1)));
        // count <= MaxVarArrayElements (2^24) and extent <= 2^32: the product fits.
        count *= extent;
        if (count > MaxVarArrayElements)
            throw EVariantArrayError(u"Variant array too large: more than " +
                                     IntToStr(MaxVarArrayElements) + u" elements");
    }
    try {
        auto data = std::make_unique<detail::VarArrayData>();
        data->ElemType = ElemType;
        data->Low.reserve(dims);
        data->High.reserve(dims);
        for (std::size_t d = 0; d < dims; ++d) {
            data->Low.push_back(Bounds[2 * d]);
            data->High.push_back(Bounds[2 * d + 1]);
        }
        data->Elems.assign(static_cast<std::size_t>(count), DefaultElement(ElemType));
        return VA::MakeArray(std::move(data));
    } catch (const std::bad_alloc&) {
        throw EVariantArrayError(u"Out of memory while creating a variant array of " +
                                 IntToStr(count) + u" elements");
    }
}

Variant VarArrayCreate(std::initializer_list<std::int32_t> Bounds, std::uint16_t ElemType) {
    return VarArrayCreate(std::span<const std::int32_t>(Bounds.begin(), Bounds.size()), ElemType);
}

Variant VarArrayOf(std::span<const Variant> Values) {
    if (static_cast<std::int64_t>(Values.size()) > MaxVarArrayElements)
        throw EVariantArrayError(u"Variant array too large: more than " +
                                 IntToStr(MaxVarArrayElements) + u" elements");
    const std::int32_t bounds[2] = {0, static_cast<std::int32_t>(Values.size()) - 1};
    Variant r = VarArrayCreate(bounds, varVariant);
    auto& elems = VA::Arr(r)->Elems;
    try {
        for (std::size_t i = 0; i < Values.size(); ++i)
            elems[i] = Values[i];
    } catch (const std::bad_alloc&) {
        throw EVariantArrayError(u"Out of memory while creating a variant array");
    }
    return r;
}

Variant VarArrayOf(std::initializer_list<Variant> Values) {
    return VarArrayOf(std::span<const Variant>(Values.begin(), Values.size()));
}

std::int32_t VarArrayDimCount(const Variant& A) noexcept {
    const auto* a = VA::Arr(A);
    return a ? static_cast<std::int32_t>(a->Low.size()) : 0;
}

namespace {
const detail::VarArrayData& CheckedDim(const Variant& A, std::int32_t Dim) {
    RequireArray(A);
    const auto& a = *VA::Arr(A);
    if (Dim < 1 || Dim > static_cast<std::int32_t>(a.Low.size()))
        throw EVariantBadIndexError(
            u"Variant array dimension " + IntToStr(Dim) + u" does not exist; the array has " +
            IntToStr(static_cast<std::int64_t>(a.Low.size())) + u" dimension(s)");
    return a;
}
}  // namespace

std::int32_t VarArrayLowBound(const Variant& A, std::int32_t Dim) {
    return CheckedDim(A, Dim).Low[static_cast<std::size_t>(Dim - 1)];
}

std::int32_t VarArrayHighBound(const Variant& A, std::int32_t Dim) {
    return CheckedDim(A, Dim).High[static_cast<std::size_t>(Dim - 1)];
}

Variant Variant::GetElement(std::span<const std::int32_t> Indices) const {
    RequireArray(*this);
    return FArray->Elems[ElementOffset(*FArray, Indices)];
}

Variant Variant::GetElement(std::initializer_list<std::int32_t> Indices) const {
    return GetElement(std::span<const std::int32_t>(Indices.begin(), Indices.size()));
}

void Variant::PutElement(std::span<const std::int32_t> Indices, const Variant& Value) {
    RequireArray(*this);
    const std::size_t at = ElementOffset(*FArray, Indices);
    // Convert (or copy) before touching the array: Value may be this array or one of its
    // elements, and a failed conversion must leave the array unchanged.
    Variant stored =
        FArray->ElemType == varVariant ? Variant(Value) : VarAsType(Value, FArray->ElemType);
    FArray->Elems[at] = std::move(stored);
}

void Variant::PutElement(std::initializer_list<std::int32_t> Indices, const Variant& Value) {
    PutElement(std::span<const std::int32_t>(Indices.begin(), Indices.size()), Value);
}

Variant VarArrayGet(const Variant& A, std::initializer_list<std::int32_t> Indices) {
    return A.GetElement(Indices);
}
Variant VarArrayGet(const Variant& A, std::span<const std::int32_t> Indices) {
    return A.GetElement(Indices);
}
void VarArrayPut(Variant& A, const Variant& Value, std::initializer_list<std::int32_t> Indices) {
    A.PutElement(Indices, Value);
}
void VarArrayPut(Variant& A, const Variant& Value, std::span<const std::int32_t> Indices) {
    A.PutElement(Indices, Value);
}

}  // namespace qorkit
