// Per-monitor wallpapers through the shell's IDesktopWallpaper (Windows 8 and later), behind a
// small interface that tests replace. Where the shell has no such object (Windows 7, Wine) the
// factory gives nothing and the caller takes the registry route for all monitors.
#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include <string>

namespace tessary {

class PerMonitorWallpaper {
public:
    virtual ~PerMonitorWallpaper() = default;
    // The shell's ID of the monitor whose rectangle is `bounds`; empty when none matches.
    virtual std::wstring MonitorIdAt(const RECT& bounds) = 0;
    // The wallpaper file of that monitor; empty when it has none or the shell cannot say.
    virtual std::wstring Wallpaper(const std::wstring& monitorId) = 0;
    virtual bool SetWallpaper(const std::wstring& monitorId, const std::wstring& path) = 0;
    // The layout for every monitor: DESKTOP_WALLPAPER_POSITION (centre 0 ... span 5).
    virtual bool SetPosition(int position) = 0;
};

// The shell's object, or nothing where it does not exist. Needs COM on this thread.
std::unique_ptr<PerMonitorWallpaper> OpenPerMonitorWallpaper();
// Tests put their own in place of the shell's; an empty function restores the shell's.
void SetPerMonitorWallpaperFactory(std::function<std::unique_ptr<PerMonitorWallpaper>()> factory);

} // namespace tessary
