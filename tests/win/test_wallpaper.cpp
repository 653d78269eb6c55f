// The wallpaper preview and applying the wallpaper, through the real main window on a screen of
// 1024 x 768 (as the preview sees it) with a grey desktop.
#include "test_wallpaper_support.h"
#include "platform/Controls.h"
#include "imaging/GDIPlusAPI.h"
#include "imaging/JpegCodec.h"
#include "platform/Handles.h"
#include "wallpaper/ApplyWallpaper.h"
#include <functional>

using namespace tessary;
using namespace wintest;

namespace {

class WallpaperPreview : public WallpaperWindowTest {};
class WallpaperApply : public WallpaperWindowTest {};
class WallpaperStartup : public WallpaperWindowTest {};

std::function<std::uint32_t(int, int)> Fill(std::uint32_t rgb) {
    return [rgb](int, int) { return rgb; };
}

} // namespace

TEST_F(WallpaperPreview, CenteredImageSitsWhereTheScreenWouldShowIt) {
    frmMain& f = StartOn1024();
    const std::wstring image = dir_ / L"green.bmp";
    ASSERT_TRUE(WriteImage(image, 800, 600, Fill(kGreen)));
    f.SetOptMode(0);
    f.DrawPreview(image);
    // 800 x 600 on 1024 x 768: (28, 21), 200 x 150, the desktop colour around it.
    EXPECT_TRUE(AreaIs(28, 21, 228, 171, kGreen));
    EXPECT_EQ(Px(27, 21), kDesktopGrey);
    EXPECT_EQ(Px(28, 20), kDesktopGrey);
    EXPECT_EQ(Px(228, 170), kDesktopGrey);
    EXPECT_EQ(Px(227, 171), kDesktopGrey);
    EXPECT_TRUE(AreaIs(0, 0, 256, 21, kDesktopGrey));
    EXPECT_EQ(state.CurrentImagePath, image);

    const std::wstring small = dir_ / L"small.png";
    ASSERT_TRUE(WriteImage(small, 640, 480, Fill(kRed)));
    f.DrawPreview(small);
    EXPECT_TRUE(AreaIs(48, 36, 208, 156, kRed));
    EXPECT_EQ(Px(47, 36), kDesktopGrey);
    EXPECT_EQ(Px(208, 155), kDesktopGrey);
    EXPECT_EQ(Px(207, 156), kDesktopGrey);
    EXPECT_EQ(state.CurrentImagePath, small);
}

TEST_F(WallpaperPreview, LargeImagesAreCroppedOrStretchedOverThePreview) {
    frmMain& f = StartOn1024();
    const std::wstring image = dir_ / L"big.bmp";
    // Left half red, right half blue: the centred copy goes to (-72, -54), 400 x 300, so the halves
    // meet at x = -72 + 200 = 128 and no desktop colour is left.
    ASSERT_TRUE(WriteImage(image, 1600, 1200, [](int x, int) { return x < 800 ? kRed : kBlue; }));
    f.DrawPreview(image);
    EXPECT_TRUE(AreaIs(0, 0, 128, 192, kRed));
    EXPECT_TRUE(AreaIs(128, 0, 256, 192, kBlue));

    // Stretched, a red top quarter: 50 of 200 rows become 48 of 192, on the screen too.
    const std::wstring wide = dir_ / L"wide.png";
    ASSERT_TRUE(WriteImage(wide, 300, 200, [](int, int y) { return y < 50 ? kRed : kBlue; }));
    f.SetOptMode(1);
    f.DrawPreview(wide);
    EXPECT_TRUE(AreaIs(0, 0, 256, 48, kRed));
    EXPECT_TRUE(AreaIs(0, 48, 256, 192, kBlue));
    UpdateWindow(f.picWP);
    WindowDC dc(f.picWP);
    EXPECT_EQ(GetPixel(dc.get(), 128, 20), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 128, 100), RGB(0, 0, 255));

    // An empty path: only the desktop colour.
    f.DrawPreview(L"");
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kDesktopGrey));
    EXPECT_EQ(state.CurrentImagePath, L"");
}

