// TColorArray: construction, every operation with its notifications, the interpolation and
// stretch formulas against a straightforward model, and the text-file format.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "qorkit/Qor_qorcolors.h"
#include "qorkit/rtl/text_file.h"
#include "rtl/temp_dir.h"

namespace qorkit {
namespace {

// An array with a notification counter.
struct TCounted {
    TColorArray A;
    int Notes = 0;
    TCounted() {
        A.SetOnChange([this](TObject* s) {
            EXPECT_EQ(s, &A);
            ++Notes;
        });
    }
};

std::vector<TColor> Colors(const TColorArray& a) {
    std::vector<TColor> v;
    for (int i = 1; i <= a.Size(); ++i)
        v.push_back(a.GetColorElem(i));
    return v;
}

// Half-to-even rounding as the formulas use it, written independently of the library.
long long RoundEven(double x) {
    const double fl = std::floor(x);
    const double d = x - fl;
    if (d > 0.5 || (d == 0.5 && std::fmod(fl, 2) != 0)) return static_cast<long long>(fl) + 1;
    return static_cast<long long>(fl);
}

// The interpolation fill as described, with the sector kept in the list. The fraction is
// computed in extended precision and handed over as a double, as the library's own parameter
// is: in double precision alone some products land just below a whole channel value.
std::vector<TColor> ModelFill(int n, int levels, const std::vector<TColor>& c) {
    std::vector<TColor> out;
    const long long h = static_cast<long long>(c.size()) - 1;
    for (long long i = 1; i <= n; ++i) {
        long long j = i;
        if (levels > 0) {
            const long long t = RoundEven(static_cast<double>(i) / n * levels);
            j = RoundEven(t * (static_cast<double>(n) / levels));
        }
        if (h == 0) {
            out.push_back(c[0]);
            continue;
        }
        long long k = ((j - 1) * h) / n;
        k = std::max(0LL, std::min(k, h - 1));
        const long double f = static_cast<long double>(h * j) / n - k;
        out.push_back(InterpolateColor(c[k], c[k + 1], static_cast<double>(f)));
    }
    return out;
}

TEST(TColorArray_Basics, NewArrayIsABackedUpRainbow) {
    TColorArray a;
    EXPECT_EQ(a.Size(), 1000);
    EXPECT_EQ(a.GetColorElem(1000), 0x000040);
    EXPECT_EQ(a.GetColorElem(5000), 0x000040);
    EXPECT_EQ(a.GetColorElem(-3), a.GetColorElem(1));
    const std::vector<TColor> rainbow(ColorArray_Rainbow.begin(), ColorArray_Rainbow.end());
    EXPECT_EQ(Colors(a), ModelFill(1000, 0, rainbow));
    a.Fill(7);
    a.Restore();
    EXPECT_EQ(Colors(a), ModelFill(1000, 0, rainbow));
}

TEST(TColorArray_Basics, SizeElementsAndNotifications) {
    TCounted c;
    TColorArray& a = c.A;
    a.SetSize(0);
    EXPECT_FALSE(a.Resize(0));
    EXPECT_TRUE(a.Resize(1000));
    EXPECT_EQ(c.Notes, 0);
    a.SetColorElem(0, 5);
    a.SetColorElem(1001, 5);
    EXPECT_EQ(c.Notes, 0);
    a.SetColorElem(3, 0x123456);
    EXPECT_EQ(c.Notes, 1);
    const TColor kept = a.GetColorElem(3);
    EXPECT_TRUE(a.Resize(1002));
    EXPECT_EQ(c.Notes, 2);
    EXPECT_EQ(a.GetColorElem(3), kept);
    EXPECT_EQ(a.GetColorElem(1001), 0);  // new positions are black, also in the backup
    a.Restore();
    EXPECT_EQ(a.GetColorElem(1002), 0);
    EXPECT_NE(a.GetColorElem(3), 0x123456);  // the backup kept the rainbow colour
    a.SetSize(4);
    EXPECT_EQ(a.Size(), 4);
    const int before = c.Notes;
    a.Backup();
    EXPECT_EQ(c.Notes, before);
    a.MirrorColors();
    a.InvertColors();
    a.ReverseRGB();
    a.Restore();
    a.Fill(1);
    EXPECT_EQ(c.Notes, before + 5);
}

#if defined(__SANITIZE_ADDRESS__)
#define QORKIT_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QORKIT_TEST_SANITIZED 1
#endif
#endif

#ifndef QORKIT_TEST_SANITIZED
// Run in a child process whose address space is limited, so that 2^31 colours cannot be had.
[[noreturn]] void ResizeBeyondTheAddressSpace() {
    const rlimit limit{2ul << 30, 2ul << 30};
    setrlimit(RLIMIT_AS, &limit);
    TColorArray a;
    a.SetName(u"Palette");
    a.SetSize(4);
    bool ok = false;
    try {
        a.Resize(std::numeric_limits<std::int32_t>::max());
    } catch (const EQORColArrayError& e) {
        ok = std::string(e.what()) == "Component \"Palette\": not enough memory" && a.Size() == 4 &&
             a.GetColorElem(4) != 0;
    }
    std::exit(ok ? 0 : 1);
}

TEST(TColorArray_Basics, ResizeWithoutMemoryRaisesAndKeepsTheArray) {
    EXPECT_EXIT(ResizeBeyondTheAddressSpace(), ::testing::ExitedWithCode(0), "");
}
#endif

TEST(TColorArray_Basics, WholeArrayOperations) {
    TColorArray a;
    a.SetSize(5);
    for (int i = 1; i <= 5; ++i)
        a.SetColorElem(i, PackRGB(i, 10 * i, 100 + i));
    a.MirrorColors();
    EXPECT_EQ(a.GetColorElem(1), PackRGB(5, 50, 105));
    EXPECT_EQ(a.GetColorElem(3), PackRGB(3, 30, 103));
    a.InvertColors();
    EXPECT_EQ(a.GetColorElem(1), PackRGB(250, 205, 150));
    a.ReverseRGB();
    EXPECT_EQ(a.GetColorElem(1), PackRGB(150, 205, 250));
    TColorArray b;
    EXPECT_FALSE(a.IsEqual(&b));
    EXPECT_FALSE(a.IsEqual(nullptr));
    b.Assign(&a);
    EXPECT_TRUE(a.IsEqual(&b));
    b.Restore();  // the backup came along
    a.Restore();
    EXPECT_TRUE(a.IsEqual(&b));
    TColorArray c;
    a.AssignTo(&c);
    EXPECT_TRUE(c.IsEqual(&a));
    TComponent other;
    EXPECT_THROW(a.Assign(&other), EConvertError);
    EXPECT_THROW(a.AssignTo(&other), EConvertError);
}

TEST(TColorArray_Fill, InterpolationMatchesTheModel) {
    const std::vector<TColor> scales[] = {
        {ColorArray_Rainbow.begin(), ColorArray_Rainbow.end()},
        {ColorArray_Contrast.begin(), ColorArray_Contrast.end()},
        {0x0000FF, 0xFF0000},
        {0x123456},
    };
    TColorArray a;
    for (const auto& s : scales)
        for (int n : {1, 2, 3, 7, 10, 11, 16, 64, 257})
            for (int levels : {-1, 0, 1, 2, 3, 5, 16, 40}) {
                a.SetSize(n);
                a.FillByInterpolation(levels, s);
                ASSERT_EQ(Colors(a), ModelFill(n, levels, s))
                    << "n " << n << " levels " << levels << " entries " << s.size();
                // The last element gets the last entry unless there are more entries than
                // elements: then the scale is only sampled.
                if (levels <= 0 && s.size() <= static_cast<std::size_t>(n) + 1) {
                    ASSERT_EQ(a.GetColorElem(n), s.back()) << n;
                }
            }
}

TEST(TColorArray_Fill, QuantisedHalvesRoundToEven) {
    // N = 4, 2 levels: t = rnd(i / 4 * 2) is rnd(0.5) = 0 and rnd(1.5) = 2 for i = 1 and 3, so
    // the steps are j = 0, 2, 4, 4; rounding halves up would give 2, 2, 4, 4.
    TColorArray a;
    a.SetSize(4);
    a.FillByInterpolation(2, std::vector<TColor>{0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF});
    EXPECT_EQ(Colors(a), (std::vector<TColor>{0x000000, 0x00FF00, 0xFFFFFF, 0xFFFFFF}));
}

TEST(TColorArray_Fill, SingleColourAndTooManyEntriesStayInTheList) {
    TCounted c;
    c.A.SetSize(3);
    c.A.FillByInterpolation(0, std::vector<TColor>{0x445566});
    EXPECT_EQ(Colors(c.A), std::vector<TColor>(3, 0x445566));
    c.A.FillByInterpolation(7, std::vector<TColor>{0x445566});
    EXPECT_EQ(Colors(c.A), std::vector<TColor>(3, 0x445566));
    // More entries than elements and a first step of 0: the entry before the first is not read.
    // j runs 0, 3, 3: k = 0 with f = 0, then k = trunc(2 * 19 / 3) = 12 with f = 7, clamped.
    std::vector<TColor> many;
    for (int i = 0; i < 20; ++i)
        many.push_back(PackRGB(i, 0, 0));
    c.A.FillByInterpolation(1, many);
    EXPECT_EQ(Colors(c.A), (std::vector<TColor>{0, PackRGB(13, 0, 0), PackRGB(13, 0, 0)}));
    const int notes = c.Notes;
    c.A.FillByInterpolation(0, std::vector<TColor>{});
    EXPECT_EQ(c.Notes, notes);
    // The list may be the array's own colours.
    c.A.SetSize(5);
    for (int i = 1; i <= 5; ++i)
        c.A.SetColorElem(i, PackRGB(0, 0, 50 * i));
    const std::vector<TColor> own = Colors(c.A);
    c.A.FillByInterpolation(0, std::span<const TColor>(own));
    EXPECT_EQ(Colors(c.A), ModelFill(5, 0, own));
}

TEST(TColorArray_Fill, LogTransformMatchesTheFormula) {
    for (double gamma : {-1.0, 0.0, 0.3, 1.0, 4.0}) {
        TColorArray a;
        a.SetSize(50);
        for (int i = 1; i <= 50; ++i)
            a.SetColorElem(i, i);
        a.LogTransform(gamma);
        const double g = std::clamp(gamma, 0.0, 1.0);
        for (int i = 1; i <= 50; ++i) {
            const double x = std::log(i) * g * 50 / std::log(50.0) + (1 - g) * (i - 1);
            const long long j = std::min<long long>(RoundEven(x) + 1, 50);
            ASSERT_EQ(a.GetColorElem(i), j) << "gamma " << gamma << " i " << i;
        }
    }
    TCounted one;
    one.A.SetSize(1);
    one.A.SetColorElem(1, 0xABCDEF);
    one.A.LogTransform(1);  // ln 1 = 0: left unchanged
    EXPECT_EQ(one.A.GetColorElem(1), 0xABCDEF);
    EXPECT_EQ(one.Notes, 3);  // SetSize, SetColorElem, LogTransform
}

TEST(TColorArray_Search, ColorToIndexAndCopyFrom) {
    TColorArray a;
    a.SetSize(6);
    a.FillByInterpolation(0, std::vector<TColor>{0x000000, 0xFFFFFF});
    a.SetColorElem(2, 0x00FF00);
    a.SetColorElem(5, 0x00FF00);
    double d = -1;
    EXPECT_EQ(a.ColorToIndex(0x00FF00, d), 2);
    EXPECT_EQ(d, 0);
    EXPECT_EQ(a.ColorToIndex(0x00FE00, d), 2);
    EXPECT_GT(d, 0);
    TColorArray white;
    white.SetSize(3);
    white.Fill(0xFFFFFF);
    EXPECT_EQ(white.ColorToIndex(0, d), 1);  // none nearer than 1
    EXPECT_EQ(d, 1);

    // Against the search written out with the distance itself, on random colours with repeats.
    std::mt19937 gen(5);
    TColorArray r;
    r.SetSize(300);
    for (int i = 1; i <= 300; ++i)
        r.SetColorElem(i, static_cast<TColor>(gen() & 0x3F3F3F));
    for (int q = 0; q < 300; ++q) {
        const TColor cl = static_cast<TColor>(gen() & 0x3F3F3F);
        double want = 1;
        int wantIx = 1;
        for (int i = 1; i <= 300; ++i) {
            const double di = RGBColorDistance(cl, r.GetColorElem(i));
            if (di < want) want = di, wantIx = i;
        }
        ASSERT_EQ(r.ColorToIndex(cl, d), wantIx);
        ASSERT_EQ(d, want);
    }

    TCounted dst;
    dst.A.SetSize(5);
    dst.A.Fill(0);
    TColorArray src;
    src.SetSize(4);
    for (int i = 1; i <= 4; ++i)
        src.SetColorElem(i, 10 + i);
    dst.Notes = 0;
    dst.A.CopyFrom(nullptr, 1, 4, 1);
    EXPECT_EQ(dst.Notes, 0);
    dst.A.CopyFrom(&src, 9, -3, 4);  // clamped to 1..4 and swapped; positions 6, 7 skipped
    EXPECT_EQ(Colors(dst.A), (std::vector<TColor>{0, 0, 0, 11, 12}));
    dst.A.CopyFrom(&src, 3, 3, -1);  // target 0 is skipped
    EXPECT_EQ(dst.Notes, 2);
    for (int i = 1; i <= 5; ++i)
        dst.A.SetColorElem(i, i);
    dst.A.CopyFrom(&dst.A, 1, 4, 2);  // overlapping, within itself
    EXPECT_EQ(Colors(dst.A), (std::vector<TColor>{1, 1, 2, 3, 4}));
}

// ---- the text file ---------------------------------------------------------------------------

class TColorArray_File : public ::testing::Test {
  protected:
    test::TempDir Dir;
    String Path(const std::string& name) const { return Dir.Name(name); }
};

TEST_F(TColorArray_File, StoreAndLoadRoundTrip) {
    TColorArray a, b;
    a.SetColorElem(17, static_cast<TColor>(0xFF00000Au));
    ASSERT_TRUE(a.StoreOnFile(1, a.Size(), Path("all.txt")));
    b.SetSize(3);
    ASSERT_TRUE(b.LoadFromFile(Path("all.txt"), true));
    EXPECT_TRUE(a.IsEqual(&b));
    const std::string text = Dir.Get("all.txt");
    EXPECT_EQ(text.substr(0, 18), "1 1000\r\n00400020\r\n");
}

TEST_F(TColorArray_File, WriterSwapsAndLimitsTheBounds) {
    TColorArray a;
    a.SetSize(12);
    for (int i = 1; i <= 12; ++i)
        a.SetColorElem(i, i == 5 ? 0xFF : i);
    ASSERT_TRUE(a.StoreOnFile(10, 5, Path("part.txt")));
    EXPECT_EQ(Dir.Get("part.txt"),
              "5 10\r\n000000FF\r\n00000006\r\n00000007\r\n00000008\r\n00000009\r\n0000000A\r\n");
    // The same on a file the caller opened, between the caller's own lines.
    {
        TextFile f;
        f.Assign(Path("open.txt"));
        f.Rewrite();
        f.WriteLn(u"before");
        ASSERT_TRUE(a.WriteToOpenTextFile(f, 12, 12));
        f.WriteLn(u"after");
        f.Close();
    }
    EXPECT_EQ(Dir.Get("open.txt"), "before\r\n12 12\r\n0000000C\r\nafter\r\n");
    ASSERT_TRUE(a.StoreOnFile(-4, 99, Path("limited.txt")));
    EXPECT_EQ(Dir.Get("limited.txt").substr(0, 7), "1 12\r\n0");
    ASSERT_TRUE(a.StoreOnFile(20, 30, Path("none.txt")));  // first > last after limiting
    EXPECT_EQ(Dir.Get("none.txt"), "20 12\r\n");
}

TEST_F(TColorArray_File, ReaderLinesAndResults) {
    TCounted c;
    c.A.SetSize(6);
    c.A.Fill(0x111111);
    c.Notes = 0;
    // Leading blanks, "$" only in the first column, digits up to the first other character,
    // an empty line gives 0, index 0 is read and skipped.
    Dir.Put("lines.txt", "0 5 trailing words\n77\n  ff00zz\n$0000ff\n $12\n\nabcdefabcdef\n");
    ASSERT_TRUE(c.A.LoadFromFile(Path("lines.txt"), false));
    EXPECT_EQ(Colors(c.A), (std::vector<TColor>{0xFF00, 0xFF, 0, 0,
                                                static_cast<TColor>(0xEFABCDEFu), 0x111111}));
    EXPECT_EQ(c.Notes, 6);  // five stored colours and one at the end

    // From a file the caller opened: the reader takes exactly its header and colour lines.
    Dir.Put("embedded.txt", "caller\r\n1 2\r\nFF\r\nEE\r\nrest\r\n");
    {
        TextFile f;
        f.Assign(Path("embedded.txt"));
        f.Reset();
        EXPECT_EQ(f.ReadLn(), u"caller");
        ASSERT_TRUE(c.A.ReadFromOpenTextFile(f, false));
        EXPECT_EQ(f.ReadLn(), u"rest");
    }
    EXPECT_EQ(c.A.GetColorElem(2), 0xEE);
    c.A.SetColorElem(1, 0xFF00);
    c.A.SetColorElem(2, 0xFF);

    // A last index beyond the size: false, no colour changed, one notification.
    c.Notes = 0;
    Dir.Put("big.txt", "1 7\n1\n2\n3\n4\n5\n6\n7\n");
    EXPECT_FALSE(c.A.LoadFromFile(Path("big.txt"), false));
    EXPECT_EQ(c.A.GetColorElem(1), 0xFF00);
    EXPECT_EQ(c.Notes, 1);
    // With AdjustSize the size becomes the last index, not the count of lines.
    Dir.Put("adjust.txt", "3 4\nA\nB\n");
    ASSERT_TRUE(c.A.LoadFromFile(Path("adjust.txt"), true));
    EXPECT_EQ(c.A.Size(), 4);
    EXPECT_EQ(Colors(c.A), (std::vector<TColor>{0xFF00, 0xFF, 0xA, 0xB}));
}

TEST_F(TColorArray_File, BadFilesChangeNothing) {
    TCounted c;
    c.A.SetSize(4);
    c.A.Fill(0x222222);
    const std::vector<TColor> before = Colors(c.A);
    c.Notes = 0;
    const char* bad[] = {
        "",                 // no header
        "x 4\n1\n",         // not a number
        "1\n",              // one number only
        "1 4\n1\n2\n3\n",   // ends before the last colour line
        "1 9\n1\n2\n",      // the same, and would have resized the array
        "99999999999 3\n",  // out of range
    };
    int n = 0;
    for (const char* text : bad) {
        const std::string name = "bad" + std::to_string(n++) + ".txt";
        Dir.Put(name, text);
        EXPECT_FALSE(c.A.LoadFromFile(Path(name), true)) << text;
        EXPECT_EQ(Colors(c.A), before) << text;
    }
    EXPECT_EQ(c.Notes, 0);
    // A file may not demand more than kMaxFileSize colours, however short it is.
    Dir.Put("huge.txt", "2000000000 2000000000\n1\n");
    EXPECT_FALSE(c.A.LoadFromFile(Path("huge.txt"), true));
    EXPECT_EQ(c.A.Size(), 4);
    EXPECT_FALSE(c.A.LoadFromFile(Path("missing.txt"), false));
    EXPECT_FALSE(c.A.LoadFromFile(Path(""), false));  // a directory
}

TEST_F(TColorArray_File, FailedStoreKeepsTheOldFile) {
    TColorArray a;
    ASSERT_TRUE(a.StoreOnFile(1, 3, Path("keep.txt")));
    const std::string old = Dir.Get("keep.txt");
    EXPECT_FALSE(a.StoreOnFile(1, 3, Path("no-such-dir/x.txt")));
    if (std::filesystem::exists("/dev/full")) {
        TextFile f;
        f.Assign(u"/dev/full");
        f.Rewrite();
        EXPECT_FALSE(a.WriteToOpenTextFile(f, 1, 1000));  // the write error is reported
        try {
            f.Close();
        } catch (const EInOutError&) {
        }
    }
    // A target that cannot be replaced (a directory of that name) leaves no temporary behind.
    std::filesystem::create_directory(Dir.Native("dir.txt"));
    EXPECT_FALSE(a.StoreOnFile(1, 3, Path("dir.txt")));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(Dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 2);  // keep.txt and dir.txt
    EXPECT_EQ(Dir.Get("keep.txt"), old);
}

}  // namespace
}  // namespace qorkit
