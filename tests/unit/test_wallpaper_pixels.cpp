#include "wallpaper/PreviewPixels.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>

using namespace tessary;

TEST(WallpaperPixels, ColorRefBecomesAnOpaquePixel) {
    EXPECT_EQ(PixelFromColorRef(0x00112233u), 0xFF332211u);
    EXPECT_EQ(PixelFromColorRef(0x000000FFu), 0xFFFF0000u); // pure red
    EXPECT_EQ(PixelFromColorRef(0x00000000u), 0xFF000000u);
}

TEST(WallpaperPixels, TransparentPartsShowTheBackground) {
    const std::uint32_t background = 0xFF0000FFu; // blue
    std::vector<std::uint32_t> px = {
        0x00FF0000u, // fully transparent red: background only
        0xFF00FF00u, // opaque green: unchanged
        0x80FFFFFFu, // half-transparent white over blue
        0x7F000000u, // just under half black over blue
        0x01FF0000u, // nearly invisible red
    };
    FlattenOnto(px.data(), px.size(), background);
    EXPECT_EQ(px[0], 0xFF0000FFu);
    EXPECT_EQ(px[1], 0xFF00FF00u);
    // 255 * 128/255 = 128 from white; blue keeps 255.
    EXPECT_EQ(px[2], 0xFF8080FFu);
    // Black at 127/255 leaves 128/255 of the blue: 128.
    EXPECT_EQ(px[3], 0xFF000080u);
    EXPECT_EQ(px[4], 0xFF0100FEu);
}

TEST(WallpaperPixels, PremultipliedColourNeverExceedsAlpha) {
    std::vector<std::uint32_t> px = {0x80FFFFFFu, 0x00FFFFFFu, 0xFF123456u, 0x40804020u};
    Premultiply(px.data(), px.size());
    EXPECT_EQ(px[0], 0x80808080u);
    EXPECT_EQ(px[1], 0x00000000u);
    EXPECT_EQ(px[2], 0xFF123456u);
    EXPECT_EQ(px[3], 0x40201008u); // 128*64/255 = 32.1, 64*64/255 = 16.06, 32*64/255 = 8.03
    for (std::uint32_t a = 0; a < 256; a += 5) {
        std::uint32_t p = (a << 24) | 0xFFFFFFu;
        Premultiply(&p, 1);
        ASSERT_EQ(p & 0xFFu, a) << a;
    }
}

TEST(WallpaperPixels, MakeOpaqueLeavesRowPaddingAlone) {
    std::vector<std::uint32_t> px = {0x00102030u, 0x7F405060u, 0x00ABCDEFu, // row 0 + padding
                                     0x00000001u, 0xFF000002u, 0x00ABCDEFu};
    MakeOpaque({px.data(), 2, 2, 3});
    EXPECT_EQ(px[0], 0xFF102030u);
    EXPECT_EQ(px[1], 0xFF405060u);
    EXPECT_EQ(px[2], 0x00ABCDEFu);
    EXPECT_EQ(px[3], 0xFF000001u);
    EXPECT_EQ(px[4], 0xFF000002u);
    EXPECT_EQ(px[5], 0x00ABCDEFu);
}

TEST(WallpaperPixels, TilesRepeatToTheEdgesAndAreCropped) {
    const std::vector<std::uint32_t> tile = {1, 2, 3, 4}; // 2 x 2
    std::vector<std::uint32_t> dst(5 * 5, 0);
    PreviewCopies copies{{0, 0, 2, 2}, 3, 3};
    DrawTiles({tile.data(), 2, 2, 2}, {dst.data(), 5, 5, 5}, copies);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(dst[static_cast<std::size_t>(y * 5 + x)],
                      tile[static_cast<std::size_t>((y % 2) * 2 + x % 2)])
                << x << "," << y;
}

TEST(WallpaperPixels, TileSmallerThanItsCopyDrawsOnlyWhatItHolds) {
    // A copy of 4 x 4 on a 3 x 3 surface: the tile needs only the visible 3 x 3 part.
    std::vector<std::uint32_t> tile(9);
    for (std::size_t i = 0; i < tile.size(); ++i)
        tile[i] = static_cast<std::uint32_t>(10 + i);
    std::vector<std::uint32_t> dst(4 * 3, 0xEEu); // stride 4: the last column is padding
    DrawTiles({tile.data(), 3, 3, 3}, {dst.data(), 3, 3, 4}, PreviewCopies{{0, 0, 4, 4}, 1, 1});
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(dst[static_cast<std::size_t>(y * 4 + x)], static_cast<std::uint32_t>(10 + y * 3 + x));
        EXPECT_EQ(dst[static_cast<std::size_t>(y * 4 + 3)], 0xEEu);
    }
}

TEST(WallpaperPixels, CopyStartingLeftAndAboveIsCroppedAtTheOrigin) {
    const std::vector<std::uint32_t> tile = {1, 2, 3, 4, 5, 6, 7, 8, 9}; // 3 x 3
    std::vector<std::uint32_t> dst(2 * 2, 0);
    DrawTiles({tile.data(), 3, 3, 3}, {dst.data(), 2, 2, 2}, PreviewCopies{{-1, -1, 2, 2}, 1, 1});
    EXPECT_EQ(dst, (std::vector<std::uint32_t>{5, 6, 8, 9}));
}

TEST(WallpaperPixels, NothingToTileDrawsNothing) {
    std::vector<std::uint32_t> dst(4, 7);
    const std::uint32_t tile = 1;
    DrawTiles({&tile, 1, 1, 1}, {dst.data(), 2, 2, 2}, PreviewCopies{});
    DrawTiles({nullptr, 0, 0, 0}, {dst.data(), 2, 2, 2}, PreviewCopies{{0, 0, 1, 1}, 2, 2});
    EXPECT_EQ(dst, (std::vector<std::uint32_t>(4, 7)));
}
