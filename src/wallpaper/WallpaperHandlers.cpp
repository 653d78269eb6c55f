// The main window's wallpaper handlers: set-up of the preview's controls, the layout options,
// the overlay boxes and the "&Current Wallpaper" and "&No Wallpaper" buttons.
#include "core/SharedState.h"
#include "app/frmMain.h"
#include "resource.h"

namespace tessary {

void frmMain::Wallpaper_InitControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // The monitor artwork; the start-up draws the sunken edge over it.
    UniqueBitmap artwork(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_MONITOR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (artwork && !picMonitorImage.empty()) {
        UniqueMemDC source(CreateCompatibleDC(picMonitorImage.dc()));
        if (source) {
            SelectedObject selected(source.get(), artwork.get());
            BitBlt(picMonitorImage.dc(), 0, 0, picMonitorImage.width(), picMonitorImage.height(),
                   source.get(), 0, 0, SRCCOPY);
        }
        InvalidateRect(picMonitor, nullptr, FALSE);
    }
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

WallpaperMode frmMain::SelectedWallpaperMode() const {
    if (IsChecked(optMode[1]))
        return WallpaperMode::Stretched;
    // The hidden "Tiled" option counts as well as the visible one.
    if (IsChecked(optMode[2]) || IsChecked(optMode[3]))
        return WallpaperMode::Tiled;
    return WallpaperMode::Centered;
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
