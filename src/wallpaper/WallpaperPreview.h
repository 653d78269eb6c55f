// The wallpaper side of the main window: the preview on the monitor picture, its layout options,
// overlays and monitor chooser, the desktop view, applying an image as the wallpaper (plain or
// resampled to the screen) and reading which wallpaper is current. The window creates the
// controls and hands them over; the preview owns its drawing surfaces and decoders.
#pragma once
#include "core/Geometry.h"
#include "core/SharedState.h"
#include "imaging/PictureDecoder.h"
#include "imaging/PictureLoader.h"
#include "imaging/Scaler.h"
#include "platform/Buttons.h"
#include "platform/Controls.h"
#include "platform/Handles.h"
#include "platform/Surface.h"
#include "wallpaper/MonitorChooser.h"
#include "wallpaper/RecentWallpapers.h"
#include "wallpaper/WallpaperRules.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessary {

// What the preview may ask of the window that holds it.
class WallpaperHost {
public:
    // The window hidden while the desktop is captured.
    virtual HWND MainWindow() const = 0;
    // The folder shown, read again: a listed image has gone.
    virtual void ReloadFolder() = 0;

protected:
    ~WallpaperHost() = default;
};

// The layout options: Centered 0, Stretched 1, the hidden Tiled 2, Tiled 3, Fit 4, Fill 5, Span 6.
constexpr int kModeOptions = 7;

// The controls the preview works with; the window keeps them alive.
struct WallpaperControls {
    HWND monitor = nullptr;            // picMonitor
    HWND preview = nullptr;            // picWP, the monitor picture's screen
    HWND mode[kModeOptions] = {};      // optMode
    HWND overlay[2] = {};              // chkOverlay: shading, glare
    HWND resample[2] = {};             // cmdIconButton: proportional, stretch
    MonitorChooser* chooser = nullptr; // cboMonitor
    StatusBar* status = nullptr;       // StatusBar1
};

class WallpaperPreview {
public:
    WallpaperPreview(SharedState& state, WallpaperHost& host) : state_(state), host_(host) {}
    WallpaperPreview(const WallpaperPreview&) = delete;
    WallpaperPreview& operator=(const WallpaperPreview&) = delete;

    // Takes the controls once they exist: the surfaces they show, the artwork, the button pictures.
    void Attach(const WallpaperControls& controls);
    // The monitor picture's sunken edge, drawn over the artwork.
    void PaintMonitorEdge();
    // The preview's surfaces and the monitor artwork at the controls' new size, keeping what they
    // show.
    void ApplyDpi();

    void ReadCurrentWallpaper();
    // Makes the image (a bitmap written first when it is not one; an empty path removes the
    // wallpaper) the desktop wallpaper in the selected layout, then previews it when the preview
    // would change.
    void ApplyWallpaper(const std::wstring& imagePath);
    // Draws the image in the selected layout with the overlays; the path becomes CurrentImagePath.
    void DrawPreview(const std::wstring& imagePath);
    // What DrawPreview of imagePath would show now: the image file as it is, the layout, the
    // overlays and the desktop colour.
    std::wstring PreviewKey(const std::wstring& imagePath) const;
    void DrawOverlay(const std::wstring& overlayFile);
    // The image fitted to the screen (proportional: its shape kept), written as the program's
    // bitmap and applied in the matching layout; the preview shows the bitmap.
    void ResampleAndApply(const std::wstring& imagePath, bool proportional);
    // Draws the image at width x height (computed from the screen when either is below 1; they
    // receive the size used) and writes it as a BMP to targetPath unless that is empty. False
    // when the image cannot be loaded or the file cannot be written.
    bool ResampleToScreen(const std::wstring& sourcePath, bool proportional, int& width, int& height,
                          const std::wstring& targetPath);
    // The layout the option buttons select.
    WallpaperMode SelectedWallpaperMode() const;
    // The layout remembered in the settings, used at start-up when no wallpaper is recorded.
    void SetRememberedMode(WallpaperMode mode) { rememberedMode_ = mode; }
    // The layout option selected at start-up: the recorded wallpaper's layout, or without one the
    // layout remembered in the settings.
    int StartupModeOption() const;
    // What transparent parts of a picture are put on in the thumbnail, the preview and the
    // wallpaper bitmap alike: the desktop colour (an opaque pixel word), so the desktop looks like
    // the preview.
    std::uint32_t PictureBackground() const;
    // The screen the preview and the resample commands work for, in physical pixels.
    IntSize PreviewScreenSize() const;

