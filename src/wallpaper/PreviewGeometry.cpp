#include "wallpaper/PreviewGeometry.h"
#include "app/SettingsText.h" // RoundHalfEven
#include <algorithm>
#include <cmath>
#include <limits>

namespace tessary {

int RoundToInt(double value) {
    if (std::isnan(value))
        return 0;
    const double r = RoundHalfEven(value);
    if (r <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (r >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(r);
}

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

PreviewCopies ComputePreviewCopies(WallpaperMode mode, IntSize image, IntSize screen, IntSize preview) {
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
    case WallpaperMode::Centered:
        break;
    }
    // Far beyond any surface GDI can address, and small enough that pw - x cannot overflow.
    constexpr int kLimit = 1 << 28;
    const int x = std::clamp(RoundToInt((sw - image.width) / 2 * pw / sw), -kLimit, kLimit);
    const int y = std::clamp(RoundToInt((sh - image.height) / 2 * ph / sh), -kLimit, kLimit);
    // pw - 2x rather than a scaled width keeps the copy centred on the preview to the pixel.
    return {{x, y, pw - x, ph - y}, 1, 1};
}

std::wstring MissingImageMessage(std::wstring_view path) {
    return std::wstring(path) + L" is no longer available.";
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
