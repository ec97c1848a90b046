#include "qorkit/rtl/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/objects.h"

using namespace qorkit;

namespace {

// The message of the exception of type E that `f` raises; fails the test if none is raised.
template <typename E, typename F>
std::string MessageOf(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    ADD_FAILURE() << "expected exception not raised";
    return {};
}

}  // namespace

// Narrow strings and null pointers must not silently become Booleans.
static_assert(!std::is_constructible_v<Variant, const char*>);
static_assert(!std::is_constructible_v<Variant, std::nullptr_t>);
static_assert(!std::is_constructible_v<Variant, int*>);
static_assert(!std::is_constructible_v<Variant, const TObject*>);

TEST(Variant_Construct, TypeCodesFollowTheCxxType) {
    EXPECT_EQ(VarType(Variant()), varEmpty);
    EXPECT_EQ(VarType(Variant::Null()), varNull);
    EXPECT_EQ(VarType(Variant(true)), varBoolean);
    EXPECT_EQ(VarType(Variant(42)), varInteger);
    EXPECT_EQ(VarType(Variant(std::int64_t{42})), varInt64);
    EXPECT_EQ(VarType(Variant(42LL)), varInt64);
    EXPECT_EQ(VarType(Variant(std::uint64_t{42})), varUInt64);
    EXPECT_EQ(VarType(Variant(42u)), varLongWord);
    EXPECT_EQ(VarType(Variant(std::int16_t{4})), varSmallint);
    EXPECT_EQ(VarType(Variant(std::uint16_t{4})), varWord);
    EXPECT_EQ(VarType(Variant(std::int8_t{4})), varShortInt);
    EXPECT_EQ(VarType(Variant(std::uint8_t{4})), varByte);
    EXPECT_EQ(VarType(Variant(1.5)), varDouble);
    EXPECT_EQ(VarType(Variant(1.5f)), varSingle);
    EXPECT_EQ(VarType(Variant(1.5L)), varDouble);
    EXPECT_EQ(VarType(Variant(u"abc")), varUString);
    EXPECT_EQ(VarType(Variant(String(u"abc"))), varUString);
    EXPECT_EQ(VarType(Variant(std::u16string_view(u"abc"))), varUString);

    EXPECT_EQ(VarType(Variant::FromSmallint(-3)), varSmallint);
    EXPECT_EQ(VarType(Variant::FromByte(3)), varByte);
    EXPECT_EQ(VarType(Variant::FromWord(3)), varWord);
    EXPECT_EQ(VarType(Variant::FromLongWord(3)), varLongWord);
    EXPECT_EQ(VarType(Variant::FromShortInt(3)), varShortInt);
    EXPECT_EQ(VarType(Variant::FromInteger(3)), varInteger);
    EXPECT_EQ(VarType(Variant::FromInt64(3)), varInt64);
    EXPECT_EQ(VarType(Variant::FromUInt64(3)), varUInt64);
    EXPECT_EQ(VarType(Variant::FromCurrency(1.5)), varCurrency);
    EXPECT_EQ(VarType(Variant::FromCurrencyScaled(15000)), varCurrency);
    EXPECT_EQ(VarType(Variant::FromDate(45000.0)), varDate);
    EXPECT_EQ(VarType(Variant::FromOleStr(u"x")), varOleStr);
    EXPECT_EQ(VarType(Variant::FromAnsiString(u"x")), varString);
    EXPECT_EQ(VarType(Variant::FromAnsiBytes("x")), varString);
    EXPECT_EQ(VarType(Variant::FromError(5)), varError);

    EXPECT_TRUE(VarIsNull(Variant::Null()));
    EXPECT_FALSE(VarIsNull(Variant()));
    EXPECT_TRUE(VarIsEmpty(Variant()));
    EXPECT_FALSE(VarIsEmpty(Variant(0)));
    EXPECT_EQ(Variant(static_cast<const char16_t*>(nullptr)).AsString(), u"");
    char16_t buf[] = u"mutable";
    EXPECT_EQ(Variant(buf).AsString(), u"mutable");
}

