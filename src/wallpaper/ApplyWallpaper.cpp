// Applying an image as the desktop wallpaper, and reading which wallpaper is current.
#include "wallpaper/ApplyWallpaper.h"
#include "wallpaper/WallpaperPreview.h"
#include "imaging/GDIPlusAPI.h"
#include "core/PathText.h"
#include "imaging/PixelOps.h"
#include "platform/AppInfo.h"
#include "platform/Controls.h"
#include "platform/DesktopWallpaper.h"
#include "platform/Dialogs.h"
#include "platform/KeyPath.h"
#include "platform/Registry.h"
#include "imaging/ImageFile.h"
#include "imaging/PictureLoader.h"
#include "wallpaper/PreviewGeometry.h"
#include <utility>
#include "wallpaper/MonitorChoice.h"
#include <climits>

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

PictureProblem WallpaperPreview::WallpaperSourceProblem(const std::wstring& path) {
    if (NeedsBmpConversion(path) || FileFormat(path) != ImageFormat::Bmp) {
        LoadedPicture picture;
        PictureProblem problem = PictureProblem::None;
        // At full size, as the bitmap is made: a reduced decode can succeed where the whole one
        // fails (a progressive JPEG reduced to 1/8 needs only its DC scans).
        const bool loaded = loader_.Load(path, INT_MAX, picture, &problem);
        loader_.ReleaseBuffers();
        return loaded ? PictureProblem::None : problem;
    }
    ImageHeader header;
    const PictureProblem problem = CheckBeforeGdiplus(path, header);
    return problem == PictureProblem::None && !RunLengthRowsComplete(path) ? PictureProblem::Damaged
                                                                           : problem;
}

void WallpaperPreview::ApplyWallpaper(const std::wstring& imagePath) {
    WaitCursor wait;
    if (!Apply(imagePath, std::nullopt))
        return;
    // The preview is drawn again only when it would change.
    if (previewKey_.empty() || previewKey_ != PreviewKey(imagePath))
        DrawPreview(imagePath);
}

bool WallpaperPreview::Apply(const std::wstring& file, const std::optional<RecentWallpaper>& remembered) {
    std::wstring applying = file;
    // An empty path (no wallpaper) has nothing to convert. Anything else must give a picture: one
    // that is gone, damaged or no picture at all is reported and nothing is written, and only a
    // bitmap reaches the desktop (a file named .bmp that holds another format is converted too).
    if (!file.empty()) {
        if (!PathExists(file)) {
            Dialogs().ShowMessage(MissingImageMessage(file), MB_OK | MB_ICONEXCLAMATION, AppTitle());
            host_.ReloadFolder();
            return false;
        }
        if (NeedsBmpConversion(file) || FileFormat(file) != ImageFormat::Bmp) {
            const std::wstring bmp =
                JoinPath(DataFolder().empty() ? ProgramFolder() : DataFolder(), kConvertedWallpaperName);
            // Our own decoding, written straight into the bitmap; transparency shows the desktop
            // colour.
            const std::uint32_t background = PictureBackground();
            const bool written = !DataFolder().empty() &&
                                 decoder_.WriteBmp(file, bmp, [background](std::uint32_t* p, std::size_t n) {
                                     FlattenOnto(p, n, background);
                                 });
            decoder_.ReleaseBuffers();
            if (!written) {
                const PictureProblem problem = WallpaperSourceProblem(file);
                ShowWarning(problem == PictureProblem::None ? WallpaperBitmapNotWrittenMessage(bmp)
                                                            : UnusableWallpaperMessage(file, problem));
                return false;
            }
            applying = bmp;
        } else if (const PictureProblem problem = WallpaperSourceProblem(file);
                   problem != PictureProblem::None) {
            ShowWarning(UnusableWallpaperMessage(file, problem));
            return false;
        }
    }
    const WallpaperMode mode = SelectedWallpaperMode();
    bool applied = false;
    if (const MonitorDesc* chosen = c_.chooser->Chosen()) {
        // One monitor: through the shell's per-monitor wallpapers where it has them (the layout
        // is one for all monitors there too).
        applied = ApplyOnMonitor(chosen->bounds, applying, mode);
        if (!applied)
            c_.status->SetPanelText(1, PerMonitorUnavailableNote());
    }
    std::optional<RecordedWallpaper> now; // what the desktop has after a change for all monitors
    if (!applied) {
        const std::wstring_view names[] = {kWallpaperValue, kTileWallpaperValue, kWallpaperStyleValue};
        std::wstring before[3];
        for (int i = 0; i < 3; ++i)
            before[i] = ReadRegString(kDesktopKeyPath, names[i]);
        const DesktopStyleValues values = StyleValuesFor(mode);
        WriteRegString(kDesktopKeyPath, kWallpaperValue, applying);
        WriteRegString(kDesktopKeyPath, kTileWallpaperValue, values.tileWallpaper);
        WriteRegString(kDesktopKeyPath, kWallpaperStyleValue, values.wallpaperStyle);
        applied = SetDesktopWallpaper(applying) || ApplyThroughActiveDesktop(applying, mode);
        if (applied) {
            now = InterpretDesktopValues(applying, values.tileWallpaper, values.wallpaperStyle);
        } else {
            // Windows took none of it: the recorded values go back to what the desktop shows.
            for (int i = 0; i < 3; ++i)
                if (before[i] != kRegNotAvailable)
                    WriteRegString(kDesktopKeyPath, names[i], before[i]);
            ShowWarning(WallpaperNotSetMessage(file));
        }
    }
    if (applied)
        RecordAppliedWallpaper(remembered.value_or(RecentWallpaper{file, RecentLayoutOf(mode)}));
    if (now) {
        // "&Current Wallpaper" shows what the desktop now has (recorded above as what came before
        // the first change, the start-up one).
        CurrentWallpaper& current = state_.wallpaper;
        current.CurrentWallpaperPath = now->path;
        current.WallpaperTiled = now->tiled;
        current.WallpaperStretched = now->stretched;
        recordedMode_ = now->mode;
    }
    return true;
}

std::uint32_t WallpaperPreview::PictureBackground() const {
    return PixelFromColorRef(
        DesktopColorValue(state_.wallpaper.DesktopColor).value_or(GetSysColor(COLOR_BACKGROUND)));
}

void WallpaperPreview::ReadCurrentWallpaper() {
    const RecordedWallpaper recorded = InterpretDesktopValues(
        ReadRegString(kDesktopKeyPath, kWallpaperValue), ReadRegString(kDesktopKeyPath, kTileWallpaperValue),
        ReadRegString(kDesktopKeyPath, kWallpaperStyleValue));
    CurrentWallpaper& current = state_.wallpaper;
    current.CurrentWallpaperPath = recorded.path;
    current.WallpaperTiled = recorded.tiled;
    current.WallpaperStretched = recorded.stretched;
    recordedMode_ = recorded.mode;
    current.DesktopColor = DesktopColorText(GetSysColor(COLOR_BACKGROUND));
}

} // namespace tessary
