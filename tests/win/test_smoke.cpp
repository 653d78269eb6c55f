#include "support/WinTest.h"
TEST(WinSmoke, WritesImage) {
    wintest::TempDir dir;
    EXPECT_TRUE(wintest::WriteImage(dir / L"a.png", 10, 10));
}
