#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "qorkit/strings/param_lists.h"
#include "qorkit/strings/variant_text.h"

using namespace qorkit;

namespace {

std::string U8(const String& s) {
    return ToUtf8(s);
}

Variant IntRow(std::int32_t from, std::int32_t n) {
    Variant a = VarArrayCreate({0, n - 1}, varVariant);
    for (std::int32_t i = 0; i < n; ++i)
        a.PutElement({i}, from + i);
    return a;
}

}  // namespace

TEST(CreateParList, AllShapes) {
    const std::vector<std::int32_t> ints = {1, 2, 3};
    EXPECT_EQ(U8(CreateParList(ints, false, 0, true)), "[1,2,3]");
    EXPECT_EQ(U8(CreateParList(ints, false, 0, false)), "1,2,3");
    EXPECT_EQ(U8(CreateParList(ints, false, 2, true)), "[1,2,...]");
    EXPECT_EQ(U8(CreateParList(ints, false, 2, false)), "1,2,...");
    EXPECT_EQ(U8(CreateParList(ints, true, 0, true)), "[1,2,3],");
    EXPECT_EQ(U8(CreateParList(ints, false, 3, true)), "[1,2,3]");
    EXPECT_EQ(U8(CreateParList(std::span<const std::int32_t>(), false, 0, true)), "[]");
    EXPECT_EQ(U8(CreateParList(std::span<const std::int32_t>(), false, 0, false)), "");
    EXPECT_EQ(U8(CreateParList(std::span<const std::int32_t>(), true, 0, false)), ",");
    const std::array<bool, 2> bools = {true, false};
    EXPECT_EQ(U8(CreateParList(bools, false, 0, true)), "[TRUE,FALSE]");
    const std::vector<double> d = {1.5, 2.25};
    EXPECT_EQ(U8(CreateParList(d, false, 0, 3, true)), "[1.50,2.25]");
    EXPECT_EQ(U8(CreateParList(d, false, 1, 3, false)), "1.50,...");
}

TEST(ConvertVariant, Scalars) {
    EXPECT_EQ(U8(ConvertVariant(42)), "42");
    EXPECT_EQ(U8(ConvertVariant(Variant())), "(unknown type: 0)");
    EXPECT_EQ(U8(ConvertVariant(Variant::Null())), "NULL");
    EXPECT_EQ(U8(ConvertVariant(1234.5678)), " 1.235E+03");
    EXPECT_EQ(U8(ConvertVariant(0.5f)), " 5.000E-01");
    EXPECT_EQ(U8(ConvertVariant(true)), "TRUE");
    EXPECT_EQ(U8(ConvertVariant(String(u"txt"))), "txt");
    EXPECT_EQ(U8(ConvertVariant(Variant::FromAnsiString(u"ab"))), "ab");
    EXPECT_EQ(U8(ConvertVariant(Variant::FromInt64(-9000000000LL))), "-9000000000");
    EXPECT_EQ(U8(ConvertVariant(Variant::FromUInt64(18446744073709551615ULL))),
              "18446744073709551615");
    EXPECT_EQ(U8(ConvertVariant(Variant::FromByte(200))), "200");
    EXPECT_EQ(U8(ConvertVariant(Variant::FromCurrency(1.5))), "(unknown type: 6)");
    EXPECT_EQ(U8(ConvertVariant(Variant::FromOleStr(u"x"))), "(unknown type: 8)");
}

TEST(ConvertVariant, OneDimension) {
    Variant a = VarArrayCreate({0, 19}, varInteger);
    for (std::int32_t i = 0; i < 20; ++i)
        a.PutElement({i}, i);
    EXPECT_EQ(U8(ConvertVariant(a)), "Array[0,19]:\r\n0,1,2,3,4,5,6,7,8,9,10,11...");
    EXPECT_EQ(U8(ConvertVariant(VarArrayOf({1, String(u"x"), true}))), "Array[0,2]:\r\n1,x,TRUE");
    EXPECT_EQ(U8(ConvertVariant(VarArrayCreate({0, -1}, varInteger))), "undefined array");
    // Negative bounds are a real array.
    EXPECT_EQ(U8(ConvertVariant(VarArrayCreate({-2, -1}, varInteger))), "Array[-2,-1]:\r\n0,0");
}

TEST(ConvertVariant, ArraysOfArraysAndMultiDimensionalArrays) {
    // Three rows of four: dimension 1 indexes the outer array, each line one inner index.
    Variant rows = VarArrayCreate({0, 2}, varVariant);
    for (std::int32_t i = 0; i < 3; ++i)
        rows.PutElement({i}, IntRow(10 * i, 4));
    EXPECT_EQ(U8(ConvertVariant(rows)),
              "Array[0,2][0,3]:\r\n0,10,20\r\n1,11,21\r\n2,12,22\r\n3,13,23\r\n");

    Variant grid = VarArrayCreate({1, 2, 1, 12}, varInteger);
    for (std::int32_t i = 1; i <= 2; ++i)
        for (std::int32_t j = 1; j <= 12; ++j)
            grid.PutElement({i, j}, 100 * i + j);
    const std::string g = U8(ConvertVariant(grid));
    EXPECT_EQ(g.substr(0, 32), "Array[1,2][1,12]:\r\n101,201\r\n102,");
    EXPECT_EQ(g.substr(g.size() - 25), "109,209\r\n110,210\r\n ......");

    // Layers: an array of 4 arrays of 2 arrays of 2 values.
    Variant cube = VarArrayCreate({0, 1}, varVariant);
    for (std::int32_t i = 0; i < 2; ++i) {
        Variant mid = VarArrayCreate({0, 1}, varVariant);
        for (std::int32_t j = 0; j < 2; ++j)
            mid.PutElement({j}, IntRow(100 * i + 10 * j, 4));
        cube.PutElement({i}, mid);
    }
    EXPECT_EQ(U8(ConvertVariant(cube)),
              "Array[0,1][0,1][0,3]:\r\nlayer 0:\r\n0,100\r\n10,110\r\nlayer 1:\r\n1,101\r\n"
              "11,111\r\nlayer 2:\r\n2,102\r\n12,112\r\n ... more layers");

    // Ragged rows: missing cells stay empty, deeper arrays are marked.
    Variant ragged = VarArrayCreate({0, 2}, varVariant);
    ragged.PutElement({0}, IntRow(1, 2));
    ragged.PutElement({1}, IntRow(5, 1));
    ragged.PutElement({2}, 7);
    EXPECT_EQ(U8(ConvertVariant(ragged)), "Array[0,2][0,1]:\r\n1,5,\r\n2,,\r\n");
    Variant deep = VarArrayOf({VarArrayOf({VarArrayOf({VarArrayOf({1})})})});
    EXPECT_EQ(U8(ConvertVariant(deep)), "Array[0,0][0,0][0,0]:\r\nlayer 0:\r\n(array)\r\n");
}
