#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "qorkit/core/errors.h"
#include "qorkit/dstruct/assoc_array.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/streams/stream_text.h"

using namespace qorkit;

namespace {

// The linear table the index must imitate exactly: search from entry 1, fold A-Z when asked.
struct LinearModel {
    std::vector<String> keys;
    std::vector<int> values;
    bool ignoreCase = true;

    int Find(const String& k) const {
        const String want = ignoreCase ? LowerCase(k) : k;
        for (std::size_t i = 0; i < keys.size(); ++i)
            if ((ignoreCase ? LowerCase(keys[i]) : keys[i]) == want) return static_cast<int>(i);
        return -1;
    }
    void Add(const String& k, int v) {
        const String key = ignoreCase ? LowerCase(k) : k;
        const int at = Find(key);
        if (at >= 0) {
            values[static_cast<std::size_t>(at)] = v;
            return;
        }
        keys.push_back(key);
        values.push_back(v);
    }
    bool Remove(const String& k) {
        const int at = Find(k);
        if (at < 0) return false;
        keys[static_cast<std::size_t>(at)] = keys.back();
        values[static_cast<std::size_t>(at)] = values.back();
        keys.pop_back();
        values.pop_back();
        return true;
    }
};

void ExpectSame(const TAssocArray& a, const LinearModel& m) {
    ASSERT_EQ(a.NumEntries(), static_cast<std::int32_t>(m.keys.size()));
    for (std::size_t i = 0; i < m.keys.size(); ++i) {
        ASSERT_EQ(a.Keys(static_cast<std::int32_t>(i + 1)), m.keys[i]);
        ASSERT_EQ(a.Values(static_cast<std::int32_t>(i + 1)).AsInteger(), m.values[i]);
    }
}

String Bytes(TMemoryStream& s) {
    const auto* p = static_cast<const char*>(s.Memory());
    return String(p, p + s.Size());
}

}  // namespace

TEST(TAssocArray, MatchesTheLinearTableUnderRandomOperations) {
    std::mt19937 rng(7);
    const std::vector<String> pool = {u"a", u"A",      u"ab",     u"aB", u"Ab",
                                      u"b", u"\u00C4", u"\u00E4", u"",   u"key"};
    for (int round = 0; round < 20; ++round) {
        TAssocArray a;
        LinearModel m;
        a.SetGranularity(static_cast<std::int32_t>(rng() % 3) - 1);  // -1, 0, 1: still adds
        for (int step = 0; step < 400; ++step) {
            const String& k = pool[rng() % pool.size()];
            const int v = static_cast<int>(rng() % 1000);
            switch (rng() % 6) {
                case 0:
                case 1:
                    a.Add(k, v);
                    m.Add(k, v);
                    break;
                case 2:
                    ASSERT_EQ(a.Remove(k), m.Remove(k));
                    break;
                case 3:
                    if (!m.keys.empty()) {
                        const auto ix = rng() % m.keys.size();
                        a.SetKeys(static_cast<std::int32_t>(ix + 1), k);  // may duplicate
                        m.keys[ix] = k;
                    }
                    break;
                case 4:
                    if (rng() % 8 == 0) {
                        a.SetIgnoreCase(!a.IgnoreCase());
                        m.ignoreCase = a.IgnoreCase();
                    }
                    break;
                default: {
                    const int at = m.Find(k);
                    const Variant r = a.Resolve(k);
                    if (at < 0)
                        ASSERT_TRUE(VarIsNull(r));
                    else
                        ASSERT_EQ(r.AsInteger(), m.values[static_cast<std::size_t>(at)]);
                }
            }
            ExpectSame(a, m);
        }
    }
}

