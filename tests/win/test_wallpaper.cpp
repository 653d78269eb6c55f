// The wallpaper preview, applying the wallpaper and reading it at start-up, through the real main
// window (mostly on a screen of 1024 x 768 as the preview sees it, with a grey desktop), and the
// wallpaper on the Wine virtual desktop itself.
#include "platform/AppInfo.h"
#include "platform/Controls.h"
#include "platform/Handles.h"
#include "support/MainWindow.h"
#include "wallpaper/ApplyWallpaper.h"
#include <algorithm>
#include <turbojpeg.h>

using namespace tessary;
using namespace wintest;

namespace {

class Wallpaper : public WallpaperWindowTest {
protected:
    std::vector<std::uint32_t> Preview() {
        return {Probe::Preview(form()).bits(), Probe::Preview(form()).bits() + 256 * 192};
    }
    std::wstring Flat(const std::wstring& name, int w, int h, std::uint32_t rgb) {
        EXPECT_TRUE(WriteFlat(dir_ / name, w, h, rgb));
        return dir_ / name;
    }
    void SetRecorded(const std::optional<std::wstring>& path, const wchar_t* tile, const wchar_t* style) {
        SetDesktopValue(L"Wallpaper", path);
        SetDesktopValue(L"TileWallpaper", std::wstring(tile));
        SetDesktopValue(L"WallpaperStyle", std::wstring(style));
    }
    // Applies the picture tiled and moves the window out of the way of the pixels looked at.
    void ApplyTiled(const std::wstring& image) {
        form().SetOptMode(3);
        State().CurrentImagePath = image;
        Click(IDC_CMDSETWP);
        SetWindowPos(form().hwnd(), nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
};

// A progressive JPEG whose last scan lacks half its data: a picture reduced to 1/8 needs none of
// that scan (only the DC scans), the whole picture does.
std::string ProgressiveShortOfData(int w, int h) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
    for (int i = 0; i < w * h; ++i)
        px[static_cast<std::size_t>(i)] = PhotoLike(i % w, i / w);
    tjhandle tj = tjInitCompress();
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    EXPECT_EQ(tjCompress2(tj, reinterpret_cast<unsigned char*>(px.data()), w, 0, h, TJPF_BGRX, &buf, &size,
                          TJSAMP_444, 90, TJFLAG_PROGRESSIVE),
              0);
    std::string jpeg(reinterpret_cast<const char*>(buf), size);
    tjFree(buf);
    tjDestroy(tj);
    const std::size_t scan = jpeg.rfind("\xFF\xDA");
    const std::size_t data = scan + 2 + (static_cast<unsigned char>(jpeg[scan + 2]) << 8) +
                             static_cast<unsigned char>(jpeg[scan + 3]);
    const std::size_t length = jpeg.size() - 2 - data;
    return jpeg.erase(data + length / 2, length - length / 2);
}

// A screen pixel as 0xRRGGBB.
std::uint32_t ScreenPx(int x, int y) {
    WindowDC screen(nullptr);
    return Rgb(GetPixel(screen.get(), x, y));
}

} // namespace

TEST_F(Wallpaper, PreviewCentresCropsStretchesFitsAndFills) {
    frmMain& f = StartOn1024();
    // 800 x 600 centred on 1024 x 768: (28, 21), 200 x 150, the desktop colour around it.
    f.DrawPreview(Flat(L"green.bmp", 800, 600, kGreen));
    EXPECT_TRUE(AreaIs(28, 21, 228, 171, kGreen));
    EXPECT_EQ(Px(27, 21), kDesktopGrey);
    EXPECT_EQ(Px(227, 171), kDesktopGrey);
    EXPECT_TRUE(AreaIs(0, 0, 256, 21, kDesktopGrey));
    EXPECT_EQ(State().CurrentImagePath, dir_ / L"green.bmp");

    // Stretched, a red top quarter: 50 of 200 rows become 48 of 192, on the screen too.
    ASSERT_TRUE(WriteImage(dir_ / L"wide.png", 300, 200, [](int, int y) { return y < 50 ? kRed : kBlue; }));
    f.SetOptMode(1);
    f.DrawPreview(dir_ / L"wide.png");
    EXPECT_TRUE(AreaIs(0, 0, 256, 48, kRed));
    EXPECT_TRUE(AreaIs(0, 48, 256, 192, kBlue));
    UpdateWindow(Control(IDC_PICWP));
    WindowDC dc(Control(IDC_PICWP));
    EXPECT_EQ(GetPixel(dc.get(), 128, 20), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 128, 100), RGB(0, 0, 255));

