// The main window on the in-memory window host, one wake-up per second.
#include <gtest/gtest.h>

#include "mainwindow/command_line.h"
#include "program.h"

using power::Action;

class Form1Test : public ::testing::Test, public testing_support::Program {
  protected:
    // Armed at 10:45:29 on the clock, which the clock fields need not show yet.
    void armFor(std::string_view target) {
        clock.show({2014, 2, 6, 10, 45, 29}, 5);
        setTexts("Combo", target);
        click("Command3");
    }
    // A list's items as "FIRST..LAST COUNT".
    std::string span(const std::string& list) {
        const auto all = items(list);
        return all.front() + ".." + all.back() + " " + std::to_string(all.size());
    }
};

TEST_F(Form1Test, ShowsTheClockEachSecondBesideTheBuiltInListsAndSyncCopiesIt) {
    clock.show({2020, 12, 7, 18, 5, 9}, 0);  // not the year the layout shows before it
    start();
    EXPECT_EQ(texts("Text"), "2020/12/7/18/5/9");
    const char* spans[] = {"2014..2099 86", "1..12 12", "1..31 31",
                           "0..23 24",      "0..59 60", "0..59 60"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(span("Combo" + std::to_string(i + 1)), spans[i]);
    }
    EXPECT_EQ(texts("Combo"), "2014/9/11/11/45/33");
    EXPECT_EQ(form().text("Label13"), "程序初始化中……");
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=\n结束年份=\n");
    click("Command1");  // the clock is shown from the start
    EXPECT_EQ(texts("Combo"), "2020/12/7/18/5/9");
    EXPECT_EQ(form().text("Label13"), "执行了【同步时间】");
    // Each wake-up shows the clock over any edit and asks for the next one just after the second.
    form().setText("Text4", "edited");
    tickAt(9, 5, 7);
    EXPECT_EQ(texts("Text"), "2014/2/6/9/5/7");
    EXPECT_EQ(app->nextTick("Form1"), std::chrono::milliseconds(995 + mainwindow::kTickMarginMs));
}

// Then it reports how the command ended, or why it could not start.
TEST_F(Form1Test, CountsDownAndLaunchesOnceAtTheTargetSecond) {
    const struct {
        std::optional<std::string> startFailure;
        power::Outcome outcome;  // once it has started
        Action action;
        const char* status;
    } cases[] = {
        {{}, {true, ""}, Action::Shutdown, "已执行【关机】命令……"},
        {"没有执行权限", {}, Action::Shutdown, "【关机】命令执行失败！没有执行权限"},
        {{}, {false, "退出码 1"}, Action::Restart, "【重启】命令执行失败！退出码 1"},
    };
    for (const auto& c : cases) {
        start();
        launcher.startFailure = c.startFailure;
        form().setSelected(c.action == Action::Restart ? "Option2" : "Option1");
        armFor("2014/2/6/10/45/32");
        tickAt(10, 45, 30);
        EXPECT_EQ(form().text("Label13"),
                  c.action == Action::Restart ? "还剩：2 秒 【重启】" : "还剩：2 秒 【关机】");
        tickAt(10, 45, 31);
        EXPECT_TRUE(launcher.started.empty());
        tickAt(10, 45, 32);
        EXPECT_EQ(launcher.started, std::vector<Action>{c.action});
        EXPECT_FALSE(keepAwake.held);
        EXPECT_FALSE(form().enabled("Combo6") || form().enabled("Option1") ||
                     form().enabled("Option2") || form().enabled("Command3"));
        launcher.outcome = c.outcome;
        for (int second : {33, 32, 33}) {  // the clock set back over the target second
            tickAt(10, 45, second);
        }
        EXPECT_EQ(launcher.started.size(), 1u);
        EXPECT_EQ(form().text("Label13"), c.status);
        EXPECT_FALSE(app->ended());
    }
}

