#include "catalog/ThumbGeometry.h"
#include <limits>
#include <string>
#include <gtest/gtest.h>

using namespace tessary;

TEST(ThumbGeometry, ThumbHeightFollowsScreenAspectWithHalvesToEven) {
    EXPECT_EQ(ThumbHeight(100, 1024, 768), 75);
    EXPECT_EQ(ThumbHeight(100, 1920, 1080), 56); // 56.25
    EXPECT_EQ(ThumbHeight(200, 1280, 1024), 160);
    // Only the ratio counts: twips give the same as pixels.
    EXPECT_EQ(ThumbHeight(100, 1024 * 15, 768 * 15), 75);
    // Exact halves: 50 * 3 / 4 = 37.5 -> 38; 70 * 3 / 4 = 52.5 -> 52.
    EXPECT_EQ(ThumbHeight(50, 1024, 768), 38);
    EXPECT_EQ(ThumbHeight(70, 1024, 768), 52);
    EXPECT_EQ(ThumbHeight(100, 0, 768), 0);
}

TEST(ThumbGeometry, CellAddsMarginsAndCaption) {
    EXPECT_EQ(CellSize(100, 75), (IntSize{112, 96}));
    EXPECT_EQ(CellSize(200, 150), (IntSize{212, 171}));
}

TEST(ThumbGeometry, DecodeDivisorAndReducedSource) {
    struct Case {
        int w, h, divisor, srcW, srcH;
    };
    const Case cases[] = {
        {1600, 1200, 8, 200, 150}, // width decides (8 against 7)
        {3000, 400, 15, 200, 27},
        {640, 480, 3, 213, 160},  // both give 3
        {1024, 768, 5, 205, 154}, // 204.8 and 153.6 rounded
        {300, 200, 1, 300, 200},  // small: never reduced
        {400, 100, 2, 200, 50},   // wide enough to reduce
        {100, 320, 2, 50, 160},   // height decides when above 1
        {399, 319, 1, 399, 319},  // just under both thresholds
        {200, 160, 1, 200, 160},
        {500, 1300, 8, 62, 162}, // 62.5 and 162.5 round to even
        {0, 0, 1, 0, 0},         // undecodable
        {30000, 30000, 187, 160, 160},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        EXPECT_EQ(DecodeDivisor(c.w, c.h), c.divisor);
        EXPECT_EQ(ReducedSourceSize(c.w, c.h, c.divisor), (IntSize{c.srcW, c.srcH}));
    }
}

TEST(ThumbGeometry, FitKeepsAspectAndNeverEnlarges) {
    auto fit = FitIntoThumbArea(205, 154, 100, 75);
    ASSERT_TRUE(fit);
    EXPECT_DOUBLE_EQ(fit->height, 75);
    EXPECT_NEAR(fit->width, 99.84, 0.01);
    EXPECT_EQ(FittedPixels(*fit), (IntSize{100, 75}));

    fit = FitIntoThumbArea(200, 27, 100, 75);
    ASSERT_TRUE(fit);
    EXPECT_DOUBLE_EQ(fit->width, 100);
    EXPECT_DOUBLE_EQ(fit->height, 13.5);
    EXPECT_EQ(FittedPixels(*fit), (IntSize{100, 14})); // half to even

    fit = FitIntoThumbArea(60, 40, 100, 75);
    ASSERT_TRUE(fit);
    EXPECT_DOUBLE_EQ(fit->width, 60);
    EXPECT_DOUBLE_EQ(fit->height, 40);

    // Tall and narrow: height decides, width follows.
    fit = FitIntoThumbArea(50, 160, 100, 75);
    ASSERT_TRUE(fit);
    EXPECT_DOUBLE_EQ(fit->height, 75);
    EXPECT_NEAR(fit->width, 23.4375, 1e-9);

    fit = FitIntoThumbArea(0, 0, 100, 75);
    ASSERT_TRUE(fit);
    EXPECT_EQ(FittedPixels(*fit), (IntSize{0, 0}));
    EXPECT_FALSE(FitIntoThumbArea(std::numeric_limits<double>::infinity(), 10, 100, 75));
}

