// The last-minute warning as the main window drives it, one wake-up per second.
#include <gtest/gtest.h>

#include "program.h"

class Warning : public ::testing::Test, public testing_support::Program {
  protected:
    // Armed at 10:MINUTE:SECOND for 10:46:00.
    void armAt(int minute, int second) {
        setTexts("Combo", "2014/2/6/10/46/0");
        clock.show({2014, 2, 6, 10, minute, second}, 5);
        click("Command3");
    }
};

// With ten seconds left at "生效" the warning shows at once. Then a button is pressed, or with no
// control named the window is closed and the main window shown (loaded anew if it was the one).
// The main window is one that saving the year range rebuilt: the warning answers the new one. After
// the launch the inputs stay frozen; after a reset they take input again and the computer may
// sleep.
TEST_F(Warning, ClosesWhenAnsweredAndLaunchesAtMostOnce) {
    const char *launched = "已执行【重启】命令……", *reset = "定时关机被重置……（请重新设定）";
    const struct {
        const char *form, *control;
        std::size_t launchesAtOnce, launchesAtTarget;
        const char* status;  // at the target second
    } answers[] = {{"Form3", "Command1", 1, 1, launched},     {"Form3", "Command2", 0, 0, reset},
                   {"TrayIcon", "Command2", 1, 1, launched},  // the icon's "立即执行"
                   {"TrayIcon", "Command4", 0, 0, reset},     // and "重置"
                   {"Form1", "Command4", 0, 0, reset},        {"Form3", nullptr, 0, 1, launched},
                   {"Form1", nullptr, 0, 0, "程序初始化中……"}};
    for (const auto& a : answers) {
        SCOPED_TRACE(std::string(a.form) + (a.control ? a.control : " closed"));
        start();
        launcher.atStart = [this] { EXPECT_TRUE(keepAwake.held); };
        click("Command2");
        click("Command1", "Form2");  // "确定" on the years the dialog shows
        app->tick("Form1");          // the new window's first wake-up
        form().setSelected("Option2");
        armAt(45, 50);
        EXPECT_EQ(shown(), "将在 10 秒后【重启】，请保存您的工作。");
        if (a.control != nullptr) {
            click(a.control, a.form);
        } else {
            app->close(a.form);
            app->show("Form1");
        }
        EXPECT_EQ(shown(), "");
        EXPECT_EQ(launcher.started.size(), a.launchesAtOnce);
        tickAt(10, 45, 51);
        EXPECT_EQ(shown(), "");  // closed by the user, it does not come back
        tickAt(10, 46, 0);
        EXPECT_EQ(launcher.started.size(), a.launchesAtTarget);
        EXPECT_EQ(form().text("Label13"), a.status);
        EXPECT_EQ(
            form().enabled("Combo1") && form().enabled("Option1") && form().enabled("Command3"),
            a.status != launched);
        EXPECT_FALSE(keepAwake.held || form().enabled("Timer2") || form().enabled("Timer3"));
    }
}

// "推迟10分钟" in the warning or the icon's menu ten seconds before the target: the lists show the
// moment ten minutes on, the status line counts down to it, the warning comes back in the last
// minute before it, and the one launch comes 600 s after the old second, the computer kept awake
// and the warning open until it has started (closing a window can wait on the desktop), the
// warning gone after it. Ten minutes of time passing, also across the change to summer time
// (01:59:59 followed by 03:00:00, from UTC+1 to UTC+2); at the end of the year list nothing
// changes.
TEST_F(Warning, PostponesTenMinutes) {
    const struct {
        const char *target, *via, *lists;
        std::int64_t launchedAfter;
    } cases[] = {
        {"2014/2/6/10/46/0", "Form3", "2014/2/6/10/56/0", 600},
        {"2014/2/6/10/55/30", "TrayIcon", "2014/2/6/11/5/30", 600},
        {"2014/2/6/23/59/0", "Form3", "2014/2/7/0/9/0", 600},
        {"2098/12/31/23/55/0", "TrayIcon", "2099/1/1/0/5/0", 600},  // into the list's last year
        {"2027/3/28/1/55/0", "Form3", "2027/3/28/3/5/0", 600},
        {"2099/12/31/23/55/0", "TrayIcon", "2099/12/31/23/55/0", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        start();
        launcher.atStart = [this] { EXPECT_TRUE(keepAwake.held && app->loaded("Form3")); };
        clock.offset = 3600;
        clock.change = mainwindow::serialSeconds({2027, 3, 28, 1, 0, 0});
        clock.offsetAfter = 7200;
        setTexts("Combo", c.target);
        const std::int64_t wall =
            mainwindow::serialSeconds(*mainwindow::toMoment(testing_support::fields(c.target)));
        const std::int64_t target = wall - (wall - 3600 < clock.change ? 3600 : 7200);
        clock.reading = {target - 10, 5};
        click("Command3");
        click("Command3", c.via);
        EXPECT_EQ(texts("Combo"), c.lists);
        const bool moved = c.launchedAfter != 0;
        EXPECT_EQ(app->messages().size(), moved ? 0u : 1u);
        EXPECT_EQ(form().text("Label13"),
                  moved ? "还剩：10 分 10 秒 【关机】" : "定时关机执行中……");
        EXPECT_EQ(shown(), moved ? "" : "将在 10 秒后【关机】，请保存您的工作。");
        for (std::int64_t second = target - 9; launcher.started.empty(); ++second) {
            clock.reading = {second, 5};
            app->tick("Form1");
            if (second == target + c.launchedAfter - 60) {
                EXPECT_EQ(shown(), "将在 60 秒后【关机】，请保存您的工作。");
            }
            if (!launcher.started.empty()) {
                EXPECT_EQ(second - target, c.launchedAfter);
            }
        }
        EXPECT_EQ(launcher.started.size(), 1u);
        EXPECT_EQ(shown(), "");
    }
    EXPECT_EQ(app->messages().at(0).text,
              "无法推迟！推迟后的年份 2100 不在年份列表的范围 2014～2099 之内，定时关机保持不变。");
}
