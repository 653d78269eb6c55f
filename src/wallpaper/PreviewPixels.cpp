#include "wallpaper/PreviewPixels.h"
#include <algorithm>
#include <cstring>

namespace tessary {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t Channel(std::uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFFu;
}

// a * b / 255, rounded to nearest.
std::uint32_t MulDiv255(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

} // namespace

std::uint32_t PixelFromColorRef(std::uint32_t colorRef) {
    return kOpaque | ((colorRef & 0xFFu) << 16) | (colorRef & 0xFF00u) | ((colorRef >> 16) & 0xFFu);
}

void FlattenOnto(std::uint32_t* pixels, std::size_t count, std::uint32_t background) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t a = p >> 24;
        if (a == 255)
            continue;
        std::uint32_t out = kOpaque;
        for (int shift = 0; shift <= 16; shift += 8)
            out |= ((Channel(p, shift) * a + Channel(background, shift) * (255 - a) + 127) / 255) << shift;
        pixels[i] = out;
    }
}

void Premultiply(std::uint32_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t a = p >> 24;
        if (a == 255)
            continue;
        std::uint32_t out = a << 24;
        for (int shift = 0; shift <= 16; shift += 8)
            out |= MulDiv255(Channel(p, shift), a) << shift;
        pixels[i] = out;
    }
}

void MakeOpaque(PixelView view) {
    if (!view.pixels)
        return;
    for (int y = 0; y < view.height; ++y) {
        std::uint32_t* row = view.pixels + static_cast<std::ptrdiff_t>(y) * view.stride;
        for (int x = 0; x < view.width; ++x)
            row[x] |= kOpaque;
    }
}

void DrawTiles(ConstPixelView tile, PixelView dst, const PreviewCopies& copies) {
    if (!tile.pixels || !dst.pixels || tile.width < 1 || tile.height < 1)
        return;
    for (int row = 0; row < copies.rows; ++row) {
        for (int column = 0; column < copies.columns; ++column) {
            const IntRect r = copies.at(column, row);
            // The part of this copy that the tile holds and the destination shows.
            const int x0 = std::max(r.left, 0), y0 = std::max(r.top, 0);
            const int x1 = std::min({r.right, r.left + tile.width, dst.width});
            const int y1 = std::min({r.bottom, r.top + tile.height, dst.height});
            if (x0 >= x1 || y0 >= y1)
                continue;
            const std::size_t bytes = static_cast<std::size_t>(x1 - x0) * sizeof(std::uint32_t);
            for (int y = y0; y < y1; ++y)
                std::memcpy(dst.pixels + static_cast<std::ptrdiff_t>(y) * dst.stride + x0,
                            tile.pixels + static_cast<std::ptrdiff_t>(y - r.top) * tile.stride +
                                (x0 - r.left),
                            bytes);
        }
    }
}

} // namespace tessary