TEST(TAssocArray, DefinedBehaviourOfKeysAndIndices) {
    TAssocArray a;
    EXPECT_EQ(a.Granularity(), 1024);
    EXPECT_TRUE(a.IgnoreCase());
    a.Add(u"Alpha", 1);
    EXPECT_EQ(a.Keys(1), u"alpha");
    EXPECT_EQ(a.Resolve(u"ALPHA").AsInteger(), 1);
    a.Add(u"ALPHA", 2);
    EXPECT_EQ(a.NumEntries(), 1);
    EXPECT_EQ(a.Resolve(u"alpha").AsInteger(), 2);
    a.SetIgnoreCase(false);
    a.Add(u"Alpha", 3);
    EXPECT_EQ(a.NumEntries(), 2);
    a.Add(u"b", 4);
    EXPECT_TRUE(a.Remove(u"alpha"));
    EXPECT_EQ(a.Keys(1), u"b");  // the last entry moved into the gap
    EXPECT_FALSE(a.Remove(u"nothing"));
    EXPECT_TRUE(VarIsNull(a.Resolve(u"nothing")));
    EXPECT_EQ(VarType(a.Values(0)), varUString);
    EXPECT_EQ(a.Values(0).AsString(), u"");
    EXPECT_EQ(a.Keys(9), u"");
    a.SetValues(9, 5);
    a.SetKeys(0, u"x");
    EXPECT_EQ(a.NumEntries(), 2);
    // Duplicates made through SetKeys: the first wins, also after a switch to IgnoreCase.
    a.SetKeys(2, u"B");
    a.SetIgnoreCase(true);
    EXPECT_EQ(a.Resolve(u"b").AsInteger(), 4);
    a.Clear();
    EXPECT_EQ(a.NumEntries(), 0);
    a.Add(u"z", 1);
    EXPECT_EQ(a.Keys(1), u"z");

    TAssocArray copy;
    a.SetDataID(u"id");
    a.SetIgnoreCase(false);
    a.SetKeys(1, u"Z");
    copy.Assign(&a);
    EXPECT_EQ(copy.Keys(1), u"Z");
    EXPECT_EQ(copy.DataID(), u"id");
    EXPECT_FALSE(copy.IgnoreCase());
    EXPECT_EQ(copy.Resolve(u"Z").AsInteger(), 1);
    TAssocArray back;
    copy.AssignTo(&back);
    EXPECT_EQ(back.Resolve(u"Z").AsInteger(), 1);
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
}

TEST(TAssocArray, TypedLookupsConvertByType) {
    TAssocArray a;
    a.Add(u"s1", u"3,5");
    a.Add(u"s2", u"1.5e3xyz");
    a.Add(u"s3", u"abc");
    a.Add(u"s4", u"  -42abc");
    a.Add(u"s5", u"1.2.3");
    a.Add(u"s6", u"7e");
    a.Add(u"d1", 2.5);
    a.Add(u"d2", 3.5);
    a.Add(u"c", Variant::FromCurrency(12.5));
    a.Add(u"b", true);
    a.Add(u"n", Variant::Null());
    a.Add(u"big", Variant::FromInt64(std::int64_t{1} << 40));
    a.Add(u"huge", u"99999999999");
    struct Case {
        const char16_t* key;
        double number;
        std::int32_t integer;
        const char16_t* text;
    };
    const Case cases[] = {
        {u"s1", 3.5, 3, u"3,5"},   {u"s2", 1500, 1, u"1.5e3xyz"},
        {u"s3", 0, 0, u"abc"},     {u"s4", -42, -42, u"  -42abc"},
        {u"s5", 1.2, 1, u"1.2.3"}, {u"s6", 7, 7, u"7e"},
        {u"d1", 2.5, 2, u"2.5"},   {u"d2", 3.5, 4, u"3.5"},
        {u"c", 12.5, 0, u"12.5"},  {u"b", 0, 0, u"True"},
        {u"n", 0, 0, u""},         {u"missing", 0, 0, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.key));
        EXPECT_DOUBLE_EQ(a.ResolveAsNumber(c.key), c.number);
        EXPECT_EQ(a.ResolveAsInt(c.key), c.integer);
        EXPECT_EQ(a.ResolveAsString(c.key), c.text);
    }
    EXPECT_THROW(a.ResolveAsInt(u"big"), EVariantOverflowError);
    EXPECT_THROW(a.ResolveAsInt(u"huge"), EVariantOverflowError);
    EXPECT_DOUBLE_EQ(a.ResolveAsNumber(u"big"), 1099511627776.0);
}