TEST_F(WallpaperPreview, TiledImageRepeatsAtTheScaledSize) {
    frmMain& f = StartOn1024();
    const std::wstring image = dir_ / L"tile.bmp";
    // 100 x 50 quadrants: tiles of 25 x 12 on the preview. Chosen by the user's click on "Tiled".
    ASSERT_TRUE(WriteImage(image, 100, 50, [](int x, int y) {
        return y < 25 ? (x < 50 ? kRed : kGreen) : (x < 50 ? kBlue : kYellow);
    }));
    state.CurrentImagePath = image;
    Click(f.optMode[3]);
    EXPECT_TRUE(IsChecked(f.optMode[3]));
    for (int ty = 0; ty < 192; ty += 12) {
        for (int tx = 0; tx < 256; tx += 25) {
            ASSERT_EQ(Px(tx, ty), kRed) << tx << "," << ty;
            if (tx + 24 < 256) {
                ASSERT_EQ(Px(tx + 24, ty), kGreen) << tx << "," << ty;
            }
            if (ty + 11 < 192) {
                ASSERT_EQ(Px(tx, ty + 11), kBlue) << tx << "," << ty;
            }
            if (tx + 24 < 256 && ty + 11 < 192) {
                ASSERT_EQ(Px(tx + 24, ty + 11), kYellow) << tx << "," << ty;
            }
        }
    }
    EXPECT_EQ(Px(255, 191), kBlue); // the bottom left of the tile that starts at (250, 180)
}

TEST_F(WallpaperPreview, TinyImagesTileTheWholePreview) {
    frmMain& f = StartOn1024();
    f.SetOptMode(3);
    for (int size : {1, 2}) {
        const std::wstring image = dir_ / (L"tiny" + std::to_wstring(size) + L".bmp");
        ASSERT_TRUE(WriteImage(image, size, size, Fill(kYellow)));
        f.DrawPreview(image);
        EXPECT_TRUE(AreaIs(0, 0, 256, 192, kYellow)) << size;
        EXPECT_EQ(state.CurrentImagePath, image);
    }
}

