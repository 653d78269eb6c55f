// The main window's wallpaper handlers: set-up of the preview's controls, the layout options,
// the overlay boxes and the "&Current Wallpaper" and "&No Wallpaper" buttons.
#include "core/SharedState.h"
#include "app/frmMain.h"
#include "platform/DesktopWallpaper.h"
#include "resource.h"

namespace tessary {

namespace {

// The monitor artwork scaled to the surface (at 96 DPI it is copied as it is).
void DrawMonitorArtwork(Surface& target, WallpaperPart& part) {
    UniqueBitmap artwork(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_MONITOR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!artwork || target.empty() || !GetObjectW(artwork.get(), sizeof(info), &info))
        return;
    Surface designed;
    UniqueMemDC source(CreateCompatibleDC(target.dc()));
    if (!source || !designed.Create(info.bmWidth, info.bmHeight))
        return;
    {
        SelectedObject selected(source.get(), artwork.get());
        BitBlt(designed.dc(), 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    const ConstPixelView from{designed.bits(), designed.width(), designed.height(), designed.width()};
    ScalePixels(from, WholeOf(from), {target.bits(), target.width(), target.height(), target.width()},
                {0, 0, target.width(), target.height()}, ScaleFilter::Bicubic, part.scratch);
}

// Makes the surface the picture box's size, keeping what it showed scaled to the new size.
void FitSurfaceTo(Surface& surface, HWND pictureBox, WallpaperPart& part) {
    RECT rc{};
    GetClientRect(pictureBox, &rc);
    if (rc.right < 1 || rc.bottom < 1 || (rc.right == surface.width() && rc.bottom == surface.height()))
        return;
    Surface before = std::move(surface);
    surface.Create(rc.right, rc.bottom);
    if (!before.empty() && !surface.empty()) {
        const ConstPixelView from{before.bits(), before.width(), before.height(), before.width()};
        ScalePixels(from, WholeOf(from), {surface.bits(), surface.width(), surface.height(), surface.width()},
                    {0, 0, surface.width(), surface.height()}, ScaleFilter::Bilinear, part.scratch);
    }
    InvalidateRect(pictureBox, nullptr, FALSE);
}

} // namespace

void frmMain::Wallpaper_InitControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // The monitor artwork; the start-up draws the sunken edge over it.
    DrawMonitorArtwork(picMonitorImage, wallpaper);
    InvalidateRect(picMonitor, nullptr, FALSE);
    // The resample buttons show their picture beside the caption.
    const int icons[2] = {IDI_RESAMPLE_PROPORTIONAL, IDI_RESAMPLE_STRETCH};
    for (int i = 0; i < 2; ++i) {
        wallpaper.resampleIcons[i].reset(
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icons[i]), IMAGE_ICON, 16, 16, 0)));
        if (wallpaper.resampleIcons[i])
            SendMessageW(cmdIconButton[i], BM_SETIMAGE, IMAGE_ICON,
                         reinterpret_cast<LPARAM>(wallpaper.resampleIcons[i].get()));
    }
}

namespace {

// The option button of each layout, in WallpaperMode order (the hidden "Tiled" option 2 is
// never the one selected from code).
constexpr int kOptionOfMode[kWallpaperModeCount] = {0, 1, 3, 4, 5, 6};

} // namespace

WallpaperMode frmMain::SelectedWallpaperMode() const {
    // The hidden "Tiled" option counts as well as the visible one.
    if (IsChecked(optMode[2]))
        return WallpaperMode::Tiled;
    for (int m = 0; m < kWallpaperModeCount; ++m)
        if (IsChecked(optMode[kOptionOfMode[m]]))
            return static_cast<WallpaperMode>(m);
    return WallpaperMode::Centered;
}

int frmMain::StartupModeOption() const {
    const WallpaperMode mode =
        state.CurrentWallpaperPath.empty() ? wallpaper.rememberedMode : wallpaper.recordedMode;
    return kOptionOfMode[static_cast<int>(mode)];
}

IntSize frmMain::PreviewScreenSize() const {
    // One monitor chosen: its size; all monitors: the primary screen measured at start.
    if (const MonitorDesc* m = wallpaper.chooser.Chosen())
        return {m->bounds.right - m->bounds.left, m->bounds.bottom - m->bounds.top};
    return {state.ScreenWidthPx, state.ScreenHeightPx};
}

void frmMain::cboMonitor_Click() {
    wallpaper.chooser.TakeSelection();
    // The chosen monitor's own wallpaper where the system keeps one per monitor.
    std::wstring path = state.CurrentWallpaperPath;
    const MonitorDesc* chosen = wallpaper.chooser.Chosen();
    if (chosen) {
        if (auto shell = OpenPerMonitorWallpaper()) {
            const std::wstring id = shell->MonitorIdAt(chosen->bounds);
            if (!id.empty())
                path = shell->Wallpaper(id);
        }
    }
    state.CurrentImagePath = path;
    DrawPreview(path);
}

void frmMain::Monitors_Changed() {
    const std::wstring note = wallpaper.chooser.Refresh();
    if (note.empty())
        return;
    StatusBar1.SetPanelText(1, note);
    DrawPreview(state.CurrentImagePath);
}

void frmMain::Wallpaper_ApplyDpi() {
    FitSurfaceTo(picWPImage, picWP, wallpaper);
    RECT rc{};
    GetClientRect(picMonitor, &rc);
    if (rc.right != picMonitorImage.width() || rc.bottom != picMonitorImage.height()) {
        picMonitorImage.Create(rc.right, rc.bottom);
        DrawMonitorArtwork(picMonitorImage, wallpaper);
        InvalidateRect(picMonitor, nullptr, FALSE);
    }
}

void frmMain::optMode_Click(int) {
    DrawPreview(state.CurrentImagePath);
}

void frmMain::chkOverlay_Click(int index) {
    if (index == 0)
        state.DrawShading = IsChecked(chkOverlay[0]);
    else if (index == 1)
        state.DrawGlare = IsChecked(chkOverlay[1]);
    DrawPreview(state.CurrentImagePath);
}

void frmMain::cmdDirBrowserWallpaper_Click(int index) {
    if (index == 3) {
        // "&Current Wallpaper": the wallpaper found at start-up, in the selected layout.
        state.CurrentImagePath = state.CurrentWallpaperPath;
        DrawPreview(state.CurrentImagePath);
    } else if (index == 4) {
        // "&No Wallpaper".
        state.CurrentImagePath.clear();
        ApplyWallpaper();
    }
}

} // namespace tessary
