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
    EXPECT_EQ(StartupMode(r), WallpaperMode::Tiled);
    // Stretched wins over tiled; blanks around the style do not matter.
    EXPECT_EQ(StartupMode(InterpretDesktopValues(L"C:\\w.bmp", L"1", L" 2 ")), WallpaperMode::Stretched);
    // A style Windows does not know centres, or tiles when tiling is on; a known one wins over tiling.
    EXPECT_EQ(StartupMode(InterpretDesktopValues(L"C:\\w.bmp", L"0", L"7")), WallpaperMode::Centered);
    EXPECT_EQ(StartupMode(InterpretDesktopValues(L"C:\\w.bmp", L"1", L"fill")), WallpaperMode::Tiled);
    EXPECT_EQ(StartupMode(InterpretDesktopValues(L"C:\\w.bmp", L"1", L" 10 ")), WallpaperMode::Fill);
    EXPECT_EQ(StartupMode(InterpretDesktopValues(L"C:\\w.bmp", L"N/A", L"N/A")), WallpaperMode::Centered);
    for (const wchar_t* none : {L"", L" N/A "}) {
        r = InterpretDesktopValues(none, L"1", L"2");
        EXPECT_EQ(r.path, L"") << none;
        EXPECT_FALSE(r.tiled || r.stretched) << none;
    }
}

TEST(WallpaperRules, EveryLayoutReadsBackAsItself) {
    // What Windows reads for each layout (TileWallpaper, WallpaperStyle, and the position the
    // shell's wallpaper objects take); start-up and the settings name lead back to the layout.
    struct Row {
        WallpaperMode mode;
        const wchar_t *tile, *style;
        int position;
    };
    const Row rows[] = {
        {WallpaperMode::Centered, L"0", L"0", 0}, {WallpaperMode::Stretched, L"0", L"2", 2},
        {WallpaperMode::Tiled, L"1", L"0", 1},    {WallpaperMode::Fit, L"0", L"6", 3},
        {WallpaperMode::Fill, L"0", L"10", 4},    {WallpaperMode::Span, L"0", L"22", 5},
    };
    for (const Row& row : rows) {
        const std::wstring name(WallpaperModeName(row.mode));
        const DesktopStyleValues v = StyleValuesFor(row.mode);
        EXPECT_EQ(v.tileWallpaper, row.tile) << name;
        EXPECT_EQ(v.wallpaperStyle, row.style) << name;
        EXPECT_EQ(ActiveDesktopStyle(row.mode), row.position) << name;
        EXPECT_EQ(ModeFromDesktopPosition(row.position), row.mode) << name;
        EXPECT_EQ(StartupMode(InterpretDesktopValues(L"C:\\w.bmp", v.tileWallpaper, v.wallpaperStyle)),
                  row.mode)
            << name;
        EXPECT_EQ(WallpaperModeFromName(name), row.mode) << name;
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
