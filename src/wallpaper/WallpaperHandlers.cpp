// The preview's handlers: set-up of its controls, the layout options, the overlay boxes, the
// monitor chooser and the "&Current Wallpaper" and "&No Wallpaper" buttons.
#include "wallpaper/WallpaperPreview.h"
#include "platform/Containers.h"
#include "platform/DesktopWallpaper.h"
#include "resource.h"

namespace tessary {

namespace {

// The monitor artwork scaled to the surface (at 96 DPI it is copied as it is).
void DrawMonitorArtwork(Surface& target, ScaleScratch& scratch) {
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
                {0, 0, target.width(), target.height()}, ScaleFilter::Bicubic, scratch);
}

// Makes the surface the picture box's size, keeping what it showed scaled to the new size.
void FitSurfaceTo(Surface& surface, HWND pictureBox, ScaleScratch& scratch) {
    RECT rc{};
    GetClientRect(pictureBox, &rc);
    if (rc.right < 1 || rc.bottom < 1 || (rc.right == surface.width() && rc.bottom == surface.height()))
        return;
    Surface before = std::move(surface);
    surface.Create(rc.right, rc.bottom);
    if (!before.empty() && !surface.empty()) {
        const ConstPixelView from{before.bits(), before.width(), before.height(), before.width()};
        ScalePixels(from, WholeOf(from), {surface.bits(), surface.width(), surface.height(), surface.width()},
                    {0, 0, surface.width(), surface.height()}, ScaleFilter::Bilinear, scratch);
    }
    InvalidateRect(pictureBox, nullptr, FALSE);
}

} // namespace

void WallpaperPreview::Attach(const WallpaperControls& controls) {
    c_ = controls;
    mode_.Attach(std::vector<HWND>(std::begin(c_.mode), std::end(c_.mode)),
                 [this](int i) { optMode_Click(i); });
    for (int i = 0; i < 2; ++i)
        overlay_[i].Attach(c_.overlay[i], [this, i] { chkOverlay_Click(i); });
    // The surfaces the picture boxes show, at the boxes' size.
    RECT rc{};
    GetClientRect(c_.monitor, &rc);
    picMonitorImage_.Create(rc.right, rc.bottom);
    picMonitorImage_.Fill(GetSysColor(COLOR_BTNFACE));
    SetPictureSurface(c_.monitor, &picMonitorImage_);
    GetClientRect(c_.preview, &rc);
    picWPImage_.Create(rc.right, rc.bottom);
    SetPictureSurface(c_.preview, &picWPImage_);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // The monitor artwork; the start-up draws the sunken edge over it.
    DrawMonitorArtwork(picMonitorImage_, scratch_);
    InvalidateRect(c_.monitor, nullptr, FALSE);
    // The resample buttons show their picture beside the caption.
    const int icons[2] = {IDI_RESAMPLE_PROPORTIONAL, IDI_RESAMPLE_STRETCH};
    for (int i = 0; i < 2; ++i) {
        resampleIcons_[i].reset(
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icons[i]), IMAGE_ICON, 16, 16, 0)));
        if (resampleIcons_[i])
            SendMessageW(c_.resample[i], BM_SETIMAGE, IMAGE_ICON,
                         reinterpret_cast<LPARAM>(resampleIcons_[i].get()));
    }
}

void WallpaperPreview::PaintMonitorEdge() {
    if (picMonitorImage_.empty())
        return;
    RECT rc{0, 0, picMonitorImage_.width(), picMonitorImage_.height()};
    DrawEdge(picMonitorImage_.dc(), &rc, EDGE_SUNKEN, BF_RECT);
    InvalidateRect(c_.monitor, nullptr, FALSE);
}

namespace {

// The option button of each layout, in WallpaperMode order (the hidden "Tiled" option 2 is
// never the one selected from code).
constexpr int kOptionOfMode[kWallpaperModeCount] = {0, 1, 3, 4, 5, 6};

} // namespace

int WallpaperPreview::ModeOption(WallpaperMode mode) {
    return kOptionOfMode[static_cast<int>(mode)];
}

WallpaperMode WallpaperPreview::SelectedWallpaperMode() const {
    // The hidden "Tiled" option counts as well as the visible one.
    if (mode_.IsChecked(2))
        return WallpaperMode::Tiled;
    for (int m = 0; m < kWallpaperModeCount; ++m)
        if (mode_.IsChecked(kOptionOfMode[m]))
            return static_cast<WallpaperMode>(m);
    return WallpaperMode::Centered;
}

int WallpaperPreview::StartupModeOption() const {
    const WallpaperMode mode =
        state_.wallpaper.CurrentWallpaperPath.empty() ? rememberedMode_ : recordedMode_;
    return ModeOption(mode);
}

IntSize WallpaperPreview::PreviewScreenSize() const {
    // One monitor chosen: its size; all monitors: the primary screen measured at start.
    if (const MonitorDesc* m = c_.chooser->Chosen())
        return {m->bounds.right - m->bounds.left, m->bounds.bottom - m->bounds.top};
    return {state_.screen.ScreenWidthPx, state_.screen.ScreenHeightPx};
}

void WallpaperPreview::cboMonitor_Click() {
    c_.chooser->TakeSelection();
    // The chosen monitor's own wallpaper where the system keeps one per monitor.
    std::wstring path = state_.wallpaper.CurrentWallpaperPath;
    const MonitorDesc* chosen = c_.chooser->Chosen();
    if (chosen) {
        if (auto shell = OpenPerMonitorWallpaper()) {
            const std::wstring id = shell->MonitorIdAt(chosen->bounds);
            if (!id.empty())
                path = shell->Wallpaper(id);
        }
    }
    state_.CurrentImagePath = path;
    DrawPreview(path);
}

void WallpaperPreview::Monitors_Changed() {
    const std::wstring note = c_.chooser->Refresh();
    if (note.empty())
        return;
    c_.status->SetPanelText(1, note);
    DrawPreview(state_.CurrentImagePath);
}

void WallpaperPreview::ApplyDpi() {
    FitSurfaceTo(picWPImage_, c_.preview, scratch_);
    RECT rc{};
    GetClientRect(c_.monitor, &rc);
    if (rc.right != picMonitorImage_.width() || rc.bottom != picMonitorImage_.height()) {
        picMonitorImage_.Create(rc.right, rc.bottom);
        DrawMonitorArtwork(picMonitorImage_, scratch_);
        InvalidateRect(c_.monitor, nullptr, FALSE);
    }
}

void WallpaperPreview::optMode_Click(int) {
    DrawPreview(state_.CurrentImagePath);
}

void WallpaperPreview::chkOverlay_Click(int index) {
    if (index == 0)
        state_.settings.DrawShading = overlay_[0].IsChecked();
    else if (index == 1)
        state_.settings.DrawGlare = overlay_[1].IsChecked();
    DrawPreview(state_.CurrentImagePath);
}

void WallpaperPreview::cmdDirBrowserWallpaper_Click(int index) {
    if (index == 3) {
        // "&Current Wallpaper": the wallpaper found at start-up, in the selected layout.
        state_.CurrentImagePath = state_.wallpaper.CurrentWallpaperPath;
        DrawPreview(state_.CurrentImagePath);
    } else if (index == 4) {
        // "&No Wallpaper".
        state_.CurrentImagePath.clear();
        ApplyWallpaper(std::wstring());
    }
}

} // namespace tessary
