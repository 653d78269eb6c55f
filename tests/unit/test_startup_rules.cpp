#include "app/StartupRules.h"
#include <gtest/gtest.h>

using namespace tessary;

TEST(StartupRules, RefusesExactlyThreeSystems) {
    EXPECT_EQ(*RefusalMessage(3, 51, 2), L"This software is not supported on Windows NT 3.51");
    EXPECT_TRUE(RefusalMessage(4, 0, 1));   // 95
    EXPECT_TRUE(RefusalMessage(4, 0, 2));   // NT 4.0
    EXPECT_FALSE(RefusalMessage(4, 10, 1)); // 98
    EXPECT_FALSE(RefusalMessage(5, 1, 2));
    EXPECT_FALSE(RefusalMessage(3, 51, 1));
}

TEST(StartupRules, DefaultSizeStepsUpAtEachScreenSizeAndTheGdiplusMessageHasTheLink) {
    for (float width : {1680.0f, 1280.0f, 1024.0f})
        EXPECT_GT(DefaultWidthPx(width), DefaultWidthPx(width - 0.5f)) << width;
    for (float height : {1024.0f, 768.0f})
        EXPECT_GT(DefaultHeightPx(height), DefaultHeightPx(height - 0.5f)) << height;
    EXPECT_NE(GdiplusMissingMessage(L"Tessary").find(L"for Tessary to run"), std::wstring::npos);
    EXPECT_TRUE(GdiplusMissingMessage(L"Tessary").ends_with(GdiplusDownloadUrl()));
}

TEST(StartupRules, LayoutOfThePicturesAndFolderFrames) {
    MainLayoutInput in;
    in.clientWidth = 992;
    in.clientHeight = 677;
    MainLayout l = ComputeMainLayout(in);
    EXPECT_EQ(l.picturesWidth, 618);
    EXPECT_EQ(l.listWidth, 601);
    EXPECT_EQ(l.sliderWidth, 618 - 5 - 184);
    EXPECT_EQ(l.folderHeight, 677 - 408 - 21);
    // At the designed frame heights (pictures 569, folder 225): the client heights that give them.
    in.clientHeight = 569 + 21;
    l = ComputeMainLayout(in);
    EXPECT_EQ(l.sliderTop, 512);
    EXPECT_EQ(l.listHeight, 494);
    EXPECT_EQ(l.sortTop, 538);
    in.clientHeight = 408 + 225 + 21;
    l = ComputeMainLayout(in);
    EXPECT_EQ(l.folderButtonsTop, 193);
    EXPECT_EQ(l.treeHeight, 171);
}

TEST(StartupRules, SavedRectangleOffEveryMonitorMovesToThePrimary) {
    const IntRect areas[] = {{0, 0, 1280, 994}, {1280, 0, 2560, 1024}};
    EXPECT_EQ(KeepOnScreen({1500, 100, 2500, 1000}, areas, 2, areas[0]).left, 1500);
    EXPECT_EQ(KeepOnScreen({3000, 200, 4000, 1100}, areas, 1, areas[0]), (IntRect{0, 0, 1000, 900}));
    // Still touching a work area: left alone.
    EXPECT_EQ(KeepOnScreen({-500, -10, 100, 500}, areas, 2, areas[0]).left, -500);
    // Stored twips beyond any screen, or negative sizes, convert without overflow; such a window
    // is brought back.
    const IntRect far = WindowRectFromTwips(3e10, -3e38, 3e10, -15, 15, 15);
    const int max = kMaxWindowCoordinate;
    EXPECT_EQ(far, (IntRect{max, -max, 2 * max, -max}));
    EXPECT_EQ(KeepOnScreen(far, areas, 2, areas[0]).left, 0);
    EXPECT_EQ(WindowRectFromTwips(1500, 1507.5, 15000, 9000, 15, 15).top, 100); // 100.5: halves to even
}

TEST(StartupRules, StoredThumbSizeBecomesASliderPosition) {
    EXPECT_EQ(SliderThumbSize(153), 150);
    EXPECT_EQ(SliderThumbSize(0), 50); // unreadable
    EXPECT_EQ(SliderThumbSize(100000000000LL), 200);
}

TEST(StartupRules, FirstRunWindowFitsTheWorkArea) {
    // 1280 x 1024 with a taskbar: the default 1000 x 900 at the designed window's centred corner
    // would hang below the work area; it moves up just enough, keeping its size and left edge.
    EXPECT_EQ(FitInWorkArea({221, 158, 1221, 1058}, {0, 0, 1280, 994}), (IntRect{221, 94, 1221, 994}));
    // Larger than a work area that starts below a top taskbar: shrunk to it and placed at its start.
    EXPECT_EQ(FitInWorkArea({100, 50, 900, 650}, {0, 40, 800, 600}), (IntRect{0, 40, 800, 600}));
    // A work area below the minimum: the minimum wins, anchored at the area's top-left.
    EXPECT_EQ(FitInWorkArea({-20, -20, 780, 580}, {0, 0, 640, 480}),
              (IntRect{0, 0, kMinWindowWidth, kMinWindowHeight}));
}
