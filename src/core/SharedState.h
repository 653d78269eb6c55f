// The state the main window's subsystems really share, grouped by what it describes. The main
// window owns the one instance and hands it by reference to the objects that need it; state with
// one user lives in that user.
#pragma once
#include <cstdint>
#include <string>

namespace tessary {

// The options kept in the settings store.
struct Settings {
    // Thumbnail width in pixels, whether new thumbnails are cached, sort order 0..7.
    std::int32_t ThumbSize = 0;
    bool CacheDirectories = false;
    std::int32_t SortBy = 0;
    // Preview overlays.
    bool DrawShading = false;
    bool DrawGlare = false;
};

// Measured once at start.
struct ScreenMeasures {
    std::int32_t ScreenWidthPx = 0;
    std::int32_t ScreenHeightPx = 0;
    std::int32_t WorkAreaWidth = 0;
    std::int32_t WorkAreaHeight = 0;
};

// The wallpaper found at start-up, its layout and the desktop colour.
struct CurrentWallpaper {
    std::wstring CurrentWallpaperPath;
    bool WallpaperTiled = false;
    bool WallpaperStretched = false;
    // Decimal text of a 0x00BBGGRR value.
    std::wstring DesktopColor;
};

// The folder the list shows, a folder load in progress and what stops it.
struct LoadState {
    // The folder the list was loaded from (the list's entries are files of it).
    std::wstring LastLoadedFolder;
    bool LoadBusy = false;
    // Escape is held on the main window.
    bool EscapePressed = false;
    // The window was closed while a folder load ran: the load stops, and the window closes then.
    bool CloseAfterLoad = false;
};

struct SharedState {
    // The image the wallpaper, viewer, rename and converter commands act on.
    std::wstring CurrentImagePath;
    Settings settings;
    ScreenMeasures screen;
    CurrentWallpaper wallpaper;
    LoadState load;
};

} // namespace tessary
