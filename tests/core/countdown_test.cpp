#include "mainwindow/countdown.h"

#include <gtest/gtest.h>

namespace mainwindow {
namespace {

using power::Action;

struct CountdownCase {
    Fields clock;
    Fields target;
    Action action;
    std::string caption;
};

class Countdown : public ::testing::TestWithParam<CountdownCase> {};

TEST_P(Countdown, ShowsTheTimeLeftOnTheRealCalendar) {
    const CountdownCase& c = GetParam();
    EXPECT_EQ(countdownCaption(c.clock, c.target, c.action), c.caption);
}

constexpr const char* kError = "还剩：【日期时间设置错误！！请重新设定！！！】【关机】";

INSTANTIATE_TEST_SUITE_P(
    Cases, Countdown,
    ::testing::Values(
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"2014", "2", "7", "9", "30", "10"},
                      Action::Shutdown,
                      "还剩：22 时 44 分 40 秒 【关机】"},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"2014", "2", "6", "10", "45", "30"},
                      Action::Shutdown,
                      "还剩：【关机】"},
        CountdownCase{{"2014", "12", "31", "23", "59", "59"},
                      {"2015", "1", "1", "0", "0", "0"},
                      Action::Shutdown,
                      "还剩：1 秒 【关机】"},
        CountdownCase{{"2014", "12", "31", "23", "59", "59"},
                      {"2015", "1", "1", "0", "0", "0"},
                      Action::Restart,
                      "还剩：1 秒 【重启】"},
        CountdownCase{{"2014", "2", "6", "0", "0", "0"},
                      {"2015", "2", "6", "0", "0", "0"},
                      Action::Shutdown,
                      "还剩：1 年 0 月 0 日 0 时 0 分 0 秒 【关机】"},
        // The month before the target's month lends its own length, then the one before it.
        CountdownCase{{"2014", "1", "31", "12", "0", "0"},
                      {"2014", "3", "1", "11", "0", "0"},
                      Action::Shutdown,
                      "还剩：28 日 23 时 0 分 0 秒 【关机】"},
        CountdownCase{{"2026", "2", "28", "22", "0", "0"},
                      {"2026", "3", "1", "2", "0", "0"},
                      Action::Shutdown,
                      "还剩：4 时 0 分 0 秒 【关机】"},
        CountdownCase{{"2024", "2", "28", "22", "0", "0"},
                      {"2024", "3", "1", "2", "0", "0"},
                      Action::Shutdown,
                      "还剩：1 日 4 时 0 分 0 秒 【关机】"},
        CountdownCase{{"2014", "4", "30", "0", "0", "0"},
                      {"2014", "5", "1", "0", "0", "0"},
                      Action::Shutdown,
                      "还剩：1 日 0 时 0 分 0 秒 【关机】"},
        CountdownCase{{"2014", "5", "31", "0", "0", "1"},
                      {"2014", "7", "1", "0", "0", "0"},
                      Action::Shutdown,
                      "还剩：30 日 23 时 59 分 59 秒 【关机】"},
        // Leading zeros and blanks are the same numbers.
        CountdownCase{{"2014", "9", "9", "9", "9", "9"},
                      {"2014", "09", " 9", "9 ", "009", "10"},
                      Action::Shutdown,
                      "还剩：1 秒 【关机】"},
        // A target behind the clock, or no real moment, can never come.
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"2014", "2", "6", "10", "45", "29"},
                      Action::Shutdown,
                      kError},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"", "2", "6", "10", "45", "30"},
                      Action::Shutdown,
                      kError},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"2014", "13", "1", "0", "0", "0"},
                      Action::Shutdown,
                      kError},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"2014", "4", "31", "0", "0", "0"},
                      Action::Shutdown,
                      kError},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"2015", "2", "29", "0", "0", "0"},
                      Action::Shutdown,
                      kError},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"2014", "2", "6", "24", "0", "0"},
                      Action::Shutdown,
                      kError},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"2014", "2", "6", "10", "60", "0"},
                      Action::Shutdown,
                      kError},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"2014", "2", "6", "10", "45", "3O"},
                      Action::Shutdown,
                      kError},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"1e308", "2", "6", "10", "45", "30"},
                      Action::Shutdown,
                      kError},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"99999999999999999999999", "2", "6", "10", "45", "30"},
                      Action::Shutdown,
                      kError},
        CountdownCase{{"2014", "2", "6", "10", "45", "30"},
                      {"2016", "2", "29", "0", "0", "0"},
                      Action::Restart,
                      "还剩：2 年 0 月 22 日 13 时 14 分 30 秒 【重启】"}));

Moment nextDay(Moment m) {
    if (++m.day > daysInMonth(m.year, m.month)) {
        m.day = 1;
        if (++m.month > 12) {
            m.month = 1;
            ++m.year;
        }
    }
    return m;
}

// Every clock day of a common and a leap year against every target up to two months on: no unit
// below the years is ever negative, and only a target before the clock has no time left.
TEST(CountdownUnits, AreNeverNegative) {
    for (Moment clock{2023, 1, 1, 13, 27, 41}; clock.year < 2025; clock = nextDay(clock)) {
        Moment target{clock.year, clock.month, clock.day, 5, 10, 0};
        for (int days = 0; days < 62; ++days, target = nextDay(target)) {
            const std::optional<Remaining> left = remainingUntil(clock, target);
            ASSERT_EQ(left.has_value(), days > 0);
            if (left) {
                for (std::int64_t unit : *left) {
                    ASSERT_GE(unit, 0) << clock.year << "-" << clock.month << "-" << clock.day
                                       << " + " << days << " days";
                }
            }
        }
    }
}

}  // namespace
}  // namespace mainwindow
