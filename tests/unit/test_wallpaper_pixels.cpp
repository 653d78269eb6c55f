#include "wallpaper/PreviewPixels.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>

using namespace tessary;

namespace {

std::uint32_t ReadLE(const std::vector<unsigned char>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

} // namespace

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

TEST(WallpaperPixels, BitmapFileIsBottomUpBgrWithPaddedRows) {
    // 3 x 2, stride 4 (the fourth word of each row must not be written out).
    const std::vector<std::uint32_t> px = {0xFF010203u, 0xFF040506u, 0xFF070809u, 0xDEADBEEFu,
                                           0x000A0B0Cu, 0xFF0D0E0Fu, 0xFF101112u, 0xDEADBEEFu};
    const auto bmp = EncodeBmp24({px.data(), 3, 2, 4});
    const std::size_t rowBytes = 12; // 9 bytes padded to a multiple of 4
    ASSERT_EQ(bmp.size(), 54 + 2 * rowBytes);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(ReadLE(bmp, 2, 4), bmp.size());
    EXPECT_EQ(ReadLE(bmp, 10, 4), 54u);
    EXPECT_EQ(ReadLE(bmp, 14, 4), 40u);
    EXPECT_EQ(ReadLE(bmp, 18, 4), 3u);
    EXPECT_EQ(ReadLE(bmp, 22, 4), 2u);
    EXPECT_EQ(ReadLE(bmp, 26, 2), 1u);
    EXPECT_EQ(ReadLE(bmp, 28, 2), 24u);
    EXPECT_EQ(ReadLE(bmp, 30, 4), 0u); // uncompressed
    EXPECT_EQ(ReadLE(bmp, 34, 4), 2 * rowBytes);
    // The file starts with the bottom row, blue first.
    const std::vector<unsigned char> bottom = {0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0x12, 0x11, 0x10, 0, 0, 0};
    const std::vector<unsigned char> top = {0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0x09, 0x08, 0x07, 0, 0, 0};
    EXPECT_EQ(std::vector<unsigned char>(bmp.begin() + 54, bmp.begin() + 66), bottom);
    EXPECT_EQ(std::vector<unsigned char>(bmp.begin() + 66, bmp.end()), top);
}

TEST(WallpaperPixels, NoBitmapFileForAnEmptyView) {
    const std::uint32_t p = 0;
    EXPECT_TRUE(EncodeBmp24({nullptr, 2, 2, 2}).empty());
    EXPECT_TRUE(EncodeBmp24({&p, 0, 1, 1}).empty());
    EXPECT_TRUE(EncodeBmp24({&p, 2, 1, 1}).empty()); // stride shorter than a row
    EXPECT_EQ(EncodeBmp24({&p, 1, 1, 1}).size(), 54u + 4u);
}