    f.DrawPreview(L""); // only the desktop colour
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kDesktopGrey));

    // 1 x 10000 fitted is a line of a pixel; filled it covers everything.
    State().CurrentImagePath = Flat(L"needle.bmp", 1, 10000, kGreen);
    Click(IDC_OPTMODE_0 + 4);
    EXPECT_TRUE(AreaIs(127, 0, 128, 192, kGreen));
    EXPECT_TRUE(AreaIs(0, 0, 127, 192, kDesktopGrey));
    EXPECT_TRUE(AreaIs(128, 0, 256, 192, kDesktopGrey));
    Click(IDC_OPTMODE_0 + 5);
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kGreen));
}

TEST_F(Wallpaper, OverlaysDarkenTheEdgesAndLightenTheGlare) {
    frmMain& f = StartOn1024();
    f.DrawPreview(L"");
    Click(IDC_CHKOVERLAY_0); // ticking "Shading" as the user does redraws with it
    const std::uint32_t corner = Px(0, 0) & 0xFF;
    EXPECT_LT(corner, 0x80u);
    EXPECT_GT(corner, 0u);                // blended, not painted over
    EXPECT_EQ(Px(128, 96), kDesktopGrey); // the middle is clear
    const auto shaded = Preview();

    f.SetChkOverlay(0, BST_UNCHECKED);
    f.SetChkOverlay(1, BST_CHECKED);
    EXPECT_GT(Px(4, 4) & 0xFF, 0x80u);     // the sheen at the top left
    EXPECT_EQ(Px(250, 186), kDesktopGrey); // nothing at the bottom right

    // Both: glare lies over shading, exactly as drawing them one after the other.
    f.SetChkOverlay(0, BST_CHECKED);
    const auto both = Preview();
    State().settings.DrawShading = State().settings.DrawGlare = false;
    f.DrawPreview(L"");
    f.DrawOverlay(L"\\MonitorShading.png");
    f.DrawOverlay(L"\\MonitorGlare.png");
    EXPECT_EQ(Preview(), both);
    EXPECT_NE(Preview(), shaded);

    // An overlay file that is missing is skipped silently.
    f.DrawOverlay(L"\\NoSuchOverlay.png");
    EXPECT_EQ(Preview(), both);
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(Wallpaper, ImagesThatCannotBeShownAreReported) {
    const std::wstring keep = Flat(L"keep.bmp", 40, 30, kGreen), gone = Flat(L"gone.bmp", 40, 30, kRed);
    WriteSetting(L"DrawShading", L"-1"); // overlays on: they must not be drawn after the failure
    frmMain& f = StartOn1024();
    OpenFolder(dir_.path());
    f.DrawPreview(keep);
    ASSERT_TRUE(DeleteFileW(gone.c_str()));
    f.DrawPreview(gone);
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].text, gone + L" is no longer available.");
    EXPECT_EQ(dialogs_->calls[0].style & (MB_ICONMASK | MB_TYPEMASK), static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(State().CurrentImagePath, keep);
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kDesktopGrey)); // only the fill, no overlays
    ASSERT_TRUE(PumpUntil([&] { return Names() == std::vector<std::wstring>{L"keep.bmp"}; }));

    // A file that is there but damaged, or over the size rule, is said to be so in the preview and
    // the status bar, without a box, and becomes the image the commands act on.
    const std::wstring bad = dir_ / L"bad.jpg", huge = dir_ / L"huge.png";
    ASSERT_TRUE(WriteTextFile(bad, "\xFF\xD8\xFF\xE0 this is not really a JPEG"));
    ASSERT_TRUE(WriteTextFile(huge, PngClaiming(30000, 30000)));
    f.DrawPreview(bad);
    EXPECT_EQ(Panel(1), bad + L" cannot be shown: it is damaged.");
    EXPECT_EQ(State().CurrentImagePath, bad);
    EXPECT_FALSE(AreaIs(96, 80, 160, 112, kDesktopGrey)); // the note
    f.DrawPreview(huge);
    EXPECT_EQ(Panel(1), huge + L" cannot be shown: it is too large.");
    EXPECT_EQ(dialogs_->calls.size(), 1u);
}

