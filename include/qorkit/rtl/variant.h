// Variant: the platform's tagged value (numbers, strings, dates, Booleans, Null, arrays).
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <type_traits>

#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/datetime.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// No value at all; converts to 0, false and the empty string.
inline constexpr std::uint16_t varEmpty = 0;
/// The database-style "no value": converting it to anything but itself raises.
inline constexpr std::uint16_t varNull = 1;
/// 16-bit signed integer.
inline constexpr std::uint16_t varSmallint = 2;
/// 32-bit signed integer.
inline constexpr std::uint16_t varInteger = 3;
/// 32-bit floating point (`float`).
inline constexpr std::uint16_t varSingle = 4;
/// 64-bit floating point (`double`).
inline constexpr std::uint16_t varDouble = 5;
/// Fixed point with four decimals, held as a 64-bit integer scaled by 10000.
inline constexpr std::uint16_t varCurrency = 6;
/// A `TDateTime` day count.
inline constexpr std::uint16_t varDate = 7;
/// 16-bit text tagged as an automation string; behaves like `varUString`.
inline constexpr std::uint16_t varOleStr = 8;
/// A 32-bit error code; converts to nothing else.
inline constexpr std::uint16_t varError = 10;
/// A Boolean.
inline constexpr std::uint16_t varBoolean = 11;
/// Element type of arrays whose elements are variants of any type (arrays included).
inline constexpr std::uint16_t varVariant = 12;
/// 8-bit signed integer.
inline constexpr std::uint16_t varShortInt = 16;
/// 8-bit unsigned integer.
inline constexpr std::uint16_t varByte = 17;
/// 16-bit unsigned integer.
inline constexpr std::uint16_t varWord = 18;
/// 32-bit unsigned integer.
inline constexpr std::uint16_t varLongWord = 19;
/// 64-bit signed integer.
inline constexpr std::uint16_t varInt64 = 20;
/// 64-bit unsigned integer.
inline constexpr std::uint16_t varUInt64 = 21;
/// 8-bit text in Windows-1252. Held as 16-bit text restricted to the characters that the code
/// page can represent (anything else became '?' on the way in).
inline constexpr std::uint16_t varString = 256;
/// 16-bit Unicode text (`String`).
inline constexpr std::uint16_t varUString = 258;
/// Mask of the value-type part of a type code.
inline constexpr std::uint16_t varTypeMask = 0x0FFF;
/// Flag of a type code: the variant is an array whose elements have the masked type.
inline constexpr std::uint16_t varArray = 0x2000;

/// Most dimensions a variant array may have.
inline constexpr std::int32_t MaxVarArrayDims = 64;
/// Most elements (over all dimensions) a variant array may have.
inline constexpr std::int64_t MaxVarArrayElements = std::int64_t{1} << 24;

namespace detail {
/// Bounds, element type and elements of a variant array (defined in the implementation).
struct VarArrayData;
/// Deletes array storage; defined where `VarArrayData` is complete.
struct VarArrayDeleter {
    void operator()(VarArrayData* p) const noexcept;
};
}  // namespace detail

