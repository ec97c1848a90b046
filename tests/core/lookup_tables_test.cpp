#include <gtest/gtest.h>

#include <set>

#include "qorkit/core/lookup_tables.h"

using namespace qorkit;

TEST(LookupTables, LanguageTablesIndexLikeTwoDimensionalArrays) {
    EXPECT_EQ(MonthShort[lgFrench][6], u"juin");
    EXPECT_EQ(MonthShort[lgGerman][3], u"M\u00E4r");
    EXPECT_EQ(MonthLong[lgGerman][1], u"J\u00E4nner");
    EXPECT_EQ(MonthLong[lgFrench][2], u"f\u00E9vrier ");  // the trailing blank is kept
    EXPECT_EQ(MonthLong[lgSpanish][5], u"mai");
    EXPECT_EQ(MonthLong[lgUnknown][12], u"M12");
    EXPECT_EQ(WeekDayShort[lgGerman][7], u"So");
    EXPECT_EQ(WeekDayLong[lgSpanish][3], u"mi\u00E9rcoles");
    EXPECT_EQ(NumWords[lgFrench][1], u"celui");
    EXPECT_EQ(NumWords[lgGerman][12], u"zw\u00F6lf");
    EXPECT_EQ(NumWords[lgUnknown][0], u"N00");
    EXPECT_EQ(LanguageID[lgGerman][lgFrench], u"franz\u00F6sisch");
    EXPECT_EQ(LanguageID[lgSpanish][lgSpanish], u"espa\u00F1ol");
    EXPECT_EQ(ISO639_2Char[lgGerman], u"de");
    EXPECT_EQ(ISO639_3Char[lgFrench], u"fre");
    for (int l = lgUnknown; l <= lgSpanish; ++l) {
        EXPECT_EQ(LanguageID[lgUnknown][l], u"???");
        EXPECT_EQ(LanguageID[static_cast<std::size_t>(l)][lgUnknown], u"???");
    }
    // Out of range gives the empty string rather than reading past the table.
    EXPECT_EQ(MonthShort[lgEnglish][0], u"");
    EXPECT_EQ(MonthShort[lgEnglish][13], u"");
    EXPECT_EQ(MonthShort[7][1], u"");
    EXPECT_EQ(ISO639_2Char[5], u"");
}

TEST(LookupTables, SlotsHoldEightBitTextWithinTheirLengthLimit) {
    // "juin" is the one four-letter short month: it fills the slot exactly.
    EXPECT_EQ(MonthShort.Slot(lgFrench, 6).Len, 4);
    // Accented letters take one byte each in Windows-1252.
    const auto& fev = MonthLong.Slot(lgFrench, 2);
    EXPECT_EQ(fev.Len, 8);
    EXPECT_EQ(static_cast<unsigned char>(fev.Bytes[1]), 0xE9);
    EXPECT_EQ(LanguageID.Slot(lgGerman, lgFrench).Len, 11);
}

TEST(LookupTables, EnumerationNamesFollowTheirEnumerations) {
    EXPECT_EQ(xmlVarKind[Bool], u"bool");
    EXPECT_EQ(xmlVarKind[strg], u"strg");
    EXPECT_EQ(xmlMouseActMode[maZoomPanColors], u"maZoomPanColors");
    EXPECT_EQ(xmlTxtLblMode[tlsimple], u"tlsimple");
    EXPECT_EQ(xmlAlignment[taCenter], u"taCenter");
    EXPECT_EQ(xmlFontStyle[fsStrikeOut], u"fsStrikeOut");
    EXPECT_EQ(xmlFrameStyle[fsEngraved], u"fsEngraved");
    EXPECT_EQ(xmlLanguage[lgSpanish], u"lgSpanish");
    EXPECT_EQ(CSVDELIMITERIDS[csvTab], u"tab");
    EXPECT_EQ(DistModeId[dmEuclidSqr], u"squared Euclidean");
}

TEST(LookupTables, ResolveCsvDelimiterFindsOnlyRealDelimiters) {
    EXPECT_EQ(ResolveCSVDelimiter(u'\t'), csvTab);
    EXPECT_EQ(ResolveCSVDelimiter(u' '), csvBlank);
    EXPECT_EQ(ResolveCSVDelimiter(u';'), csvSemicolon);
    EXPECT_EQ(ResolveCSVDelimiter(u','), csvComma);
    EXPECT_EQ(ResolveCSVDelimiter(u':'), csvColon);
    EXPECT_EQ(ResolveCSVDelimiter(u'x'), csvUnknown);
    EXPECT_EQ(ResolveCSVDelimiter(u'\0'), csvUnknown);
    EXPECT_EQ(ResolveCSVDelimiter(Char(0x013B)), csvUnknown);  // ';' + 256
}

TEST(LookupTables, HtmlEntitiesAreWellFormedAndPairUpByCase) {
    std::set<std::u16string_view> names;
    for (int c = 160; c <= 255; ++c) {
        const auto e = HTMLLat1Entities[c];
        ASSERT_GE(e.size(), 4u) << c;
        EXPECT_LE(e.size(), 8u) << c;
        EXPECT_EQ(e.front(), u'&');
        EXPECT_EQ(e.back(), u';');
        names.insert(e);
    }
    EXPECT_EQ(names.size(), 96u);
    // Upper-case letters 192..222 and their lower-case partners 224..254 differ only in the
    // case of the entity name (the multiplication and division signs excepted).
    for (int c = 192; c <= 222; ++c) {
        if (c == 215) continue;
        String upper(HTMLLat1Entities[c]), lower(HTMLLat1Entities[c + 32]);
        for (auto& ch : upper)
            if (ch >= u'A' && ch <= u'Z') ch = static_cast<Char>(ch + 32);
        EXPECT_EQ(upper, lower) << c;
    }
    EXPECT_EQ(HTMLLat1Entities[159], u"");
    EXPECT_EQ(HTMLLat1Entities[256], u"");
}
