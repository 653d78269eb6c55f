#include "catalog/ThumbGeometry.h"
#include <limits>
#include <string>
#include <gtest/gtest.h>

using namespace tessary;

TEST(ThumbGeometry, ThumbHeightFollowsScreenAspectWithHalvesToEven) {
    EXPECT_EQ(ThumbHeight(100, 1920, 1080), 56);          // 56.25
    EXPECT_EQ(ThumbHeight(100, 1024 * 15, 768 * 15), 75); // only the ratio counts
    // Exact halves: 50 * 3 / 4 = 37.5 -> 38; 70 * 3 / 4 = 52.5 -> 52.
    EXPECT_EQ(ThumbHeight(50, 1024, 768), 38);
    EXPECT_EQ(ThumbHeight(70, 1024, 768), 52);
    EXPECT_EQ(ThumbHeight(100, 0, 768), 0);
    EXPECT_EQ(CellSize(100, 75), (IntSize{112, 96}));
}

TEST(ThumbGeometry, DecodeDivisorAndReducedSource) {
    struct Case {
        int w, h, divisor, srcW, srcH;
    };
    const Case cases[] = {
        {1600, 1200, 8, 200, 150}, // width decides (8 against 7)
        {1024, 768, 5, 205, 154},  // 204.8 and 153.6 rounded
        {300, 200, 1, 300, 200},   // small: never reduced
        {100, 320, 2, 50, 160},    // height decides when above 1
        {399, 319, 1, 399, 319},   // just under both thresholds
        {500, 1300, 8, 62, 162},   // 62.5 and 162.5 round to even
        {0, 0, 1, 0, 0},           // undecodable
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        EXPECT_EQ(DecodeDivisor(c.w, c.h), c.divisor);
        EXPECT_EQ(ReducedSourceSize(c.w, c.h, c.divisor), (IntSize{c.srcW, c.srcH}));
    }
}

TEST(ThumbGeometry, FitKeepsAspectAndNeverEnlarges) {
    auto fit = FitIntoThumbArea(205, 154, 100, 75);
    EXPECT_NEAR(fit->width, 99.84, 0.01);
    EXPECT_EQ(FittedPixels(*fit), (IntSize{100, 75}));
    fit = FitIntoThumbArea(200, 27, 100, 75);
    EXPECT_EQ(FittedPixels(*fit), (IntSize{100, 14})); // 13.5: half to even
    fit = FitIntoThumbArea(50, 160, 100, 75);          // tall and narrow: height decides
    EXPECT_NEAR(fit->width, 23.4375, 1e-9);
    fit = FitIntoThumbArea(60, 40, 100, 75);
    EXPECT_EQ(FittedPixels(*fit), (IntSize{60, 40}));
    EXPECT_EQ(FittedPixels(*FitIntoThumbArea(0, 0, 100, 75)), (IntSize{0, 0}));
    EXPECT_FALSE(FitIntoThumbArea(std::numeric_limits<double>::infinity(), 10, 100, 75));
}

TEST(ThumbGeometry, CellLayoutCentresPictureFrameAndCaption) {
    auto layout = ComputeCellLayout(100, 75, {60, 40});
    EXPECT_EQ(layout.face.left, 1);
    EXPECT_EQ(layout.face.width(), 110);
    EXPECT_EQ(layout.picture.left, 26);
    EXPECT_EQ(layout.picture.top, 24); // 23.5 -> 24
    EXPECT_EQ(layout.frame.top, 22);   // 21.5 -> 22
    EXPECT_EQ(layout.frame.right, 88);
    EXPECT_EQ(layout.captionX, 56);
    EXPECT_EQ(layout.captionY, 81);
    // Undecodable: no picture, a 4 x 4 frame in the middle.
    layout = ComputeCellLayout(100, 75, {0, 0});
    EXPECT_EQ(layout.picture.width(), 0);
    EXPECT_EQ(layout.frame.width(), 4);
    EXPECT_EQ(layout.frame.top, 42); // 41.5 -> 42
    // The frame's far sides follow the rounded near side plus the exact size.
    layout = ComputeCellLayout(100, 75, {99.84, 75});
    EXPECT_EQ(layout.frame.left, 4);
    EXPECT_EQ(layout.frame.right, 108);
    EXPECT_EQ(ComputeCellLayout(55, 41, {55, 41}).captionX, 34); // 33.5 -> 34
}

TEST(ThumbGeometry, CaptionAndListTextColours) {
    EXPECT_EQ(CaptionColour(1280, 1024, 1280, 1024), MakeColour(0, 0, 150));
    EXPECT_EQ(CaptionColour(800, 600, 1024, 768), MakeColour(0, 150, 0));
    EXPECT_EQ(CaptionColour(1280, 1024, 1024, 768), kBlack); // 5:4 is not 4:3
    EXPECT_EQ(CaptionColour(100, 0, 1024, 768), kBlack);
    // The boundary is a mean of 128: 384 in total is light, 383 dark.
    EXPECT_EQ(ChooseListTextColour(MakeColour(255, 128, 1)), kBlack);
    EXPECT_EQ(ChooseListTextColour(MakeColour(255, 128, 0)), kWhite);
}