TEST_F(WallpaperPreview, OverlaysDarkenTheEdgesAndLightenTheGlare) {
    frmMain& f = StartOn1024();
    f.DrawPreview(L"");
    ASSERT_TRUE(AreaIs(0, 0, 256, 192, kDesktopGrey));
    // Ticking "Shading" as the user does redraws with the shading.
    Click(f.chkOverlay[0]);
    EXPECT_TRUE(state.DrawShading);
    const std::uint32_t corner = Px(0, 0) & 0xFF;
    EXPECT_LT(corner, 0x80u);
    EXPECT_GT(corner, 0u); // blended, not painted over
    EXPECT_LT(Px(255, 191) & 0xFF, 0x80u);
    EXPECT_EQ(Px(128, 96), kDesktopGrey); // the middle is clear
    std::vector<std::uint32_t> shaded(f.picWPImage.bits(), f.picWPImage.bits() + 256 * 192);

    f.SetChkOverlay(0, BST_UNCHECKED);
    EXPECT_FALSE(state.DrawShading);
    f.SetChkOverlay(1, BST_CHECKED);
    EXPECT_TRUE(state.DrawGlare);
    EXPECT_GT(Px(4, 4) & 0xFF, 0x80u);                // the sheen at the top left
    EXPECT_EQ(Px(250, 186), kDesktopGrey);            // nothing at the bottom right
    EXPECT_EQ(Px(128, 96) >> 16, Px(128, 96) & 0xFF); // white light keeps grey grey

    // Both: glare lies over shading, exactly as drawing them one after the other.
    f.SetChkOverlay(0, BST_CHECKED);
    std::vector<std::uint32_t> both(f.picWPImage.bits(), f.picWPImage.bits() + 256 * 192);
    state.DrawShading = state.DrawGlare = false;
    f.DrawPreview(L"");
    f.DrawOverlay(L"\\MonitorShading.png");
    f.DrawOverlay(L"\\MonitorGlare.png");
    EXPECT_TRUE(std::equal(both.begin(), both.end(), f.picWPImage.bits()));
    f.DrawPreview(L"");
    f.DrawOverlay(L"\\MonitorGlare.png");
    f.DrawOverlay(L"\\MonitorShading.png");
    EXPECT_FALSE(std::equal(both.begin(), both.end(), f.picWPImage.bits())); // the order shows
    EXPECT_FALSE(std::equal(both.begin(), both.end(), shaded.begin()));
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(WallpaperPreview, MissingOverlayIsSkippedSilently) {
    frmMain& f = StartOn1024();
    f.SetChkOverlay(0, BST_CHECKED);
    std::vector<std::uint32_t> shadedOnly(f.picWPImage.bits(), f.picWPImage.bits() + 256 * 192);
    const std::wstring glare = ProgramFolder() + L"\\MonitorGlare.png";
    const std::wstring aside = ProgramFolder() + L"\\MonitorGlare.png.aside";
    ASSERT_TRUE(MoveFileW(glare.c_str(), aside.c_str()));
    f.SetChkOverlay(1, BST_CHECKED);
    const bool same = std::equal(shadedOnly.begin(), shadedOnly.end(), f.picWPImage.bits());
    f.DrawOverlay(L"\\NoSuchOverlay.png");
    const bool stillSame = std::equal(shadedOnly.begin(), shadedOnly.end(), f.picWPImage.bits());
    MoveFileW(aside.c_str(), glare.c_str());
    EXPECT_TRUE(same);
    EXPECT_TRUE(stillSame);
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(WallpaperPreview, DeletedImageIsReportedAndTheListRebuilt) {
    const std::wstring keep = dir_ / L"keep.bmp", gone = dir_ / L"gone.bmp";
    ASSERT_TRUE(WriteImage(keep, 40, 30));
    ASSERT_TRUE(WriteImage(gone, 40, 30));
    WriteSetting(L"DrawShading", L"-1"); // overlays on: they must not be drawn after the failure
    frmMain& f = StartOn1024();
    f.FolderTreeview1.SelectFolder(dir_.path());
    ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(f.ListViewPics) == 2; }));
    f.DrawPreview(keep);
    ASSERT_TRUE(DeleteFileW(gone.c_str()));
    f.DrawPreview(gone);
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].text, gone + L" is no longer available.");
    EXPECT_EQ(dialogs_->calls[0].title, L"Tessary");
    EXPECT_EQ(dialogs_->calls[0].style & (MB_ICONMASK | MB_TYPEMASK),
              static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(state.CurrentImagePath, keep);
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kDesktopGrey)); // only the fill, no overlays
    ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(f.ListViewPics) == 1; }));
    wchar_t text[MAX_PATH] = {};
    ListView_GetItemText(f.ListViewPics, 0, 0, text, MAX_PATH);
    EXPECT_STREQ(text, L"keep.bmp");
}

TEST_F(WallpaperPreview, CorruptImageIsReportedAndLeftInPlace) {
    frmMain& f = StartOn1024();
    const std::wstring bad = dir_ / L"bad.jpg";
    ASSERT_TRUE(WriteTextFile(bad, "\xFF\xD8\xFF\xE0 this is not really a JPEG"));
    const std::wstring before = state.CurrentImagePath;
    f.DrawPreview(bad);
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].text, bad + L" is no longer available.");
    EXPECT_EQ(state.CurrentImagePath, before);
    EXPECT_TRUE(FileExists(bad));
}

// ---- Applying ----