TEST(ThumbGeometry, CellLayoutCentresPictureFrameAndCaption) {
    auto layout = ComputeCellLayout(100, 75, {60, 40});
    EXPECT_EQ(layout.cell.right, 112);
    EXPECT_EQ(layout.cell.bottom, 96);
    EXPECT_EQ(layout.face.left, 1);
    EXPECT_EQ(layout.face.top, 1);
    EXPECT_EQ(layout.face.width(), 110);
    EXPECT_EQ(layout.face.height(), 94);
    EXPECT_EQ(layout.picture.left, 26);
    EXPECT_EQ(layout.picture.top, 24); // 23.5 -> 24
    EXPECT_EQ(layout.picture.width(), 60);
    EXPECT_EQ(layout.picture.height(), 40);
    EXPECT_EQ(layout.frame.left, 24);
    EXPECT_EQ(layout.frame.top, 22); // 21.5 -> 22
    EXPECT_EQ(layout.frame.right, 88);
    EXPECT_EQ(layout.frame.bottom, 66);
    EXPECT_EQ(layout.captionX, 56);
    EXPECT_EQ(layout.captionY, 81);

    // A picture filling the area sits at (6, 6) to (106, 81).
    layout = ComputeCellLayout(100, 75, {100, 75});
    EXPECT_EQ(layout.picture.left, 6);
    EXPECT_EQ(layout.picture.top, 6);
    EXPECT_EQ(layout.picture.right, 106);
    EXPECT_EQ(layout.picture.bottom, 81);

    // Undecodable: no picture, a 4 x 4 frame in the middle.
    layout = ComputeCellLayout(100, 75, {0, 0});
    EXPECT_EQ(layout.picture.width(), 0);
    EXPECT_EQ(layout.frame.width(), 4);
    EXPECT_EQ(layout.frame.height(), 4);
    EXPECT_EQ(layout.frame.left, 54);
    EXPECT_EQ(layout.frame.top, 42); // 41.5 -> 42

    // The frame's far sides follow the rounded near side plus the exact size.
    layout = ComputeCellLayout(100, 75, {99.84, 75});
    EXPECT_EQ(layout.frame.left, 4);
    EXPECT_EQ(layout.frame.right, 108);

    // Odd thumb size: caption centre 33.5 -> 34.
    EXPECT_EQ(ComputeCellLayout(55, 41, {55, 41}).captionX, 34);
}

TEST(ThumbGeometry, CaptionColourTellsScreenMatch) {
    EXPECT_EQ(CaptionColour(1024, 768, 1024, 768), MakeColour(0, 0, 150));
    EXPECT_EQ(CaptionColour(800, 600, 1024, 768), MakeColour(0, 150, 0));
    EXPECT_EQ(CaptionColour(640, 400, 1024, 768), kBlack);
    EXPECT_EQ(CaptionColour(1280, 1024, 1280, 1024), MakeColour(0, 0, 150));
    EXPECT_EQ(CaptionColour(1280, 1024, 1024, 768), kBlack); // 5:4 is not 4:3
    EXPECT_EQ(CaptionColour(1366, 768, 1920, 1080), kBlack);
    EXPECT_EQ(CaptionColour(0, 0, 1024, 768), kBlack);
    EXPECT_EQ(CaptionColour(100, 0, 1024, 768), kBlack);
    EXPECT_EQ(MakeColour(0, 0, 150), 0x960000u);
}

TEST(ThumbGeometry, ColourSplittingAndListTextColour) {
    EXPECT_EQ(ColorToRGBQuad(0x00123456), (RgbQuad{0x12, 0x34, 0x56, 0}));
    EXPECT_EQ(ColorToRGBQuad(0xFF000000), (RgbQuad{0, 0, 0, 0}));
    EXPECT_EQ(ChooseListTextColour(0xFFFFFF), kBlack);
    EXPECT_EQ(ChooseListTextColour(0x000000), kWhite);
    EXPECT_EQ(ChooseListTextColour(0x6A240A), kWhite); // classic highlight blue
    // The boundary is a mean of 128: 384 in total is light, 383 dark.
    EXPECT_EQ(ChooseListTextColour(MakeColour(128, 128, 128)), kBlack);
    EXPECT_EQ(ChooseListTextColour(MakeColour(255, 128, 1)), kBlack);
    EXPECT_EQ(ChooseListTextColour(MakeColour(255, 128, 0)), kWhite);
}

TEST(ThumbGeometry, SliderSnapsDownToMultiplesOfFiveInsideItsRange) {
    EXPECT_EQ(SnapThumbSize(73), 70);
    EXPECT_EQ(SnapThumbSize(70), 70);
    EXPECT_EQ(SnapThumbSize(199), 195);
    EXPECT_EQ(SnapThumbSize(200), 200);
    EXPECT_EQ(SnapThumbSize(0), 50);
    EXPECT_EQ(SnapThumbSize(-7), 50);
    EXPECT_EQ(SnapThumbSize(1000), 200);
}
