#include "wallpaper/PreviewGeometry.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <utility>

using namespace tessary;

namespace {

constexpr IntSize kScreen{1024, 768};
constexpr IntSize kPreview{256, 192};

::testing::AssertionResult Is(const IntRect& r, int x, int y, int w, int h) {
    if (r.left == x && r.top == y && r.width() == w && r.height() == h)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << r.left << "," << r.top << " " << r.width() << " x " << r.height();
}

PreviewCopies Layout(WallpaperMode mode, int w, int h) {
    return ComputePreviewCopies(mode, {w, h}, kScreen, kPreview);
}

} // namespace

TEST(WallpaperPreview, ReductionFactorAndBuffer) {
    EXPECT_EQ(PreviewReductionFactor(799), 1);
    EXPECT_EQ(PreviewReductionFactor(800), 2);
    EXPECT_EQ(PreviewBufferSize({2048, 1536}), (IntSize{410, 307}));
    // Halves go to the even neighbour: 1.5 -> 2, 3.5 -> 4.
    EXPECT_EQ(PreviewBufferSize({800, 3}), (IntSize{400, 2}));
    EXPECT_EQ(PreviewBufferSize({800, 7}), (IntSize{400, 4}));
    // 4000 x 1 reduces by 10; a zero-high buffer would draw nothing at all.
    EXPECT_EQ(PreviewBufferSize({4000, 1}), (IntSize{400, 1}));
    EXPECT_EQ(PreviewBufferSize({100, 0}), (IntSize{}));
}

TEST(WallpaperPreview, CenteredFollowsTheFullImageSize) {
    // Larger than the screen reaches past the edges, cropped on the sides only when shorter.
    EXPECT_TRUE(Is(Layout(WallpaperMode::Centered, 2048, 384).first, -128, 48, 512, 96));
    // (1024 - 1018) / 2 / 4 = 0.75 -> 1; 0.5 -> 0; 1.5 -> 2.
    EXPECT_TRUE(Is(Layout(WallpaperMode::Centered, 1018, 768).first, 1, 0, 254, 192));
    EXPECT_TRUE(Is(Layout(WallpaperMode::Centered, 1020, 768).first, 0, 0, 256, 192));
    EXPECT_TRUE(Is(Layout(WallpaperMode::Centered, 1012, 768).first, 2, 0, 252, 192));
    // Less than a preview pixel: an empty copy in the middle, never a negative size.
    EXPECT_TRUE(Is(Layout(WallpaperMode::Centered, 1, 1).first, 128, 96, 0, 0));
    // Another screen: 640 x 512 on 1280 x 1024 is half the preview.
    EXPECT_TRUE(Is(ComputePreviewCopies(WallpaperMode::Centered, {640, 512}, {1280, 1024}, kPreview).first,
                   64, 48, 128, 96));
}

TEST(WallpaperPreview, StretchedOnceAndTiledToTheFarEdges) {
    auto s = Layout(WallpaperMode::Stretched, 5000, 100);
    EXPECT_EQ(s.count(), 1);
    EXPECT_TRUE(Is(s.first, 0, 0, 256, 192));
    auto t = Layout(WallpaperMode::Tiled, 100, 50);
    EXPECT_TRUE(Is(t.first, 0, 0, 25, 12));
    EXPECT_EQ(t.columns, 11); // 0 .. 250
    EXPECT_EQ(t.rows, 17);    // 0 .. 192
    EXPECT_TRUE(Is(t.at(10, 16), 250, 192, 25, 12));
    // A 1 x 1 image or a thin strip would give a tile of 0 pixels and a grid that never advances.
    t = Layout(WallpaperMode::Tiled, 1, 1);
    EXPECT_TRUE(Is(t.first, 0, 0, 1, 1));
    EXPECT_EQ(t.columns, 257);
    t = Layout(WallpaperMode::Tiled, 4000, 1);
    EXPECT_TRUE(Is(t.first, 0, 0, 1000, 1));
    EXPECT_EQ(t.rows, 193);
    for (auto mode : {WallpaperMode::Centered, WallpaperMode::Stretched, WallpaperMode::Tiled}) {
        EXPECT_EQ(ComputePreviewCopies(mode, {0, 10}, kScreen, kPreview).count(), 0);
        EXPECT_EQ(ComputePreviewCopies(mode, {10, 10}, {0, 0}, kPreview).count(), 0);
    }
}

