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

    IndexedPixels none = ToIndexed(nullptr, 0);
    EXPECT_TRUE(none.palette.empty());
    EXPECT_TRUE(none.indices.empty());
}

TEST(GifPalette, TwoHundredFiftySixColoursStillFitAndOneMoreDoesNot) {
    std::vector<std::uint32_t> px;
    for (std::uint32_t i = 0; i < 256; ++i)
        px.push_back(0xFF000000u | i << 8 | 7);
    IndexedPixels fit = ToIndexed(px.data(), px.size());
    ASSERT_EQ(fit.palette.size(), 256u);
    for (size_t i = 0; i < px.size(); ++i)
        ASSERT_EQ(fit.palette[fit.indices[i]], px[i]);

    px.push_back(0xFF808080u);
    IndexedPixels cube = ToIndexed(px.data(), px.size());
    ASSERT_EQ(cube.palette.size(), 216u);
    EXPECT_EQ(cube.palette[0], 0xFF000000u);
    EXPECT_EQ(cube.palette[215], 0xFFFFFFFFu);
    // 0x80 = 128 lies nearest to level 3 (153), 7 to level 0, 0xFF to level 5.
    EXPECT_EQ(cube.palette[cube.indices[256]], 0xFF999999u);
    EXPECT_EQ(cube.palette[cube.indices[255]], 0xFF00FF00u); // g 255, b 7
    EXPECT_EQ(cube.palette[cube.indices[26]], 0xFF003300u);  // g 26 rounds up to 51, not down to 0
    EXPECT_EQ(cube.palette[cube.indices[25]], 0xFF000000u);  // g 25 rounds down
}

TEST(GifPalette, CubeLevelsRoundToTheNearest) {
    EXPECT_EQ(CubeLevel(0), 0);
    EXPECT_EQ(CubeLevel(25), 0);
    EXPECT_EQ(CubeLevel(26), 1);
    EXPECT_EQ(CubeLevel(127), 2);
    EXPECT_EQ(CubeLevel(128), 3);
    EXPECT_EQ(CubeLevel(229), 4);
    EXPECT_EQ(CubeLevel(230), 5);
    EXPECT_EQ(CubeLevel(255), 5);
}
