#include "viewer/ZoomGeometry.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace tessary;

TEST(ZoomGeometry, ImagesThatFitAreShownAtFullSize) {
    EXPECT_EQ(ZoomFitFactor({800, 600}, {1280, 1024}), 1.0);
    EXPECT_EQ(ZoomDrawnSize({800, 600}, {1280, 1024}), (IntSize{800, 600}));
    EXPECT_EQ(ZoomPercent({800, 600}, {800, 600}), 100.0);
    // Never enlarged to fill the screen.
    EXPECT_EQ(ZoomDrawnSize({1, 1}, {1280, 1024}), (IntSize{1, 1}));
    EXPECT_EQ(ZoomDrawnSize({16, 9}, {1280, 1024}), (IntSize{16, 9}));
}

TEST(ZoomGeometry, TheNinetyFivePercentBoundary) {
    // 95 % of 1280 x 1024 is 1216 x 972.8.
    EXPECT_EQ(ZoomDrawnSize({1216, 100}, {1280, 1024}), (IntSize{1216, 100}));
    EXPECT_EQ(ZoomFitFactor({1216, 100}, {1280, 1024}), 1.0);
    EXPECT_GT(ZoomFitFactor({1217, 100}, {1280, 1024}), 1.0);
    EXPECT_EQ(ZoomDrawnSize({1217, 100}, {1280, 1024}).width, 1216);
    EXPECT_EQ(ZoomDrawnSize({100, 972}, {1280, 1024}), (IntSize{100, 972}));
    EXPECT_EQ(ZoomDrawnSize({100, 973}, {1280, 1024}).height, 973); // 972.8 rounds up
    EXPECT_EQ(ZoomDrawnSize({100, 974}, {1280, 1024}).height, 973);
}

TEST(ZoomGeometry, LargeImagesAreReducedByTheTighterSide) {
    // 4000 x 3000 on 1600 x 1200: both sides fit exactly at 1520 x 1140.
    IntSize d = ZoomDrawnSize({4000, 3000}, {1600, 1200});
    EXPECT_EQ(d, (IntSize{1520, 1140}));
    EXPECT_EQ(PercentText(ZoomPercent({4000, 3000}, d), L'.'), L"38.0");

    // 1000 x 4000 on 1280 x 1024: the height decides, s = 4000 / 972.8.
    EXPECT_DOUBLE_EQ(ZoomFitFactor({1000, 4000}, {1280, 1024}), 4000 / 972.8);
    d = ZoomDrawnSize({1000, 4000}, {1280, 1024});
    EXPECT_EQ(d, (IntSize{243, 973}));
    EXPECT_NEAR(ZoomPercent({1000, 4000}, d), 24.3125, 1e-9);
    EXPECT_EQ(PercentText(ZoomPercent({1000, 4000}, d), L'.'), L"24.3");

    // Very wide: the width decides.
    d = ZoomDrawnSize({4000, 1000}, {1280, 1024});
    EXPECT_EQ(d, (IntSize{1216, 304}));
}

TEST(ZoomGeometry, ExtremeShapesKeepAPixel) {
    EXPECT_EQ(ZoomDrawnSize({1, 100000}, {1280, 1024}), (IntSize{1, 973}));
    EXPECT_EQ(ZoomDrawnSize({100000, 1}, {1280, 1024}), (IntSize{1216, 1}));
    // No work area measured: the image is shown unreduced.
    EXPECT_EQ(ZoomDrawnSize({800, 600}, {0, 0}), (IntSize{800, 600}));
}

TEST(ZoomGeometry, RequestedClientSizeStretches) {
    EXPECT_EQ(ZoomDrawnSize({800, 600}, {1280, 1024}, {400, 500}), (IntSize{400, 500}));
    EXPECT_EQ(ZoomDrawnSize({4000, 3000}, {1600, 1200}, {2000, 100}), (IntSize{2000, 100}));
    // One side 0 means the viewer chooses.
    EXPECT_EQ(ZoomDrawnSize({4000, 3000}, {1600, 1200}, {0, 500}), (IntSize{1520, 1140}));
    EXPECT_EQ(ZoomDrawnSize({4000, 3000}, {1600, 1200}, {500, 0}), (IntSize{1520, 1140}));
    // A stretch shows in the percentage as the mean of both scales.
    EXPECT_DOUBLE_EQ(ZoomPercent({800, 600}, {400, 600}), 75.0);
    EXPECT_DOUBLE_EQ(ZoomPercent({800, 600}, {1600, 1200}), 200.0);
}

