// The options a script or the task scheduler starts the program with. What they do in the main
// window is checked end to end.
#include "mainwindow/command_line.h"

#include <gtest/gtest.h>

#include "program.h"

using namespace mainwindow;
using testing_support::FakeClock;
using years::kBuiltInYears;

// The six target texts and the options set, "help", "version", or the error shown.
std::string outcomeOf(const CommandLine& c) {
    if (c.help || c.version || !c.error.empty()) {
        return c.help ? "help" : c.version ? "version" : c.error.substr(c.error.find("：") + 3);
    }
    std::string text;
    for (const std::string& unit : c.target.value_or(Fields{"-", "-", "-", "-", "-", "-"})) {
        text += unit + " ";
    }
    return text + (c.restart ? "restart" : "shutdown") + (c.arm ? " arm" : "");
}

// The clock reads 2026-12-31 18:30:00; the list offers the built-in 2014 to 2099.
TEST(ParseCommandLine, GivesTheRequestOrSaysWhatIsWrong) {
    std::string year40;
    for (int i = 0; i < 40; ++i) {
        year40 += "年";
    }
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "- - - - - - shutdown"},
        {{"--at", "2026-12-24 18:30:00"}, "2026 12 24 18 30 0 shutdown"},
        {{"--arm", "--restart", "--at", "2099-02-03 04:05"}, "2099 2 3 4 5 0 restart arm"},
        {{"--at", "2014-1-1 0:0:9", "--arm"}, "2014 1 1 0 0 9 shutdown arm"},
        {{"--at", "2028-02-29 23:59:59"}, "2028 2 29 23 59 59 shutdown"},
        // A time alone: today while it is ahead, else tomorrow, here in the next year.
        {{"--at", "18:30:01"}, "2026 12 31 18 30 1 shutdown"},
        {{"--at", "18:30"}, "2027 1 1 18 30 0 shutdown"},
        // Time passing from the clock's second: hours, minutes, seconds, each once, in order.
        {{"--in", "90m"}, "2026 12 31 20 0 0 shutdown"},
        {{"--in", "1h5m30s", "--arm", "--restart"}, "2026 12 31 19 35 30 restart arm"},
        {{"--in", "1s"}, "2026 12 31 18 30 1 shutdown"},
        {{"--in", "6h"}, "2027 1 1 0 30 0 shutdown"},
        {{"--in", "1m1h"}, "“1m1h”不是有效的时长。"},
        {{"--in", "1h1h"}, "“1h1h”不是有效的时长。"},
        {{"--in", "90"}, "“90”不是有效的时长。"},
        {{"--in", "0h0m"}, "“0h0m”不是有效的时长。"},
        {{"--in", "1H"}, "“1H”不是有效的时长。"},
        {{"--in", "1000000000s"}, "“1000000000s”不是有效的时长。"},
        {{"--in", "876000h"},
         "年份 2126 不在年份列表的范围 2014～2099 之内（可在“参数设置”中修改）。"},
        {{"--in"}, "--in 后面缺少时长。"},
        {{"--in", "2h", "--in", "3h"}, "--in 只能出现一次。"},
        {{"--in", "2h", "--at", "18:00"}, "--at 与 --in 不能同时使用。"},
        {{"--at", "bad", "--help"}, "help"},
        {{"-h"}, "help"},
        {{"--at", "bad", "--version"}, "version"},
        {{"--version", "-h"}, "help"},
        {{"--at", "2026-02-30 18:30:00"}, "“2026-02-30 18:30:00”不是有效的日期时间。"},
        {{"--at", "2026-12-24"}, "“2026-12-24”不是有效的日期时间。"},
        {{"--at", "2026-12 18:30"}, "“2026-12 18:30”不是有效的日期时间。"},
        {{"--at", "2026-12-24 18:30:00:00"}, "“2026-12-24 18:30:00:00”不是有效的日期时间。"},
        {{"--at", "+18:30"}, "“+18:30”不是有效的日期时间。"},
        {{"--at", "18:030"}, "“18:030”不是有效的日期时间。"},
        {{"--at", "2100-01-01 00:00:00"},
         "年份 2100 不在年份列表的范围 2014～2099 之内（可在“参数设置”中修改）。"},
        {{"--at"}, "--at 后面缺少日期时间。"},
        {{"--at", "18:00", "--at", "19:00"}, "--at 只能出现一次。"},
        {{"--arm", "--at", "18:00", "--arm"}, "--arm 只能出现一次。"},
        {{"--arm"}, "--arm 须与 --at 或 --in 一起使用。"},
        {{"--at=18:00"}, "不认识的参数“--at=18:00”。"},
        // A quoted text shows at most 40 characters, and bytes that are no UTF-8 as "�".
        {{"--at", year40}, "“" + year40 + "”不是有效的日期时间。"},
        {{"--at", year40 + "x"}, "“" + year40 + "……”不是有效的日期时间。"},
        {{"--at", std::string(39, '9') + "\xFF\xFF"},
         "“" + std::string(39, '9') + "�……”不是有效的日期时间。"},
        {{"--at", "18:30\xE5\xB9 \xFF\xC2\xA9\xDF\xBF"}, "“18:30� �©\xDF\xBF”不是有效的日期时间。"},
        {{"--at", "\xED\xA0\x80\xC0\xAF\xF4\x90\xF0\x9F\x98\x80\xE0\xA4\x85\xF4\x8F\xBF\xBF"},
         "“�������😀अ\xF4\x8F\xBF\xBF”不是有效的日期时间。"},
        {{"--关机１\xE5"}, "不认识的参数“--关机１�”。"},
        {{"--" + std::string(50, 'x')}, "不认识的参数“--" + std::string(38, 'x') + "……”。"},
    };
    FakeClock clock;
    clock.show({2026, 12, 31, 18, 30, 0}, 400);
    for (const auto& [args, outcome] : cases) {
        const CommandLine parsed = parseCommandLine(args, clock, [] { return kBuiltInYears; });
        EXPECT_EQ(outcomeOf(parsed), outcome) << ::testing::PrintToString(args);
        EXPECT_EQ(parsed.error.starts_with("命令行参数错误："), !parsed.error.empty());
    }
    const auto wider = [] { return years::YearRange{2000, 3000}; };
    EXPECT_EQ(outcomeOf(parseCommandLine({"--at", "3000-1-1 0:0"}, clock, wider)),
              "3000 1 1 0 0 0 shutdown");
}

// Help and a wrong command line are answered without the settings file; a target is checked
// against the years it lists.
TEST(DecideCommandLine, ReadsTheSettingsFileOnlyForATarget) {
    testing_support::TempConfigDir config;
    FakeClock clock;
    const std::tuple<std::vector<std::string>, bool, int, bool> cases[] = {
        {{"--help"}, false, 0, false},
        {{"--at", "bad"}, true, 2, false},
        {{"--at", "2100-01-01 00:00"}, true, 2, true},
    };
    for (const auto& [args, error, status, read] : cases) {
        std::filesystem::remove(config.iniPath());
        const CommandLineDecision decided = decideCommandLine(args, clock);
        EXPECT_EQ(decided.error, error);
        EXPECT_EQ(decided.status, status);
        EXPECT_TRUE(decided.text && decided.text->ends_with(commandLineUsage()));
        EXPECT_EQ(std::filesystem::exists(config.iniPath()), read) << args.back();
    }
}
