#include "mainwindow/countdown.h"

#include <gtest/gtest.h>

#include "program.h"

using namespace mainwindow;
using testing_support::fields;

TEST(Countdown, ShowsTheTimeLeftOnTheRealCalendar) {
    const char* const now = "2014/2/6/10/45/30";
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {now, "2014/2/7/9/30/10", "22 时 44 分 40 秒 【关机】"},
        {now, now, "【关机】"},
        {"2014/12/31/23/59/59", "2015/1/1/0/0/0", "1 秒 【关机】"},
        {"2014/2/6/0/0/0", "2015/2/6/0/0/0", "1 年 0 月 0 日 0 时 0 分 0 秒 【关机】"},
        // The month before the target's month lends its own length, then the one before it.
        {"2014/1/31/12/0/0", "2014/3/1/11/0/0", "28 日 23 时 0 分 0 秒 【关机】"},
        {"2026/2/28/22/0/0", "2026/3/1/2/0/0", "4 时 0 分 0 秒 【关机】"},
        {"2024/2/28/22/0/0", "2024/3/1/2/0/0", "1 日 4 时 0 分 0 秒 【关机】"},
        {"2014/5/31/0/0/1", "2014/7/1/0/0/0", "30 日 23 时 59 分 59 秒 【关机】"},
        {now, "2016/2/29/0/0/0", "2 年 0 月 22 日 13 时 14 分 30 秒 【关机】"},
        // A target behind the clock can never come.
        {now, "2014/2/6/10/45/29", "【日期时间设置错误！！请重新设定！！！】【关机】"},
    };
    for (const auto& [clock, target, left] : cases) {
        const Moment from = *toMoment(fields(clock));
        const std::int64_t seconds = serialSeconds(*toMoment(fields(target))) - serialSeconds(from);
        EXPECT_EQ(countdownCaption(from, seconds, power::Action::Shutdown),
                  std::string("还剩：") + left)
            << clock << " -> " << target;
    }
    const Moment from{2014, 2, 6, 10, 45, 30};
    EXPECT_EQ(countdownCaption(from, 0, power::Action::Restart), "还剩：【重启】");
    // A target the clock never shows.
    EXPECT_EQ(countdownCaption(from, std::nullopt, power::Action::Restart),
              "还剩：【日期时间设置错误！！请重新设定！！！】【重启】");
}
