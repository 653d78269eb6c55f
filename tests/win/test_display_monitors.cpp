// Two monitors (tools/test.sh runs this file on a display of two screens joined by Xinerama: a
// 1280 x 1024 primary and a 1920 x 1080 one; Xvfb places both at the origin).
#include "platform/Monitors.h"
#include "support/WinTest.h"

using namespace tessary;

TEST(TwoMonitors, BothAreListedWithTheirSizes) {
    const std::vector<MonitorDesc> monitors = EnumerateMonitors();
    ASSERT_EQ(monitors.size(), 2u);
    const MonitorDesc* primary = PrimaryMonitor(monitors);
    ASSERT_NE(primary, nullptr);
    const MonitorDesc& other = primary == &monitors[0] ? monitors[1] : monitors[0];
    EXPECT_EQ(primary->bounds.right - primary->bounds.left, 1280);
    EXPECT_EQ(primary->bounds.bottom - primary->bounds.top, 1024);
    EXPECT_EQ(other.bounds.right - other.bounds.left, 1920);
    EXPECT_EQ(other.bounds.bottom - other.bounds.top, 1080);
    EXPECT_NE(primary->device, other.device);
}