TEST_F(Wallpaper, EachModeWritesItsValuesAndTheConvertedBitmap) {
    StartOn1024();
    // 100 x 50 quadrants, converted to a bitmap.
    const std::wstring png = dir_ / L"tile.png";
    ASSERT_TRUE(WriteImage(png, 100, 50, [](int x, int y) {
        return y < 25 ? (x < 50 ? kRed : kGreen) : (x < 50 ? kBlue : kYellow);
    }));
    DeleteFileW(ConvertedBitmapPath().c_str());
    struct Case {
        int option;
        const wchar_t *tile, *style;
    } cases[] = {{0, L"0", L"0"},  {1, L"0", L"2"},  {4, L"0", L"6"},
                 {5, L"0", L"10"}, {6, L"0", L"22"}, {3, L"1", L"0"}};
    for (const Case& c : cases) {
        State().CurrentImagePath = png;
        Click(IDC_OPTMODE_0 + c.option);
        Click(IDC_CMDSETWP);
        EXPECT_EQ(DesktopValue(L"Wallpaper"), ConvertedBitmapPath()) << c.option;
        EXPECT_EQ(DesktopValue(L"TileWallpaper"), c.tile) << c.option;
        EXPECT_EQ(DesktopValue(L"WallpaperStyle"), c.style) << c.option;
        EXPECT_EQ(ReadPicture(ConvertedBitmapPath()).width, 100);
    }
    // Tiled last: the preview shows tiles of 25 x 12 to its far edges.
    for (int ty = 0; ty + 11 < 192; ty += 12)
        for (int tx = 0; tx + 24 < 256; tx += 25)
            ASSERT_TRUE(Px(tx, ty) == kRed && Px(tx + 24, ty) == kGreen && Px(tx, ty + 11) == kBlue &&
                        Px(tx + 24, ty + 11) == kYellow)
                << tx << "," << ty;
    EXPECT_EQ(Px(255, 191), kBlue); // the bottom left of the tile that starts at (250, 180)

    // A bitmap is applied as it is, by a click on the preview too (any case of ".bmp").
    ASSERT_TRUE(WriteFlat(dir_ / L"Mixed.bmp", 32, 32, kGreen));
    DeleteFileW(ConvertedBitmapPath().c_str());
    State().CurrentImagePath = dir_ / L"Mixed.BmP";
    SendMessageW(Control(IDC_PICWP), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(Control(IDC_PICWP), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(DesktopValue(L"Wallpaper"), dir_ / L"Mixed.BmP");
    EXPECT_FALSE(FileExists(ConvertedBitmapPath()));

    // "&No Wallpaper" empties the value and converts nothing.
    Click(IDC_CMDDIRBROWSER_0 + 4);
    EXPECT_EQ(DesktopValue(L"Wallpaper"), L"");
    EXPECT_EQ(State().CurrentImagePath, L"");
    EXPECT_TRUE(AreaIs(0, 0, 256, 192, kDesktopGrey));
    EXPECT_FALSE(FileExists(ConvertedBitmapPath()));
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(Wallpaper, AnImageThatCannotBeMadeTheWallpaperChangesNothing) {
    frmMain& f = StartOn1024();
    SetDesktopValue(L"Wallpaper", std::wstring(L"C:\\before.bmp"));
    const std::wstring jpeg = Flat(L"photo.jpg", 50, 40, kRed);
    const std::string whole = ReadBytes(jpeg);
    ASSERT_TRUE(WriteTextFile(dir_ / L"cut.jpg", whole.substr(0, whole.size() / 2)));
    ASSERT_TRUE(WriteTextFile(dir_ / L"bad.png", "not a picture"));
    ASSERT_TRUE(WriteTextFile(dir_ / L"short.jpg", ProgressiveShortOfData(96, 64)));
    // A folder where the bitmap should go: it cannot be written.
    DeleteFileW(ConvertedBitmapPath().c_str());
    ASSERT_TRUE(CreateDirectoryW(ConvertedBitmapPath().c_str(), nullptr));
    const std::pair<std::wstring, std::wstring> cases[] = {
        {jpeg, L"The wallpaper bitmap " + ConvertedBitmapPath() +
                   L" could not be written; the wallpaper is unchanged."},
        {dir_ / L"cut.jpg", dir_ / L"cut.jpg" + L" cannot be made the wallpaper: it is damaged."},
        {dir_ / L"short.jpg", dir_ / L"short.jpg" + L" cannot be made the wallpaper: it is damaged."},
        {dir_ / L"bad.png",
         dir_ / L"bad.png" + L" cannot be made the wallpaper: it is not a picture this program reads."},
        {dir_ / L"gone.jpg", dir_ / L"gone.jpg" + L" is no longer available."}};
    for (const auto& [path, message] : cases) {
        dialogs_->calls.clear();
        State().CurrentImagePath = path;
        f.ApplyWallpaper();
        EXPECT_EQ(DesktopValue(L"Wallpaper"), L"C:\\before.bmp") << Narrow(path);
        ASSERT_EQ(dialogs_->calls.size(), 1u) << Narrow(path);
        EXPECT_EQ(dialogs_->calls[0].text, message);
        if (path == jpeg)
            RemoveDirectoryW(ConvertedBitmapPath().c_str());
    }
    EXPECT_FALSE(FileExists(ConvertedBitmapPath()));
    EXPECT_TRUE(FileExists(dir_ / L"bad.png"));
}

TEST_F(Wallpaper, TheBitmapPutsTransparencyOnTheDesktopColourAndNeverTakesHugeHeaders) {
    frmMain& f = StartOn1024();
    // Transparent magenta: the bitmap shows the desktop colour there, as the preview does.
    const std::wstring png = dir_ / L"clear.png";
    ASSERT_TRUE(WriteArgb(png, 8, 8, [](int, int) { return 0x00FF00FFu; }));
    State().CurrentImagePath = png;
    f.ApplyWallpaper();
    EXPECT_EQ(ReadPicture(ConvertedBitmapPath()).pixels.at(0) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(Px(128, 96) & 0xFFFFFF, 0x808080u);

    // A JPEG whose header claims 30000 x 30000 never reaches GDI+, and the failed conversion
    // leaves no temporary file.
    const std::wstring huge = dir_ / L"huge.jpg";
    ASSERT_TRUE(WriteTextFile(huge, JpegClaiming(30000, 30000)));
    const auto bitmapBefore = ReadBytes(ConvertedBitmapPath());
    State().CurrentImagePath = huge;
    f.ApplyWallpaper();
    EXPECT_EQ(ReadBytes(ConvertedBitmapPath()), bitmapBefore);
    WIN32_FIND_DATAW fd;
    UniqueFind leftover(FindFirstFileW((ConvertedBitmapPath() + L".~*").c_str(), &fd));
    EXPECT_FALSE(leftover);
}

namespace {

// Records the calls the fallback makes, and the active-desktop state at each.
class FakeActiveDesktop final : public IActiveDesktop {
public:
    BOOL active = FALSE;
    std::vector<std::wstring> calls;
    DWORD style = 99;
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
        calls.push_back(L"SetWallpaper " + std::wstring(path));
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

TEST(WallpaperActiveDesktop, SwitchedOnForTheChangeOnlyWhenItWasOff) {
    FakeActiveDesktop off;
    EXPECT_TRUE(ApplyThroughActiveDesktop(off, L"C:\\w\\tiles.bmp", WallpaperMode::Tiled));
    EXPECT_EQ(off.calls,
              (std::vector<std::wstring>{L"GetDesktopItemOptions 12", L"SetDesktopItemOptions 1",
                                         L"SetWallpaperOptions 8", L"SetWallpaper C:\\w\\tiles.bmp",
                                         L"ApplyChanges 7", L"SetDesktopItemOptions 0"}));
    EXPECT_TRUE(off.activeDuringApply);
    EXPECT_FALSE(off.active);
    EXPECT_EQ(off.style, 1u);

    FakeActiveDesktop on;
    on.active = TRUE;
    EXPECT_TRUE(ApplyThroughActiveDesktop(on, L"", WallpaperMode::Stretched));
    EXPECT_EQ(on.calls.size(), 4u);
    EXPECT_TRUE(on.active);
    EXPECT_EQ(on.style, 2u);
}

TEST_F(Wallpaper, RecordedLayoutSelectsItsOption) {
    const std::wstring bmp = Flat(L"current.bmp", 64, 48, kGreen);
    struct Case {
        std::optional<std::wstring> path;
        const wchar_t *tile, *style;
        int option;
        // Without a recorded wallpaper the layout chosen last is kept: those cases come first.
    } cases[] = {{L"", L"1", L"2", 0}, {std::nullopt, L"1", L"2", 0}, {bmp, L"1", L"2", 1},
                 {bmp, L"1", L"0", 3}, {bmp, L"0", L"6", 4},          {bmp, L"0", L" 10", 5},
                 {bmp, L"0", L"22", 6}};
    for (const Case& c : cases) {
        SetRecorded(c.path, c.tile, c.style);
        Start();
        EXPECT_EQ(State().wallpaper.CurrentWallpaperPath, c.path.value_or(L""));
        for (int i = 0; i < kModeOptions; ++i)
            EXPECT_EQ(IsChecked(Control(IDC_OPTMODE_0 + i)), i == c.option)
                << i << " for " << c.tile << c.style;
        Close();
    }
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(Wallpaper, MissingWallpaperIsReportedBeforeTheWindowShows) {
    SetRecorded(dir_ / L"gone.bmp", L"0", L"2");
    Start();
    ASSERT_EQ(dialogs_->calls.size(), 1u);
    EXPECT_EQ(dialogs_->calls[0].text, dir_ / L"gone.bmp" + L" is no longer available.");
    EXPECT_FALSE(dialogs_->calls[0].windowShown);
    EXPECT_TRUE(IsWindowVisible(form().hwnd()));
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0 + 1)));
}

TEST_F(Wallpaper, CurrentWallpaperButtonPreviewsItInTheSelectedLayout) {
    const std::wstring current = Flat(L"current.bmp", 64, 48, kGreen);
    SetRecorded(current, L"0", L"2");
    frmMain& f = StartOn1024();
    f.SetOptMode(0);
    f.DrawPreview(Flat(L"other.bmp", 64, 48, kRed));
    Click(IDC_CMDDIRBROWSER_0 + 3);
    EXPECT_EQ(State().CurrentImagePath, current);
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0))); // the layout stays as chosen
    EXPECT_EQ(Px(128, 96), kGreen);
    EXPECT_EQ(Px(0, 0), kDesktopGrey); // centred, small
}

// ---- The wallpaper on the Wine virtual desktop itself, the desktop view, the resample commands ----

TEST_F(Wallpaper, TiledWallpaperShowsOnTheScreenAndNoWallpaperRemovesIt) {
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

TEST_F(Wallpaper, DesktopViewShowsTheScreenUnderTheOverlays) {
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
    EXPECT_LT(Px(0, 0) & 0xFF00, plainCorner & 0xFF00);
    EXPECT_EQ(Px(100, 90), kGreen); // clear of the shading
    EXPECT_TRUE(dialogs_->calls.empty());
}

TEST_F(Wallpaper, StartUpShowsTheDesktopNotTheRecordedWallpaper) {
    // The registry names a red wallpaper that the desktop does not show.
    ASSERT_TRUE(WriteFlat(dir_ / L"red.bmp", 1024, 768, kRed));
    std::wstring none;
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none.data(), SPIF_SENDCHANGE);
    SetRecorded(dir_ / L"red.bmp", L"0", L"2");
    const std::uint32_t desktop = Rgb(GetSysColor(COLOR_BACKGROUND));
    ASSERT_TRUE(PumpUntil([&] { return ScreenPx(5, 5) == desktop; }));
    Start();
    EXPECT_EQ(State().CurrentImagePath, dir_ / L"red.bmp");
    EXPECT_EQ(Px(1, 1), desktop);
}

TEST_F(Wallpaper, ResampleButtonsFitTheScreenAndChooseTheLayout) {
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

    // A picture that is gone changes nothing: the program's older bitmap never stands in for it.
    SetDesktopValue(L"Wallpaper", std::wstring(L"C:\\before.bmp"));
    const std::string older = ReadBytes(ConvertedBitmapPath());
    Click(IDC_OPTMODE_0 + 3);
    State().CurrentImagePath = dir_ / L"gone.jpg";
    Click(IDC_CMDICONBUTTON_0);
    Click(IDC_CMDICONBUTTON_0 + 1);
    EXPECT_EQ(DesktopValue(L"Wallpaper"), L"C:\\before.bmp");
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0 + 3)));
    EXPECT_EQ(ReadBytes(ConvertedBitmapPath()), older);
}

