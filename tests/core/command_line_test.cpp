// The options a script or the task scheduler starts the program with, and what they do in the
// main window.
#include "mainwindow/command_line.h"

#include <gtest/gtest.h>

#include "fake_clock.h"
#include "fake_keep_awake.h"
#include "fake_launcher.h"
#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "temp_config_dir.h"

namespace mainwindow {
namespace {

struct ParseCase {
    std::vector<std::string> args;
    // The six target texts and the options set, "help", or the error shown.
    std::string outcome;
};

std::string outcomeOf(const CommandLine& c) {
    if (!c.error.empty() || c.help) {
        return c.help ? "help" : c.error;
    }
    std::string text;
    for (const std::string& unit : c.target.value_or(Fields{"-", "-", "-", "-", "-", "-"})) {
        text += unit + " ";
    }
    return text + (c.restart ? "restart" : "shutdown") + (c.arm ? " arm" : "");
}

class ParseCommandLine : public ::testing::TestWithParam<ParseCase> {};

// The clock reads 2026-12-31 18:30:00; the list offers the built-in 2014 to 2099.
TEST_P(ParseCommandLine, GivesTheRequestOrSaysWhatIsWrong) {
    const CommandLine parsed =
        parseCommandLine(GetParam().args, kBuiltInYears, {2026, 12, 31, 18, 30, 0, 400});
    EXPECT_EQ(outcomeOf(parsed), GetParam().outcome);
}

constexpr const char* kBad = "命令行参数错误：";

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseCommandLine,
    ::testing::Values(
        ParseCase{{}, "- - - - - - shutdown"},
        ParseCase{{"--at", "2026-12-24 18:30:00"}, "2026 12 24 18 30 0 shutdown"},
        ParseCase{{"--arm", "--restart", "--at", "2099-02-03 04:05"}, "2099 2 3 4 5 0 restart arm"},
        ParseCase{{"--at", "2014-1-1 0:0:9", "--arm"}, "2014 1 1 0 0 9 shutdown arm"},
        ParseCase{{"--at", "2028-02-29 23:59:59"}, "2028 2 29 23 59 59 shutdown"},
        // A time alone: today while it is ahead, else tomorrow, here in the next year.
        ParseCase{{"--at", "18:30:01"}, "2026 12 31 18 30 1 shutdown"},
        ParseCase{{"--at", "18:30"}, "2027 1 1 18 30 0 shutdown"},
        ParseCase{{"--restart"}, "- - - - - - restart"},
        ParseCase{{"--at", "bad", "--help"}, "help"}, ParseCase{{"-h"}, "help"},
        ParseCase{{"--at", "2026-02-30 18:30:00"},
                  std::string(kBad) + "“2026-02-30 18:30:00”不是有效的日期时间。"},
        ParseCase{{"--at", "25:00:00"}, std::string(kBad) + "“25:00:00”不是有效的日期时间。"},
        ParseCase{{"--at", "2026-12-24"}, std::string(kBad) + "“2026-12-24”不是有效的日期时间。"},
        ParseCase{{"--at", "2026-12-24  18:30:00"},
                  std::string(kBad) + "“2026-12-24  18:30:00”不是有效的日期时间。"},
        ParseCase{{"--at", "2026-12-24 18:30:00:00"},
                  std::string(kBad) + "“2026-12-24 18:30:00:00”不是有效的日期时间。"},
        ParseCase{{"--at", "+18:30"}, std::string(kBad) + "“+18:30”不是有效的日期时间。"},
        ParseCase{{"--at", "2100-01-01 00:00:00"},
                  std::string(kBad) +
                      "年份 2100 不在年份列表的范围 2014～2099 之内（可在“参数设置”中修改）。"},
        ParseCase{{"--at", "2013-12-31 23:59:59"},
                  std::string(kBad) +
                      "年份 2013 不在年份列表的范围 2014～2099 之内（可在“参数设置”中修改）。"},
        ParseCase{{"--at"}, std::string(kBad) + "--at 后面缺少日期时间。"},
        ParseCase{{"--at", "--arm"}, std::string(kBad) + "--at 后面缺少日期时间。"},
        ParseCase{{"--at", "18:00", "--at", "19:00"}, std::string(kBad) + "--at 只能出现一次。"},
        ParseCase{{"--arm", "--at", "18:00", "--arm"}, std::string(kBad) + "--arm 只能出现一次。"},
        ParseCase{{"--arm"}, std::string(kBad) + "--arm 须与 --at 一起使用。"},
        ParseCase{{"--at=18:00"}, std::string(kBad) + "不认识的参数“--at=18:00”。"}));

TEST(ParseCommandLine, TakesTheYearRangeItIsGiven) {
    const CommandLine parsed =
        parseCommandLine({"--at", "3000-01-01 00:00:00"}, {2000, 3000}, {2026, 1, 1, 0, 0, 0, 0});
    EXPECT_EQ(outcomeOf(parsed), "3000 1 1 0 0 0 shutdown");
}

// The window does what a user's typing and clicks would: the right launch at the target second.
TEST(ApplyCommandLine, FillsTheListsPicksRestartAndArms) {
    testing_support::TempConfigDir config;
    testing_support::FakeClock clock;
    power::FakeLauncher launcher;
    power::FakeKeepAwake keepAwake;
    testing_support::MemoryHost app;
    app.define("Form1", Form1Definition({clock, launcher, keepAwake}));
    app.show("Form1");

    applyCommandLine(app, parseCommandLine({"--at", "10:45:32", "--restart", "--arm"},
                                           kBuiltInYears, clock.time));
    testing_support::MemoryForm& form = app.form("Form1");
    std::vector<std::string> lists;
    for (const char* list : {"Combo1", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6"}) {
        lists.push_back(form.text(list));
    }
    EXPECT_EQ(lists, (std::vector<std::string>{"2014", "2", "6", "10", "45", "32"}));
    EXPECT_TRUE(form.selected("Option2"));
    EXPECT_EQ(form.text("Label13"), "定时关机执行中……");

    clock.time.second = 31;
    app.tick("Form1");
    EXPECT_TRUE(launcher.started.empty());
    clock.time.second = 32;
    app.tick("Form1");
    EXPECT_EQ(launcher.started, std::vector<power::Action>{power::Action::Restart});
}

}  // namespace
}  // namespace mainwindow
