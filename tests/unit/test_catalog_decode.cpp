#include "imaging/BmpFile.h"
#include "imaging/DecodePlan.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <vector>

using namespace tessary;

TEST(ImageHeader, RleBitmapsMustReachTheirLastRow) {
    // A 4 x 3 RLE8 bitmap: one run per row, end of line after each, then end of bitmap.
    std::vector<unsigned char> bmp(54, 0);
    bmp[0] = 'B', bmp[1] = 'M', bmp[10] = 54, bmp[14] = 40, bmp[18] = 4, bmp[22] = 3, bmp[28] = 8,
    bmp[30] = 1;
    const std::vector<unsigned char> rows{4, 1, 0, 0, 4, 2, 0, 0, 4, 3, 0, 0, 0, 1};
    bmp.insert(bmp.end(), rows.begin(), rows.end());
    EXPECT_TRUE(BmpRowsComplete(bmp.data(), bmp.size()));
    // Cut short, or ended two rows early: damaged.
    EXPECT_FALSE(BmpRowsComplete(bmp.data(), bmp.size() - 2));
    auto early = bmp;
    early.erase(early.begin() + 58, early.begin() + 66);
    EXPECT_FALSE(BmpRowsComplete(early.data(), early.size()));
    // A literal run reaching past the end.
    bmp.resize(54);
    for (int v : {0, 5, 1, 2})
        bmp.push_back(static_cast<unsigned char>(v));
    EXPECT_FALSE(BmpRowsComplete(bmp.data(), bmp.size()));
}

TEST(ScaledDecode, ReducedPixelsAverageTheAreaTheyStandFor) {
    // A grey ramp of 301 pixels decoded at 1/4 is 76 pixels standing for 75.25 (libjpeg pads the
    // last block with the edge pixel); mapped onto 60 pixels it gives what the whole ramp reduced gives.
    std::vector<std::uint32_t> ramp(301), decoded(76), direct(60), scaled(60);
    for (int x = 0; x < 301; ++x)
        ramp[x] = static_cast<std::uint32_t>(x * 255 / 300) * 0x010101u;
    for (int b = 0; b < 76; ++b) {
        std::uint32_t sum = 0;
        for (int k = 0; k < 4; ++k)
            sum += ramp[std::min(4 * b + k, 300)] & 0xFF;
        decoded[b] = (sum + 2) / 4 * 0x010101u;
    }
    ScaleScratch scratch;
    ScalePixels({ramp.data(), 301, 1, 301}, {0, 0, 301, 1}, {direct.data(), 60, 1, 60}, {0, 0, 60, 1},
                ScaleFilter::AreaAverage, scratch);
    const DecodeMapping m = ScaledDecodeMapping(301, 1, 4, 60, 1);
    ScalePixels({decoded.data(), 76, 1, 76}, m.source, {scaled.data(), 60, 1, 60}, m.dest,
                ScaleFilter::AreaAverage, scratch);
    for (int i = 0; i < 60; ++i)
        EXPECT_NEAR(static_cast<int>(scaled[i] & 0xFF), static_cast<int>(direct[i] & 0xFF), 1) << i;
}

TEST(BmpFile, HeaderRowsAndPadding) {
    // 3 x 2 pixels in a buffer 4 pixels wide: rows of 9 bytes padded to 12, stored bottom-up.
    const std::uint32_t px[] = {0xFF102030, 0xFF405060, 0xFF708090, 0xDEADBEEF,
                                0x00A0B0C0, 0xFFD0E0F0, 0xFF010203, 0xDEADBEEF};
    auto bmp = EncodeBmp24(px, 3, 2, 4);
    ASSERT_EQ(bmp.size(), 14u + 40u + 24u);
    auto le32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(bmp[at] | (bmp[at + 1] << 8) | (bmp[at + 2] << 16) |
                                          (static_cast<std::uint32_t>(bmp[at + 3]) << 24));
    };
    EXPECT_EQ(le32(2), bmp.size());
    EXPECT_EQ(le32(10), 54u);
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(le32(30), 0u); // uncompressed
    // First stored row is the bottom one (B, G, R order), then padding.
    const unsigned char bottom[] = {0xC0, 0xB0, 0xA0, 0xF0, 0xE0, 0xD0, 0x03, 0x02, 0x01, 0, 0, 0};
    const unsigned char top[] = {0x30, 0x20, 0x10, 0x60, 0x50, 0x40, 0x90, 0x80, 0x70, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bmp.data() + 54, bottom, 12), 0);
    EXPECT_EQ(std::memcmp(bmp.data() + 66, top, 12), 0);
    // It reads back as a BMP of its size.
    auto probed = ProbeImageHeader(bmp.data(), bmp.size());
    EXPECT_EQ(probed.format, ImageFormat::Bmp);
    EXPECT_EQ(probed.width, 3);
    EXPECT_EQ(probed.height, 2);
    const std::uint32_t none[4] = {};
    EXPECT_TRUE(EncodeBmp24(nullptr, 1, 1, 1).empty());
    EXPECT_TRUE(EncodeBmp24(none, 2, 1, 1).empty());             // stride below width
    EXPECT_TRUE(EncodeBmp24(none, 40000, 40000, 40000).empty()); // over 2 GB
    EXPECT_EQ(EncodeBmp24(none, 4, 1, 4).size(), 54u + 12u);     // 12 bytes need no padding
}