TEST(WallpaperPreview, FitAndFillOnPortraitAndPanorama) {
    struct Case {
        WallpaperMode mode;
        int w, h;
        IntRect expected;
    };
    const Case cases[] = {
        // 600 x 1200 fits as 384 x 768, fills as 1024 x 2048.
        {WallpaperMode::Fit, 600, 1200, {80, 0, 176, 192}},
        {WallpaperMode::Fill, 600, 1200, {0, -160, 256, 352}},
        // 3000 x 500 fits as 1024 x 170.67 (bars of 74.67 -> 75), fills as 4608 x 768.
        {WallpaperMode::Fit, 3000, 500, {0, 75, 256, 117}},
        {WallpaperMode::Fill, 3000, 500, {-448, 0, 704, 192}},
        // 1 x 10000: fitted it is far thinner than a preview pixel but keeps one; filled it is
        // 10,240,000 screen pixels high and still centred.
        {WallpaperMode::Fit, 1, 10000, {127, 0, 128, 192}},
        {WallpaperMode::Fill, 1, 10000, {0, -1279904, 256, 1280096}},
    };
    for (const Case& c : cases) {
        const PreviewCopies p = Layout(c.mode, c.w, c.h);
        EXPECT_EQ(p.count(), 1);
        EXPECT_TRUE(Is(p.first, c.expected.left, c.expected.top, c.expected.width(), c.expected.height()))
            << c.w << " x " << c.h;
    }
    for (auto mode : {WallpaperMode::Fit, WallpaperMode::Fill, WallpaperMode::Span})
        EXPECT_EQ(ComputePreviewCopies(mode, {10, 10}, {0, 0}, kPreview).count(), 0);
}

TEST(WallpaperPreview, SpanShowsThisMonitorsPartOfTheBoundingBox) {
    // 1024 x 768 primary with a 1280 x 1024 monitor to its right: the box is 2304 x 1024, and a
    // picture of that shape covers it exactly.
    EXPECT_TRUE(Is(
        ComputePreviewCopies(WallpaperMode::Span, {2304, 1024}, kScreen, kPreview, {0, 0, 2304, 1024}).first,
        0, 0, 576, 256));
    // On the second screen (preview scale 0.2 x 0.1875) the picture starts 1024 pixels to the left.
    EXPECT_TRUE(Is(ComputePreviewCopies(WallpaperMode::Span, {2304, 1024}, {1280, 1024}, kPreview,
                                        {-1024, 0, 1280, 1024})
                       .first,
                   -205, 0, 461, 192));
    // One monitor alone: Span is Fill.
    EXPECT_TRUE(Is(Layout(WallpaperMode::Span, 3000, 500).first, -448, 0, 1152, 192));
}

TEST(WallpaperResample, ProportionalFitsTheScreenRoundingHalvesToEven) {
    EXPECT_EQ(ResampleSize({1000, 500}, kScreen, true), (IntSize{1024, 512}));
    EXPECT_EQ(ResampleSize({1280, 1024}, kScreen, true), (IntSize{960, 768}));
    EXPECT_EQ(ResampleSize({3, 2}, kScreen, true), (IntSize{1024, 683}));            // 682.67
    EXPECT_EQ(ResampleSize({4, 1}, {1026, 512}, true), (IntSize{1026, 256}));        // 256.5
    EXPECT_EQ(ResampleSize({4, 1}, {1030, 512}, true), (IntSize{1030, 258}));        // 257.5
    EXPECT_EQ(ResampleSize({1027, 2048}, {1024, 1024}, true), (IntSize{514, 1024})); // 513.5
}

TEST(WallpaperResample, StretchAndRequestedSizes) {
    EXPECT_EQ(ResampleSize({1000, 500}, kScreen, false), kScreen);
    EXPECT_EQ(ResampleSize({1000, 500}, kScreen, true, {300, 200}), (IntSize{300, 200}));
    EXPECT_EQ(ResampleSize({1000, 500}, kScreen, true, {300, 0}), (IntSize{1024, 512})); // below 1: computed
    EXPECT_EQ(ResampleSize({0, 0}, kScreen, true), kScreen);                             // no size to measure
    EXPECT_EQ(RoundToInt(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundToInt(std::nan("")), 0);
    EXPECT_EQ(RoundToInt(std::numeric_limits<double>::infinity()), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundToInt(-std::numeric_limits<double>::infinity()), std::numeric_limits<int>::min());
}
