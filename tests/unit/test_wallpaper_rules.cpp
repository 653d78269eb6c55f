#include "core/PathText.h"
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
    EXPECT_EQ(JoinPath(L"C:\\", kConvertedWallpaperName), L"C:\\Tessary.bmp");
    EXPECT_EQ(JoinPath(L"C:\\Apps", kConvertedWallpaperName), L"C:\\Apps\\Tessary.bmp");
}

TEST(WallpaperRules, RecordedWallpaperAndItsLayout) {
    using namespace std::string_literals;
    auto r = InterpretDesktopValues(L"C:\\Windows\\w.bmp\0   "s, L"1", L"0");
    EXPECT_EQ(r.path, L"C:\\Windows\\w.bmp");
    EXPECT_EQ(r.mode, WallpaperMode::Tiled);
    // Stretched wins over tiled; blanks around the style do not matter.
    EXPECT_EQ(InterpretDesktopValues(L"C:\\w.bmp", L"1", L" 2 ").mode, WallpaperMode::Stretched);
    // A style Windows does not know centres, or tiles when tiling is on; a known one wins over tiling.
    EXPECT_EQ(InterpretDesktopValues(L"C:\\w.bmp", L"0", L"7").mode, WallpaperMode::Centered);
    EXPECT_EQ(InterpretDesktopValues(L"C:\\w.bmp", L"1", L"fill").mode, WallpaperMode::Tiled);
    EXPECT_EQ(InterpretDesktopValues(L"C:\\w.bmp", L"1", L" 10 ").mode, WallpaperMode::Fill);
    EXPECT_EQ(InterpretDesktopValues(L"C:\\w.bmp", L"N/A", L"N/A").mode, WallpaperMode::Centered);
    for (const wchar_t* none : {L"", L" N/A "}) {
        r = InterpretDesktopValues(none, L"1", L"2");
        EXPECT_EQ(r.path, L"") << none;
        EXPECT_FALSE(r.tiled || r.stretched) << none;
    }
}

TEST(WallpaperRules, EveryLayoutReadsBackAsItself) {
    // What is written for a layout (the registry values, the settings name) leads back to it; the values
    // themselves are checked where Windows reads them.
    for (WallpaperMode mode : {WallpaperMode::Centered, WallpaperMode::Stretched, WallpaperMode::Tiled,
                               WallpaperMode::Fit, WallpaperMode::Fill, WallpaperMode::Span}) {
        const std::wstring name(WallpaperModeName(mode));
        const DesktopStyleValues v = StyleValuesFor(mode);
        EXPECT_EQ(InterpretDesktopValues(L"C:\\w.bmp", v.tileWallpaper, v.wallpaperStyle).mode, mode) << name;
        EXPECT_EQ(WallpaperModeFromName(name), mode) << name;
    }
    EXPECT_FALSE(WallpaperModeFromName(L"fit").has_value());
}

TEST(WallpaperRules, DesktopColourText) {
    EXPECT_EQ(DesktopColorText(0x00A56E3A), L"10841658");
    EXPECT_EQ(DesktopColorValue(L"10841658"), 0x00A56E3Au);
    EXPECT_EQ(DesktopColorValue(L"16777215"), 0xFFFFFFu);
    for (const wchar_t* bad : {L"16777216", L"999999999999", L"", L"-1", L"12a"})
        EXPECT_FALSE(DesktopColorValue(bad).has_value()) << bad;
}