TEST(TAssocArray, XmlRoundTripKeepsEveryKeyAndValue) {
    TAssocArray a;
    a.SetIgnoreCase(false);
    const String nasty = u"a<b>&c\"d'e\r\nf\tg \u20AC \u4E2D \U0001F600 \u00FF";
    const String broken = String(u"x\u0001y") + Char(0xD800) + u"z";  // control, lone surrogate
    a.Add(u"Key " + nasty, nasty);
    a.Add(broken, broken);
    a.Add(u"empty", Variant());
    a.Add(u"null", Variant::Null());
    a.Add(u"small", Variant::FromSmallint(-32768));
    a.Add(u"int", Variant::FromInteger(INT32_MIN));
    a.Add(u"single", Variant(0.1f));
    a.Add(u"double", Variant(0.1 + 0.2));
    a.Add(u"negzero", Variant(-0.0));
    a.Add(u"inf", Variant(-std::numeric_limits<double>::infinity()));
    a.Add(u"cur", Variant::FromCurrencyScaled(-INT64_MAX));
    a.Add(u"date", Variant::FromDate(45000.25));
    a.Add(u"ole", Variant::FromOleStr(u"ole"));
    a.Add(u"bool", false);
    a.Add(u"i8", Variant::FromShortInt(-128));
    a.Add(u"u8", Variant::FromByte(255));
    a.Add(u"u16", Variant::FromWord(65535));
    a.Add(u"u32", Variant::FromLongWord(4294967295u));
    a.Add(u"i64", Variant::FromInt64(INT64_MIN));
    a.Add(u"u64", Variant::FromUInt64(UINT64_MAX));
    a.Add(u"ansi", Variant::FromAnsiString(u"\u00E9t\u00E9"));
    a.Add(u"", u"empty key");
    a.SetKeys(a.NumEntries(), u"int");  // a duplicate key survives too
    TMemoryStream s;
    WriteStringStream(s, u"junk before\r\n");
    a.WriteToXMLStream(s, true, u"my \"id\"");
    const String text = Bytes(s);
    for (const Char c : text)
        ASSERT_LT(c, 0x80);  // pure ASCII
    EXPECT_NE(text.find(u"<numentries>22</numentries>"), String::npos);

    TAssocArray b;
    s.SetPosition(0);
    ASSERT_TRUE(b.ReadFromXMLStream(s, u"MY \"ID\""));
    ASSERT_EQ(b.NumEntries(), a.NumEntries());
    EXPECT_FALSE(b.IgnoreCase());
    EXPECT_EQ(b.DataID(), u"my \"id\"");
    for (std::int32_t i = 1; i <= a.NumEntries(); ++i) {
        SCOPED_TRACE(i);
        const Variant x = a.Values(i);
        const Variant y = b.Values(i);
        EXPECT_EQ(a.Keys(i), b.Keys(i));
        ASSERT_EQ(VarType(x), VarType(y));
        if (VarType(x) == varDouble) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(x.AsDouble()),
                      std::bit_cast<std::uint64_t>(y.AsDouble()));
        } else if (VarType(x) != varNull) {
            EXPECT_EQ(x.AsString(), y.AsString());
        }
    }
    EXPECT_EQ(b.Resolve(u"int").AsInteger(), INT32_MIN);  // the first of the duplicates
}

TEST(TAssocArray, XmlReaderRefusesBadInputAndKeepsTheArray) {
    TAssocArray a;
    a.Add(u"k", 1);
    TMemoryStream good;
    a.WriteToXMLStream(good, false, u"id");
    const String text = Bytes(good);
    const auto swap = [&](const String& from, const String& to) {
        String t = text;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const String bad[] = {
        text.substr(0, text.size() - 15),  // no end tag
        swap(u"<numentries>1", u"<numentries>2"),
        swap(u"<numentries>1", u"<numentries>0"),
        swap(u"type=\"integer\"", u"type=\"nosuch\""),
        swap(u">1</assoc>", u">x</assoc>"),
        swap(u"sig=\"QORLIBSIG\"", u"sig=\"OTHER\""),
        swap(u"ignorecase=\"true\"", u"ignorecase=\"maybe\""),
        swap(u"key=\"k\"", u"key=\"&bogus;\""),
        swap(u"<assoc", u"<assoc keyenc=\"hex\""),
        u"",
    };
    for (const String& t : bad) {
        SCOPED_TRACE(ToUtf8(t));
        TAssocArray b;
        b.Add(u"keep", 7);
        TMemoryStream s;
        WriteStringStream(s, t);
        s.SetPosition(0);
        EXPECT_FALSE(b.ReadFromXMLStream(s, u""));
        ASSERT_EQ(b.NumEntries(), 1);
        EXPECT_EQ(b.Resolve(u"keep").AsInteger(), 7);
    }
    TMemoryStream s;
    WriteStringStream(s, text);
    s.SetPosition(0);
    TAssocArray b;
    EXPECT_FALSE(b.ReadFromXMLStream(s, u"other id"));

    TAssocArray arrays;
    arrays.Add(u"arr", VarArrayOf({1, 2}));
    TMemoryStream none;
    EXPECT_THROW(arrays.WriteToXMLStream(none, true, u""), EQORDStructError);
    EXPECT_EQ(none.Size(), 0);
}

TEST(TAssocArray, AddXMLAttributesAddsStrings) {
    TAssocArray a;
    a.Add(u"keep", 1);
    EXPECT_EQ(a.AddXMLAttributes(u"W=\"10\" name=\"a &amp; b\" plain=x"), 3);
    EXPECT_EQ(a.ResolveAsString(u"w"), u"10");
    EXPECT_EQ(a.ResolveAsString(u"name"), u"a & b");
    EXPECT_EQ(a.ResolveAsString(u"plain"), u"x");
    EXPECT_EQ(a.AddXMLAttributes(u"a=1 b==2"), -1);
    EXPECT_EQ(a.AddXMLAttributes(u"c=\"&bad\""), -1);
    EXPECT_EQ(a.NumEntries(), 4);
    EXPECT_EQ(a.AddXMLAttributes(u""), 0);
}
