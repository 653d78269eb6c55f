// Applying an image as the desktop wallpaper, and reading which wallpaper is current.
#include "wallpaper/ApplyWallpaper.h"
#include "core/SharedState.h"
#include "app/frmMain.h"
#include "imaging/GDIPlusAPI.h"
#include "core/PathText.h"
#include "imaging/PixelOps.h"
#include "platform/AppInfo.h"
#include "platform/DesktopWallpaper.h"
#include "platform/Registry.h"
#include <utility>
#include "wallpaper/MonitorChoice.h"

namespace tessary {

bool SetDesktopWallpaper(const std::wstring& path) {
    std::wstring text = path; // the call takes a writable buffer
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, text.data(),
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != 0;
}

bool ApplyThroughActiveDesktop(IActiveDesktop& desktop, const std::wstring& path, WallpaperMode mode) {
    COMPONENTSOPT options{};
    options.dwSize = sizeof(options);
    if (FAILED(desktop.GetDesktopItemOptions(&options, 0)))
        return false;
    const bool switchedOn = !options.fActiveDesktop;
    if (switchedOn) {
        options.fActiveDesktop = TRUE;
        desktop.SetDesktopItemOptions(&options, 0);
    }
    WALLPAPEROPT style{};
    style.dwSize = sizeof(style);
    style.dwStyle = static_cast<DWORD>(ActiveDesktopStyle(mode));
    bool ok = SUCCEEDED(desktop.SetWallpaperOptions(&style, 0));
    ok = SUCCEEDED(desktop.SetWallpaper(path.c_str(), 0)) && ok;
    ok = SUCCEEDED(desktop.ApplyChanges(AD_APPLY_SAVE | AD_APPLY_HTMLGEN | AD_APPLY_REFRESH)) && ok;
    if (switchedOn) {
        options.fActiveDesktop = FALSE;
        desktop.SetDesktopItemOptions(&options, 0);
    }
    return ok;
}

bool ApplyThroughActiveDesktop(const std::wstring& path, WallpaperMode mode) {
    ComPtr<IActiveDesktop> desktop;
    if (FAILED(CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveDesktop,
                                reinterpret_cast<void**>(desktop.put()))) ||
        !desktop)
        return false;
    return ApplyThroughActiveDesktop(*desktop.get(), path, mode);
}

bool ApplyOnMonitor(const RECT& monitorBounds, const std::wstring& path, WallpaperMode mode) {
    const std::unique_ptr<PerMonitorWallpaper> shell = OpenPerMonitorWallpaper();
    if (!shell)
        return false;
    const std::wstring id = shell->MonitorIdAt(monitorBounds);
    return !id.empty() && shell->SetPosition(ActiveDesktopStyle(mode)) && shell->SetWallpaper(id, path);
}

void frmMain::ApplyWallpaper() {
    const std::wstring kept = state.CurrentImagePath;
    bool converted = false;
    // An empty path (no wallpaper) has nothing to convert; a file named .bmp that holds another
    // format is converted like any other. Without a writable data folder the image goes to the
    // desktop as it is.
    if (!kept.empty() && (NeedsBmpConversion(kept) || FileFormat(kept) != ImageFormat::Bmp) &&
        !DataFolder().empty()) {
        const std::wstring bmp = JoinPath(DataFolder(), kConvertedWallpaperName);
        // Our own decoding, written straight into the bitmap; transparency shows the desktop colour.
        const std::uint32_t background = PictureBackground();
        if (wallpaper.decoder.WriteBmp(kept, bmp, [background](std::uint32_t* p, std::size_t n) {
                FlattenOnto(p, n, background);
            })) {
            state.CurrentImagePath = bmp;
            converted = true;
        }
    }
    const WallpaperMode mode = SelectedWallpaperMode();
    bool applied = false;
    if (const MonitorDesc* chosen = wallpaper.chooser.Chosen()) {
        // One monitor: through the shell's per-monitor wallpapers where it has them (the layout
        // is one for all monitors there too).
        applied = ApplyOnMonitor(chosen->bounds, state.CurrentImagePath, mode);
        if (!applied)
            StatusBar1.SetPanelText(1, PerMonitorUnavailableNote());
    }
    if (!applied) {
        const DesktopStyleValues values = StyleValuesFor(mode);
        WriteRegString(kDesktopKeyPath, kWallpaperValue, state.CurrentImagePath);
        WriteRegString(kDesktopKeyPath, kTileWallpaperValue, values.tileWallpaper);
        WriteRegString(kDesktopKeyPath, kWallpaperStyleValue, values.wallpaperStyle);
        applied = SetDesktopWallpaper(state.CurrentImagePath) ||
                  ApplyThroughActiveDesktop(state.CurrentImagePath, mode);
    }
    if (converted)
        state.CurrentImagePath = kept;
    const std::optional<RecentWallpaper> resampled = std::exchange(wallpaper.resampledFrom, std::nullopt);
    if (applied)
        RecordAppliedWallpaper(resampled.value_or(RecentWallpaper{kept, RecentLayoutOf(mode)}));
    wallpaper.decoder.ReleaseBuffers();
    // The preview is drawn again only when it would change.
    if (wallpaper.previewKey.empty() || wallpaper.previewKey != PreviewKey(state.CurrentImagePath))
        DrawPreview(state.CurrentImagePath);
}

std::uint32_t frmMain::PictureBackground() const {
    return PixelFromColorRef(DesktopColorValue(state.DesktopColor).value_or(GetSysColor(COLOR_BACKGROUND)));
}

void frmMain::ReadCurrentWallpaper() {
    const RecordedWallpaper recorded = InterpretDesktopValues(
        ReadRegString(kDesktopKeyPath, kWallpaperValue), ReadRegString(kDesktopKeyPath, kTileWallpaperValue),
        ReadRegString(kDesktopKeyPath, kWallpaperStyleValue));
    state.CurrentWallpaperPath = recorded.path;
    state.WallpaperTiled = recorded.tiled;
    state.WallpaperStretched = recorded.stretched;
    wallpaper.recordedMode = recorded.mode;
    state.DesktopColor = DesktopColorText(GetSysColor(COLOR_BACKGROUND));
}

void frmMain::cmdSetWP_Click() {
    ApplyWallpaper();
}

void frmMain::picWP_Click() {
    cmdSetWP_Click();
}

} // namespace tessary
