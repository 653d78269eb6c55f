// Fit, Fill and Span through the real main window on a 1024 x 768 screen (as the preview sees
// it): the preview's pixels, the values Set Wallpaper writes, start-up and the settings.
#include "support/MainWindow.h"
#include "platform/Controls.h"

using namespace tessary;
using namespace wintest;

namespace {

class WallpaperLayouts : public WallpaperWindowTest {};

constexpr int kFit = 4, kFill = 5, kSpan = 6;

} // namespace

TEST_F(WallpaperLayouts, FitAndFillOnAPortrait) {
    StartOn1024();
    // 600 x 1200, red above blue: fitted at (80, 0) 96 x 192 between grey bars; filled at
    // (0, -160) 256 x 512, so the colours meet at y = 96 and no grey is left.
    const std::wstring portrait = dir_ / L"portrait.bmp";
    ASSERT_TRUE(WriteImage(portrait, 600, 1200, [](int, int y) { return y < 600 ? kRed : kBlue; }));
    State().CurrentImagePath = portrait;
    Click(Control(IDC_OPTMODE_0 + kFit));
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0 + kFit)));
    EXPECT_TRUE(AreaIs(0, 0, 80, 192, kDesktopGrey));
    EXPECT_TRUE(AreaIs(176, 0, 256, 192, kDesktopGrey));
    EXPECT_TRUE(AreaIs(80, 0, 176, 94, kRed));
    EXPECT_TRUE(AreaIs(80, 98, 176, 192, kBlue));
    Click(Control(IDC_OPTMODE_0 + kFill));
    EXPECT_TRUE(AreaIs(0, 0, 256, 94, kRed));
    EXPECT_TRUE(AreaIs(0, 98, 256, 192, kBlue));

    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(WallpaperLayouts, AOneByTenThousandPictureFitsAsALineAndFillsEverything) {
    frmMain& f = StartOn1024();
    const std::wstring needle = dir_ / L"needle.bmp";
    ASSERT_TRUE(WriteImage(needle, 1, 10000, [](int, int) { return kGreen; }));
    f.SetOptMode(kFit);
    f.DrawPreview(needle);
    EXPECT_TRUE(AreaIs(127, 0, 128, 192, kGreen));
    EXPECT_TRUE(AreaIs(0, 0, 127, 192, kDesktopGrey));
    EXPECT_TRUE(AreaIs(128, 0, 256, 192, kDesktopGrey));
    f.SetOptMode(kFill);
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kGreen));
    EXPECT_EQ(State().CurrentImagePath, needle);
}

TEST_F(WallpaperLayouts, SetWallpaperWritesWhatWindowsReadsAndStartUpFindsIt) {
    StartOn1024();
    const std::wstring bmp = dir_ / L"wall.bmp";
    ASSERT_TRUE(WriteImage(bmp, 64, 48));
    struct Case {
        int option;
        const wchar_t* style;
    } cases[] = {{kFit, L"6"}, {kFill, L"10"}, {kSpan, L"22"}};
    for (const Case& c : cases) {
        State().CurrentImagePath = bmp;
        Click(Control(IDC_OPTMODE_0 + c.option));
        Click(Control(IDC_CMDSETWP));
        EXPECT_EQ(DesktopValue(L"Wallpaper"), bmp);
        EXPECT_EQ(DesktopValue(L"TileWallpaper"), L"0") << c.option;
        EXPECT_EQ(DesktopValue(L"WallpaperStyle"), c.style) << c.option;
    }
    Close();
    // Start-up selects each recorded layout; a style Windows does not know is centred.
    for (const Case& c : {Case{kFit, L"6"}, Case{kFill, L" 10"}, Case{kSpan, L"22"}, Case{0, L"7"}}) {
        SetDesktopValue(L"WallpaperStyle", std::wstring(c.style));
        Start();
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(IsChecked(Control(IDC_OPTMODE_0 + i)), i == c.option)
                << i << " for " << Narrow(c.style);
        Close();
    }
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(WallpaperLayouts, TheChosenLayoutIsRememberedWhenNoWallpaperSaysOtherwise) {
    SetDesktopValue(L"Wallpaper", std::wstring());
    Start();
    Click(Control(IDC_OPTMODE_0 + kFill));
    Close();
    EXPECT_EQ(ReadSetting(L"WallpaperMode"), L"Fill");
    Start();
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0 + kFill)));
    Close();
    // A stored name the program does not know leaves Centered.
    WriteSetting(L"WallpaperMode", L"Zoomed");
    Start();
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0)));
}
