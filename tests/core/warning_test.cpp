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
    std::string shown() { return app->loaded("Form3") ? form("Form3").text("Label1") : ""; }
};

// Closing a window can wait on the desktop: the command starts while the warning is still open
// and the computer still kept awake.
TEST_F(Warning, CountsDownTheLastMinuteAndClosesAfterTheLaunch) {
    launcher.atStart = [this] { EXPECT_TRUE(app->loaded("Form3") && keepAwake.held); };
    form().setSelected("Option2");
    armAt(44, 59);
    EXPECT_EQ(shown(), "");
    tickAt(10, 45, 0);
    EXPECT_EQ(shown(), "将在 60 秒后【重启】，请保存您的工作。");
    tickAt(10, 45, 59);
    EXPECT_EQ(shown(), "将在 1 秒后【重启】，请保存您的工作。");
    tickAt(10, 46, 0);
    EXPECT_EQ(launcher.started, std::vector<power::Action>{power::Action::Restart});
    EXPECT_EQ(shown(), "");
}

// With ten seconds left at "生效" the warning shows at once. Then a button is pressed, or with no
// control named the window is closed and the main window shown (loaded anew if it was the one).
TEST_F(Warning, ClosesWhenAnsweredAndLaunchesAtMostOnce) {
    const char *launched = "已执行【关机】命令……", *reset = "定时关机被重置……（请重新设定）";
    const struct {
        const char *form, *control;
        std::size_t launchesAtOnce, launchesAtTarget;
        const char* status;  // at the target second
    } answers[] = {{"Form3", "Command1", 1, 1, launched},
                   {"Form3", "Command2", 0, 0, reset},
                   {"Form1", "Command4", 0, 0, reset},
                   {"Form3", nullptr, 0, 1, launched},
                   {"Form1", nullptr, 0, 0, "程序初始化中……"}};
    for (const auto& a : answers) {
        SCOPED_TRACE(std::string(a.form) + (a.control ? a.control : " closed"));
        start();
        launcher.started.clear();
        launcher.atStart = [this] { EXPECT_TRUE(keepAwake.held); };
        armAt(45, 50);
        EXPECT_EQ(shown(), "将在 10 秒后【关机】，请保存您的工作。");
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
    }
}

// Saving the year range rebuilds the main window; the warning answers the new one.
TEST_F(Warning, AnswersTheMainWindowTheYearDialogRebuilt) {
    click("Command2");
    click("Command1", "Form2");  // "确定" on the years the dialog shows
    armAt(45, 50);
    click("Command1", "Form3");
    EXPECT_EQ(launcher.started.size(), 1u);
}

// Gone once its run can no longer fire, and shown again for the next run after a cancel.
TEST_F(Warning, FollowsTheRunItWarnsOf) {
    armAt(45, 50);
    tickAt(10, 47, 1);  // woken more than a minute past the target: nothing runs
    EXPECT_EQ(shown(), "");
    click("Command4");
    armAt(45, 52);
    click("Command2", "Form3");
    armAt(45, 52);
    EXPECT_EQ(shown(), "将在 8 秒后【关机】，请保存您的工作。");
    click("Command4");
    setTexts("Combo", "2014/2/30/10/46/0");
    click("Command3");
    EXPECT_EQ(shown(), "");
    EXPECT_TRUE(launcher.started.empty());
}
