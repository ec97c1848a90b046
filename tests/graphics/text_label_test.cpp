// TCustomTextLabel: the setters' notify rules, Assign, the written layout, round trips of
// random labels through one file, and the reader on files written by hand.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "../rtl/temp_dir.h"
#include "qorkit/Qor_qorbase.h"
#include "qorkit/rtl/exceptions.h"

namespace qorkit {
namespace {

using test::TempDir;

struct Counter {
    int N = 0;
    TNotifyEvent Handler() {
        return [this](TObject*) { ++N; };
    }
};

TEST(TCustomTextLabel, EverySetterNotifiesButTheLayerIgnoresValuesOutside1To16) {
    TCustomTextLabel l;
    Counter c;
    l.OnChange = c.Handler();
    TFont bold;
    bold.SetStyle({fsBold});
    const std::vector<std::function<void()>> setters{
        [&] { l.SetTxtLblPosX(l.PosX()); },  // the stored value: still notifies
        [&] { l.SetTxtLblPosY(-1); },
        [&] { l.SetTxtLblColorBkg(1); },
        [&] { l.SetTxtLblColorBrd(2); },
        [&] { l.SetTxtLblColorShadow(3); },
        [&] { l.SetTxtLblShadowDx(4); },
        [&] { l.SetTxtLblShadowDy(5); },
        [&] { l.SetTxtLblVisible(true); },
        [&] { l.SetTxtLblTranspar(true); },
        [&] { l.SetTxtLblMode(tlBox); },
        [&] { l.SetTxtLblAlignment(taLeftJustify); },
        [&] { l.SetTxtLblVertAlignment(vaTop); },
        [&] { l.SetTxtLblScreenPos(tlamBoth); },
        [&] { l.SetTxtLblLayer(16); },
        [&] { l.SetTxtLblFont(&bold); },
        [&] { l.SetTxtLblCaption(u"x"); },
    };
    for (std::size_t i = 0; i < setters.size(); ++i) {
        setters[i]();
        EXPECT_EQ(c.N, static_cast<int>(i + 1)) << "setter " << i;
    }
    l.SetTxtLblLayer(17);
    l.SetTxtLblLayer(0);
    EXPECT_EQ(c.N, static_cast<int>(setters.size()));
    EXPECT_EQ(l.Layer(), 16);
    EXPECT_TRUE(l.Font().Style() == TFontStyles{fsBold});
    bold.SetStyle({});  // the label copied the settings, it does not share the font
    EXPECT_TRUE(l.Font().Style() == TFontStyles{fsBold});
    EXPECT_THROW(l.SetTxtLblFont(nullptr), EQORError);

    l.SetTxtLblCaption(u"a\tb\rc\nd\x01");
    EXPECT_EQ(l.Caption(), u"a b c\nd ");
}

TEST(TCustomTextLabel, AssignCopiesEverySettingWithoutNotifying) {
    TCustomTextLabel a;
    a.SetTxtLblPosX(1.5);
    a.SetTxtLblPosY(2.5);
    a.SetTxtLblLayer(7);
    a.SetTxtLblShadowDx(-3);
    a.SetTxtLblShadowDy(4);
    a.SetTxtLblColorShadow(0x010203);
    a.SetTxtLblAlignment(taRightJustify);
    a.SetTxtLblVertAlignment(vaCenter);
    a.SetTxtLblScreenPos(tlamYOnly);
    a.SetTxtLblColorBkg(0x111111);
    a.SetTxtLblColorBrd(0x222222);
    a.SetTxtLblTranspar(true);
    a.Font().SetName(u"Serif");
    a.Font().SetSize(14);
    a.SetTxtLblCaption(u"two\nlines");
    a.SetTxtLblMode(tlShadow);
    a.SetTxtLblVisible(false);
    Counter c;
    a.OnChange = c.Handler();

    TCustomTextLabel b;
    a.AssignTo(&b);
    EXPECT_EQ(c.N, 0);
    EXPECT_EQ(b.PosX(), 1.5);
    EXPECT_EQ(b.PosY(), 2.5);
    EXPECT_EQ(b.Layer(), 7);
    EXPECT_EQ(b.ShadowDx(), -3);
    EXPECT_EQ(b.ShadowDy(), 4);
    EXPECT_EQ(b.ColorShadow(), 0x010203);
    EXPECT_EQ(b.Alignment(), taRightJustify);
    EXPECT_EQ(b.VertAlignment(), vaCenter);
    EXPECT_EQ(b.AttachMode(), tlamYOnly);
    EXPECT_EQ(b.ColorBkg(), 0x111111);
    EXPECT_EQ(b.ColorBrd(), 0x222222);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.Font().Name(), u"Serif");
    EXPECT_EQ(b.Font().Size(), 14);
    EXPECT_EQ(b.Caption(), u"two\nlines");
    EXPECT_EQ(b.Mode(), tlShadow);
    EXPECT_FALSE(b.Visible());
    b.Changed();  // the handler came along
    EXPECT_EQ(c.N, 1);

