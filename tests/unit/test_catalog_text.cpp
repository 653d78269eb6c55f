#include "catalog/CatalogText.h"
#include <gtest/gtest.h>

using namespace tessary;

namespace {
const NumberFormat kEnglish{L'.', L','};
const NumberFormat kGerman{L',', L'.'};
} // namespace

TEST(CatalogText, PathPieces) {
    EXPECT_EQ(LastPathComponent(L"C:\\Pics\\2004"), L"2004");
    EXPECT_EQ(LastPathComponent(L"C:\\"), L"");
    EXPECT_EQ(LastPathComponent(L"no backslash"), L"");
    EXPECT_EQ(LastPathComponent(L"C:\\Pics\\beach.jpg"), L"beach.jpg");
    EXPECT_EQ(LastPathComponent(L"\\\\server\\share\\Ünïcødé 東京"), L"Ünïcødé 東京");

    EXPECT_EQ(AddTrailingBackslash(L"C:\\Pics"), L"C:\\Pics\\");
    EXPECT_EQ(AddTrailingBackslash(L"C:\\"), L"C:\\");
    EXPECT_EQ(AddTrailingBackslash(L""), L"\\");
}

TEST(CatalogText, ImageFilterLooksAtLastThreeCharactersOnly) {
    for (const wchar_t* kept : {L"a.JPG", L"c.png", L"x.Bmp", L"y.gif", L"C:\\d\\photoxjpg", L"jpg"})
        EXPECT_TRUE(HasImageExtension(kept)) << kept;
    for (const wchar_t* dropped : {L"b.jpeg", L"d.txt", L"photo.tif", L"pg", L"", L"a.jpg "})
        EXPECT_FALSE(HasImageExtension(dropped)) << dropped;
}

TEST(CatalogText, SizeColumnGroupsAndPadsToTen) {
    EXPECT_EQ(SizeColumnText(1234, kEnglish), L"     1,234");
    EXPECT_EQ(SizeColumnText(999, kEnglish), L"       999");
    EXPECT_EQ(SizeColumnText(0, kEnglish), L"         0");
    EXPECT_EQ(SizeColumnText(1000000, kEnglish), L" 1,000,000");
    EXPECT_EQ(SizeColumnText(123456789, kEnglish), L"123,456,789");       // longer: unpadded
    EXPECT_EQ(SizeColumnText(5368709120ULL, kEnglish), L"5,368,709,120"); // 5 GB, not its low 32 bits
    EXPECT_EQ(SizeColumnText(1234567, kGerman), L" 1.234.567");
    EXPECT_EQ(SizeColumnText(1234567, NumberFormat{L'.', L'\0'}), L"   1234567");
}

TEST(CatalogText, ResolutionTexts) {
    EXPECT_EQ(ResolutionText(1024, 768), L"1024 x 768");
    EXPECT_EQ(ResolutionText(0, 0), L"0 x 0");
    EXPECT_EQ(ResolutionColumnText(800, 600), L"  800 x 600");
    EXPECT_EQ(ResolutionColumnText(1024, 768), L" 1024 x 768");
    EXPECT_EQ(ResolutionColumnText(30000, 20000), L"30000 x 20000");
    EXPECT_EQ(ResolutionColumnText(123456, 1), L"123456 x 1");
    EXPECT_EQ(ResolutionColumnText(0, 0), L"    0 x 0");
    EXPECT_EQ(DateColumnText(L"06/12/2026", L"07:15:09"), L"06/12/2026 07:15:09");
}

TEST(CatalogText, LoadStatusTexts) {
    EXPECT_EQ(LoadingFolderStatus(L"2004"), L"Loading images in 2004");
    EXPECT_EQ(LoadingFolderStatus(L""), L"Loading images in ");
    EXPECT_EQ(LoadProgressStatus(1, 3, 0, L"beach.jpg"), L"Loading images (33%): #0 beach.jpg");
    EXPECT_EQ(LoadProgressStatus(2, 3, 1, L"b.jpg"), L"Loading images (67%): #1 b.jpg");
    // Halves round away from zero: 1/8 is 12.5%, 3/8 is 37.5%.
    EXPECT_EQ(LoadProgressStatus(1, 8, 0, L"a"), L"Loading images (13%): #0 a");
    EXPECT_EQ(LoadProgressStatus(3, 8, 2, L"a"), L"Loading images (38%): #2 a");
    EXPECT_EQ(LoadProgressStatus(200, 200, 199, L"z"), L"Loading images (100%): #199 z");
}

TEST(CatalogText, SummaryWithOptionalCachePart) {
    EXPECT_EQ(LoadSummaryStatus(42, 3.14, 30, 12, kEnglish),
              L"Loaded 42 images in 3.1 Seconds with 30 cache hits.  12 files added to cache.");
    EXPECT_EQ(LoadSummaryStatus(0, 0.01, 0, 0, kEnglish),
              L"Loaded 0 images in 0.0 Seconds with 0 cache hits");
    EXPECT_EQ(LoadSummaryStatus(5, 12.25, 5, 0, kGerman),
              L"Loaded 5 images in 12,3 Seconds with 5 cache hits");
}

TEST(CatalogText, OneDecimalRoundsHalvesAwayFromZero) {
    EXPECT_EQ(FormatOneDecimal(0.25, kEnglish), L"0.3");
    EXPECT_EQ(FormatOneDecimal(0.04, kEnglish), L"0.0");
    EXPECT_EQ(FormatOneDecimal(-0.04, kEnglish), L"0.0");
    EXPECT_EQ(FormatOneDecimal(-1.25, kEnglish), L"-1.3");
    EXPECT_EQ(FormatOneDecimal(1234.56, kEnglish), L"1234.6");
}

TEST(CatalogText, DirAndCacheStatus) {
    EXPECT_EQ(DirStatusText(42, 1), L"Dir: 42 images, 1 selected");
    EXPECT_EQ(CacheStatusText(1, 0, 0, kEnglish), L"Cache: 1 Dirs, 0 Files, 0.0 Mb");
    EXPECT_EQ(CacheStatusText(3, 120, 5 * 1024 * 1024 + 512 * 1024, kGerman),
              L"Cache: 3 Dirs, 120 Files, 5,5 Mb");
    // Totals beyond 4 GB are not cut to 32 bits.
    EXPECT_EQ(CacheStatusText(2, 70000, 6ULL * 1024 * 1024 * 1024, kEnglish),
              L"Cache: 2 Dirs, 70000 Files, 6144.0 Mb");
}