TEST(Variant_Construct, AnsiStringsKeepOnlyWindows1252) {
    EXPECT_EQ(Variant::FromAnsiString(u"\u20AC\u00E9\u4E2D").AsString(), u"\u20AC\u00E9?");
    EXPECT_EQ(Variant::FromAnsiBytes("\x80\xE9").AsString(), u"\u20AC\u00E9");
    EXPECT_EQ(Variant(u"\u20AC\u4E2D").AsAnsiString(), "\x80?");
}

TEST(Variant_AsString, WritesEachTypeItsWay) {
    EXPECT_EQ(Variant().AsString(), u"");
    EXPECT_EQ(Variant(-42).AsString(), u"-42");
    EXPECT_EQ(Variant(std::numeric_limits<std::int64_t>::min()).AsString(),
              u"-9223372036854775808");
    EXPECT_EQ(Variant(std::numeric_limits<std::uint64_t>::max()).AsString(),
              u"18446744073709551615");
    EXPECT_EQ(Variant::FromByte(255).AsString(), u"255");
    EXPECT_EQ(Variant(1.5).AsString(), u"1.5");
    EXPECT_EQ(Variant(1e20).AsString(), u"1E20");
    // A single shows the digits that identify it, not the noise of its double widening.
    EXPECT_EQ(Variant(0.1f).AsString(), u"0.1");
    EXPECT_EQ(Variant(3.14159f).AsString(), u"3.14159");
    EXPECT_EQ(Variant(true).AsString(), u"True");
    EXPECT_EQ(Variant(false).AsString(), u"False");
    EXPECT_EQ(Variant(u"as is ").AsString(), u"as is ");
    EXPECT_EQ(Variant::FromOleStr(u"ole").AsString(), u"ole");
}

TEST(Variant_AsString, CurrencyDropsTrailingZeros) {
    EXPECT_EQ(Variant::FromCurrencyScaled(125000).AsString(), u"12.5");
    EXPECT_EQ(Variant::FromCurrencyScaled(30000).AsString(), u"3");
    EXPECT_EQ(Variant::FromCurrencyScaled(-1).AsString(), u"-0.0001");
    EXPECT_EQ(Variant::FromCurrencyScaled(-12340).AsString(), u"-1.234");
    EXPECT_EQ(Variant::FromCurrencyScaled(0).AsString(), u"0");
    EXPECT_EQ(Variant::FromCurrencyScaled(std::numeric_limits<std::int64_t>::min()).AsString(),
              u"-922337203685477.5808");
    EXPECT_EQ(Variant::FromCurrency(1.23456).AsString(), u"1.2346");
}

TEST(Variant_AsString, DatesOmitAZeroTimeOfDay) {
    EXPECT_EQ(Variant::FromDate(0.0).AsString(), u"1899-12-30");
    EXPECT_EQ(Variant::FromDate(45292.75).AsString(), u"2024-01-01 18:00:00");
    EXPECT_EQ(Variant::FromDate(45292.0).AsString(), u"2024-01-01");
    EXPECT_THROW(Variant::FromDate(1e12).AsString(), EVariantTypeCastError);
    EXPECT_THROW(Variant::FromDate(std::nan("")).AsString(), EVariantTypeCastError);
}

TEST(Variant_AsString, NullErrorsAndArraysRaiseNamingBothTypes) {
    EXPECT_EQ(MessageOf<EVariantTypeCastError>([] { (void)Variant::Null().AsString(); }),
              "Could not convert variant of type (Null) into type (String)");
    EXPECT_THROW((void)Variant::FromError(3).AsString(), EVariantTypeCastError);
    EXPECT_EQ(MessageOf<EVariantTypeCastError>([] { (void)VarArrayOf({1}).AsString(); }),
              "Could not convert variant of type (Array of Variant) into type (String)");
    EXPECT_EQ(VarToStr(Variant::Null()), u"");
    EXPECT_EQ(VarToStr(Variant()), u"");
    EXPECT_EQ(VarToStr(Variant(7)), u"7");
}