TEST(ZoomGeometry, CentredInTheWorkAreaIncludingItsOrigin) {
    IntRect r = CenterInWorkArea({808, 631}, {0, 0, 1280, 984});
    EXPECT_EQ(r.left, 236);
    EXPECT_EQ(r.top, 176); // 353 / 2 = 176.5 -> 176
    EXPECT_EQ(r.width(), 808);
    EXPECT_EQ(r.height(), 631);

    // A taskbar on the left: the work area starts at x = 60.
    r = CenterInWorkArea({808, 631}, {60, 0, 1280, 1024});
    EXPECT_EQ(r.left, 60 + 206);
    EXPECT_EQ(r.top, 196);

    // A second monitor above the primary one.
    r = CenterInWorkArea({800, 600}, {0, -1080, 1920, -40});
    EXPECT_EQ(r.left, 560);
    EXPECT_EQ(r.top, -1080 + 220);
    EXPECT_EQ(r.bottom, -1080 + 820);
}

TEST(ZoomGeometry, CentringRoundsHalvesToEvenAndKeepsTheCaptionReachable) {
    // Spare 479 -> 239.5 -> 240; spare 477 -> 238.5 -> 238.
    EXPECT_EQ(CenterInWorkArea({801, 100}, {0, 0, 1280, 1024}).left, 240);
    EXPECT_EQ(CenterInWorkArea({803, 100}, {0, 0, 1280, 1024}).left, 238);
    // A window taller than a small work area starts at its top, not above it.
    IntRect r = CenterInWorkArea({700, 620}, {100, 50, 900, 650});
    EXPECT_EQ(r.left, 150);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.height(), 620);
}

TEST(ZoomGeometry, PercentageText) {
    EXPECT_EQ(PercentText(100.0, L'.'), L"100.0");
    EXPECT_EQ(PercentText(38.0, L','), L"38,0");
    EXPECT_EQ(PercentText(99.96, L'.'), L"100.0");
    EXPECT_EQ(PercentText(7.25, L'.'), L"7.3");        // exact half: away from zero
    EXPECT_EQ(PercentText(12800.0, L'.'), L"12800.0"); // no group separator
    EXPECT_EQ(PercentText(std::numeric_limits<double>::quiet_NaN(), L'.'), L"0.0");
}

TEST(ZoomGeometry, Caption) {
    EXPECT_EQ(ZoomCaption(L"Tessary", 38.0, L'.', L"C:\\Pics\\big.jpg"),
              L"Tessary - 38.0% - C:\\Pics\\big.jpg");
}

TEST(ZoomGeometry, ShiftDragKeepsTheImageShape) {
    const IntSize frame{8, 31};
    // A 4:3 image: a client 808 - 8 = 800 wide wants 600 high, plus the frame.
    EXPECT_EQ(AspectLockedHeight(808, 123, frame, 4.0 / 3.0), 631);
    // 1000 x 4000: client 243 wide -> 972 high.
    EXPECT_EQ(AspectLockedHeight(251, 900, frame, 0.25), 31 + 972);
    // The whole height is rounded, halves to even: 2.5 + 31 = 33.5 -> 34, 3.5 + 31 = 34.5 -> 34.
    EXPECT_EQ(AspectLockedHeight(13, 0, frame, 2.0), 34);
    EXPECT_EQ(AspectLockedHeight(15, 0, frame, 2.0), 34);
}

TEST(ZoomGeometry, ShiftDragWithBadInput) {
    const IntSize frame{8, 31};
    // No image shape known: the proposal is left alone.
    EXPECT_EQ(AspectLockedHeight(500, 400, frame, 0.0), 400);
    EXPECT_EQ(AspectLockedHeight(500, 400, frame, std::nan("")), 400);
    EXPECT_EQ(AspectLockedHeight(500, 400, frame, std::numeric_limits<double>::infinity()), 400);
    // A width narrower than the frame never gives a negative client height.
    EXPECT_EQ(AspectLockedHeight(2, 400, frame, 1.0), 31);
}