// Whether a run fires, for the clock's second at "生效" (10:45:S), the target, what the clock
// fields show meanwhile (typed over, or not yet the clock) and the clock at the ticks after it.
TEST_F(Form1Test, FiresOnlyForATargetReachedSinceItWasArmed) {
    const char *at30 = "2014/2/6/10/45/30", *at31 = "2014/2/6/10/45/31";
    const struct {
        int armedAt;
        const char *target, *fields;
        std::vector<std::array<int, 3>> ticks;
        bool fires;
    } cases[] = {
        {29, at30, "", {{10, 45, 30}}, true},
        {29, "2014/02/ 6/010/45 /30", "", {{10, 45, 30}}, true},
        {30, at30, "", {{10, 45, 31}}, true},
        {31, at30, "", {{10, 45, 31}, {10, 45, 32}}, false},  // a second behind at "生效"
        {29, at31, "", {{10, 46, 31}}, true},                 // woken a minute late
        {29, at31, "", {{10, 45, 30}, {10, 46, 32}}, false},  // asleep past it
        {29, at31, "", {{10, 46, 35}, {10, 45, 40}}, false},  // set back after a sleep
        {49, at31, "2014/2/6/10/45/20", {{10, 45, 50}}, false},
        {49, at31, "2014/02/06/00/14/18", {{10, 45, 50}}, false},
    };
    for (const auto& c : cases) {
        start();
        if (*c.fields != '\0') {
            setTexts("Text", c.fields);
        }
        clock.show({2014, 2, 6, 10, 45, c.armedAt}, 5);
        setTexts("Combo", c.target);
        click("Command3");
        for (const auto& [h, m, s] : c.ticks) {
            tickAt(h, m, s);
        }
        EXPECT_EQ(launcher.started.size(), c.fires ? 1u : 0u)
            << c.target << " armed at " << c.armedAt << " with " << c.fields;
    }
}

// A target second that has come by the time "生效" is pressed (a time given on the command line
// and reached while the program starts) runs at once, not at the next whole second.
TEST_F(Form1Test, ArmedInTheTargetSecondWakesAtOnce) {
    clock.show({2014, 2, 6, 10, 45, 30}, 900);
    setTexts("Combo", "2014/2/6/10/45/30");
    click("Command3");
    EXPECT_EQ(app->nextTick("Form1"), std::chrono::milliseconds(0));
    app->tick("Form1");
    EXPECT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(app->nextTick("Form1"), std::chrono::milliseconds(100 + mainwindow::kTickMarginMs));
}

// Armed ten seconds before summer time begins (01:59:59 is followed by 03:00:00) or ends (02:59:59
// summer time is followed by 02:00:00 again), one hour ahead of UTC in winter, in the lists or by
// "--in 1h --arm": the status line, the warning and the launch count time as it passes, and agree.
TEST_F(Form1Test, CountsTimeAsItPassesAcrossSummerTime) {
    const char* const never = "还剩：【日期时间设置错误！！请重新设定！！！】【关机】";
    const struct {
        bool spring;
        const char *target, *status;
        int warning;        // seconds it first shows, or 0 for none
        int launchedAfter;  // seconds after the change, or -1 for never
    } cases[] = {
        {true, "2027/3/28/2/0/5", never, 0, -1},  // a time the clock skips
        {true, "2027/3/28/3/0/0", "还剩：10 秒 【关机】", 10, 0},
        {false, "2027/10/31/2/59/55", "还剩：5 秒 【关机】", 5, -5},  // shown twice: the first
        {false, "2027/10/31/2/0/5", "还剩：15 秒 【关机】", 15, 5},   // the first still ahead
        {false, "2027/10/31/3/0/5", "还剩：1 时 0 分 15 秒 【关机】", 0, 3605},
        {true, "--in", "还剩：1 时 0 分 0 秒 【关机】", 0, 3590},   // 03:59:50
        {false, "--in", "还剩：1 时 0 分 0 秒 【关机】", 0, 3590},  // 02:59:50 shown again
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        start();
        clock.offset = c.spring ? 3600 : 7200;
        clock.offsetAfter = c.spring ? 7200 : 3600;
        clock.change = INT64_MAX;
        clock.show(c.spring ? mainwindow::Moment{2027, 3, 28, 1, 59, 50}
                            : mainwindow::Moment{2027, 10, 31, 2, 59, 50});
        const std::int64_t change = clock.reading.seconds + 10;
        clock.change = change;
        if (std::string_view(c.target) == "--in") {
            mainwindow::applyCommandLine(
                *app, mainwindow::parseCommandLine({"--in", "1h", "--arm"}, clock,
                                                   [] { return years::kBuiltInYears; }));
        } else {
            setTexts("Combo", c.target);
            click("Command3");
        }
        app->tick("Form1");
        EXPECT_EQ(form().text("Label13"), c.status);
        const std::string warning =
            "将在 " + std::to_string(c.warning) + " 秒后【关机】，请保存您的工作。";
        EXPECT_EQ(shown(), c.warning == 0 ? "" : warning);
        std::int64_t second = change - 9;
        for (; launcher.started.empty() && second < change + 3700; ++second) {
            clock.reading = {second, 5};
            app->tick("Form1");
        }
        EXPECT_EQ(launcher.started.empty() ? -1 : second - 1 - change, c.launchedAfter);
    }
}