TEST_F(WallpaperApply, EachModeWritesItsValuesAndTheConvertedBitmap) {
    frmMain& f = StartOn1024();
    const std::wstring jpeg = dir_ / L"photo.jpg";
    ASSERT_TRUE(WriteImage(jpeg, 120, 90, Fill(kRed)));
    DeleteFileW(ConvertedBitmapPath().c_str());
    struct Case {
        int option;
        const wchar_t *tile, *style;
    } cases[] = {{0, L"0", L"0"}, {1, L"0", L"2"}, {3, L"1", L"0"}};
    for (const Case& c : cases) {
        f.SetOptMode(c.option);
        state.CurrentImagePath = jpeg;
        Click(f.cmdSetWP);
        EXPECT_EQ(DesktopValue(L"Wallpaper"), ConvertedBitmapPath()) << c.option;
        EXPECT_EQ(DesktopValue(L"TileWallpaper"), c.tile) << c.option;
        EXPECT_EQ(DesktopValue(L"WallpaperStyle"), c.style) << c.option;
        const SIZE size = ImageFileSize(ConvertedBitmapPath());
        EXPECT_EQ(size.cx, 120);
        EXPECT_EQ(size.cy, 90);
        EXPECT_EQ(state.CurrentImagePath, jpeg) << c.option;
    }
    // The last apply (Tiled: tiles of 30 x 22) redrew the preview: red everywhere, no desktop colour.
    for (auto [x, y] : {std::pair{0, 0}, {29, 21}, {30, 22}, {255, 191}}) {
        EXPECT_GT(Px(x, y) >> 16, 0xE0u) << x << "," << y;
        EXPECT_LT(Px(x, y) & 0xFF, 0x20u) << x << "," << y;
    }
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(WallpaperApply, AClickOnThePreviewAppliesABitmapUnconverted) {
    frmMain& f = StartOn1024();
    const std::wstring bmp = dir_ / L"Mixed.BmP";
    ASSERT_TRUE(WriteImage(dir_ / L"Mixed.bmp", 32, 32, Fill(kGreen)));
    DeleteFileW(ConvertedBitmapPath().c_str());
    state.CurrentImagePath = bmp;
    SendMessageW(f.picWP, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(f.picWP, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(DesktopValue(L"Wallpaper"), bmp);
    EXPECT_FALSE(FileExists(ConvertedBitmapPath()));
    EXPECT_EQ(state.CurrentImagePath, bmp);
}

TEST_F(WallpaperApply, NoWallpaperEmptiesTheValue) {
    frmMain& f = StartOn1024();
    const std::wstring bmp = dir_ / L"w.bmp";
    ASSERT_TRUE(WriteImage(bmp, 32, 32, Fill(kGreen)));
    state.CurrentImagePath = bmp;
    f.ApplyWallpaper();
    ASSERT_EQ(DesktopValue(L"Wallpaper"), bmp);
    const auto bitmapBefore = ReadFileBytes(ConvertedBitmapPath());
    Click(f.cmdDirBrowser[4]);
    EXPECT_EQ(DesktopValue(L"Wallpaper"), L"");
    EXPECT_EQ(state.CurrentImagePath, L"");
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kDesktopGrey));
    EXPECT_EQ(ReadFileBytes(ConvertedBitmapPath()), bitmapBefore); // nothing converted
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(WallpaperApply, UnwritableBitmapAppliesTheImageItself) {
    frmMain& f = StartOn1024();
    const std::wstring jpeg = dir_ / L"photo.jpg";
    ASSERT_TRUE(WriteImage(jpeg, 50, 40, Fill(kRed)));
    // A folder where the bitmap should go: it cannot be written.
    DeleteFileW(ConvertedBitmapPath().c_str());
    ASSERT_TRUE(CreateDirectoryW(ConvertedBitmapPath().c_str(), nullptr));
    state.CurrentImagePath = jpeg;
    f.ApplyWallpaper();
    EXPECT_EQ(DesktopValue(L"Wallpaper"), jpeg);
    EXPECT_EQ(state.CurrentImagePath, jpeg);
    EXPECT_TRUE(FileExists(jpeg));
}

TEST_F(WallpaperApply, CorruptImageIsAppliedUnconvertedAndKept) {
    frmMain& f = StartOn1024();
    const std::wstring bad = dir_ / L"bad.png";
    ASSERT_TRUE(WriteTextFile(bad, "not a picture"));
    const auto bitmapBefore = ReadFileBytes(ConvertedBitmapPath());
    state.CurrentImagePath = bad;
    f.ApplyWallpaper();
    EXPECT_EQ(DesktopValue(L"Wallpaper"), bad);
    EXPECT_EQ(ReadFileBytes(ConvertedBitmapPath()), bitmapBefore);
    EXPECT_TRUE(FileExists(bad));
    // The redraw reports it, as any image that cannot be loaded.
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].text, bad + L" is no longer available.");
}

