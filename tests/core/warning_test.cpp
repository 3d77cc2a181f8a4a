// The last-minute warning as the main window drives it, one wake-up per second.
#include <gtest/gtest.h>

#include "fake_clock.h"
#include "fake_keep_awake.h"
#include "fake_launcher.h"
#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "temp_config_dir.h"

namespace {

class Warning : public ::testing::Test {
  protected:
    void SetUp() override {
        app.define("Form1", mainwindow::Form1Definition({clock, launcher, keepAwake, &link}));
        app.define("Form3", warning::Form3Definition(link));
        app.show("Form1");
    }
    // Armed for 10:46:00, the target "同步时间" copies at that time.
    void armAt(int minute, int second) {
        tickAt(46, 0);
        app.click("Form1", "Command1");
        clock.time = {2014, 2, 6, 10, minute, second, 5};
        app.click("Form1", "Command3");
    }
    void tickAt(int minute, int second) {
        clock.time = {2014, 2, 6, 10, minute, second, 5};
        app.tick("Form1");
    }
    std::string shown() { return app.loaded("Form3") ? app.form("Form3").text("Label1") : ""; }

    testing_support::TempConfigDir config;
    testing_support::FakeClock clock;
    power::FakeLauncher launcher;
    power::FakeKeepAwake keepAwake;
    warning::Link link;
    testing_support::MemoryHost app;
};

TEST_F(Warning, CountsDownTheLastMinuteAndClosesAtTheLaunch) {
    app.form("Form1").setSelected("Option2");
    armAt(44, 59);
    EXPECT_EQ(shown(), "");
    tickAt(45, 0);
    EXPECT_EQ(shown(), "将在 60 秒后【重启】，请保存您的工作。");
    tickAt(45, 59);
    EXPECT_EQ(shown(), "将在 1 秒后【重启】，请保存您的工作。");
    tickAt(46, 0);
    EXPECT_EQ(launcher.started, std::vector<power::Action>{power::Action::Restart});
    EXPECT_EQ(shown(), "");
}

// With ten seconds left at "生效" the warning shows at once. Then a button is pressed, or with no
// control named the window is closed and the main window shown (loaded anew if it was the one).
struct Answer {
    const char* form;
    const char* control;
    std::size_t launchesAtOnce;
    std::size_t launchesAtTarget;
    const char* status;  // at the target second
};

class WarningAnswer : public Warning, public ::testing::WithParamInterface<Answer> {};

TEST_P(WarningAnswer, ClosesTheWarningAndLaunchesAtMostOnce) {
    const Answer& answer = GetParam();
    armAt(45, 50);
    EXPECT_EQ(shown(), "将在 10 秒后【关机】，请保存您的工作。");
    if (answer.control != nullptr) {
        app.click(answer.form, answer.control);
    } else {
        app.close(answer.form);
        app.show("Form1");
    }
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(launcher.started.size(), answer.launchesAtOnce);
    tickAt(45, 51);
    EXPECT_EQ(shown(), "");  // closed by the user, it does not come back
    tickAt(46, 0);
    EXPECT_EQ(launcher.started.size(), answer.launchesAtTarget);
    EXPECT_EQ(app.form("Form1").text("Label13"), answer.status);
}

const char* const kLaunched = "已执行【关机】命令……";
const char* const kReset = "定时关机被重置……（请重新设定）";

INSTANTIATE_TEST_SUITE_P(Answers, WarningAnswer,
                         ::testing::Values(Answer{"Form3", "Command1", 1, 1, kLaunched},
                                           Answer{"Form3", "Command2", 0, 0, kReset},
                                           Answer{"Form1", "Command4", 0, 0, kReset},
                                           Answer{"Form3", nullptr, 0, 1, kLaunched},
                                           Answer{"Form1", nullptr, 0, 0, "程序初始化中……"}));

}  // namespace
