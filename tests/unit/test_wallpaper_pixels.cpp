#include "imaging/PixelOps.h"
#include "wallpaper/PreviewPixels.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>

using namespace tessary;

TEST(WallpaperPixels, ColourConversionsAndBlending) {
    EXPECT_EQ(PixelFromColorRef(0x00112233u), 0xFF332211u);
    // Over blue: transparent red, opaque green, half white, just under half black, nearly nothing.
    std::vector<std::uint32_t> px = {0x00FF0000u, 0xFF00FF00u, 0x80FFFFFFu, 0x7F000000u, 0x01FF0000u};
    FlattenOnto(px.data(), px.size(), 0xFF0000FFu);
    EXPECT_EQ(px,
              (std::vector<std::uint32_t>{0xFF0000FFu, 0xFF00FF00u, 0xFF8080FFu, 0xFF000080u, 0xFF0100FEu}));
    // Premultiplied colour never exceeds alpha.
    px = {0x80FFFFFFu, 0x00FFFFFFu, 0xFF123456u, 0x40804020u};
    Premultiply(px.data(), px.size());
    EXPECT_EQ(px, (std::vector<std::uint32_t>{0x80808080u, 0u, 0xFF123456u, 0x40201008u}));
    // Opaque, leaving row padding alone.
    px = {0x00102030u, 0x7F405060u, 0x00ABCDEFu, 0x00000001u, 0xFF000002u, 0x00ABCDEFu};
    MakeOpaque({px.data(), 2, 2, 3});
    EXPECT_EQ(px, (std::vector<std::uint32_t>{0xFF102030u, 0xFF405060u, 0x00ABCDEFu, 0xFF000001u, 0xFF000002u,
                                              0x00ABCDEFu}));
}

TEST(WallpaperPixels, TilesRepeatToTheEdgesAndAreCropped) {
    const std::vector<std::uint32_t> tile = {1, 2, 3, 4}; // 2 x 2
    std::vector<std::uint32_t> dst(5 * 5, 0);
    DrawTiles({tile.data(), 2, 2, 2}, {dst.data(), 5, 5, 5}, PreviewCopies{{0, 0, 2, 2}, 3, 3});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(dst[static_cast<std::size_t>(y * 5 + x)],
                      tile[static_cast<std::size_t>((y % 2) * 2 + x % 2)])
                << x << "," << y;
    // A copy of 4 x 4 on a 3 x 3 surface (stride 4): the tile needs only the visible part.
    const std::vector<std::uint32_t> nine = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    dst.assign(12, 0xEE);
    DrawTiles({nine.data(), 3, 3, 3}, {dst.data(), 3, 3, 4}, PreviewCopies{{0, 0, 4, 4}, 1, 1});
    EXPECT_EQ(dst, (std::vector<std::uint32_t>{1, 2, 3, 0xEE, 4, 5, 6, 0xEE, 7, 8, 9, 0xEE}));
    // Starting left of and above the origin.
    dst.assign(4, 0);
    DrawTiles({nine.data(), 3, 3, 3}, {dst.data(), 2, 2, 2}, PreviewCopies{{-1, -1, 2, 2}, 1, 1});
    EXPECT_EQ(dst, (std::vector<std::uint32_t>{5, 6, 8, 9}));
    // Nothing to tile draws nothing.
    DrawTiles({nullptr, 0, 0, 0}, {dst.data(), 2, 2, 2}, PreviewCopies{{0, 0, 1, 1}, 2, 2});
    EXPECT_EQ(dst, (std::vector<std::uint32_t>{5, 6, 8, 9}));
}