TEST_F(WallpaperApply, TheBitmapPutsTransparencyOnTheDesktopColourAndNeverTakesHugeHeaders) {
    frmMain& f = StartOn1024();
    // Transparent magenta: the bitmap shows the desktop colour there, as the preview does.
    const std::wstring png = dir_ / L"clear.png";
    {
        Gdiplus::Bitmap clear(8, 8, PixelFormat32bppARGB);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                clear.SetPixel(x, y, Gdiplus::Color(0, 0xFF, 0, 0xFF));
        CLSID pngEncoder{};
        ASSERT_GT(GetEncoderClsid(L"image/png", pngEncoder), 0);
        ASSERT_EQ(clear.Save(png.c_str(), &pngEncoder, nullptr), Gdiplus::Ok);
    }
    state.CurrentImagePath = png;
    f.ApplyWallpaper();
    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(LoadImagePixels(ConvertedBitmapPath(), pixels, w, h));
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(Px(128, 96) & 0xFFFFFF, 0x808080u);

    // A JPEG whose header claims 30000 x 30000 never reaches GDI+, and the failed conversion
    // leaves no temporary file.
    std::vector<std::uint32_t> small(64 * 64, 0xFF406080);
    std::vector<unsigned char> jpeg;
    ASSERT_TRUE(EncodeJpeg(small.data(), 64, 64, 64 * 4, 90, jpeg));
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = jpeg[i + 7] = 30000 >> 8;
            jpeg[i + 6] = jpeg[i + 8] = 30000 & 0xFF;
            break;
        }
    const std::wstring huge = dir_ / L"huge.jpg";
    ASSERT_TRUE(WriteTextFile(huge, std::string(jpeg.begin(), jpeg.end())));
    const auto bitmapBefore = ReadFileBytes(ConvertedBitmapPath());
    state.CurrentImagePath = huge;
    f.ApplyWallpaper();
    EXPECT_EQ(ReadFileBytes(ConvertedBitmapPath()), bitmapBefore);
    WIN32_FIND_DATAW fd;
    UniqueFind leftover(FindFirstFileW((ConvertedBitmapPath() + L".~*").c_str(), &fd));
    EXPECT_FALSE(leftover);

    // A picture over the size rule is called too large, not gone.
    const std::wstring hugePng = dir_ / L"huge.png";
    ASSERT_TRUE(WriteTextFile(
        hugePng, std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\x75\x30\0\0\x75\x30\x08\x06\0\0\0", 29)));
    dialogs_->calls.clear();
    f.DrawPreview(hugePng);
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].text, hugePng + L" is too large to be shown.");
}

// ---- The active desktop fallback ----

namespace {

// Records the calls the fallback makes, and the active-desktop state at each.
class FakeActiveDesktop final : public IActiveDesktop {
public:
    BOOL active = FALSE;
    std::vector<std::wstring> calls;
    DWORD style = 99;
    std::wstring wallpaper;
    bool activeDuringApply = false;

