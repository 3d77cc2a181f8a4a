#include "mainwindow/trigger.h"

#include <gtest/gtest.h>

namespace mainwindow {
namespace {

struct DueCase {
    const char* what;
    std::optional<std::int64_t> lastSeen;
    std::int64_t now;
    bool due;
};

constexpr std::int64_t kTarget = 1000;

class Trigger : public ::testing::TestWithParam<DueCase> {};

TEST_P(Trigger, FiresOnlyWhenTheTargetSecondHasJustBeenReached) {
    EXPECT_EQ(isDue(GetParam().lastSeen, GetParam().now, kTarget), GetParam().due)
        << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Trigger,
    ::testing::Values(DueCase{"the second before", 998, 999, false},
                      DueCase{"the target second", 999, 1000, true},
                      DueCase{"a skipped target second", 999, 1001, true},
                      DueCase{"a late tick, a minute behind", 990, 1060, true},
                      DueCase{"more than a minute behind: slept", 990, 1061, false},
                      DueCase{"already seen before", 1000, 1001, false},
                      DueCase{"clock set back below the target", 1005, 990, false},
                      DueCase{"clock set back over the target", 1005, 1000, false},
                      DueCase{"no earlier reading, exact second", std::nullopt, 1000, true},
                      DueCase{"no earlier reading, later second", std::nullopt, 1001, false}));

}  // namespace
}  // namespace mainwindow
