#include "catalog/CatalogText.h"
#include "core/PathText.h"
#include <gtest/gtest.h>
#include <limits>

using namespace tessary;

namespace {
const NumberFormat kEnglish{L'.', L','};
const NumberFormat kGerman{L',', L'.'};
} // namespace

TEST(CatalogText, PathPiecesAndTheImageFilter) {
    EXPECT_EQ(LastPathComponent(L"\\\\server\\share\\Ünïcødé 東京"), L"Ünïcødé 東京");
    EXPECT_EQ(LastPathComponent(L"C:\\"), L"");
    EXPECT_EQ(LastPathComponent(L"no backslash"), L"");
    EXPECT_EQ(AddTrailingBackslash(L"C:\\Pics"), L"C:\\Pics\\");
    EXPECT_EQ(AddTrailingBackslash(L"C:\\"), L"C:\\");
    EXPECT_EQ(SplitAtLastBackslash(L"C:\\Pics\\sea.jpg").name, L"sea.jpg");
    EXPECT_EQ(SplitAtLastBackslash(L"sea.jpg").folder, L"");
    // The last three characters, or one of the longer extensions after the name's last dot.
    for (const wchar_t* kept :
         {L"a.JPG", L"x.Bmp", L"C:\\d\\photoxjpg", L"b.jpeg", L"q.Jfif", L"s.TIFF", L"C:\\a.b\\u.WebP"})
        EXPECT_TRUE(HasImageExtension(kept)) << kept;
    for (const wchar_t* dropped : {L"pg", L"a.jpg ", L"photowebp", L"C:\\x.tiff\\readme", L"a.jpegx"})
        EXPECT_FALSE(HasImageExtension(dropped)) << dropped;
}

TEST(CatalogText, ColumnsGroupAndPad) {
    EXPECT_EQ(SizeColumnText(999, kEnglish), L"       999");
    EXPECT_EQ(SizeColumnText(123456789, kEnglish), L"123,456,789");       // longer: unpadded
    EXPECT_EQ(SizeColumnText(5368709120ULL, kEnglish), L"5,368,709,120"); // not its low 32 bits
    EXPECT_EQ(SizeColumnText(1234567, kGerman), L" 1.234.567");
    EXPECT_EQ(SizeColumnText(1234567, NumberFormat{L'.', L'\0'}), L"   1234567");
    EXPECT_EQ(ResolutionText(1024, 768), L"1024 x 768");
    EXPECT_EQ(ResolutionColumnText(800, 600), L"  800 x 600");
    EXPECT_EQ(ResolutionColumnText(123456, 1), L"123456 x 1");
}

TEST(CatalogText, StatusTexts) {
    // Halves round away from zero: 1/8 is 12.5%.
    EXPECT_EQ(LoadProgressStatus(1, 8, 0, L"a"), L"Loading images (13%): #0 a");
    EXPECT_EQ(LoadProgressStatus(2, 3, 1, L"b.jpg"), L"Loading images (67%): #1 b.jpg");
    EXPECT_EQ(LoadSummaryStatus(42, 3.14, 30, 12, kEnglish),
              L"Loaded 42 images in 3.1 Seconds with 30 cache hits.  12 files added to cache.");
    EXPECT_EQ(LoadSummaryStatus(5, 12.25, 5, 0, kGerman),
              L"Loaded 5 images in 12,3 Seconds with 5 cache hits");
    EXPECT_EQ(FormatOneDecimal(-0.04, kEnglish.decimal), L"0.0");
    EXPECT_EQ(FormatOneDecimal(-1.25, kEnglish.decimal), L"-1.3"); // exact half: away from zero
    EXPECT_EQ(FormatOneDecimal(99.96, L'.'), L"100.0");
    EXPECT_EQ(FormatOneDecimal(std::numeric_limits<double>::quiet_NaN(), L'.'), L"0.0");
    // Totals beyond 4 GB are not cut to 32 bits.
    EXPECT_EQ(CacheStatusText(2, 70000, 6ULL * 1024 * 1024 * 1024, kEnglish),
              L"Cache: 2 Dirs, 70000 Files, 6144.0 Mb");
}