/// A tagged value: one of the `var...` types above, Null, Empty, or an array of such values.
///
/// Variants have value semantics: a copy is independent of its source (arrays are copied
/// deeply); moving is cheap and leaves the source Empty. Conversions never consult the process
/// locale. Booleans take part in arithmetic conversions as -1 (true) and 0 (false), the
/// automation convention of a Boolean whose bits are all set; any non-zero number converts
/// back to true.
///
/// Errors: a conversion that is not possible raises `EVariantTypeCastError` naming both types
/// ("Could not convert variant of type (Null) into type (String)"), one that does not fit the
/// target range raises `EVariantOverflowError`, array misuse raises `EVariantArrayError` and
/// array indexes outside the bounds raise `EVariantBadIndexError`.
class Variant {
  public:
    /// An Empty variant.
    Variant() noexcept;
    /// A `varBoolean`.
    Variant(bool Value) noexcept;
    /// An integer variant whose type follows the C++ type: signed 8/16/32/64 bits give
    /// `varShortInt`, `varSmallint`, `varInteger`, `varInt64`; unsigned ones give `varByte`,
    /// `varWord`, `varLongWord`, `varUInt64`.
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, char8_t> &&
             !std::same_as<T, char16_t> && !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>)
        Variant(T Value)
    noexcept {
        if constexpr (std::is_signed_v<T>) {
            InitSigned(static_cast<std::int64_t>(Value), SignedCode(sizeof(T)));
        } else {
            InitUnsigned(static_cast<std::uint64_t>(Value), UnsignedCode(sizeof(T)));
        }
    }
    /// A `varSingle`.
    Variant(float Value) noexcept;
    /// A `varDouble`.
    Variant(double Value) noexcept;
    /// A `varDouble` (the value is rounded to double precision).
    Variant(long double Value) noexcept;
    /// A `varUString`.
    Variant(const String& Value);
    /// A `varUString`, taking over the string.
    Variant(String&& Value) noexcept;
    /// A `varUString` from a null-terminated 16-bit string (null gives the empty string).
    Variant(const char16_t* Value);
    /// A `varUString` from a string view.
    explicit Variant(std::u16string_view Value);
    /// Narrow strings are ambiguous (which encoding?); use `FromAnsiBytes`, or convert UTF-8
    /// with `qorkit::FromUtf8` first.
    Variant(const char*) = delete;
    /// A null pointer is not a value; use `Variant::Null()` or `Variant()`.
    Variant(std::nullptr_t) = delete;
    /// A `varUString` from a modifiable null-terminated 16-bit string.
    Variant(char16_t* Value) : Variant(static_cast<const char16_t*>(Value)) {}
    /// Other pointers would silently become Booleans; they are refused at compile time.
    template <typename T>
    Variant(T*) = delete;

    /// Copies `Other`, deeply for arrays.
    Variant(const Variant& Other);
    /// Takes over `Other`'s value; `Other` becomes Empty.
    Variant(Variant&& Other) noexcept;
    /// Replaces this value with a deep copy of `Other` (self-assignment is safe).
    Variant& operator=(const Variant& Other);
    /// Replaces this value with `Other`'s; `Other` becomes Empty.
    Variant& operator=(Variant&& Other) noexcept;
    /// Releases strings and arrays (nested arrays included).
    ~Variant();

    /// The Null variant.
    static Variant Null() noexcept;
    /// A `varShortInt`.
    static Variant FromShortInt(std::int8_t Value) noexcept;
    /// A `varByte`.
    static Variant FromByte(std::uint8_t Value) noexcept;
    /// A `varSmallint`.
    static Variant FromSmallint(std::int16_t Value) noexcept;
    /// A `varWord`.
    static Variant FromWord(std::uint16_t Value) noexcept;
    /// A `varInteger`.
    static Variant FromInteger(std::int32_t Value) noexcept;
    /// A `varLongWord`.
    static Variant FromLongWord(std::uint32_t Value) noexcept;
    /// A `varInt64`.
    static Variant FromInt64(std::int64_t Value) noexcept;
    /// A `varUInt64`.
    static Variant FromUInt64(std::uint64_t Value) noexcept;
    /// A `varCurrency`: `Value` rounded to four decimals (halves to even). Raises
    /// `EVariantOverflowError` for NaN, infinities and values beyond about +-9.2E14.
    static Variant FromCurrency(double Value);
    /// A `varCurrency` from its raw representation: the amount times 10000.
    static Variant FromCurrencyScaled(std::int64_t Scaled) noexcept;
    /// A `varDate` holding the day count `Value`.
    static Variant FromDate(TDateTime Value) noexcept;
    /// A `varOleStr`.
    static Variant FromOleStr(const String& Value);
    /// A `varString` from 16-bit text; characters outside Windows-1252 become '?'.
    static Variant FromAnsiString(std::u16string_view Value);
    /// A `varString` from Windows-1252 bytes.
    static Variant FromAnsiBytes(std::string_view Win1252);
    /// A `varError` holding the error code `Code`.
    static Variant FromError(std::int32_t Code) noexcept;

    /// The full type code, including the `varArray` flag.
    std::uint16_t VType() const noexcept { return FType; }

    /// The value as text. Empty gives ""; integers in decimal; single and double as
    /// `FloatToStr` writes them (a single with the shortest digits that read back as the same
    /// single, so 0.1f gives "0.1"); currency with up to four decimals, trailing zeros dropped
    /// ("12.5"); a date as "yyyy-mm-dd hh:nn:ss", or "yyyy-mm-dd" when the time of day is
    /// zero (dates outside the years 1..9999 raise `EVariantTypeCastError`); Booleans "True"
    /// and "False"; strings as they are. Null, errors and arrays raise
    /// `EVariantTypeCastError`.
    String AsString() const;
    /// The value as a double. Empty gives 0; currency its amount; a date its day count;
    /// Booleans -1 and 0; strings are read by `StrToFloat` (so only "." is a decimal
    /// separator, and blanks around the number are allowed). Text that is not a number, Null,
    /// errors and arrays raise `EVariantTypeCastError`; text beyond the double range raises
    /// `EVariantOverflowError`.
    double AsDouble() const;
    /// The value as a 32-bit integer. Empty gives 0; Booleans -1 and 0; single, double,
    /// date and currency are rounded to the nearest integer, halves to the even neighbour
    /// (2.5 gives 2, 3.5 gives 4); strings are read as integers (decimal, or hexadecimal after
    /// "$" or "0x") and, failing that, as floating-point numbers and rounded the same way.
    /// A value outside the 32-bit range (NaN and infinities included) raises
    /// `EVariantOverflowError`; impossible conversions raise `EVariantTypeCastError`.
    std::int32_t AsInteger() const;
    /// As `AsInteger` for the 64-bit range.
    std::int64_t AsInt64() const;
    /// The value as a Boolean. Empty gives false; numbers are true when not zero; strings
    /// "True" and "False" in any case, else read as numbers (true when not zero). Other text,
    /// Null, errors and arrays raise `EVariantTypeCastError`.
    bool AsBoolean() const;
    /// The text as Windows-1252 bytes (`AsString` encoded; unmappable characters become '?').
    AnsiString AsAnsiString() const;

    /// Copy of the element at `Indices` (one index per dimension, each within its dimension's
    /// bounds). Raises `EVariantArrayError` when this is not an array and
    /// `EVariantBadIndexError` for a wrong index count or an index out of bounds.
    Variant GetElement(std::span<const std::int32_t> Indices) const;
    /// As above, e.g. `v.GetElement({i, j})`.
    Variant GetElement(std::initializer_list<std::int32_t> Indices) const;
    /// Stores `Value` at `Indices`. In a typed array the value is converted to the element
    /// type first (which may raise the conversion errors; the array is then unchanged); an
    /// element of a `varVariant` array takes a copy of `Value` as it is, arrays included.
    /// Raises as `GetElement` for bad indexes.
    void PutElement(std::span<const std::int32_t> Indices, const Variant& Value);
    /// As above, e.g. `v.PutElement({i, j}, 42)`.
    void PutElement(std::initializer_list<std::int32_t> Indices, const Variant& Value);

  private:
    friend struct VariantAccess;

    static constexpr std::uint16_t SignedCode(std::size_t Size) noexcept {
        return Size == 1   ? varShortInt
               : Size == 2 ? varSmallint
               : Size == 4 ? varInteger
                           : varInt64;
    }
    static constexpr std::uint16_t UnsignedCode(std::size_t Size) noexcept {
        return Size == 1 ? varByte : Size == 2 ? varWord : Size == 4 ? varLongWord : varUInt64;
    }
    void InitSigned(std::int64_t Value, std::uint16_t Type) noexcept {
        FType = Type;
        FVal.I64 = Value;
    }
    void InitUnsigned(std::uint64_t Value, std::uint16_t Type) noexcept {
        FType = Type;
        FVal.U64 = Value;
    }

    std::uint16_t FType = varEmpty;
    // Scalars: every signed integer type, currency (scaled) and error codes use I64; the
    // unsigned types U64; single, double and date Dbl (a single is stored exactly as a
    // double); Booleans Bool. Only the member that FType selects is ever read.
    union Scalar {
        std::int64_t I64 = 0;
        std::uint64_t U64;
        double Dbl;
        bool Bool;
    } FVal;
    String FStr;  // varOleStr, varString, varUString
    std::unique_ptr<detail::VarArrayData, detail::VarArrayDeleter> FArray;
};