    STDMETHODIMP QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP ApplyChanges(DWORD flags) override {
        calls.push_back(L"ApplyChanges " + std::to_wstring(flags));
        activeDuringApply = active != FALSE;
        return S_OK;
    }
    STDMETHODIMP GetWallpaper(PWSTR, UINT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetWallpaper(PCWSTR path, DWORD) override {
        calls.push_back(L"SetWallpaper");
        wallpaper = path;
        return S_OK;
    }
    STDMETHODIMP GetWallpaperOptions(LPWALLPAPEROPT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetWallpaperOptions(LPCWALLPAPEROPT o, DWORD) override {
        calls.push_back(L"SetWallpaperOptions " + std::to_wstring(o->dwSize));
        style = o->dwStyle;
        return S_OK;
    }
    STDMETHODIMP GetPattern(PWSTR, UINT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetPattern(PCWSTR, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemOptions(LPCOMPONENTSOPT o, DWORD) override {
        calls.push_back(L"GetDesktopItemOptions " + std::to_wstring(o->dwSize));
        o->fEnableComponents = TRUE;
        o->fActiveDesktop = active;
        return S_OK;
    }
    STDMETHODIMP SetDesktopItemOptions(LPCCOMPONENTSOPT o, DWORD) override {
        calls.push_back(L"SetDesktopItemOptions " + std::to_wstring(o->fActiveDesktop ? 1 : 0));
        active = o->fActiveDesktop;
        return S_OK;
    }
    STDMETHODIMP AddDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddDesktopItemWithUI(HWND, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP ModifyDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemCount(int*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItem(int, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemByID(ULONG_PTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GenerateDesktopItemHtml(PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddUrl(HWND, PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemBySource(PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
};

} // namespace

TEST(WallpaperActiveDesktop, SwitchedOnForTheChangeAndOffAfterwards) {
    FakeActiveDesktop desktop;
    EXPECT_TRUE(ApplyThroughActiveDesktop(desktop, L"C:\\w\\tiles.bmp", WallpaperMode::Tiled));
    const std::vector<std::wstring> expected = {L"GetDesktopItemOptions 12", L"SetDesktopItemOptions 1",
                                                L"SetWallpaperOptions 8",    L"SetWallpaper",
                                                L"ApplyChanges 7",           L"SetDesktopItemOptions 0"};
    EXPECT_EQ(desktop.calls, expected);
    EXPECT_TRUE(desktop.activeDuringApply);
    EXPECT_FALSE(desktop.active);
    EXPECT_EQ(desktop.style, 1u);
    EXPECT_EQ(desktop.wallpaper, L"C:\\w\\tiles.bmp");
}

TEST(WallpaperActiveDesktop, AlreadyActiveDesktopIsLeftOn) {
    FakeActiveDesktop desktop;
    desktop.active = TRUE;
    EXPECT_TRUE(ApplyThroughActiveDesktop(desktop, L"", WallpaperMode::Stretched));
    const std::vector<std::wstring> expected = {L"GetDesktopItemOptions 12", L"SetWallpaperOptions 8",
                                                L"SetWallpaper", L"ApplyChanges 7"};
    EXPECT_EQ(desktop.calls, expected);
    EXPECT_TRUE(desktop.active);
    EXPECT_EQ(desktop.style, 2u);
}

// ---- Start-up ----

TEST_F(WallpaperStartup, RecordedLayoutSelectsItsOption) {
    const std::wstring bmp = dir_ / L"current.bmp";
    ASSERT_TRUE(WriteImage(bmp, 64, 48, Fill(kGreen)));
    struct Case {
        const wchar_t *tile, *style;
        int option;
        bool tiled, stretched;
    } cases[] = {{L"1", L"2", 1, true, true}, {L"1", L"0", 3, true, false}, {L"0", L"10", 5, false, false}};
    for (const Case& c : cases) {
        SetDesktopValue(L"Wallpaper", bmp);
        SetDesktopValue(L"TileWallpaper", std::wstring(c.tile));
        SetDesktopValue(L"WallpaperStyle", std::wstring(c.style));
        frmMain& f = Start();
        EXPECT_EQ(state.CurrentWallpaperPath, bmp);
        EXPECT_EQ(state.CurrentImagePath, bmp);
        EXPECT_EQ(state.WallpaperTiled, c.tiled) << c.tile << "/" << c.style;
        EXPECT_EQ(state.WallpaperStretched, c.stretched) << c.tile << "/" << c.style;
        for (int i = 0; i < frmMain::kModeOptions; ++i)
            EXPECT_EQ(IsChecked(f.optMode[i]), i == c.option) << i << " for " << c.tile << "/" << c.style;
        EXPECT_EQ(state.DesktopColor, std::to_wstring(GetSysColor(COLOR_BACKGROUND)));
        Close();
    }
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(WallpaperStartup, NoRecordedWallpaperSelectsCentered) {
    for (const std::optional<std::wstring>& value :
         {std::optional<std::wstring>(L""), std::optional<std::wstring>()}) {
        SetDesktopValue(L"Wallpaper", value);
        SetDesktopValue(L"TileWallpaper", std::wstring(L"1"));
        SetDesktopValue(L"WallpaperStyle", std::wstring(L"2"));
        frmMain& f = Start();
        EXPECT_EQ(state.CurrentWallpaperPath, L"");
        EXPECT_FALSE(state.WallpaperTiled);
        EXPECT_FALSE(state.WallpaperStretched);
        EXPECT_TRUE(IsChecked(f.optMode[0]));
        Close();
    }
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(WallpaperStartup, LongWallpaperPathIsFound) {
    // A path of 257 characters: longer than a 255-byte read buffer could hold.
    std::wstring folder = dir_.path();
    while (257 - folder.size() - 1 > 64) {
        folder += L"\\" + std::wstring(60, L'd');
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    const std::wstring path = folder + L"\\" + std::wstring(257 - folder.size() - 1 - 4, L'n') + L".bmp";
    ASSERT_EQ(path.size(), 257u);
    ASSERT_TRUE(WriteImage(path, 16, 16, Fill(kBlue)));
    SetDesktopValue(L"Wallpaper", path);
    SetDesktopValue(L"TileWallpaper", std::wstring(L"1"));
    SetDesktopValue(L"WallpaperStyle", std::wstring(L"0"));
    frmMain& f = Start();
    EXPECT_EQ(state.CurrentWallpaperPath, path);
    EXPECT_TRUE(IsChecked(f.optMode[3]));
    EXPECT_TRUE(dialogs_->calls.empty());
}

namespace {
// Notes whether the main window was visible when each message was shown.
class VisibilityProbe final : public DialogService {
public:
    std::vector<std::pair<std::wstring, bool>> shown;
    int ShowMessage(const std::wstring& text, UINT, const std::wstring&) override {
        shown.emplace_back(text, IsWindowVisible(MainForm().hwnd()) != FALSE);
        return IDOK;
    }
    std::optional<std::wstring> InputText(const std::wstring&, const std::wstring&,
                                          const std::wstring&) override {
        return std::nullopt;
    }
    UINT ChooseFromMenu(HMENU, int, int, HWND) override { return 0; }
};
} // namespace

TEST_F(WallpaperStartup, MissingWallpaperIsReportedBeforeTheWindowShows) {
    const std::wstring gone = dir_ / L"gone.bmp";
    SetDesktopValue(L"Wallpaper", gone);
    SetDesktopValue(L"TileWallpaper", std::wstring(L"0"));
    SetDesktopValue(L"WallpaperStyle", std::wstring(L"2"));
    auto probe = std::make_unique<VisibilityProbe>();
    VisibilityProbe* seen = probe.get();
    auto previous = InstallDialogs(std::move(probe));
    frmMain& f = Start();
    const auto shown = seen->shown;
    InstallDialogs(std::move(previous));
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].first, gone + L" is no longer available.");
    EXPECT_FALSE(shown[0].second);
    EXPECT_TRUE(IsWindowVisible(f.hwnd()));
    EXPECT_TRUE(IsChecked(f.optMode[1]));
    EXPECT_EQ(state.CurrentWallpaperPath, gone);
}

TEST_F(WallpaperStartup, CurrentWallpaperButtonPreviewsItInTheSelectedLayout) {
    const std::wstring current = dir_ / L"current.bmp", other = dir_ / L"other.bmp";
    ASSERT_TRUE(WriteImage(current, 64, 48, Fill(kGreen)));
    ASSERT_TRUE(WriteImage(other, 64, 48, Fill(kRed)));
    SetDesktopValue(L"Wallpaper", current);
    SetDesktopValue(L"TileWallpaper", std::wstring(L"0"));
    SetDesktopValue(L"WallpaperStyle", std::wstring(L"2"));
    frmMain& f = Start();
    state.DesktopColor = std::to_wstring(RGB(0x80, 0x80, 0x80));
    f.SetOptMode(0);
    f.DrawPreview(other);
    ASSERT_EQ(state.CurrentImagePath, other);
    Click(f.cmdDirBrowser[3]);
    EXPECT_EQ(state.CurrentImagePath, current);
    EXPECT_TRUE(IsChecked(f.optMode[0])); // the layout stays as chosen
    EXPECT_EQ(Px(128, 96), kGreen);
    EXPECT_EQ(Px(0, 0), kDesktopGrey); // centred, small
}

// ---- Recent wallpapers ----

// Two wallpapers applied after the one found at start-up: the drop-down of "&Current Wallpaper"
// offers them newest first, a vanished one greyed with the reason, and the one from before the
// first change; choosing that one restores it in its layout; the greyed one is never applied.
TEST_F(WallpaperApply, ARecentWallpaperIsRestoredInItsLayout) {
    const std::wstring before = dir_ / L"before.bmp", a = dir_ / L"a.jpg", b = dir_ / L"b & c.png";
    for (const std::wstring& path : {before, a, b})
        ASSERT_TRUE(WriteImage(path, 64, 48, Fill(kBlue)));
    SetDesktopValue(L"Wallpaper", before);
    SetDesktopValue(L"TileWallpaper", L"1");
    SetDesktopValue(L"WallpaperStyle", L"0");
    frmMain& f = StartOn1024();
    ASSERT_TRUE(IsChecked(f.optMode[3]));
    f.SetOptMode(0);
    state.CurrentImagePath = a;
    f.ApplyWallpaper();
    f.SetOptMode(1);
    state.CurrentImagePath = b;
    f.ApplyWallpaper();
    ASSERT_TRUE(DeleteFileW(a.c_str()));

    // The arrow of the split button; the greyed entry is picked (as if it could be).
    NMBCDROPDOWN drop{};
    drop.hdr.hwndFrom = f.cmdDirBrowser[3];
    drop.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(f.cmdDirBrowser[3]));
    drop.hdr.code = BCN_DROPDOWN;
    dialogs_->menuChoices = {2};
    SendMessageW(f.hwnd(), WM_NOTIFY, drop.hdr.idFrom, reinterpret_cast<LPARAM>(&drop));
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    const std::wstring folder = L"  (" + dir_.path() + L")";
    EXPECT_EQ(dialogs_->calls[0].menuItems,
              (std::vector<std::wstring>{L"b && c.png" + folder + L" - Stretched",
                                         L"~a.jpg" + folder + L" - Centered - file not found", L"-",
                                         L"before.bmp" + folder + L" - Tiled - before Tessary"}));
    EXPECT_EQ(DesktopValue(L"Wallpaper"), ConvertedBitmapPath()) << "nothing applied";

    // A right-click on the monitor offers the same; the wallpaper from before comes back tiled.
    dialogs_->menuChoices = {6};
    SendMessageW(f.picWP, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_EQ(dialogs_->calls.size(), 2u);
    EXPECT_EQ(DesktopValue(L"Wallpaper"), before);
    EXPECT_EQ(DesktopValue(L"TileWallpaper"), L"1");
    EXPECT_TRUE(IsChecked(f.optMode[3]));
    EXPECT_EQ(state.CurrentImagePath, before);
}
