// Reduction of 32-bit pixels to a GIF palette.
#include "imaging/GifPalette.h"
#include <gtest/gtest.h>

using namespace tessary;

TEST(GifPalette, FewColoursAreKeptExactly) {
    // Alpha does not make a colour different.
    const std::vector<std::uint32_t> px = {0xFFFF0000, 0xFF00FF00, 0x00FF0000, 0xFF123456, 0xFF00FF00};
    IndexedPixels out = ToIndexed(px.data(), px.size());
    EXPECT_EQ(out.palette, (std::vector<std::uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF123456}));
    EXPECT_EQ(out.indices, (std::vector<std::uint8_t>{0, 1, 0, 2, 1}));
    EXPECT_TRUE(ToIndexed(nullptr, 0).indices.empty());
}

TEST(GifPalette, TwoHundredFiftySixColoursStillFitAndOneMoreGoesToTheCube) {
    std::vector<std::uint32_t> px;
    for (std::uint32_t i = 0; i < 256; ++i)
        px.push_back(0xFF000000u | i << 8 | 7);
    IndexedPixels fit = ToIndexed(px.data(), px.size());
    ASSERT_EQ(fit.palette.size(), 256u);
    EXPECT_EQ(fit.palette[fit.indices[200]], px[200]);
    px.push_back(0xFF808080u);
    IndexedPixels cube = ToIndexed(px.data(), px.size());
    ASSERT_EQ(cube.palette.size(), 216u);
    // 0x80 = 128 lies nearest to level 3 (153), 7 to level 0; g 26 rounds up to 51, 25 down to 0.
    EXPECT_EQ(cube.palette[cube.indices[256]], 0xFF999999u);
    EXPECT_EQ(cube.palette[cube.indices[26]], 0xFF003300u);
    EXPECT_EQ(cube.palette[cube.indices[25]], 0xFF000000u);
}