TEST_F(Wallpaper, ResamplingAveragesWhenReducingAndBlendsWhenEnlarging) {
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
    EXPECT_TRUE(Near(wide.at(20, 1), 0xFF808080, 107)); // neither black nor white
    // No target: nothing written, the size still reported.
    w = h = 0;
    EXPECT_TRUE(f.ResampleToScreen(dir_ / L"two.bmp", true, w, h, L""));
    EXPECT_EQ(h, 512);
    EXPECT_FALSE(f.ResampleToScreen(dir_ / L"gone.jpg", false, w, h, dir_ / L"never.bmp"));
    EXPECT_FALSE(FileExists(dir_ / L"never.bmp"));
}

// ---- Recent wallpapers ----

// Two wallpapers applied after the one found at start-up: the drop-down of "&Current Wallpaper"
// offers them newest first, a vanished one greyed with the reason, and the one from before the
// first change; choosing that one restores it in its layout; the greyed one is never applied.
TEST_F(Wallpaper, ARecentWallpaperIsRestoredInItsLayout) {
    const std::wstring before = dir_ / L"before.bmp", a = dir_ / L"a.jpg", b = dir_ / L"b & c.png";
    for (const std::wstring& path : {before, a, b})
        ASSERT_TRUE(WriteFlat(path, 64, 48, kBlue));
    SetRecorded(before, L"1", L"0");
    frmMain& f = StartOn1024();
    ASSERT_TRUE(IsChecked(Control(IDC_OPTMODE_0 + 3)));
    f.SetOptMode(0);
    State().CurrentImagePath = a;
    f.ApplyWallpaper();
    f.SetOptMode(1);
    State().CurrentImagePath = b;
    f.ApplyWallpaper();
    ASSERT_TRUE(DeleteFileW(a.c_str()));

    // The arrow of the split button; the greyed entry is picked (as if it could be).
    NMBCDROPDOWN drop{};
    drop.hdr.hwndFrom = Control(IDC_CMDDIRBROWSER_0 + 3);
    drop.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Control(IDC_CMDDIRBROWSER_0 + 3)));
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
    SendMessageW(Control(IDC_PICWP), WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_EQ(dialogs_->calls.size(), 2u);
    EXPECT_EQ(DesktopValue(L"Wallpaper"), before);
    EXPECT_EQ(DesktopValue(L"TileWallpaper"), L"1");
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0 + 3)));
    EXPECT_EQ(State().CurrentImagePath, before);

    // A layout of the second row comes back in it too.
    f.SetOptMode(4);
    State().CurrentImagePath = b;
    f.ApplyWallpaper();
    f.SetOptMode(0);
    dialogs_->menuChoices = {1};
    SendMessageW(Control(IDC_PICWP), WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(IsChecked(Control(IDC_OPTMODE_0 + 4)));
    EXPECT_EQ(DesktopValue(L"WallpaperStyle"), L"6");
}
