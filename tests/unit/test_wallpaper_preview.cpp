#include "wallpaper/PreviewGeometry.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <utility>

using namespace tessary;

namespace {

constexpr IntSize kScreen{1024, 768};
constexpr IntSize kPreview{256, 192};

void ExpectRect(const IntRect& r, int x, int y, int w, int h) {
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    EXPECT_EQ(r.width(), w);
    EXPECT_EQ(r.height(), h);
}

PreviewCopies Layout(WallpaperMode mode, int w, int h) {
    return ComputePreviewCopies(mode, {w, h}, kScreen, kPreview);
}

} // namespace

TEST(WallpaperPreview, ReductionFactorAndBuffer) {
    EXPECT_EQ(PreviewReductionFactor(799), 1);
    EXPECT_EQ(PreviewReductionFactor(800), 2);
    EXPECT_EQ(PreviewReductionFactor(1199), 2);
    EXPECT_EQ(PreviewReductionFactor(2048), 5);
    EXPECT_EQ(PreviewBufferSize({800, 600}), (IntSize{400, 300}));
    EXPECT_EQ(PreviewBufferSize({640, 480}), (IntSize{640, 480}));
    EXPECT_EQ(PreviewBufferSize({1600, 1200}), (IntSize{400, 300}));
    EXPECT_EQ(PreviewBufferSize({2048, 1536}), (IntSize{410, 307}));
    // Halves go to the even neighbour: 1.5 -> 2, 2.5 -> 2, 3.5 -> 4.
    EXPECT_EQ(PreviewBufferSize({800, 3}), (IntSize{400, 2}));
    EXPECT_EQ(PreviewBufferSize({800, 7}), (IntSize{400, 4}));
}

TEST(WallpaperPreview, BufferOfAThinImageKeepsAPixel) {
    // 4000 x 1 reduces by 10; a zero-high buffer would draw nothing at all.
    EXPECT_EQ(PreviewBufferSize({4000, 1}), (IntSize{400, 1}));
    EXPECT_EQ(PreviewBufferSize({0, 100}), (IntSize{}));
    EXPECT_EQ(PreviewBufferSize({100, 0}), (IntSize{}));
}

TEST(WallpaperPreview, CenteredFollowsTheFullImageSize) {
    auto c = Layout(WallpaperMode::Centered, 800, 600);
    ASSERT_EQ(c.count(), 1);
    ExpectRect(c.first, 28, 21, 200, 150);
    ExpectRect(Layout(WallpaperMode::Centered, 640, 480).first, 48, 36, 160, 120);
    ExpectRect(Layout(WallpaperMode::Centered, 1024, 768).first, 0, 0, 256, 192);
}

TEST(WallpaperPreview, CenteredLargerThanTheScreenReachesPastTheEdges) {
    ExpectRect(Layout(WallpaperMode::Centered, 1600, 1200).first, -72, -54, 400, 300);
    ExpectRect(Layout(WallpaperMode::Centered, 2048, 1536).first, -128, -96, 512, 384);
    // Wider than the screen but shorter: cropped left and right only.
    ExpectRect(Layout(WallpaperMode::Centered, 2048, 384).first, -128, 48, 512, 96);
}

TEST(WallpaperPreview, CenteredRoundsHalvesToEven) {
    // (1024 - 1018) / 2 / 4 = 0.75 -> 1; (1024 - 1020) / 2 / 4 = 0.5 -> 0; 1.5 -> 2.
    ExpectRect(Layout(WallpaperMode::Centered, 1018, 768).first, 1, 0, 254, 192);
    ExpectRect(Layout(WallpaperMode::Centered, 1020, 768).first, 0, 0, 256, 192);
    ExpectRect(Layout(WallpaperMode::Centered, 1012, 768).first, 2, 0, 252, 192);
    // Less than a preview pixel: an empty copy in the middle, never a negative size.
    ExpectRect(Layout(WallpaperMode::Centered, 1, 1).first, 128, 96, 0, 0);
    ExpectRect(Layout(WallpaperMode::Centered, 6, 6).first, 127, 95, 2, 2);
}

TEST(WallpaperPreview, StretchedCoversThePreviewOnce) {
    for (auto [w, h] : {std::pair{1, 1}, {800, 600}, {5000, 100}}) {
        auto c = Layout(WallpaperMode::Stretched, w, h);
        ASSERT_EQ(c.count(), 1);
        ExpectRect(c.first, 0, 0, 256, 192);
    }
}

TEST(WallpaperPreview, TiledGridIncludesTheFarEdges) {
    auto t = Layout(WallpaperMode::Tiled, 128, 128);
    ExpectRect(t.first, 0, 0, 32, 32);
    EXPECT_EQ(t.columns, 9); // X = 0, 32, ..., 256
    EXPECT_EQ(t.rows, 7);    // Y = 0, 32, ..., 192
    ExpectRect(t.at(8, 6), 256, 192, 32, 32);
    ExpectRect(t.at(3, 2), 96, 64, 32, 32);

    t = Layout(WallpaperMode::Tiled, 100, 50);
    ExpectRect(t.first, 0, 0, 25, 12);
    EXPECT_EQ(t.columns, 11); // 0 .. 250
    EXPECT_EQ(t.rows, 17);    // 0 .. 192
    ExpectRect(t.at(10, 16), 250, 192, 25, 12);
}