/// The full type code of `V`, including the `varArray` flag.
std::uint16_t VarType(const Variant& V) noexcept;
/// True when `V` is Null.
bool VarIsNull(const Variant& V) noexcept;
/// True when `V` is Empty.
bool VarIsEmpty(const Variant& V) noexcept;
/// True when `V` is an array.
bool VarIsArray(const Variant& V) noexcept;
/// The name of a type code, e.g. "Integer", "UnicodeString", "Array of Double"; unknown
/// codes are written as their decimal number.
String VarTypeAsText(std::uint16_t VType);

/// `V` as text, with Null and Empty both giving the empty string; otherwise as `AsString`.
String VarToStr(const Variant& V);
/// `V` converted to a variant of type `VType` (a plain type code, not an array). Converting
/// to the type `V` already has returns a copy; Empty converts to the zero, false or empty
/// string of any type. Raises as the `As...` conversions, and `EVariantTypeCastError` for
/// Null (to anything but Null), for targets Empty, Null, `varVariant`, arrays and unknown
/// codes, and for a `varError` value (to anything but `varError`). A `varDate` target reads
/// strings as numbers (day counts), not as dates.
Variant VarAsType(const Variant& V, std::uint16_t VType);

/// Creates an array: `Bounds` holds a low and a high bound per dimension (1 to
/// `MaxVarArrayDims` dimensions). A dimension with high = low - 1 is empty. Elements start as
/// zero, false or the empty string of `ElemType` (Empty for `varVariant`). Raises
/// `EVariantArrayError` for an odd or empty bounds list, too many dimensions, high < low - 1,
/// an element type that arrays cannot hold (Empty, Null, arrays, unknown codes), more than
/// `MaxVarArrayElements` elements, or when memory runs out.
Variant VarArrayCreate(std::span<const std::int32_t> Bounds, std::uint16_t ElemType);
/// As above, e.g. `VarArrayCreate({1, 3, 0, 9}, varDouble)`.
Variant VarArrayCreate(std::initializer_list<std::int32_t> Bounds, std::uint16_t ElemType);
/// A one-dimensional `varVariant` array with bounds 0..n-1 holding copies of `Values`.
Variant VarArrayOf(std::initializer_list<Variant> Values);
/// A one-dimensional `varVariant` array with bounds 0..n-1 holding copies of `Values`.
Variant VarArrayOf(std::span<const Variant> Values);
/// Number of dimensions of an array; 0 for a value that is not an array.
std::int32_t VarArrayDimCount(const Variant& A) noexcept;
/// Low bound of dimension `Dim` (1-based). Raises `EVariantArrayError` when `A` is not an
/// array and `EVariantBadIndexError` when `Dim` is not in 1..`VarArrayDimCount(A)`.
std::int32_t VarArrayLowBound(const Variant& A, std::int32_t Dim);
/// High bound of dimension `Dim` (1-based); raises as `VarArrayLowBound`.
std::int32_t VarArrayHighBound(const Variant& A, std::int32_t Dim);
/// Same as `A.GetElement(Indices)`.
Variant VarArrayGet(const Variant& A, std::initializer_list<std::int32_t> Indices);
/// Same as `A.GetElement(Indices)`.
Variant VarArrayGet(const Variant& A, std::span<const std::int32_t> Indices);
/// Same as `A.PutElement(Indices, Value)`.
void VarArrayPut(Variant& A, const Variant& Value, std::initializer_list<std::int32_t> Indices);
/// Same as `A.PutElement(Indices, Value)`.
void VarArrayPut(Variant& A, const Variant& Value, std::span<const std::int32_t> Indices);

}  // namespace qorkit
