#include "wallpaper/WallpaperRules.h"
#include <gtest/gtest.h>

using namespace tessary;

TEST(WallpaperRules, RegistryValuesPerMode) {
    auto c = StyleValuesFor(WallpaperMode::Centered);
    EXPECT_EQ(c.tileWallpaper, L"0");
    EXPECT_EQ(c.wallpaperStyle, L"0");
    auto s = StyleValuesFor(WallpaperMode::Stretched);
    EXPECT_EQ(s.tileWallpaper, L"0");
    EXPECT_EQ(s.wallpaperStyle, L"2");
    auto t = StyleValuesFor(WallpaperMode::Tiled);
    EXPECT_EQ(t.tileWallpaper, L"1");
    EXPECT_EQ(t.wallpaperStyle, L"0");

    EXPECT_EQ(ActiveDesktopStyle(WallpaperMode::Centered), 0);
    EXPECT_EQ(ActiveDesktopStyle(WallpaperMode::Tiled), 1);
    EXPECT_EQ(ActiveDesktopStyle(WallpaperMode::Stretched), 2);
}

TEST(WallpaperRules, OnlyNonBitmapPathsAreConverted) {
    EXPECT_FALSE(NeedsBmpConversion(L"C:\\Pics\\a.bmp"));
    EXPECT_FALSE(NeedsBmpConversion(L"C:\\Pics\\a.BMP"));
    EXPECT_FALSE(NeedsBmpConversion(L"C:\\Pics\\a.bMp"));
    EXPECT_FALSE(NeedsBmpConversion(L"bmp"));
    EXPECT_TRUE(NeedsBmpConversion(L"C:\\Pics\\a.jpg"));
    EXPECT_TRUE(NeedsBmpConversion(L"C:\\Pics\\a.bmp "));
    EXPECT_TRUE(NeedsBmpConversion(L"C:\\Pics\\a.bm"));
    EXPECT_TRUE(NeedsBmpConversion(L"mp"));
    // "&No Wallpaper": an empty path goes through the (failing) conversion and on unchanged.
    EXPECT_TRUE(NeedsBmpConversion(L""));
}

TEST(WallpaperRules, ConvertedBitmapSitsInTheProgramFolder) {
    EXPECT_EQ(PathInFolder(L"C:\\Program Files\\Tessary", kConvertedWallpaperName),
              L"C:\\Program Files\\Tessary\\Tessary.bmp");
    // A program at a drive root must not give "C:\\\\Tessary.bmp".
    EXPECT_EQ(PathInFolder(L"C:\\", kConvertedWallpaperName), L"C:\\Tessary.bmp");
}

TEST(WallpaperRules, RecordedWallpaperAndItsLayout) {
    using namespace std::string_literals;
    auto r = InterpretDesktopValues(L"C:\\Windows\\w.bmp\0   "s, L"1", L"0");
    EXPECT_EQ(r.path, L"C:\\Windows\\w.bmp");
    EXPECT_TRUE(r.tiled);
    EXPECT_FALSE(r.stretched);
    EXPECT_EQ(StartupMode(r), WallpaperMode::Tiled);

    // Stretched wins over tiled.
    r = InterpretDesktopValues(L"C:\\w.bmp", L"1", L"2");
    EXPECT_TRUE(r.tiled);
    EXPECT_TRUE(r.stretched);
    EXPECT_EQ(StartupMode(r), WallpaperMode::Stretched);

    r = InterpretDesktopValues(L"C:\\w.bmp", L"0", L" 2 ");
    EXPECT_EQ(StartupMode(r), WallpaperMode::Stretched);

    // Any other style text (Windows 7 writes "10" for fill, "6" for fit) is not stretched.
    r = InterpretDesktopValues(L"C:\\w.bmp", L"0", L"10");
    EXPECT_EQ(StartupMode(r), WallpaperMode::Centered);
    r = InterpretDesktopValues(L"C:\\w.bmp", L"N/A", L"N/A");
    EXPECT_EQ(StartupMode(r), WallpaperMode::Centered);
    EXPECT_EQ(r.path, L"C:\\w.bmp");
}

TEST(WallpaperRules, NoWallpaperRecorded) {
    for (const wchar_t* none : {L"", L"N/A", L"   ", L" N/A "}) {
        auto r = InterpretDesktopValues(none, L"1", L"2");
        EXPECT_EQ(r.path, L"") << none;
        EXPECT_FALSE(r.tiled) << none;
        EXPECT_FALSE(r.stretched) << none;
        EXPECT_EQ(StartupMode(r), WallpaperMode::Centered) << none;
    }
}

TEST(WallpaperRules, DesktopColourText) {
    EXPECT_EQ(DesktopColorText(0), L"0");
    EXPECT_EQ(DesktopColorText(0x00A56E3A), L"10841658");
    EXPECT_EQ(DesktopColorText(0x00FFFFFF), L"16777215");
    EXPECT_EQ(DesktopColorValue(L"10841658"), 0x00A56E3Au);
    EXPECT_EQ(DesktopColorValue(L"0"), 0u);
    EXPECT_EQ(DesktopColorValue(L"16777215"), 0xFFFFFFu);
    EXPECT_FALSE(DesktopColorValue(L"16777216").has_value());
    EXPECT_FALSE(DesktopColorValue(L"99999999").has_value());
    EXPECT_FALSE(DesktopColorValue(L"999999999999").has_value());
    EXPECT_FALSE(DesktopColorValue(L"").has_value());
    EXPECT_FALSE(DesktopColorValue(L"-1").has_value());
    EXPECT_FALSE(DesktopColorValue(L"12a").has_value());
}
