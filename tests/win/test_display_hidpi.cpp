// The program at 150 % (the prefix's LogPixels is 144; tools/test.sh runs this file so): per-
// monitor DPI aware, measuring the screen in physical pixels.
#include "platform/Dpi.h"
#include "support/WinTest.h"

using namespace tessary;

TEST(HighDpi, ProcessIsPerMonitorAwareAndSeesPhysicalPixels) {
    EXPECT_TRUE(IsPerMonitorDpiAware());
    EXPECT_EQ(SystemDpi(), 144u);
    // The display is 1280 x 1024 pixels; an unaware program would see two thirds of that.
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
}