    TCrossHair other;
    EXPECT_THROW(b.Assign(&other), EConvertError);
    EXPECT_THROW(a.AssignTo(&other), EConvertError);
}

std::string Written(const TempDir& dir, const TCustomTextLabel& l, bool header, const String& id,
                    int indent) {
    TextFile f;
    f.Assign(dir.Name("w.xml"));
    f.Rewrite();
    l.WriteToOpenXMLFile(f, header, id, indent);
    f.Close();
    return dir.Get("w.xml");
}

TEST(TCustomTextLabel, WritesTheDocumentedLayout) {
    TempDir dir;
    TCustomTextLabel l;
    EXPECT_EQ(Written(dir, l, true, u"lbl1", 0),
              " <?xml version=\"1.0\"?>\r\n"
              "\r\n"
              " <!-- TCustomTextLabel / QOR Toolkit -->\r\n"
              " <custtextlbl sig=\"QORLIBSIG\" vers=\"1.0\" id=\"lbl1\">\r\n"
              "   <posxy x= 1.000E+0002 y= 1.000E+0001 />\r\n"
              "   <caption></caption>\r\n"
              "   <colors brd=$000000 bg=$C0C0C0 shdw=$808080 />\r\n"
              "   <shadowofs dx=0 dy=0 />\r\n"
              "   <layer val=1 />\r\n"
              "   <transparent val=0 />\r\n"
              "   <visible val=1 />\r\n"
              "   <alignment horiz=taCenter vert=vaBottom />\r\n"
              "   <attachmode val=tlamNone />\r\n"
              "   <font name=\"DejaVu Sans\" size=8 color=$000000 style=\"\" />\r\n"
              "   <style val=tlsimple />\r\n"
              " </custtextlbl>\r\n");

    // A style list in table order, colours cut to 24 bits, a caption that needs escaping.
    l.Font().SetStyle({fsUnderline, fsBold});
    l.SetTxtLblColorBrd(static_cast<TColor>(0x80FF00AA));
    l.SetTxtLblCaption(u"a<b>&\u20AC\nz");
    const std::string text = Written(dir, l, false, u"x", 300);
    EXPECT_EQ(text.find('<'), 2u + 255u) << "an empty line, then 255 blanks";
    EXPECT_NE(text.find("style=\"fsBold fsUnderline\""), std::string::npos);
    EXPECT_NE(text.find("brd=$FF00AA"), std::string::npos);
    EXPECT_NE(text.find("<caption enc=xml>a&lt;b&gt;&amp;&#x20AC;&#xA;z</caption>"),
              std::string::npos);

    // Ids that could not be found again are refused before anything is written.
    for (const String& bad :
         {String(u" a"), String(u"a "), String(u"a\"b"), String(u"a\nb"), String(u"\u4E00")}) {
        TextFile f;
        f.Assign(dir.Name("bad.xml"));
        f.Rewrite();
        EXPECT_THROW(l.WriteToOpenXMLFile(f, true, bad, 2), EQORError);
        f.Close();
        EXPECT_EQ(dir.Get("bad.xml"), "");
    }
}

// A label with random values for every property, drawn from the values that the file holds
// exactly: positions with four significant digits, every enumeration value, integers up to
// the 32-bit limits, captions mixing every kind of character.
void Randomize(TCustomTextLabel& l, std::mt19937& rng) {
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const auto position = [&] {
        static const double kExact[] = {0.0, -1.0, 1234.0, 1.5e-300, -9.999e300, 42.42, 1e-5};
        return kExact[pick(7)];
    };
    const auto integer = [&] {
        static const std::int32_t kInts[] = {0, -1, 7, INT32_MAX, INT32_MIN, 40};
        return kInts[pick(6)];
    };
    l.SetTxtLblPosX(position());
    l.SetTxtLblPosY(position());
    l.SetTxtLblLayer(1 + pick(16));
    l.SetTxtLblShadowDx(integer());
    l.SetTxtLblShadowDy(integer());
    l.SetTxtLblColorShadow(static_cast<TColor>(rng() & 0xFFFFFF));
    l.SetTxtLblColorBkg(static_cast<TColor>(rng() & 0xFFFFFF));
    l.SetTxtLblColorBrd(static_cast<TColor>(rng() & 0xFFFFFF));
    l.SetTxtLblAlignment(static_cast<TAlignment>(pick(3)));
    l.SetTxtLblVertAlignment(static_cast<TVerticalAlignment>(pick(3)));
    l.SetTxtLblScreenPos(static_cast<TTxtLblAttachMode>(pick(4)));
    l.SetTxtLblMode(static_cast<TTxtLblMode>(pick(5)));
    l.SetTxtLblTranspar(pick(2) == 1);
    l.SetTxtLblVisible(pick(2) == 1);
    TFont f;
    static const char16_t* kNames[] = {u"DejaVu Serif", u"A & \"B\"", u"Caf\u00E9 \u4E00"};
    f.SetName(kNames[pick(3)]);
    f.SetSize(1 + pick(72));
    f.SetColor(static_cast<TColor>(rng() & 0xFFFFFF));
    TFontStyles styles;
    for (int s = 0; s < 4; ++s)
        if (pick(2)) styles.Include(static_cast<TFontStyle>(s));
    f.SetStyle(styles);
    l.SetTxtLblFont(&f);
    static const char16_t* kPieces[] = {u"plain",
                                        u" ",
                                        u">",
                                        u"</",
                                        u"</caption>",
                                        u"<!-- c -->",
                                        u"</custtextlbl>",
                                        u"&amp;",
                                        u"&",
                                        u"\n",
                                        u"\u00E9",
                                        u"\u20AC",
                                        u"\u4E00",
                                        u"\U0001F600",
                                        u"\"",
                                        u"<visible val=0 />"};
    String caption;
    for (int n = pick(6); n > 0; --n)
        caption += kPieces[pick(16)];
    l.SetTxtLblCaption(caption);
}

void ExpectSame(const TCustomTextLabel& a, const TCustomTextLabel& b) {
    EXPECT_EQ(a.PosX(), b.PosX());
    EXPECT_EQ(a.PosY(), b.PosY());
    EXPECT_EQ(a.Layer(), b.Layer());
    EXPECT_EQ(a.ShadowDx(), b.ShadowDx());
    EXPECT_EQ(a.ShadowDy(), b.ShadowDy());
    EXPECT_EQ(a.ColorShadow(), b.ColorShadow());
    EXPECT_EQ(a.ColorBkg(), b.ColorBkg());
    EXPECT_EQ(a.ColorBrd(), b.ColorBrd());
    EXPECT_EQ(a.Alignment(), b.Alignment());
    EXPECT_EQ(a.VertAlignment(), b.VertAlignment());
    EXPECT_EQ(a.AttachMode(), b.AttachMode());
    EXPECT_EQ(a.Mode(), b.Mode());
    EXPECT_EQ(a.Transparent(), b.Transparent());
    EXPECT_EQ(a.Visible(), b.Visible());
    EXPECT_EQ(a.Font().Name(), b.Font().Name());
    EXPECT_EQ(a.Font().Size(), b.Font().Size());
    EXPECT_EQ(a.Font().Color(), b.Font().Color());
    EXPECT_TRUE(a.Font().Style() == b.Font().Style());
    EXPECT_EQ(ToUtf8(a.Caption()), ToUtf8(b.Caption()));
}

bool ReadBack(const TempDir& dir, const std::string& file, const String& id, TCustomTextLabel& l) {
    TextFile f;
    f.Assign(dir.Name(file));
    f.Reset();
    return l.ReadFromOpenXMLFile(f, id);
}

TEST(TCustomTextLabel, RandomLabelsSurviveWritingAndReadingByTheirIds) {
    TempDir dir;
    std::mt19937 rng(81118);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::unique_ptr<TCustomTextLabel>> labels;
        TextFile f;
        f.Assign(dir.Name("many.xml"));
        f.Rewrite();
        for (int i = 0; i < 4; ++i) {
            labels.push_back(std::make_unique<TCustomTextLabel>());
            Randomize(*labels.back(), rng);
            labels.back()->WriteToOpenXMLFile(f, i == 0, u"Label" + FromUtf8(std::to_string(i)),
                                              1 + i);
        }
        f.Close();
        for (int i = 3; i >= 0; --i) {
            TCustomTextLabel back;
            Counter c;
            back.OnChange = c.Handler();
            ASSERT_TRUE(ReadBack(dir, "many.xml", u"LABEL" + FromUtf8(std::to_string(i)), back));
            EXPECT_EQ(c.N, 1);
            SCOPED_TRACE("round " + std::to_string(round) + " label " + std::to_string(i));
            ExpectSame(*labels[static_cast<std::size_t>(i)], back);
        }
        TCustomTextLabel first;
        ASSERT_TRUE(ReadBack(dir, "many.xml", u"", first));
        ExpectSame(*labels[0], first);
    }
}

