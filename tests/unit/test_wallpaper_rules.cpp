#include "wallpaper/WallpaperRules.h"
#include <gtest/gtest.h>

using namespace tessary;

TEST(WallpaperRules, OnlyNonBitmapPathsAreConverted) {
    EXPECT_FALSE(NeedsBmpConversion(L"C:\\Pics\\a.bMp"));
    EXPECT_FALSE(NeedsBmpConversion(L"bmp"));
    EXPECT_TRUE(NeedsBmpConversion(L"C:\\Pics\\a.jpg"));
    EXPECT_TRUE(NeedsBmpConversion(L"C:\\Pics\\a.bmp "));
    EXPECT_TRUE(NeedsBmpConversion(L"mp"));
    // "&No Wallpaper": an empty path goes through the (failing) conversion and on unchanged.
    EXPECT_TRUE(NeedsBmpConversion(L""));
    // A program at a drive root must not give "C:\\\\Tessary.bmp".
    EXPECT_EQ(PathInFolder(L"C:\\", kConvertedWallpaperName), L"C:\\Tessary.bmp");
    EXPECT_EQ(PathInFolder(L"C:\\Apps", kConvertedWallpaperName), L"C:\\Apps\\Tessary.bmp");
}

TEST(WallpaperRules, RecordedWallpaperAndItsLayout) {
    using namespace std::string_literals;
    auto r = InterpretDesktopValues(L"C:\\Windows\\w.bmp\0   "s, L"1", L"0");
    EXPECT_EQ(r.path, L"C:\\Windows\\w.bmp");
    EXPECT_EQ(StartupMode(r), WallpaperMode::Tiled);
    // Stretched wins over tiled; blanks around the style do not matter.
    EXPECT_EQ(StartupMode(InterpretDesktopValues(L"C:\\w.bmp", L"1", L" 2 ")), WallpaperMode::Stretched);
    // Any other style text (Windows 7 writes "10" for fill, "6" for fit) is not stretched.
    EXPECT_EQ(StartupMode(InterpretDesktopValues(L"C:\\w.bmp", L"0", L"10")), WallpaperMode::Centered);
    EXPECT_EQ(StartupMode(InterpretDesktopValues(L"C:\\w.bmp", L"N/A", L"N/A")), WallpaperMode::Centered);
    for (const wchar_t* none : {L"", L" N/A "}) {
        r = InterpretDesktopValues(none, L"1", L"2");
        EXPECT_EQ(r.path, L"") << none;
        EXPECT_FALSE(r.tiled || r.stretched) << none;
    }
}

TEST(WallpaperRules, DesktopColourText) {
    EXPECT_EQ(DesktopColorText(0x00A56E3A), L"10841658");
    EXPECT_EQ(DesktopColorValue(L"10841658"), 0x00A56E3Au);
    EXPECT_EQ(DesktopColorValue(L"16777215"), 0xFFFFFFu);
    for (const wchar_t* bad : {L"16777216", L"999999999999", L"", L"-1", L"12a"})
        EXPECT_FALSE(DesktopColorValue(bad).has_value()) << bad;
}
