#include "wallpaper/PreviewGeometry.h"
#include <algorithm>
#include <cmath>
#include <limits>

namespace tessary {

int PreviewReductionFactor(int imageWidth) {
    return std::max(1, imageWidth / 400);
}

IntSize PreviewBufferSize(IntSize image) {
    if (image.empty())
        return {};
    const double f = PreviewReductionFactor(image.width);
    return {std::max(1, RoundToInt(image.width / f)), std::max(1, RoundToInt(image.height / f))};
}

IntRect PreviewCopies::at(int column, int row) const {
    const int dx = column * (first.right - first.left), dy = row * (first.bottom - first.top);
    return {first.left + dx, first.top + dy, first.right + dx, first.bottom + dy};
}

namespace {

// Far beyond any surface GDI can address, and small enough that pw - x cannot overflow.
constexpr int kLimit = 1 << 28;

int ClampedRound(double value) {
    return std::clamp(RoundToInt(value), -kLimit, kLimit);
}

// A copy of the given screen-pixel size centred on the screen. pw - 2x rather than a scaled width
// keeps the copy centred on the preview to the pixel.
IntRect CentredCopy(double width, double height, IntSize screen, IntSize preview) {
    const double sw = screen.width, sh = screen.height;
    const int x = ClampedRound((sw - width) / 2 * preview.width / sw);
    const int y = ClampedRound((sh - height) / 2 * preview.height / sh);
    return {x, y, preview.width - x, preview.height - y};
}

// The image scaled to lie inside (fit) or to cover (fill) an area, centred on it: its rectangle in
// the area's coordinates, in screen pixels.
struct PlacedImage {
    double left, top, width, height;
};
PlacedImage Place(IntSize image, double areaWidth, double areaHeight, bool cover) {
    const double sx = areaWidth / image.width, sy = areaHeight / image.height;
    const double scale = cover ? std::max(sx, sy) : std::min(sx, sy);
    const double w = image.width * scale, h = image.height * scale;
    return {(areaWidth - w) / 2, (areaHeight - h) / 2, w, h};
}

} // namespace

PreviewCopies ComputePreviewCopies(WallpaperMode mode, IntSize image, IntSize screen, IntSize preview,
                                   const IntRect& spanArea) {
    if (image.empty() || screen.empty() || preview.empty())
        return {};
    const int pw = preview.width, ph = preview.height;
    const double sw = screen.width, sh = screen.height;
    switch (mode) {
    case WallpaperMode::Stretched:
        return {{0, 0, pw, ph}, 1, 1};
    case WallpaperMode::Tiled: {
        const double sx = sw / image.width, sy = sh / image.height;
        const int tw = std::max(1, RoundToInt(pw / sx));
        const int th = std::max(1, RoundToInt(ph / sy));
        return {{0, 0, tw, th}, pw / tw + 1, ph / th + 1};
    }
    case WallpaperMode::Fit: {
        const PlacedImage p = Place(image, sw, sh, false);
        IntRect r = CentredCopy(p.width, p.height, screen, preview);
        // A sliver thinner than a preview pixel still shows, in the middle.
        if (r.width() < 1)
            r.right = (r.left = (pw - 1) / 2) + 1;
        if (r.height() < 1)
            r.bottom = (r.top = (ph - 1) / 2) + 1;
        return {r, 1, 1};
    }
    case WallpaperMode::Fill: {
        const PlacedImage p = Place(image, sw, sh, true);
        return {CentredCopy(p.width, p.height, screen, preview), 1, 1};
    }
    case WallpaperMode::Span: {
        const IntRect area = spanArea.width() > 0 && spanArea.height() > 0
                                 ? spanArea
                                 : IntRect{0, 0, screen.width, screen.height};
        const PlacedImage p = Place(image, area.width(), area.height(), true);
        // Both edges are mapped: the box need not be centred on this screen.
        const double fx = pw / sw, fy = ph / sh;
        const double left = area.left + p.left, top = area.top + p.top;
        return {{ClampedRound(left * fx), ClampedRound(top * fy), ClampedRound((left + p.width) * fx),
                 ClampedRound((top + p.height) * fy)},
                1,
                1};
    }
    case WallpaperMode::Centered:
        break;
    }
    return {CentredCopy(image.width, image.height, screen, preview), 1, 1};
}

std::wstring MissingImageMessage(std::wstring_view path) {
    return std::wstring(path) + L" is no longer available.";
}

namespace {
const wchar_t* ProblemText(PictureProblem problem) {
    switch (problem) {
    case PictureProblem::TooLarge:
        return L"it is too large";
    case PictureProblem::Damaged:
        return L"it is damaged";
    default:
        return L"it is not a picture this program reads";
    }
}
} // namespace

std::wstring UnshownImageMessage(std::wstring_view path, PictureProblem problem) {
    return std::wstring(path) + L" cannot be shown: " + ProblemText(problem) + L".";
}

std::wstring UnusableWallpaperMessage(std::wstring_view path, PictureProblem problem) {
    return std::wstring(path) + L" cannot be made the wallpaper: " + ProblemText(problem) + L".";
}

std::wstring WallpaperBitmapNotWrittenMessage(std::wstring_view bitmapPath) {
    return L"The wallpaper bitmap " + std::wstring(bitmapPath) +
           L" could not be written; the wallpaper is unchanged.";
}

std::wstring WallpaperNotSetMessage(std::wstring_view path) {
    if (path.empty())
        return L"Windows did not remove the wallpaper.";
    return L"Windows did not take " + std::wstring(path) + L" as the wallpaper; the wallpaper is unchanged.";
}

IntSize ResampleSize(IntSize image, IntSize screen, bool proportional, IntSize requested) {
    if (!requested.empty())
        return requested;
    if (!proportional || image.empty() || screen.empty())
        return screen;
    const double ia = static_cast<double>(image.width) / image.height;
    const double sa = static_cast<double>(screen.width) / screen.height;
    IntSize size = screen;
    if (ia < sa)
        size.width = std::max(1, RoundToInt(screen.width / sa * ia));
    else if (ia > sa)
        size.height = std::max(1, RoundToInt(screen.height / ia * sa));
    return size;
}

} // namespace tessary
