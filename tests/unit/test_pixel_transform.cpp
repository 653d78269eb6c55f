#include "imaging/PixelTransform.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>

using namespace tessary;

namespace {

// Where the source pixel (x, y) of a w x h picture lands, written forward from what each transform
// means on screen (the code under test walks the other way, from destination to source).
void Forward(PixelTransform t, int w, int h, int x, int y, int& u, int& v) {
    switch (t) {
    case PixelTransform::None:
        u = x, v = y;
        break;
    case PixelTransform::FlipHorizontal:
        u = w - 1 - x, v = y;
        break;
    case PixelTransform::Rotate180:
        u = w - 1 - x, v = h - 1 - y;
        break;
    case PixelTransform::FlipVertical:
        u = x, v = h - 1 - y;
        break;
    case PixelTransform::Transpose:
        u = y, v = x;
        break;
    case PixelTransform::Rotate90:
        u = h - 1 - y, v = x;
        break; // the top row becomes the right column
    case PixelTransform::Transverse:
        u = h - 1 - y, v = w - 1 - x;
        break;
    case PixelTransform::Rotate270:
        u = y, v = w - 1 - x;
        break; // the top row becomes the left column
    }
}

} // namespace

// Every transform on pictures that are single rows, single columns, odd-sized and larger than one
// cache tile, read from a padded source: every pixel must land where the transform puts it.
TEST(PixelTransform, EveryPixelLandsWhereTheTransformPutsIt) {
    const int sizes[][2] = {{1, 1}, {5, 1}, {1, 4}, {3, 2}, {131, 70}};
    for (int code = 1; code <= 8; ++code) {
        const PixelTransform t = TransformFromExifOrientation(code);
        for (const auto& size : sizes) {
            const int w = size[0], h = size[1], stride = w + 3;
            std::vector<std::uint32_t> src(static_cast<std::size_t>(stride) * h, 0xDEADBEEF);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    src[static_cast<std::size_t>(y) * stride + x] = static_cast<std::uint32_t>(y << 16 | x);
            int dw = 0, dh = 0;
            const auto dst = TransformedPixels({src.data(), w, h, stride}, t, dw, dh);
            ASSERT_EQ(dw, SwapsSides(t) ? h : w) << code;
            ASSERT_EQ(dh, SwapsSides(t) ? w : h) << code;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    int u = 0, v = 0;
                    Forward(t, w, h, x, y, u, v);
                    ASSERT_EQ(dst[static_cast<std::size_t>(v) * dw + u],
                              static_cast<std::uint32_t>(y << 16 | x))
                        << "transform " << code << " size " << w << "x" << h << " pixel " << x << "," << y;
                }
        }
    }
    EXPECT_EQ(TransformFromExifOrientation(0), PixelTransform::None);
    EXPECT_EQ(TransformFromExifOrientation(9), PixelTransform::None);
}

TEST(PixelTransform, RefusesADestinationOfTheWrongSize) {
    std::vector<std::uint32_t> src(6, 1), dst(6, 7);
    EXPECT_FALSE(TransformPixels({src.data(), 3, 2, 3}, {dst.data(), 3, 2, 3}, PixelTransform::Rotate90));
    EXPECT_EQ(dst, std::vector<std::uint32_t>(6, 7));
    EXPECT_TRUE(TransformPixels({src.data(), 3, 2, 3}, {dst.data(), 2, 3, 2}, PixelTransform::Rotate90));
}
