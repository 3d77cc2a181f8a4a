#include "mainwindow/countdown.h"

#include <gtest/gtest.h>

namespace mainwindow {
namespace {

using power::Action;

// "2014/2/6/10/45/30": the six texts of the window, as typed.
Fields fields(std::string_view slashed) {
    Fields texts;
    for (std::string& text : texts) {
        const std::size_t slash = slashed.find('/');
        text = slashed.substr(0, slash);
        slashed.remove_prefix(slash == std::string_view::npos ? slashed.size() : slash + 1);
    }
    return texts;
}

constexpr const char* kPast = "【日期时间设置错误！！请重新设定！！！】";

TEST(Countdown, ShowsTheTimeLeftOnTheRealCalendar) {
    const struct {
        const char *clock, *target;
        Action action;
        const char* left;
    } cases[] = {
        {"2014/2/6/10/45/30", "2014/2/7/9/30/10", Action::Shutdown, "22 时 44 分 40 秒 【关机】"},
        {"2014/2/6/10/45/30", "2014/2/6/10/45/30", Action::Shutdown, "【关机】"},
        {"2014/12/31/23/59/59", "2015/1/1/0/0/0", Action::Restart, "1 秒 【重启】"},
        {"2014/2/6/0/0/0", "2015/2/6/0/0/0", Action::Shutdown,
         "1 年 0 月 0 日 0 时 0 分 0 秒 【关机】"},
        // The month before the target's month lends its own length, then the one before it.
        {"2014/1/31/12/0/0", "2014/3/1/11/0/0", Action::Shutdown, "28 日 23 时 0 分 0 秒 【关机】"},
        {"2026/2/28/22/0/0", "2026/3/1/2/0/0", Action::Shutdown, "4 时 0 分 0 秒 【关机】"},
        {"2024/2/28/22/0/0", "2024/3/1/2/0/0", Action::Shutdown, "1 日 4 时 0 分 0 秒 【关机】"},
        {"2014/5/31/0/0/1", "2014/7/1/0/0/0", Action::Shutdown, "30 日 23 时 59 分 59 秒 【关机】"},
        {"2014/2/6/10/45/30", "2016/2/29/0/0/0", Action::Restart,
         "2 年 0 月 22 日 13 时 14 分 30 秒 【重启】"},
        // Leading zeros and blanks are the same numbers.
        {"2014/9/9/9/9/9", "2014/09/ 9/9 /009/10", Action::Shutdown, "1 秒 【关机】"},
        // A target behind the clock, or no real moment, can never come.
        {"2014/2/6/10/45/30", "2014/2/6/10/45/29", Action::Shutdown, kPast},
        {"2014/2/6/10/45/30", "/2/6/10/45/30", Action::Shutdown, kPast},
        {"2014/2/6/10/45/30", "2014/13/1/0/0/0", Action::Shutdown, kPast},
        {"2014/2/6/10/45/30", "2015/2/29/0/0/0", Action::Shutdown, kPast},
        {"2014/2/6/10/45/30", "2014/2/6/24/0/0", Action::Shutdown, kPast},
        {"2014/2/6/10/45/30", "2014/2/6/10/60/0", Action::Shutdown, kPast},
        {"2014/2/6/10/45/30", "2014/2/6/10/45/3O", Action::Shutdown, kPast},
        {"2014/2/6/10/45/30", "99999999999999999999999/2/6/10/45/30", Action::Shutdown, kPast},
    };
    for (const auto& c : cases) {
        std::string caption = std::string("还剩：") + c.left;
        if (std::string_view(c.left) == kPast) {
            caption += "【关机】";
        }
        EXPECT_EQ(countdownCaption(fields(c.clock), fields(c.target), c.action), caption)
            << c.clock << " -> " << c.target;
    }
}

// Every clock day of a common and a leap year against every target up to two months on: no unit
// below the years is ever negative, and only a target before the clock has no time left.
TEST(Countdown, UnitsAreNeverNegative) {
    for (Moment clock{2023, 1, 1, 13, 27, 41}; clock.year < 2025; clock = nextDay(clock)) {
        Moment target{clock.year, clock.month, clock.day, 5, 10, 0};
        for (int days = 0; days < 62; ++days, target = nextDay(target)) {
            const std::optional<Remaining> left = remainingUntil(clock, target);
            ASSERT_EQ(left.has_value(), days > 0);
            for (std::int64_t unit : left.value_or(Remaining{})) {
                ASSERT_GE(unit, 0) << clock.month << "-" << clock.day << " + " << days;
            }
        }
    }
}

}  // namespace
}  // namespace mainwindow
