#include "mainwindow/trigger.h"

#include <gtest/gtest.h>

#include "mainwindow/moment.h"

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

struct MomentCase {
    Fields texts;
    std::optional<Moment> moment;
};

class Moments : public ::testing::TestWithParam<MomentCase> {};

TEST_P(Moments, AreRealDatesTypedAsWholeNumbers) {
    EXPECT_EQ(toMoment(GetParam().texts), GetParam().moment);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Moments,
    ::testing::Values(
        MomentCase{{"2014", "2", "7", "9", "30", "10"}, Moment{2014, 2, 7, 9, 30, 10}},
        MomentCase{{"2014", "02", " 7", "09 ", "030", "+10"}, Moment{2014, 2, 7, 9, 30, 10}},
        MomentCase{{"2024", "2", "29", "0", "0", "0"}, Moment{2024, 2, 29, 0, 0, 0}},
        MomentCase{{"2000", "2", "29", "23", "59", "59"}, Moment{2000, 2, 29, 23, 59, 59}},
        MomentCase{{"1900", "2", "29", "0", "0", "0"}, std::nullopt},
        MomentCase{{"2014", "4", "31", "0", "0", "0"}, std::nullopt},
        MomentCase{{"2014", "0", "1", "0", "0", "0"}, std::nullopt},
        MomentCase{{"2014", "1", "0", "0", "0", "0"}, std::nullopt},
        MomentCase{{"2014", "1", "1", "-1", "0", "0"}, std::nullopt},
        MomentCase{{"2014", "1", "1", "0", "0", "60"}, std::nullopt},
        MomentCase{{"2014", "1", "1", "0", "0", ""}, std::nullopt},
        MomentCase{{"2014", "1", "1", "0", "0", "9.0"}, std::nullopt},
        MomentCase{{"2014", "1", "1", "0", "0", "0 9"}, std::nullopt},
        MomentCase{{"2014", "1", "1", "0", "0", "１"}, std::nullopt}));

TEST(SerialSeconds, CountsCalendarDaysAcrossLeapYearsAndEras) {
    EXPECT_EQ(serialSeconds({1970, 1, 1, 0, 0, 0}), 0);
    EXPECT_EQ(serialSeconds({2014, 2, 6, 0, 14, 18}), 1391645658);
    EXPECT_EQ(serialSeconds({2025, 1, 1, 0, 0, 0}) - serialSeconds({2024, 1, 1, 0, 0, 0}),
              366 * 86400);
    EXPECT_EQ(serialSeconds({1, 1, 1, 0, 0, 0}) - serialSeconds({0, 12, 31, 23, 59, 59}), 1);
}

}  // namespace
}  // namespace mainwindow
