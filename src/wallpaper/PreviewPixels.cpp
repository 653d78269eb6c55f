#include "wallpaper/PreviewPixels.h"
#include <algorithm>
#include <cstring>

namespace tessary {

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
