// The wallpaper on the Wine virtual desktop itself, the desktop view, and the resample commands.
#include "platform/Controls.h"
#include "support/MainWindow.h"

using namespace tessary;
using namespace wintest;

namespace {

class WallpaperDesktop : public WallpaperWindowTest {
protected:
    // Applies the picture tiled and moves the window out of the way of the pixels looked at.
    void ApplyTiled(const std::wstring& image) {
        form().SetOptMode(3);
        State().CurrentImagePath = image;
        Click(IDC_CMDSETWP);
        SetWindowPos(form().hwnd(), nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
};

// A screen pixel as 0xRRGGBB.
std::uint32_t ScreenPx(int x, int y) {
    WindowDC screen(nullptr);
    return Rgb(GetPixel(screen.get(), x, y));
}

} // namespace

TEST_F(WallpaperDesktop, TiledWallpaperShowsOnTheScreenAndNoWallpaperRemovesIt) {
    Start();
    // 32 x 32: red left half, blue right half, tiled from the screen's top-left corner.
    ASSERT_TRUE(WriteImage(dir_ / L"tile.bmp", 32, 32, [](int x, int) { return x < 16 ? kRed : kBlue; }));
    ApplyTiled(dir_ / L"tile.bmp");
    EXPECT_TRUE(PumpUntil([] {
        return ScreenPx(4, 4) == kRed && ScreenPx(20, 4) == kBlue && ScreenPx(52, 72) == kBlue &&
               ScreenPx(100, 300) == kRed;
    })) << std::hex
        << ScreenPx(4, 4) << " " << ScreenPx(20, 4);

    Click(IDC_CMDDIRBROWSER_0 + 4);
    const std::uint32_t desktop = Rgb(GetSysColor(COLOR_BACKGROUND));
    EXPECT_TRUE(PumpUntil([&] { return ScreenPx(4, 4) == desktop && ScreenPx(20, 4) == desktop; }))
        << std::hex << ScreenPx(4, 4) << " vs " << desktop;
}

TEST_F(WallpaperDesktop, DesktopViewShowsTheScreenUnderTheOverlays) {
    frmMain& f = Start();
    ASSERT_TRUE(WriteFlat(dir_ / L"green.bmp", 64, 64, kGreen));
    ApplyTiled(dir_ / L"green.bmp");
    ASSERT_TRUE(PumpUntil([] { return ScreenPx(10, 10) == kGreen; }));
    ASSERT_TRUE(WriteFlat(dir_ / L"other.bmp", 64, 64, kRed));
    f.DrawPreview(dir_ / L"other.bmp");
    Click(IDC_CMDSHOWDESKTOP);
    EXPECT_TRUE(IsWindowVisible(f.hwnd()));
    EXPECT_EQ(State().CurrentImagePath, dir_ / L"other.bmp"); // the capture does not change the image in hand
    EXPECT_EQ(Px(5, 5), kGreen);                              // the screen scaled down
    const std::uint32_t plainCorner = Px(0, 0);
    f.SetChkOverlay(0, BST_CHECKED); // redraws the red image ...
    Click(IDC_CMDSHOWDESKTOP);       // ... and the capture replaces it, shaded
    EXPECT_LT(Green(Px(0, 0)), Green(plainCorner));
    EXPECT_EQ(Px(100, 90), kGreen); // clear of the shading
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(WallpaperDesktop, StartUpShowsTheDesktopNotTheRecordedWallpaper) {
    // The registry names a red wallpaper that the desktop does not show.
    ASSERT_TRUE(WriteFlat(dir_ / L"red.bmp", 1024, 768, kRed));
    std::wstring none;
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none.data(), SPIF_SENDCHANGE);
    SetDesktopValue(L"Wallpaper", dir_ / L"red.bmp");
    SetDesktopValue(L"WallpaperStyle", std::wstring(L"2"));
    const std::uint32_t desktop = Rgb(GetSysColor(COLOR_BACKGROUND));
    ASSERT_TRUE(PumpUntil([&] { return ScreenPx(5, 5) == desktop; }));
    Start();
    EXPECT_EQ(State().CurrentImagePath, dir_ / L"red.bmp");
    EXPECT_EQ(Px(1, 1), desktop);
}

TEST_F(WallpaperDesktop, ResampleButtonsFitTheScreenAndChooseTheLayout) {
    StartOn1024();
    ASSERT_TRUE(WriteFlat(dir_ / L"wide.png", 1000, 500, kGreen));
    State().CurrentImagePath = dir_ / L"wide.png";
    Click(IDC_CMDICONBUTTON_0);
    EXPECT_EQ(ReadPicture(ConvertedBitmapPath()).size(), std::make_pair(1024, 512));
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0)));
    EXPECT_EQ(DesktopValue(L"Wallpaper"), ConvertedBitmapPath());
    // The preview shows the bitmap centred: 256 x 128 from y = 32.
    EXPECT_EQ(Px(128, 31), kDesktopGrey);
    EXPECT_EQ(Px(128, 32), kGreen);
    Click(IDC_CMDICONBUTTON_0 + 1);
    EXPECT_EQ(ReadPicture(ConvertedBitmapPath()).height, 768);
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0 + 1)));
    EXPECT_EQ(State().CurrentImagePath, dir_ / L"wide.png");
}

