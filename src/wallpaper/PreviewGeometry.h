// Where an image lands on the monitor picture's screen: the preview is the desktop scaled down,
// so every position and size follows from the full image size and the real screen size. Also
// the size an image is resampled to before it becomes the wallpaper.
#pragma once
#include "core/Geometry.h"
#include "imaging/ImageHeader.h"
#include "wallpaper/WallpaperRules.h"
#include <string>
#include <string_view>

namespace tessary {

// The monitor picture and, inside it, the screen area that is the preview surface.
inline constexpr IntSize kMonitorPictureSize{331, 327};
inline constexpr IntRect kPreviewScreenArea{38, 38, 294, 230};

// Overlays read from the program folder and stretched over the whole preview, in this order.
inline constexpr std::wstring_view kShadingOverlayName = L"MonitorShading.png";
inline constexpr std::wstring_view kGlareOverlayName = L"MonitorGlare.png";

// Large images are first reduced by the whole factor floor(width / 400), at least 1, so the
// working copy is at most 799 pixels wide; the reduced size is rounded (halves to even) and
// never below one pixel.
int PreviewReductionFactor(int imageWidth);
IntSize PreviewBufferSize(IntSize image);

// The copies of the reduced image onto the preview. Centered and Stretched make one copy;
// Tiled repeats a tile of the scaled image size from (0, 0) up to and including the preview's
// right and bottom edges. Copies may reach past the preview's edges: the preview crops them, as
// the desktop crops an image larger than the screen. A tile is at least one pixel each way, so
// tiling a tiny image always ends.
struct PreviewCopies {
    IntRect first{};           // the copy at column 0, row 0
    int columns = 0, rows = 0; // 0 when there is nothing to draw
    int count() const { return columns * rows; }
    // The copy in that column and row: `first` moved by whole multiples of its own size.
    IntRect at(int column, int row) const;
};
// Fit scales the image to lie inside the screen, Fill to cover it, both centred; at least one
// preview pixel of a fitted image stays visible. Span covers `spanArea` (the bounding box of all
// monitors, relative to the previewed screen's top-left corner; empty: the screen alone) like Fill,
// and the preview shows the part that falls on this screen.
PreviewCopies ComputePreviewCopies(WallpaperMode mode, IntSize image, IntSize screen, IntSize preview,
                                   const IntRect& spanArea = {});

// The message for a listed image that can no longer be loaded.
std::wstring MissingImageMessage(std::wstring_view path);
// For a file that is there but gives no picture: why it cannot be shown.
std::wstring UnshownImageMessage(std::wstring_view path, PictureProblem problem);
// For an image that cannot be made the wallpaper, and when Windows took none of it.
std::wstring UnusableWallpaperMessage(std::wstring_view path, PictureProblem problem);
std::wstring WallpaperNotSetMessage(std::wstring_view path);
std::wstring WallpaperBitmapNotWrittenMessage(std::wstring_view bitmapPath);

// Size of a resampled wallpaper. A requested size of at least 1 x 1 is kept. Otherwise: the
// screen size, or (proportional) the largest size of the image's shape that fits the screen,
// rounded with halves to even and never below one pixel.
IntSize ResampleSize(IntSize image, IntSize screen, bool proportional, IntSize requested = {});

} // namespace tessary