TEST(WallpaperPreview, TilingATinyImageEnds) {
    // A 1 x 1 or 2 x 2 image would give a tile of 0 pixels and a grid that never advances.
    for (int n : {1, 2}) {
        auto t = Layout(WallpaperMode::Tiled, n, n);
        EXPECT_EQ(t.first.width(), 1);
        EXPECT_EQ(t.first.height(), 1);
        EXPECT_EQ(t.columns, 257);
        EXPECT_EQ(t.rows, 193);
    }
    // A long thin strip has a zero-high tile too.
    auto t = Layout(WallpaperMode::Tiled, 4000, 1);
    EXPECT_EQ(t.first.width(), 1000);
    EXPECT_EQ(t.first.height(), 1);
    EXPECT_EQ(t.columns, 1);
    EXPECT_EQ(t.rows, 193);
}

TEST(WallpaperPreview, NothingToDrawForEmptySizes) {
    for (auto mode : {WallpaperMode::Centered, WallpaperMode::Stretched, WallpaperMode::Tiled}) {
        EXPECT_EQ(ComputePreviewCopies(mode, {0, 10}, kScreen, kPreview).count(), 0);
        EXPECT_EQ(ComputePreviewCopies(mode, {10, 10}, {0, 0}, kPreview).count(), 0);
        EXPECT_EQ(ComputePreviewCopies(mode, {10, 10}, kScreen, {0, 192}).count(), 0);
    }
}

TEST(WallpaperPreview, OtherScreenSizesScaleTheSameWay) {
    // 1280 x 1024 screen: 640 x 512 is half the screen, so half the preview, centred.
    auto c = ComputePreviewCopies(WallpaperMode::Centered, {640, 512}, {1280, 1024}, kPreview);
    ExpectRect(c.first, 64, 48, 128, 96);
    auto t = ComputePreviewCopies(WallpaperMode::Tiled, {640, 512}, {1280, 1024}, kPreview);
    ExpectRect(t.first, 0, 0, 128, 96);
    EXPECT_EQ(t.columns, 3);
    EXPECT_EQ(t.rows, 3);
}

TEST(WallpaperPreview, MissingImageMessage) {
    EXPECT_EQ(MissingImageMessage(L"C:\\Pics\\gone.jpg"), L"C:\\Pics\\gone.jpg is no longer available.");
}

TEST(WallpaperResample, ProportionalFitsTheScreen) {
    EXPECT_EQ(ResampleSize({1000, 500}, kScreen, true), (IntSize{1024, 512}));
    EXPECT_EQ(ResampleSize({500, 1000}, kScreen, true), (IntSize{384, 768}));
    EXPECT_EQ(ResampleSize({1280, 1024}, kScreen, true), (IntSize{960, 768}));
    EXPECT_EQ(ResampleSize({3000, 1}, kScreen, true), (IntSize{1024, 1}));
    EXPECT_EQ(ResampleSize({1, 3000}, kScreen, true), (IntSize{1, 768}));
}

TEST(WallpaperResample, ProportionalRoundsHalvesToEven) {
    // Wider than the screen's shape: height = 1024 * 2 / 3 = 682.67 -> 683.
    EXPECT_EQ(ResampleSize({3, 2}, kScreen, true), (IntSize{1024, 683}));
    // 1366 x 768 screen, image 5 x 4: width = 768 * 1.25 = 960 exactly.
    EXPECT_EQ(ResampleSize({5, 4}, {1366, 768}, true), (IntSize{960, 768}));
    // Width 768 * 1001 / 1000 = 768.768 -> 769; 768 * 0.5 = 384 stays.
    EXPECT_EQ(ResampleSize({1001, 1000}, kScreen, true), (IntSize{769, 768}));
    // Exact halves (sizes chosen so the doubles are exact): 256.5 -> 256, 257.5 -> 258 ...
    EXPECT_EQ(ResampleSize({4, 1}, {1026, 512}, true), (IntSize{1026, 256}));
    EXPECT_EQ(ResampleSize({4, 1}, {1030, 512}, true), (IntSize{1030, 258}));
    // ... and across: 512.5 -> 512, 513.5 -> 514.
    EXPECT_EQ(ResampleSize({1025, 2048}, {1024, 1024}, true), (IntSize{512, 1024}));
    EXPECT_EQ(ResampleSize({1027, 2048}, {1024, 1024}, true), (IntSize{514, 1024}));
}

TEST(WallpaperResample, StretchAndRequestedSizes) {
    EXPECT_EQ(ResampleSize({1000, 500}, kScreen, false), kScreen);
    EXPECT_EQ(ResampleSize({1, 1}, kScreen, false), kScreen);
    EXPECT_EQ(ResampleSize({1000, 500}, kScreen, true, {300, 200}), (IntSize{300, 200}));
    EXPECT_EQ(ResampleSize({1000, 500}, kScreen, false, {300, 200}), (IntSize{300, 200}));
    // One side below 1 asks for the computed size.
    EXPECT_EQ(ResampleSize({1000, 500}, kScreen, true, {300, 0}), (IntSize{1024, 512}));
    // An image of no size cannot be measured: the screen size is used.
    EXPECT_EQ(ResampleSize({0, 0}, kScreen, true), kScreen);
}

TEST(WallpaperResample, RoundingHelperClampsToTheIntRange) {
    EXPECT_EQ(RoundToInt(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundToInt(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(RoundToInt(std::nan("")), 0);
}
