// The program's shared state: one instance for the whole run, read and written by the handlers
// of the windows (not threaded through parameters).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tessary {

struct SharedState {
    // The image the wallpaper, viewer, rename and converter commands act on.
    std::wstring CurrentImagePath;
    // The wallpaper found at start-up, its layout and the desktop colour.
    std::wstring CurrentWallpaperPath;
    bool WallpaperTiled = false;
    bool WallpaperStretched = false;
    std::wstring DesktopColor;
    // Preview overlays.
    bool DrawShading = false;
    bool DrawGlare = false;
    // Thumbnail width in pixels, whether new thumbnails are cached, sort order 0..7.
    std::int32_t ThumbSize = 0;
    bool CacheDirectories = false;
    std::int32_t SortBy = 0;
    // Measured once at start.
    std::int32_t ScreenWidthPx = 0;
    std::int32_t ScreenHeightPx = 0;
    std::int32_t WorkAreaWidth = 0;
    std::int32_t WorkAreaHeight = 0;
    std::int32_t FrameExtraWidth = 0;
    std::int32_t FrameExtraHeight = 0;
    // Escape is held on the main window.
    bool EscapePressed = false;
    // Folder load.
    std::wstring LastLoadedFolder;
    bool LoadBusy = false;
    std::vector<std::wstring> FileList;
    // The running drag of list entries is a move.
    bool DragIsMove = false;
    // Width / height of the image in the viewer.
    double ZoomImageAspect = 0.0;
    // Size of the image last loaded by the converter.
    std::int32_t ConvertSourceWidth = 0;
    std::int32_t ConvertSourceHeight = 0;
};

inline SharedState state;

} // namespace tessary
