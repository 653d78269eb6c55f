// Handing a bitmap to Windows as the desktop wallpaper.
#pragma once
#include "wallpaper/WallpaperRules.h"
#include <windows.h>
#include <wininet.h> // the active desktop's declarations need it
#include <shlobj.h>
#include <string>

namespace tessary {

// The desktop wallpaper call; true when the desktop took the wallpaper (an empty path removes it).
bool SetDesktopWallpaper(const std::wstring& path);

// The fallback through the shell's active desktop: the active desktop is switched on for the
// change when it was off, and off again afterwards. False when a step fails.
bool ApplyThroughActiveDesktop(IActiveDesktop& desktop, const std::wstring& path, WallpaperMode mode);
// The same on a new active-desktop object; false when the shell has none.
bool ApplyThroughActiveDesktop(const std::wstring& path, WallpaperMode mode);

// One monitor's wallpaper through the shell's per-monitor object; false where there is none or
// it refuses.
bool ApplyOnMonitor(const RECT& monitorBounds, const std::wstring& path, WallpaperMode mode);

} // namespace tessary
