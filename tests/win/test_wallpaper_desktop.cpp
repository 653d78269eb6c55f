// The wallpaper on the Wine virtual desktop itself, the desktop view, and the resample commands.
#include "test_wallpaper_support.h"
#include "platform/Controls.h"

using namespace tessary;
using namespace wintest;

namespace {

class WallpaperDesktop : public WallpaperWindowTest {};
class WallpaperResample : public WallpaperWindowTest {};

std::function<std::uint32_t(int, int)> Fill(std::uint32_t rgb) {
    return [rgb](int, int) { return rgb; };
}

// A screen pixel as 0xRRGGBB.
std::uint32_t ScreenPx(int x, int y) {
    WindowDC screen(nullptr);
    const COLORREF c = GetPixel(screen.get(), x, y);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

std::uint32_t Rgb(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

} // namespace

TEST_F(WallpaperDesktop, TiledWallpaperShowsOnTheScreenAndNoWallpaperRemovesIt) {
    frmMain& f = Start();
    // 32 x 32: red left half, blue right half, tiled from the screen's top-left corner.
    const std::wstring tile = dir_ / L"tile.bmp";
    ASSERT_TRUE(WriteImage(tile, 32, 32, [](int x, int) { return x < 16 ? kRed : kBlue; }));
    f.SetOptMode(3);
    state.CurrentImagePath = tile;
    SendMessageW(f.cmdSetWP, BM_CLICK, 0, 0);
    // Out of the way of the pixels looked at.
    SetWindowPos(f.hwnd(), nullptr, 400, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const bool tiled = PumpUntil([] {
        return ScreenPx(4, 4) == kRed && ScreenPx(20, 4) == kBlue && ScreenPx(36, 40) == kRed &&
               ScreenPx(52, 72) == kBlue && ScreenPx(100, 300) == kRed;
    });
    EXPECT_TRUE(tiled) << std::hex << ScreenPx(4, 4) << " " << ScreenPx(20, 4) << " " << ScreenPx(36, 40);

    SendMessageW(f.cmdDirBrowser[4], BM_CLICK, 0, 0);
    const std::uint32_t desktop = Rgb(GetSysColor(COLOR_BACKGROUND));
    const bool plain = PumpUntil([&] {
        return ScreenPx(4, 4) == desktop && ScreenPx(20, 4) == desktop && ScreenPx(100, 300) == desktop;
    });
    EXPECT_TRUE(plain) << std::hex << ScreenPx(4, 4) << " " << ScreenPx(20, 4) << " vs " << desktop;
}

TEST_F(WallpaperDesktop, DesktopViewShowsTheScreenUnderTheOverlays) {
    frmMain& f = Start();
    // A green desktop: a green wallpaper tiled over the whole screen.
    const std::wstring green = dir_ / L"green.bmp";
    ASSERT_TRUE(WriteImage(green, 64, 64, Fill(kGreen)));
    f.SetOptMode(3);
    state.CurrentImagePath = green;
    f.ApplyWallpaper();
    SetWindowPos(f.hwnd(), nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(PumpUntil([] { return ScreenPx(10, 10) == kGreen; }));

    const std::wstring other = dir_ / L"other.bmp";
    ASSERT_TRUE(WriteImage(other, 64, 64, Fill(kRed)));
    f.DrawPreview(other);
    Click(f.cmdShowDesktop);
    EXPECT_TRUE(IsWindowVisible(f.hwnd()));
    EXPECT_EQ(state.CurrentImagePath, other); // the capture does not change the image in hand
    // The screen's top-left part is the green desktop; the preview is the screen scaled down.
    EXPECT_EQ(Px(5, 5), kGreen);
    EXPECT_EQ(Px(40, 30), kGreen);
    const std::uint32_t plainCorner = Px(0, 0);

    f.SetChkOverlay(0, BST_CHECKED); // redraws the red image ...
    Click(f.cmdShowDesktop);         // ... and the capture replaces it, shaded
    EXPECT_LT((Px(0, 0) >> 8) & 0xFF, (plainCorner >> 8) & 0xFF);
    EXPECT_EQ(Px(100, 90), kGreen); // clear of the shading
    const std::uint32_t shadedCorner = Px(2, 2);
    f.SetChkOverlay(1, BST_CHECKED);
    Click(f.cmdShowDesktop);
    EXPECT_GT(Px(2, 2) & 0xFF, shadedCorner & 0xFF); // the glare's white over it
    EXPECT_EQ(Px(100, 90), kGreen);
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(WallpaperDesktop, StartUpShowsTheDesktopNotTheRecordedWallpaper) {
    // The registry names a red wallpaper that the desktop does not show.
    const std::wstring red = dir_ / L"red.bmp";
    ASSERT_TRUE(WriteImage(red, 1024, 768, Fill(kRed)));
    SetDesktopValue(L"Wallpaper", red);
    SetDesktopValue(L"WallpaperStyle", std::wstring(L"2"));
    std::wstring none;
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none.data(), SPIF_SENDCHANGE);
    SetDesktopValue(L"Wallpaper", red);
    const std::uint32_t desktop = Rgb(GetSysColor(COLOR_BACKGROUND));
    ASSERT_TRUE(PumpUntil([&] { return ScreenPx(5, 5) == desktop; }));
    Start();
    EXPECT_EQ(state.CurrentImagePath, red);
    EXPECT_EQ(Px(1, 1), desktop);
}

// ---- Resampling ----

TEST_F(WallpaperResample, ProportionalFitsTheScreenAndIsAppliedCentred) {
    frmMain& f = StartOn1024();
    struct Case {
        int w, h, rw, rh;
    } cases[] = {{1000, 500, 1024, 512}, {1280, 1024, 960, 768}}; // the sizes are unit-tested
    for (const Case& c : cases) {
        const std::wstring image = dir_ / (std::to_wstring(c.w) + L"x" + std::to_wstring(c.h) + L".png");
        ASSERT_TRUE(WriteImage(image, c.w, c.h, Fill(kGreen)));
        f.SetOptMode(3);
        state.CurrentImagePath = image;
        Click(f.cmdIconButton[0]);
        const SIZE size = ImageFileSize(ConvertedBitmapPath());
        EXPECT_EQ(size.cx, c.rw) << c.w << "x" << c.h;
        EXPECT_EQ(size.cy, c.rh) << c.w << "x" << c.h;
        EXPECT_TRUE(IsChecked(f.optMode[0]));
        EXPECT_EQ(DesktopValue(L"Wallpaper"), ConvertedBitmapPath());
        EXPECT_EQ(DesktopValue(L"TileWallpaper"), L"0");
        EXPECT_EQ(DesktopValue(L"WallpaperStyle"), L"0");
        EXPECT_EQ(state.CurrentImagePath, image);
    }
    // The preview shows the last bitmap (960 x 768) centred: (8, 0), 240 x 192.
    EXPECT_EQ(Px(7, 96), kDesktopGrey);
    EXPECT_EQ(Px(8, 96), kGreen);
    EXPECT_EQ(Px(247, 96), kGreen);
    EXPECT_EQ(Px(248, 96), kDesktopGrey);
}

TEST_F(WallpaperResample, StretchGivesTheScreenSizeAndIsAppliedStretched) {
    frmMain& f = StartOn1024();
    const std::wstring image = dir_ / L"small.jpg";
    ASSERT_TRUE(WriteImage(image, 300, 100, Fill(kBlue)));
    state.CurrentImagePath = image;
    Click(f.cmdIconButton[1]);
    const SIZE size = ImageFileSize(ConvertedBitmapPath());
    EXPECT_EQ(size.cx, 1024);
    EXPECT_EQ(size.cy, 768);
    EXPECT_TRUE(IsChecked(f.optMode[1]));
    EXPECT_EQ(DesktopValue(L"WallpaperStyle"), L"2");
    // Pressing it again keeps Stretched selected.
    Click(f.cmdIconButton[1]);
    EXPECT_TRUE(IsChecked(f.optMode[1]));
    EXPECT_EQ(state.CurrentImagePath, image);
}

TEST_F(WallpaperResample, FineCheckerboardBecomesAnEvenGrey) {
    frmMain& f = StartOn1024();
    const std::wstring image = dir_ / L"checker.bmp";
    // 2048 x 1536 one-pixel checkerboard halved to 1024 x 768: every pixel averages two black and
    // two white ones. Nearest-neighbour sampling would give pure black or white instead.
    ASSERT_TRUE(WriteImage(image, 2048, 1536, [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFu : 0u; }));
    const std::wstring target = dir_ / L"resampled.bmp";
    int w = 0, h = 0;
    ASSERT_TRUE(f.ResampleToScreen(image, false, w, h, target));
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    Gdiplus::Bitmap bmp(target.c_str(), FALSE);
    ASSERT_EQ(bmp.GetWidth(), 1024u);
    ASSERT_EQ(bmp.GetHeight(), 768u);
    int minimum = 255, maximum = 0;
    for (int y = 0; y < 768; y += 7) {
        for (int x = 0; x < 1024; x += 5) {
            Gdiplus::Color c;
            bmp.GetPixel(x, y, &c);
            for (int v : {c.GetR(), c.GetG(), c.GetB()}) {
                minimum = std::min(minimum, v);
                maximum = std::max(maximum, v);
            }
        }
    }
    EXPECT_GE(minimum, 126);
    EXPECT_LE(maximum, 129);
}

TEST_F(WallpaperResample, RequestedSizeIsKeptAndEnlargingIsSmooth) {
    frmMain& f = StartOn1024();
    const std::wstring image = dir_ / L"two.bmp";
    ASSERT_TRUE(WriteImage(image, 2, 1, [](int x, int) { return x == 0 ? 0u : 0xFFFFFFu; }));
    const std::wstring target = dir_ / L"wide.bmp";
    int w = 40, h = 3;
    ASSERT_TRUE(f.ResampleToScreen(image, true, w, h, target));
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, 3);
    Gdiplus::Bitmap bmp(target.c_str(), FALSE);
    // Between the black and the white pixel the enlargement passes through greys.
    int greys = 0;
    for (int x = 0; x < 40; ++x) {
        Gdiplus::Color c;
        bmp.GetPixel(x, 1, &c);
        if (c.GetR() > 20 && c.GetR() < 235)
            ++greys;
    }
    EXPECT_GE(greys, 4);
    // No target: nothing written, the size still reported.
    w = h = 0;
    EXPECT_TRUE(f.ResampleToScreen(image, true, w, h, L""));
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 512);
}

TEST_F(WallpaperResample, ImageThatCannotBeLoadedAppliesNothing) {
    frmMain& f = StartOn1024();
    const std::wstring current = dir_ / L"current.bmp";
    ASSERT_TRUE(WriteImage(current, 32, 32, Fill(kGreen)));
    state.CurrentImagePath = current;
    f.ApplyWallpaper();
    ASSERT_EQ(DesktopValue(L"Wallpaper"), current);
    // An older bitmap of the program's must not become the wallpaper in place of a missing image.
    ASSERT_TRUE(WriteImage(ConvertedBitmapPath(), 8, 8, Fill(kRed)));
    const auto older = ReadFileBytes(ConvertedBitmapPath());
    f.SetOptMode(3);
    const std::wstring gone = dir_ / L"gone.jpg";
    state.CurrentImagePath = gone;
    Click(f.cmdIconButton[0]);
    Click(f.cmdIconButton[1]);
    EXPECT_EQ(DesktopValue(L"Wallpaper"), current);
    EXPECT_TRUE(IsChecked(f.optMode[3]));
    EXPECT_EQ(state.CurrentImagePath, gone);
    EXPECT_EQ(ReadFileBytes(ConvertedBitmapPath()), older);
    int w = 0, h = 0;
    EXPECT_FALSE(f.ResampleToScreen(gone, false, w, h, dir_ / L"never.bmp"));
    EXPECT_FALSE(FileExists(dir_ / L"never.bmp"));
}