TEST(TCustomTextLabel, ReaderToleratesHandWrittenAndDamagedFiles) {
    TempDir dir;
    const std::string head =
        "<custtextlbl sig=\"QORLIBSIG\" vers=\"1.0\" id=\"  Old \">trailing <layer val=9 />\n";
    // Written the old way: an unescaped caption with markup in it, children in another order,
    // an unknown element, a comment and a stray end tag between them, a layer outside 1..16.
    dir.Put("old.xml", head +
                           "<layer val=40 /><caption>a > b </i> <!-- c --> d</caption>\n"
                           "<!-- note > here --><colors bg=00ff10 brd=$1A2b shdw=zz />\n"
                           "</stray><unknown x=1>text</unknown>\n"
                           "<posxy x=1,5e2 y=-.25 /><shadowofs dx=-12abc dy=99999999999 />\n"
                           "<alignment horiz=taLeftJustify vert=VATOP />"
                           "<transparent val=01 /><visible val=2 />\n"
                           "<attachmode val=tlamXOnly /><style val=bogus />\n"
                           "<font name=\"Mono\" size=0 style=\"fsItalic junk fsStrikeOut\" />\n"
                           "</custtextlbl><!-- taken with the end tag -->\n");
    TCustomTextLabel l;
    Counter c;
    l.OnChange = c.Handler();
    ASSERT_TRUE(ReadBack(dir, "old.xml", u"old", l));
    EXPECT_EQ(c.N, 1);
    EXPECT_EQ(l.Layer(), 40);
    EXPECT_EQ(l.Caption(), u"a > b </i> <!-- c --> d");
    EXPECT_EQ(l.ColorBkg(), 0x00FF10);
    EXPECT_EQ(l.ColorBrd(), 0x1A2B);
    EXPECT_EQ(l.ColorShadow(), 0);
    EXPECT_EQ(l.PosX(), 150.0);
    EXPECT_EQ(l.PosY(), -0.25);
    EXPECT_EQ(l.ShadowDx(), -12);
    EXPECT_EQ(l.ShadowDy(), INT32_MAX);
    EXPECT_EQ(l.Alignment(), taLeftJustify);
    EXPECT_EQ(l.VertAlignment(), vaBottom) << "names compare exactly";
    EXPECT_TRUE(l.Transparent());
    EXPECT_FALSE(l.Visible());
    EXPECT_EQ(l.AttachMode(), tlamXOnly);
    EXPECT_EQ(l.Mode(), tlsimple);
    EXPECT_EQ(l.Font().Name(), u"Mono");
    EXPECT_EQ(l.Font().Size(), 8) << "a size below 1 is not taken";
    EXPECT_TRUE(l.Font().Style() == (TFontStyles{fsItalic, fsStrikeOut}));

    // No element with the id, or none at all: false, nothing changed, nothing notified.
    TCustomTextLabel fresh;
    fresh.OnChange = c.Handler();
    EXPECT_FALSE(ReadBack(dir, "old.xml", u"other", fresh));
    dir.Put("none.xml", "<custtextlbl id=\"old\">\n<layer val=3 />\n</custtextlbl>\n");
    EXPECT_FALSE(ReadBack(dir, "none.xml", u"", fresh)) << "no signature";
    EXPECT_EQ(c.N, 1);
    ExpectSame(fresh, TCustomTextLabel());

    // Cut off inside the element: false, the fields read so far keep their values, no
    // notification; an unterminated caption ends at the label's end tag.
    dir.Put("cut.xml", head + "<layer val=5 /><posxy x=3");
    EXPECT_FALSE(ReadBack(dir, "cut.xml", u"old", fresh));
    EXPECT_EQ(fresh.Layer(), 5);
    EXPECT_EQ(c.N, 1);
    dir.Put("open.xml", head + "<caption>never closed\n</custtextlbl>\n");
    EXPECT_TRUE(ReadBack(dir, "open.xml", u"OLD", fresh));
    EXPECT_EQ(fresh.Caption(), u"never closed\n");
    EXPECT_EQ(c.N, 2);
}

}  // namespace
}  // namespace qorkit
