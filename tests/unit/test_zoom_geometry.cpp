#include "viewer/ZoomGeometry.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace tessary;

TEST(ZoomGeometry, ImagesFitIntoNinetyFivePercentAndAreNeverEnlarged) {
    EXPECT_EQ(ZoomDrawnSize({16, 9}, {1280, 1024}), (IntSize{16, 9}));
    // 95 % of 1280 x 1024 is 1216 x 972.8.
    EXPECT_EQ(ZoomFitFactor({1216, 100}, {1280, 1024}), 1.0);
    EXPECT_GT(ZoomFitFactor({1217, 100}, {1280, 1024}), 1.0);
    EXPECT_EQ(ZoomDrawnSize({100, 973}, {1280, 1024}).height, 973); // 972.8 rounds up
    EXPECT_EQ(ZoomDrawnSize({100, 974}, {1280, 1024}).height, 973);
    // The tighter side decides.
    EXPECT_EQ(ZoomDrawnSize({4000, 3000}, {1600, 1200}), (IntSize{1520, 1140}));
    EXPECT_EQ(ZoomDrawnSize({1000, 4000}, {1280, 1024}), (IntSize{243, 973}));
    EXPECT_EQ(ZoomDrawnSize({4000, 1000}, {1280, 1024}), (IntSize{1216, 304}));
    EXPECT_EQ(ZoomDrawnSize({1, 100000}, {1280, 1024}), (IntSize{1, 973})); // keeps a pixel
    EXPECT_EQ(ZoomDrawnSize({800, 600}, {0, 0}), (IntSize{800, 600}));      // no work area measured
}

TEST(ZoomGeometry, RequestedClientSizeStretchesAndShowsInThePercentage) {
    EXPECT_EQ(ZoomDrawnSize({800, 600}, {1280, 1024}, {400, 500}), (IntSize{400, 500}));
    EXPECT_EQ(ZoomDrawnSize({4000, 3000}, {1600, 1200}, {0, 500}),
              (IntSize{1520, 1140}));                            // 0: the viewer chooses
    EXPECT_DOUBLE_EQ(ZoomPercent({800, 600}, {400, 600}), 75.0); // the mean of both scales
    EXPECT_NEAR(ZoomPercent({1000, 4000}, {243, 973}), 24.3125, 1e-9);
}

TEST(ZoomGeometry, CentredInTheWorkAreaIncludingItsOrigin) {
    // A taskbar on the left; a second monitor above.
    EXPECT_EQ(CenterInWorkArea({808, 631}, {60, 0, 1280, 1024}), (IntRect{266, 196, 266 + 808, 196 + 631}));
    EXPECT_EQ(CenterInWorkArea({800, 600}, {0, -1080, 1920, -40}).top, -1080 + 220);
    // Spare 479 -> 239.5 -> 240; spare 477 -> 238.5 -> 238.
    EXPECT_EQ(CenterInWorkArea({801, 100}, {0, 0, 1280, 1024}).left, 240);
    EXPECT_EQ(CenterInWorkArea({803, 100}, {0, 0, 1280, 1024}).left, 238);
    // A window taller than a small work area starts at its top, not above it.
    EXPECT_EQ(CenterInWorkArea({700, 620}, {100, 50, 900, 650}).top, 50);
}

TEST(ZoomGeometry, ShiftDragKeepsTheImageShape) {
    const IntSize frame{8, 31};
    EXPECT_EQ(AspectLockedHeight(808, 123, frame, 4.0 / 3.0), 631);
    // The whole height is rounded, halves to even: 2.5 + 31 = 33.5 -> 34, 3.5 + 31 = 34.5 -> 34.
    EXPECT_EQ(AspectLockedHeight(13, 0, frame, 2.0), 34);
    EXPECT_EQ(AspectLockedHeight(15, 0, frame, 2.0), 34);
    // No image shape known: the proposal is left alone; never a negative client height.
    EXPECT_EQ(AspectLockedHeight(500, 400, frame, std::nan("")), 400);
    EXPECT_EQ(AspectLockedHeight(500, 400, frame, std::numeric_limits<double>::infinity()), 400);
    EXPECT_EQ(AspectLockedHeight(2, 400, frame, 1.0), 31);
}
