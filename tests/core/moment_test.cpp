#include "mainwindow/moment.h"

#include <gtest/gtest.h>

namespace mainwindow {
namespace {

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
