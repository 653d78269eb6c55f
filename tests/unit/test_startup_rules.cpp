#include "app/StartupRules.h"
#include <gtest/gtest.h>

using namespace tessary;

TEST(StartupRules, RefusesExactlyThreeSystems) {
    EXPECT_EQ(*RefusalMessage(4, 0, 1), L"This software is not supported on Windows 95");
    EXPECT_EQ(*RefusalMessage(3, 51, 2), L"This software is not supported on Windows NT 3.51");
    EXPECT_EQ(*RefusalMessage(4, 0, 2), L"This software is not supported on Windows NT 4.0");
    EXPECT_FALSE(RefusalMessage(4, 10, 1)); // 98
    EXPECT_FALSE(RefusalMessage(4, 90, 1)); // Me
    EXPECT_FALSE(RefusalMessage(5, 1, 2));
    EXPECT_FALSE(RefusalMessage(10, 0, 2));
    EXPECT_FALSE(RefusalMessage(3, 51, 1));
}

TEST(StartupRules, GdiplusMessageNamesTheProgram) {
    std::wstring m = GdiplusMissingMessage(L"Tessary");
    EXPECT_EQ(
        m.rfind(
            L"You must have GDIPlus installed in order for Tessary to run correctly.  You can download it "
            L"from MicroSoft via the following URL: ",
            0),
        0u);
    EXPECT_EQ(m.substr(m.size() - GdiplusDownloadUrl().size()), GdiplusDownloadUrl());
}

TEST(StartupRules, DefaultSizeTablesAtTheirBoundaries) {
    EXPECT_EQ(DefaultWidthPx(1680), 1200);
    EXPECT_EQ(DefaultWidthPx(1679), 1000);
    EXPECT_EQ(DefaultWidthPx(1280), 1000);
    EXPECT_EQ(DefaultWidthPx(1279.5f), 900);
    EXPECT_EQ(DefaultWidthPx(1024), 900);
    EXPECT_EQ(DefaultWidthPx(1023), 800);
    EXPECT_EQ(DefaultHeightPx(1024), 900);
    EXPECT_EQ(DefaultHeightPx(1023), 700);
    EXPECT_EQ(DefaultHeightPx(768), 700);
    EXPECT_EQ(DefaultHeightPx(767), 600);
}

TEST(StartupRules, MinimumWindowSize) {
    int cx = 300, cy = 200;
    ApplyMinimumSize(cx, cy);
    EXPECT_EQ(cx, 717);
    EXPECT_EQ(cy, 535);
    cx = 900, cy = 534;
    ApplyMinimumSize(cx, cy);
    EXPECT_EQ(cx, 900);
    EXPECT_EQ(cy, 535);
}

TEST(StartupRules, LayoutOfThePicturesAndFolderFrames) {
    MainLayoutInput in;
    in.clientWidth = 992;
    in.clientHeight = 677;
    MainLayout l = ComputeMainLayout(in);
    EXPECT_EQ(l.picturesWidth, 618);
    EXPECT_EQ(l.listWidth, 601);
    EXPECT_EQ(l.sliderWidth, 618 - 5 - 184);
    EXPECT_EQ(l.picturesHeight, 656);
    EXPECT_EQ(l.folderHeight, 677 - 408 - 21);
    // At the designed frame heights (pictures 569, folder 225): the client heights that give them.
    in.clientHeight = 569 + 21;
    l = ComputeMainLayout(in);
    EXPECT_EQ(l.sliderTop, 512);
    EXPECT_EQ(l.labelTop, 515);
    EXPECT_EQ(l.listModeTop, 514);
    EXPECT_EQ(l.listHeight, 494);
    EXPECT_EQ(l.buttonRowTop, 537);
    EXPECT_EQ(l.sortTop, 538);
    in.clientHeight = 408 + 225 + 21;
    l = ComputeMainLayout(in);
    EXPECT_EQ(l.folderHeight, 225);
    EXPECT_EQ(l.folderButtonsTop, 193);
    EXPECT_EQ(l.treeHeight, 171);
}

TEST(StartupRules, SavedRectangleOffEveryMonitorMovesToThePrimary) {
    const IntRect areas[] = {{0, 0, 1280, 994}, {1280, 0, 2560, 1024}};
    const IntRect primary = areas[0];
    IntRect onSecond{1500, 100, 2500, 1000};
    EXPECT_EQ(KeepOnScreen(onSecond, areas, 2, primary).left, 1500);
    IntRect gone{3000, 200, 4000, 1100};
    IntRect moved = KeepOnScreen(gone, areas, 1, primary);
    EXPECT_EQ(moved.left, 0);
    EXPECT_EQ(moved.top, 0);
    EXPECT_EQ(moved.width(), 1000);
    EXPECT_EQ(moved.height(), 900);
    IntRect partly{-500, -10, 100, 500}; // still touches the work area: left alone
    IntRect kept = KeepOnScreen(partly, areas, 2, primary);
    EXPECT_EQ(kept.left, -500);
    EXPECT_EQ(kept.top, -10);
}