    void optMode_Click(int index);
    void chkOverlay_Click(int index);
    void cmdShowDesktop_Click();
    // "&Current Wallpaper" (3), "&No Wallpaper" (4).
    void cmdDirBrowserWallpaper_Click(int index);
    // Recent wallpapers: remembered after every apply, offered by the drop-down of "&Current
    // Wallpaper" and a right-click on the monitor (screen coordinates), restored in their layout.
    void ShowRecentWallpapers(POINT screen);
    void RestoreRecentWallpaper(const RecentWallpaper& entry);
    // The monitor chooser: a monitor picked in the list, and the monitors changing.
    void cboMonitor_Click();
    void Monitors_Changed();

    // Setters that change a control from code and run its handler, as a user's action would.
    void SetOptMode(int index) { mode_.Set(index); }
    void SetChkOverlay(int index, int value) { overlay_[index].Set(value); }
    // The clicks the window routes here.
    void ClickOptMode(int index) { mode_.Click(index); }
    void ClickChkOverlay(int index) { overlay_[index].Click(); }

    // What the preview and the monitor picture show.
    const Surface& PreviewSurface() const { return picWPImage_; }
    const Surface& MonitorSurface() const { return picMonitorImage_; }

private:
    // The drawing of DrawPreview, without taking the path as the current image. False when the
    // file is gone (a message has been shown and the folder read again): the path is not taken.
    bool Draw(const std::wstring& imagePath);
    // Makes the file the desktop wallpaper in the selected layout (on the chosen monitor, else
    // through the desktop settings), checked and converted to a bitmap where needed; a success is
    // remembered as `remembered`, or as the file in its layout. False when a message said why
    // nothing was tried.
    bool Apply(const std::wstring& file, const std::optional<RecentWallpaper>& remembered);
    void RecordAppliedWallpaper(const RecentWallpaper& applied);
    // The option button of a layout (the visible "Tiled" one for Tiled).
    static int ModeOption(WallpaperMode mode);
    // Why a picture that is there cannot be made the wallpaper; None when it can.
    PictureProblem WallpaperSourceProblem(const std::wstring& path);

    SharedState& state_;
    WallpaperHost& host_;
    WallpaperControls c_;
    RadioGroup mode_;
    CheckBox overlay_[2];
    // The monitor artwork and the preview surface on its screen; the working copy of a draw.
    Surface picMonitorImage_, picWPImage_, picWPLoad_;
    // The pictures beside the captions of the two resample buttons (the buttons do not own them).
    UniqueIcon resampleIcons_[2];
    // Kept between draws: decoding and scaling one image after another then allocates nothing new.
    PictureLoader loader_;
    // Decodes for the wallpaper's bitmap and the resampled copies.
    PictureDecoder decoder_;
    // What the preview shows now (an image in a layout, with overlays), so that a command that
    // would draw the same again leaves it; empty when it shows anything else.
    std::wstring previewKey_;
    std::vector<std::uint32_t> pixels_;
    ScaleScratch scratch_;
    Surface tile_;
    Surface capture_;
    // The layout the desktop settings recorded at start-up, and the one the settings remember.
    WallpaperMode recordedMode_ = WallpaperMode::Centered;
    WallpaperMode rememberedMode_ = WallpaperMode::Centered;
};

} // namespace tessary
