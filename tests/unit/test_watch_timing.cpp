#include "catalog/WatchTiming.h"
#include <gtest/gtest.h>

using namespace tessary;

TEST(ChangeDebounce, ABurstIsTakenInOnceWhenQuietOrAfterTheLongestWait) {
    ChangeDebounce d;
    EXPECT_FALSE(d.Due(100));
    // A burst of changes every 0.1 s for 0.5 s: due a second after the last one.
    for (int i = 0; i <= 5; ++i)
        d.Changed(10 + i * 0.1);
    EXPECT_FALSE(d.Due(11.4));
    EXPECT_TRUE(d.Due(11.5));
    d.Clear();
    EXPECT_FALSE(d.Due(11.6));
    // Changes that never pause for a second are taken in five seconds after the first.
    for (int i = 0; i < 10; ++i)
        d.Changed(20 + i * 0.5);
    EXPECT_FALSE(d.Due(24.9));
    EXPECT_TRUE(d.Due(25.0));
}