TEST_F(WallpaperDesktop, ResamplingAveragesWhenReducingAndBlendsWhenEnlarging) {
    frmMain& f = StartOn1024();
    // A one-pixel checkerboard halved: every pixel averages two black and two white ones, where
    // nearest-neighbour sampling would give pure black or white.
    ASSERT_TRUE(WriteImage(dir_ / L"checker.bmp", 2048, 1536,
                           [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFu : 0u; }));
    int w = 0, h = 0;
    ASSERT_TRUE(f.ResampleToScreen(dir_ / L"checker.bmp", false, w, h, dir_ / L"half.bmp"));
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    const Picture half = ReadPicture(dir_ / L"half.bmp");
    ASSERT_EQ(half.width, 1024);
    for (int x = 0; x < 1024; x += 5)
        ASSERT_TRUE(Near(half.at(x, 300), 0xFF808080, 2)) << x;

    // A requested size is kept; between a black and a white pixel the enlargement passes through greys.
    ASSERT_TRUE(WriteImage(dir_ / L"two.bmp", 2, 1, [](int x, int) { return x == 0 ? 0u : 0xFFFFFFu; }));
    w = 40, h = 3;
    ASSERT_TRUE(f.ResampleToScreen(dir_ / L"two.bmp", true, w, h, dir_ / L"wide.bmp"));
    const Picture wide = ReadPicture(dir_ / L"wide.bmp");
    EXPECT_EQ(wide.width, 40);
    EXPECT_GT(Red(wide.at(20, 1)), 20);
    EXPECT_LT(Red(wide.at(20, 1)), 235);
    // No target: nothing written, the size still reported.
    w = h = 0;
    EXPECT_TRUE(f.ResampleToScreen(dir_ / L"two.bmp", true, w, h, L""));
    EXPECT_EQ(h, 512);
}

TEST_F(WallpaperDesktop, ImageThatCannotBeLoadedAppliesNothing) {
    frmMain& f = StartOn1024();
    ASSERT_TRUE(WriteFlat(dir_ / L"current.bmp", 32, 32, kGreen));
    State().CurrentImagePath = dir_ / L"current.bmp";
    f.ApplyWallpaper();
    // An older bitmap of the program's must not become the wallpaper in place of a missing image.
    ASSERT_TRUE(WriteFlat(ConvertedBitmapPath(), 8, 8, kRed));
    const std::string older = ReadBytes(ConvertedBitmapPath());
    f.SetOptMode(3);
    State().CurrentImagePath = dir_ / L"gone.jpg";
    Click(IDC_CMDICONBUTTON_0);
    Click(IDC_CMDICONBUTTON_0 + 1);
    EXPECT_EQ(DesktopValue(L"Wallpaper"), dir_ / L"current.bmp");
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0 + 3)));
    EXPECT_EQ(ReadBytes(ConvertedBitmapPath()), older);
    int w = 0, h = 0;
    EXPECT_FALSE(f.ResampleToScreen(dir_ / L"gone.jpg", false, w, h, dir_ / L"never.bmp"));
    EXPECT_FALSE(FileExists(dir_ / L"never.bmp"));
}