// The icon's tooltip is the status line, kept current each second, and its items "显示主窗口",
// "立即执行", "推迟10分钟", "重置" and "退出" are there while they apply. Minimized while armed,
// the window hides into the icon, which brings it back; with no notification area there is no
// icon and minimizing only minimizes.
TEST_F(Form1Test, WaitsInTheNotificationAreaWhileArmed) {
    const auto items = [this] {
        std::string on;
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5"}) {
            on += form("TrayIcon").enabled(name) ? "1" : "0";
        }
        return on + " " + form("TrayIcon").text("Label1");
    };
    EXPECT_EQ(items(), "10001 程序初始化中……");
    app->minimize("Form1");
    EXPECT_FALSE(app->window("Form1").withdrawn);
    armFor("2014/2/30/10/45/32");
    EXPECT_EQ(items(), "11011 定时关机执行中……");
    click("Command4");
    armFor("2014/2/6/10/45/32");
    tickAt(10, 45, 30);
    EXPECT_EQ(items(), "11111 还剩：2 秒 【关机】");
    app->minimize("Form1");
    EXPECT_TRUE(app->window("Form1").withdrawn);
    click("Label1", "TrayIcon");
    EXPECT_TRUE(!app->window("Form1").withdrawn && app->front() == "Form1");
    app->minimize("Form1");
    click("Command1", "TrayIcon");
    EXPECT_FALSE(app->window("Form1").withdrawn);
    tickAt(10, 45, 32);
    EXPECT_EQ(items(), "10001 已执行【关机】命令……");
    click("Command5", "TrayIcon");
    EXPECT_TRUE(app->ended());

    // The icon comes at the wake-up the window asks for at once, so that the window never waits
    // for the desktop to place it.
    for (const bool area : {true, false}) {
        app = std::make_unique<testing_support::MemoryHost>();
        app->notificationArea = area;
        program::start(*app, {clock, launcher, keepAwake, link});
        EXPECT_TRUE(!app->loaded("TrayIcon") && app->front() == "Form1");
        EXPECT_EQ(app->nextTick("Form1"), std::chrono::milliseconds(0));
        app->tick("Form1");
        EXPECT_EQ(app->loaded("TrayIcon"), area);
    }
    armFor("2014/2/6/10/45/32");
    app->minimize("Form1");
    EXPECT_FALSE(app->window("Form1").withdrawn);
}

// The poem between the version and the motto; "退出" ends the program.
TEST_F(Form1Test, StatusLineClickShowsTheAboutMessageAndExitEndsTheProgram) {
    click("Label13");
    const auto& box = app->messages().at(0);
    EXPECT_EQ(box.title + box.text,
              "Quenly作品Kestrova - Version 1.0    \r\n\r\n       《望岳》 \r\n"
              "岱宗夫如何，齐鲁青未了。 \r\n造化钟神秀，阴阳割昏晓。 \r\n"
              "荡胸生层云，决眦入归鸟。 \r\n会当凌绝顶，一览众山小。 \r\n\r\n"
              "特别鸣谢：[Brasko团队]\r\n             \r\n"
              "E-mail:quenly.studio@example.com \r\n\r\n【勇气|专业|坚持|挑战】\r\n\r\n");
    EXPECT_EQ(box.icon, forms::MessageIcon::Information);
    click("Command5");
    EXPECT_TRUE(app->ended());
}
