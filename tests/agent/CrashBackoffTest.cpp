#include "agent/CrashBackoff.h"

#include <gtest/gtest.h>

#include <vector>

using kv::agent::CrashBackoff;

TEST(CrashBackoff, QuickCrashesDoubleTheWaitUpToFiveMinutesAndALongRunResetsIt) {
    CrashBackoff backoff;
    std::vector<std::int64_t> waits;
    for (int i = 0; i < 9; ++i)
        waits.push_back(backoff.crashed(i % 2 == 0 ? 0 : 59));
    EXPECT_EQ(waits, (std::vector<std::int64_t>{0, 5, 10, 20, 40, 80, 160, 300, 300}));
    EXPECT_EQ(backoff.quickCrashes(), 9);
    for (int i = 0; i < 100; ++i)
        backoff.crashed(1); // no overflow however long it goes on
    EXPECT_EQ(backoff.wait(), 300);
    // A run of a minute or more: the designed restart at once, and the next quick crash waits 5 s again.
    EXPECT_EQ(backoff.crashed(60), 0);
    EXPECT_EQ(backoff.quickCrashes(), 1);
    EXPECT_EQ(backoff.crashed(3), 5);
}