TEST(Variant_AsDouble, ConvertsNumbersBooleansAndText) {
    EXPECT_EQ(Variant().AsDouble(), 0.0);
    EXPECT_EQ(Variant(7).AsDouble(), 7.0);
    EXPECT_EQ(Variant(std::numeric_limits<std::uint64_t>::max()).AsDouble(),
              18446744073709551616.0);
    EXPECT_EQ(Variant(0.1f).AsDouble(), static_cast<double>(0.1f));
    EXPECT_EQ(Variant::FromCurrencyScaled(-25000).AsDouble(), -2.5);
    EXPECT_EQ(Variant::FromDate(45292.5).AsDouble(), 45292.5);
    EXPECT_EQ(Variant(true).AsDouble(), -1.0);
    EXPECT_EQ(Variant(false).AsDouble(), 0.0);
    EXPECT_EQ(Variant(u"1.5").AsDouble(), 1.5);
    EXPECT_EQ(Variant(u" -2e3 ").AsDouble(), -2000.0);
    EXPECT_TRUE(std::isinf(Variant(u"INF").AsDouble()));
    // Only "." separates decimals.
    EXPECT_THROW((void)Variant(u"1,5").AsDouble(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant(u"").AsDouble(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant(u"1e400").AsDouble(), EVariantOverflowError);
    EXPECT_THROW((void)Variant::Null().AsDouble(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant::FromError(1).AsDouble(), EVariantTypeCastError);
}

TEST(Variant_AsInteger, RoundsHalvesToEven) {
    EXPECT_EQ(Variant(2.5).AsInteger(), 2);
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
    EXPECT_EQ(Variant(-3.5).AsInteger(), -4);
    EXPECT_EQ(Variant(0.5).AsInteger(), 0);
    EXPECT_EQ(Variant(2.5000001).AsInteger(), 3);
    EXPECT_EQ(Variant(-0.49).AsInteger(), 0);
    EXPECT_EQ(Variant(2.5f).AsInteger(), 2);
    EXPECT_EQ(Variant::FromDate(1.5).AsInteger(), 2);
    EXPECT_EQ(Variant::FromCurrencyScaled(25000).AsInteger(), 2);
    EXPECT_EQ(Variant::FromCurrencyScaled(35000).AsInteger(), 4);
    EXPECT_EQ(Variant::FromCurrencyScaled(-25000).AsInteger(), -2);
    EXPECT_EQ(Variant::FromCurrencyScaled(-35000).AsInteger(), -4);
    EXPECT_EQ(Variant::FromCurrencyScaled(25001).AsInteger(), 3);
    EXPECT_EQ(Variant::FromCurrencyScaled(-24999).AsInteger(), -2);
    EXPECT_EQ(Variant(u"2.5").AsInteger(), 2);
    EXPECT_EQ(Variant(u"3.5").AsInteger(), 4);
    // Currency input to FromCurrency rounds the same way.
    EXPECT_EQ(Variant::FromCurrency(0.5).AsInt64(), 0);
    EXPECT_EQ(Variant::FromCurrency(1.5).AsInt64(), 2);
}

TEST(Variant_AsInteger, ConvertsOtherTypes) {
    EXPECT_EQ(Variant().AsInteger(), 0);
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_EQ(Variant(false).AsInteger(), 0);
    EXPECT_EQ(Variant::FromByte(200).AsInteger(), 200);
    EXPECT_EQ(Variant(u"42").AsInteger(), 42);
    EXPECT_EQ(Variant(u" -17").AsInteger(), -17);
    EXPECT_EQ(Variant(u"$FF").AsInteger(), 255);
    EXPECT_EQ(Variant(u"1e3").AsInteger(), 1000);
    EXPECT_THROW((void)Variant(u"abc").AsInteger(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant::Null().AsInteger(), EVariantTypeCastError);
    EXPECT_THROW((void)VarArrayOf({1}).AsInteger(), EVariantTypeCastError);
}

TEST(Variant_AsInteger, OutOfRangeRaisesOverflow) {
    EXPECT_EQ(Variant(2147483647.4).AsInteger(), 2147483647);
    EXPECT_EQ(Variant(-2147483648.5).AsInteger(), -2147483647 - 1);
    EXPECT_THROW((void)Variant(2147483647.5).AsInteger(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(-2147483649.0).AsInteger(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(std::int64_t{2147483648}).AsInteger(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(std::uint64_t{1} << 63).AsInteger(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(4294967295u).AsInteger(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(u"99999999999").AsInteger(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(u"1e10").AsInteger(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(std::nan("")).AsInteger(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(INFINITY).AsInteger(), EVariantOverflowError);
    EXPECT_THROW((void)Variant::FromCurrency(3e9).AsInteger(), EVariantOverflowError);
    EXPECT_EQ(MessageOf<EVariantOverflowError>([] { (void)Variant(1e10).AsInteger(); }),
              "Overflow while converting variant of type (Double) into type (Integer)");
}

TEST(Variant_AsInt64, CoversTheWholeRangeAndNoMore) {
    EXPECT_EQ(Variant(u"9223372036854775807").AsInt64(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Variant(-9223372036854775808.0).AsInt64(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Variant(std::uint64_t{1} << 62).AsInt64(), std::int64_t{1} << 62);
    EXPECT_EQ(Variant::FromCurrencyScaled(std::numeric_limits<std::int64_t>::max()).AsInt64(),
              922337203685478);  // .5807 rounds up
    EXPECT_THROW((void)Variant(9223372036854775808.0).AsInt64(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(std::uint64_t{1} << 63).AsInt64(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(u"1e19").AsInt64(), EVariantOverflowError);
    EXPECT_EQ(Variant(u"-1e18").AsInt64(), -1000000000000000000);
}

TEST(Variant_AsBoolean, NumbersAndWords) {
    EXPECT_FALSE(Variant().AsBoolean());
    EXPECT_TRUE(Variant(-1).AsBoolean());
    EXPECT_FALSE(Variant(0.0).AsBoolean());
    EXPECT_TRUE(Variant(0.25).AsBoolean());
    EXPECT_TRUE(Variant::FromCurrencyScaled(1).AsBoolean());
    EXPECT_TRUE(Variant(std::uint64_t{1} << 40).AsBoolean());
    EXPECT_TRUE(Variant(u"tRuE").AsBoolean());
    EXPECT_FALSE(Variant(u"FALSE").AsBoolean());
    EXPECT_FALSE(Variant(u"0").AsBoolean());
    EXPECT_TRUE(Variant(u"2.5").AsBoolean());
    EXPECT_THROW((void)Variant(u"yes").AsBoolean(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant::Null().AsBoolean(), EVariantTypeCastError);
}

TEST(Variant_AsType, ConvertsIntoEachTypeWithRangeChecks) {
    EXPECT_EQ(VarType(VarAsType(Variant(u"12"), varSmallint)), varSmallint);
    EXPECT_EQ(VarAsType(Variant(u"12"), varSmallint).AsInteger(), 12);
    EXPECT_EQ(VarAsType(Variant(255), varByte).AsInteger(), 255);
    EXPECT_THROW(VarAsType(Variant(256), varByte), EVariantOverflowError);
    EXPECT_THROW(VarAsType(Variant(-1), varWord), EVariantOverflowError);
    EXPECT_THROW(VarAsType(Variant(-1), varUInt64), EVariantOverflowError);
    EXPECT_THROW(VarAsType(Variant(128), varShortInt), EVariantOverflowError);
    EXPECT_EQ(VarAsType(Variant(u"18446744073709551615"), varUInt64).AsString(),
              u"18446744073709551615");
    EXPECT_THROW(VarAsType(Variant(1e300), varSingle), EVariantOverflowError);
    EXPECT_EQ(VarAsType(Variant(0.1), varSingle).AsString(), u"0.1");
    EXPECT_EQ(VarAsType(Variant(7), varCurrency).AsString(), u"7");
    EXPECT_THROW(VarAsType(Variant(std::int64_t{1} << 60), varCurrency), EVariantOverflowError);
    EXPECT_EQ(VarAsType(Variant(u"45292"), varDate).AsString(), u"2024-01-01");
    EXPECT_EQ(VarAsType(Variant(3), varUString).AsString(), u"3");
    EXPECT_EQ(VarType(VarAsType(Variant(3), varString)), varString);
    EXPECT_TRUE(VarAsType(Variant(u"true"), varBoolean).AsBoolean());
    // Empty becomes the zero of the target; Null, errors and impossible targets raise.
    EXPECT_EQ(VarAsType(Variant(), varInteger).AsInteger(), 0);
    EXPECT_EQ(VarAsType(Variant(), varOleStr).AsString(), u"");
    EXPECT_THROW(VarAsType(Variant::Null(), varInteger), EVariantTypeCastError);
    EXPECT_THROW(VarAsType(Variant(1), varNull), EVariantTypeCastError);
    EXPECT_THROW(VarAsType(Variant(1), varVariant), EVariantTypeCastError);
    EXPECT_THROW(VarAsType(Variant(1), 99), EVariantTypeCastError);
    EXPECT_THROW(VarAsType(Variant::FromError(1), varInteger), EVariantTypeCastError);
    EXPECT_TRUE(VarIsNull(VarAsType(Variant::Null(), varNull)));
}

TEST(Variant_AsType, TypeNamesAreReadable) {
    EXPECT_EQ(VarTypeAsText(varUString), u"UnicodeString");
    EXPECT_EQ(VarTypeAsText(varArray | varDouble), u"Array of Double");
    EXPECT_EQ(VarTypeAsText(99), u"99");
}

TEST(Variant_Array, OneDimensionWithNonZeroLowBound) {
    Variant a = VarArrayCreate({5, 8}, varInteger);
    EXPECT_EQ(VarType(a), varArray | varInteger);
    EXPECT_TRUE(VarIsArray(a));
    EXPECT_EQ(VarArrayDimCount(a), 1);
    EXPECT_EQ(VarArrayLowBound(a, 1), 5);
    EXPECT_EQ(VarArrayHighBound(a, 1), 8);
    for (int i = 5; i <= 8; ++i) {
        EXPECT_EQ(VarType(a.GetElement({i})), varInteger);
        EXPECT_EQ(a.GetElement({i}).AsInteger(), 0);
    }
    a.PutElement({5}, 10);
    VarArrayPut(a, Variant(u"11"), {6});  // converted to the element type
    a.PutElement({8}, 2.5);               // rounded like AsInteger
    EXPECT_EQ(VarArrayGet(a, {5}).AsInteger(), 10);
    EXPECT_EQ(VarType(a.GetElement({6})), varInteger);
    EXPECT_EQ(a.GetElement({6}).AsInteger(), 11);
    EXPECT_EQ(a.GetElement({8}).AsInteger(), 2);
    // A failed conversion leaves the element as it was.
    EXPECT_THROW(a.PutElement({5}, Variant(u"x")), EVariantTypeCastError);
    EXPECT_THROW(a.PutElement({5}, 1e12), EVariantOverflowError);
    EXPECT_EQ(a.GetElement({5}).AsInteger(), 10);
}

TEST(Variant_Array, TwoAndThreeDimensionsAddressEveryCellOnce) {
    Variant a = VarArrayCreate({-2, 1, 5, 7}, varVariant);
    EXPECT_EQ(VarArrayDimCount(a), 2);
    EXPECT_EQ(VarArrayLowBound(a, 2), 5);
    EXPECT_EQ(VarArrayHighBound(a, 2), 7);
    for (int i = -2; i <= 1; ++i)
        for (int j = 5; j <= 7; ++j)
            a.PutElement({i, j}, i * 100 + j);
    for (int i = -2; i <= 1; ++i)
        for (int j = 5; j <= 7; ++j)
            EXPECT_EQ(a.GetElement({i, j}).AsInteger(), i * 100 + j);

    Variant b = VarArrayCreate({1, 2, -1, 1, 10, 13}, varDouble);
    EXPECT_EQ(VarArrayDimCount(b), 3);
    EXPECT_EQ(VarType(b.GetElement({1, -1, 10})), varDouble);
    for (int i = 1; i <= 2; ++i)
        for (int j = -1; j <= 1; ++j)
            for (int k = 10; k <= 13; ++k)
                b.PutElement({i, j, k}, i * 10000 + j * 100 + k);
    for (int i = 1; i <= 2; ++i)
        for (int j = -1; j <= 1; ++j)
            for (int k = 10; k <= 13; ++k)
                EXPECT_EQ(b.GetElement({i, j, k}).AsDouble(), i * 10000 + j * 100 + k);
}

TEST(Variant_Array, DefaultElementsOfEachType) {
    EXPECT_TRUE(VarIsEmpty(VarArrayCreate({0, 0}, varVariant).GetElement({0})));
    EXPECT_EQ(VarArrayCreate({0, 0}, varUString).GetElement({0}).AsString(), u"");
    EXPECT_EQ(VarType(VarArrayCreate({0, 0}, varString).GetElement({0})), varString);
    EXPECT_FALSE(VarArrayCreate({0, 0}, varBoolean).GetElement({0}).AsBoolean());
    EXPECT_EQ(VarType(VarArrayCreate({0, 0}, varError).GetElement({0})), varError);
    EXPECT_EQ(VarType(VarArrayCreate({0, 0}, varCurrency).GetElement({0})), varCurrency);
}

TEST(Variant_Array, BoundsAndIndexErrors) {
    Variant a = VarArrayCreate({0, 2, 1, 1}, varInteger);
    EXPECT_THROW(a.GetElement({3, 1}), EVariantBadIndexError);
    EXPECT_THROW(a.GetElement({-1, 1}), EVariantBadIndexError);
    EXPECT_THROW(a.GetElement({0, 0}), EVariantBadIndexError);
    EXPECT_THROW(a.GetElement({0}), EVariantBadIndexError);
    EXPECT_THROW(a.GetElement({0, 1, 1}), EVariantBadIndexError);
    EXPECT_THROW(a.PutElement({0, 2}, 1), EVariantBadIndexError);
    EXPECT_EQ(MessageOf<EVariantBadIndexError>([&] {
                  (void)a.GetElement({0, 5});
              }),
              "Variant array index 5 is out of bounds 1..1 of dimension 2");
    EXPECT_THROW(VarArrayLowBound(a, 0), EVariantBadIndexError);
    EXPECT_THROW(VarArrayHighBound(a, 3), EVariantBadIndexError);

    // Not an array.
    Variant n(5);
    EXPECT_EQ(VarArrayDimCount(n), 0);
    EXPECT_THROW(VarArrayLowBound(n, 1), EVariantArrayError);
    EXPECT_THROW(n.GetElement({0}), EVariantArrayError);
    EXPECT_THROW(n.PutElement({0}, 1), EVariantArrayError);

    // An empty dimension has no valid index.
    Variant e = VarArrayCreate({0, -1}, varInteger);
    EXPECT_EQ(VarArrayHighBound(e, 1), -1);
    EXPECT_THROW(e.GetElement({0}), EVariantBadIndexError);
    EXPECT_THROW(e.GetElement({-1}), EVariantBadIndexError);
}

TEST(Variant_Array, CreationRejectsBadRequests) {
    EXPECT_THROW(VarArrayCreate({0, -2}, varInteger), EVariantArrayError);
    EXPECT_THROW(VarArrayCreate({0}, varInteger), EVariantArrayError);
    EXPECT_THROW(VarArrayCreate(std::span<const std::int32_t>(), varInteger), EVariantArrayError);
    EXPECT_THROW(VarArrayCreate({0, 1}, varEmpty), EVariantArrayError);
    EXPECT_THROW(VarArrayCreate({0, 1}, varNull), EVariantArrayError);
    EXPECT_THROW(VarArrayCreate({0, 1}, varArray | varInteger), EVariantArrayError);
    EXPECT_THROW(VarArrayCreate({0, 1}, 99), EVariantArrayError);
    // Element counts are computed without overflow and capped.
    constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    EXPECT_THROW(VarArrayCreate({lo, hi}, varByte), EVariantArrayError);
    EXPECT_THROW(VarArrayCreate({0, 99999, 0, 99999}, varByte), EVariantArrayError);
    EXPECT_THROW(VarArrayCreate({hi, lo}, varByte), EVariantArrayError);
    // An empty dimension makes the whole array empty, whatever the other extents are.
    EXPECT_NO_THROW(VarArrayCreate({0, -1, lo, hi}, varByte));
    std::vector<std::int32_t> many(2 * (MaxVarArrayDims + 1), 0);
    EXPECT_THROW(VarArrayCreate(many, varByte), EVariantArrayError);
    many.resize(2 * MaxVarArrayDims);
    EXPECT_EQ(VarArrayDimCount(VarArrayCreate(many, varByte)), MaxVarArrayDims);
}

TEST(Variant_Array, VarArrayOfHoldsMixedValuesAndArrays) {
    Variant a = VarArrayOf({1, u"two", 3.5, VarArrayOf({10, 20}), Variant::Null()});
    EXPECT_EQ(VarType(a), varArray | varVariant);
    EXPECT_EQ(VarArrayLowBound(a, 1), 0);
    EXPECT_EQ(VarArrayHighBound(a, 1), 4);
    EXPECT_EQ(VarType(a.GetElement({0})), varInteger);
    EXPECT_EQ(a.GetElement({1}).AsString(), u"two");
    EXPECT_TRUE(VarIsNull(a.GetElement({4})));
    Variant inner = a.GetElement({3});
    ASSERT_TRUE(VarIsArray(inner));
    EXPECT_EQ(inner.GetElement({1}).AsInteger(), 20);

    EXPECT_EQ(VarArrayHighBound(VarArrayOf({}), 1), -1);

    // Arrays go into variant arrays as they are, but not into typed ones.
    Variant grid = VarArrayCreate({1, 2}, varVariant);
    grid.PutElement({1}, VarArrayOf({u"x", u"y"}));
    EXPECT_EQ(grid.GetElement({1}).GetElement({1}).AsString(), u"y");
    Variant typed = VarArrayCreate({1, 2}, varInteger);
    EXPECT_THROW(typed.PutElement({1}, VarArrayOf({1})), EVariantTypeCastError);
}

TEST(Variant_Array, StoringAnArrayIntoItselfStoresASnapshot) {
    Variant a = VarArrayOf({1, 2});
    a.PutElement({0}, a);
    Variant first = a.GetElement({0});
    ASSERT_TRUE(VarIsArray(first));
    EXPECT_EQ(first.GetElement({0}).AsInteger(), 1);
    EXPECT_EQ(first.GetElement({1}).AsInteger(), 2);
    // Replacing an array by one of its own elements.
    a = a.GetElement({0});
    EXPECT_EQ(a.GetElement({0}).AsInteger(), 1);
}

TEST(Variant_Copy, CopiesAreIndependentAndMovesEmptyTheSource) {
    Variant a = VarArrayOf({VarArrayOf({1, 2}), u"s"});
    Variant b = a;
    Variant inner = b.GetElement({0});
    inner.PutElement({0}, 99);
    b.PutElement({0}, inner);
    b.PutElement({1}, u"changed");
    EXPECT_EQ(a.GetElement({0}).GetElement({0}).AsInteger(), 1);
    EXPECT_EQ(a.GetElement({1}).AsString(), u"s");
    EXPECT_EQ(b.GetElement({0}).GetElement({0}).AsInteger(), 99);

    Variant c;
    c = a;
    a.PutElement({1}, 5);
    EXPECT_EQ(c.GetElement({1}).AsString(), u"s");

    Variant m = std::move(c);
    EXPECT_TRUE(VarIsEmpty(c));  // NOLINT(bugprone-use-after-move): documented state
    EXPECT_EQ(m.GetElement({1}).AsString(), u"s");
    Variant s(u"text");
    Variant t;
    t = std::move(s);
    EXPECT_TRUE(VarIsEmpty(s));  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(t.AsString(), u"text");

    Variant& self = t;
    t = self;
    EXPECT_EQ(t.AsString(), u"text");
}
