#include "mainwindow/trigger.h"

#include <gtest/gtest.h>

// The target is second 1000; the clock's last second seen, and the one now.
TEST(Trigger, FiresOnlyWhenTheTargetSecondHasJustBeenReached) {
    const std::tuple<std::optional<std::int64_t>, std::int64_t, bool> cases[] = {
        {998, 999, false},   {999, 1000, true},  {999, 1001, true},
        {990, 1060, true},   {990, 1061, false},                       // a minute late, or asleep
        {1000, 1001, false}, {1005, 990, false}, {1005, 1000, false},  // set back over it
        {{}, 1000, true},    {{}, 1001, false},
    };
    for (const auto& [lastSeen, now, due] : cases) {
        EXPECT_EQ(mainwindow::isDue(lastSeen, now, 1000), due)
            << lastSeen.value_or(-1) << " " << now;
    }
}
