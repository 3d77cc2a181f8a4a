// The main window's buttons, clock, countdown and trigger, driven as the toolkit drives them: one
// wake-up per second, with a clock and a launcher the test controls.
#include <gtest/gtest.h>

#include "fake_clock.h"
#include "fake_keep_awake.h"
#include "fake_launcher.h"
#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "temp_config_dir.h"

namespace mainwindow {
namespace {

using power::Action;

const char* const kLists[] = {"Combo1", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6"};
const char* const kFields[] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"};

class Form1Handlers : public ::testing::Test {
  protected:
    void SetUp() override {
        app.define("Form1", Form1Definition({clock, launcher, keepAwake}));
        app.show("Form1");
    }

    testing_support::MemoryForm& form() { return app.form("Form1"); }

    void setTarget(const std::array<const char*, 6>& texts) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            form().setText(kLists[i], texts[i]);
        }
    }
    std::vector<std::string> texts(const char* const (&names)[6]) {
        std::vector<std::string> result;
        for (const char* name : names) {
            result.push_back(form().text(name));
        }
        return result;
    }
    // One wake-up at the given clock time.
    void tickAt(int hour, int minute, int second) {
        clock.time = {2014, 2, 6, hour, minute, second, 5};
        app.tick("Form1");
    }
    void expectArmed(bool armed) {
        for (const char* list : kLists) {
            EXPECT_EQ(form().enabled(list), !armed) << list;
        }
        EXPECT_EQ(form().enabled("Option1"), !armed);
        EXPECT_EQ(form().enabled("Option2"), !armed);
        EXPECT_EQ(form().enabled("Command3"), !armed);
    }

    testing_support::TempConfigDir config;
    testing_support::FakeClock clock;
    power::FakeLauncher launcher;
    power::FakeKeepAwake keepAwake;
    testing_support::MemoryHost app;
};

// A clock that turns to the next year while it is being read.
class TurningClock final : public Clock {
  public:
    LocalDateTime now() const override {
        return reads++ == 0 ? LocalDateTime{2014, 12, 31, 23, 59, 59, 999}
                            : LocalDateTime{2015, 1, 1, 0, 0, 0, 0};
    }
    mutable int reads = 0;
};

TEST(Form1Clock, ShowsOneMomentPerTickEvenWhenTheClockTurnsMeanwhile) {
    testing_support::TempConfigDir config;
    TurningClock clock;
    power::FakeLauncher launcher;
    power::FakeKeepAwake keepAwake;
    testing_support::MemoryHost app;
    app.define("Form1", Form1Definition({clock, launcher, keepAwake}));
    app.show("Form1");
    clock.reads = 0;

    app.tick("Form1");

    std::vector<std::string> shown;
    for (const char* field : kFields) {
        shown.push_back(app.form("Form1").text(field));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"2014", "12", "31", "23", "59", "59"}));
}

TEST_F(Form1Handlers, ClockFieldsHoldUnpaddedNumbersAndOverwriteEdits) {
    form().setText("Text4", "edited");
    clock.time = {2014, 2, 6, 9, 5, 7, 0};
    app.tick("Form1");
    EXPECT_EQ(texts(kFields), (std::vector<std::string>{"2014", "2", "6", "9", "5", "7"}));
}

TEST_F(Form1Handlers, WakesAFewMillisecondsAfterEachWholeSecond) {
    clock.time.millisecond = 300;
    app.tick("Form1");
    EXPECT_EQ(app.nextTick("Form1"), std::chrono::milliseconds(700 + kTickMarginMs));
    clock.time.millisecond = 999;
    app.click("Form1", "Command1");
    EXPECT_EQ(app.nextTick("Form1"), std::chrono::milliseconds(1 + kTickMarginMs));
}

TEST_F(Form1Handlers, SyncCopiesTheClockFieldsIntoTheTarget) {
    // Before the first tick too: the window shows the clock from the moment it is loaded.
    app.click("Form1", "Command1");
    EXPECT_EQ(texts(kLists), (std::vector<std::string>{"2014", "2", "6", "10", "45", "30"}));
    EXPECT_EQ(form().text("Label13"), "执行了【同步时间】");

    tickAt(9, 5, 7);
    app.click("Form1", "Command1");
    EXPECT_EQ(texts(kLists), (std::vector<std::string>{"2014", "2", "6", "9", "5", "7"}));
}

TEST_F(Form1Handlers, ArmFreezesTheInputsAndResetReleasesThem) {
    setTarget({"2014", "2", "6", "11", "0", "0"});
    app.click("Form1", "Command3");
    expectArmed(true);
    EXPECT_TRUE(form().enabled("Timer2"));
    EXPECT_TRUE(form().enabled("Timer3"));
    EXPECT_EQ(form().text("Label13"), "定时关机执行中……");
    EXPECT_TRUE(keepAwake.held);

    app.click("Form1", "Command4");
    expectArmed(false);
    EXPECT_FALSE(keepAwake.held);
    EXPECT_FALSE(form().enabled("Timer2"));
    EXPECT_FALSE(form().enabled("Timer3"));
    EXPECT_EQ(form().text("Label13"), "定时关机被重置……（请重新设定）");
    EXPECT_EQ(texts(kLists), (std::vector<std::string>{"2014", "2", "6", "11", "0", "0"}));
}

struct RunCase {
    const char* option;
    Action action;
    const char* tag;
};

class Form1Run : public Form1Handlers, public ::testing::WithParamInterface<RunCase> {};

TEST_P(Form1Run, CountsDownAndLaunchesOnceAtTheTargetSecond) {
    tickAt(10, 45, 29);
    form().setSelected(GetParam().option);
    setTarget({"2014", "2", "6", "10", "45", "32"});
    app.click("Form1", "Command3");

    tickAt(10, 45, 30);
    EXPECT_EQ(form().text("Label13"), std::string("还剩：2 秒 ") + GetParam().tag);
    tickAt(10, 45, 31);
    EXPECT_EQ(form().text("Label13"), std::string("还剩：1 秒 ") + GetParam().tag);
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_TRUE(keepAwake.held);

    tickAt(10, 45, 32);
    EXPECT_EQ(launcher.started, std::vector<Action>{GetParam().action});
    EXPECT_FALSE(keepAwake.held);
    EXPECT_EQ(form().text("Label13"), std::string("已执行") + GetParam().tag + "命令……");
    EXPECT_FALSE(form().enabled("Timer2"));
    EXPECT_FALSE(form().enabled("Timer3"));
    expectArmed(true);

    launcher.finish({true, ""});
    tickAt(10, 45, 33);
    tickAt(10, 45, 32);  // the clock set back over the target second
    tickAt(10, 45, 33);
    EXPECT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(form().text("Label13"), std::string("已执行") + GetParam().tag + "命令……");
}

INSTANTIATE_TEST_SUITE_P(Actions, Form1Run,
                         ::testing::Values(RunCase{"Option1", Action::Shutdown, "【关机】"},
                                           RunCase{"Option2", Action::Restart, "【重启】"}));

TEST_F(Form1Handlers, FiresAtOnceWhenTheClockSkipsTheTargetSecond) {
    tickAt(10, 45, 29);
    setTarget({"2014", "2", "6", "10", "45", "31"});
    app.click("Form1", "Command3");
    tickAt(10, 45, 30);
    tickAt(10, 45, 32);
    EXPECT_EQ(launcher.started, std::vector<Action>{Action::Shutdown});
}

TEST_F(Form1Handlers, NeverFiresAfterALargeJumpPastTheTarget) {
    tickAt(10, 45, 29);
    setTarget({"2014", "2", "6", "10", "45", "31"});
    app.click("Form1", "Command3");
    tickAt(10, 45, 30);
    tickAt(10, 46, 32);  // the machine slept past the target by 61 seconds
    tickAt(10, 46, 33);
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_EQ(form().text("Label13"), "还剩：【日期时间设置错误！！请重新设定！！！】【关机】");
    EXPECT_TRUE(form().enabled("Timer2"));
}

TEST_F(Form1Handlers, MatchesTypedNumbersWithLeadingZerosAndBlanks) {
    tickAt(9, 5, 5);
    setTarget({"2014", "02", " 6", "09", "05 ", "06"});
    app.click("Form1", "Command3");
    tickAt(9, 5, 6);
    EXPECT_EQ(launcher.started, std::vector<Action>{Action::Shutdown});
}

// Whatever the clock fields show when "生效" is pressed (typed over, or not yet refreshed), a
// target the clock had passed never fires.
class Form1StaleFields : public Form1Handlers,
                         public ::testing::WithParamInterface<std::array<const char*, 6>> {};

TEST_P(Form1StaleFields, NeverFireATargetThatHadPassedWhenArmed) {
    tickAt(11, 45, 49);
    setTarget({"2014", "2", "6", "11", "45", "33"});
    for (std::size_t i = 0; i < 6; ++i) {
        form().setText(kFields[i], GetParam()[i]);
    }
    app.click("Form1", "Command3");
    tickAt(11, 45, 50);
    tickAt(11, 45, 51);
    EXPECT_TRUE(launcher.started.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, Form1StaleFields,
    ::testing::Values(std::array<const char*, 6>{"2014", "2", "6", "11", "45", "20"},
                      std::array<const char*, 6>{"2014", "02", "06", "00", "14", "18"}));

TEST_F(Form1Handlers, ArmedOnTheTargetSecondFiresAtTheNextTick) {
    tickAt(10, 45, 30);
    app.click("Form1", "Command1");
    app.click("Form1", "Command3");
    tickAt(10, 45, 31);
    EXPECT_EQ(launcher.started, std::vector<Action>{Action::Shutdown});
}

TEST_F(Form1Handlers, ReportsALaunchThatCannotStartAndStaysUntilReset) {
    launcher.startFailure = "找不到 systemctl 命令";
    tickAt(10, 45, 30);
    setTarget({"2014", "2", "6", "10", "45", "31"});
    app.click("Form1", "Command3");
    tickAt(10, 45, 31);
    EXPECT_EQ(form().text("Label13"), "【关机】命令执行失败！找不到 systemctl 命令");
    tickAt(10, 45, 32);
    EXPECT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(form().text("Label13"), "【关机】命令执行失败！找不到 systemctl 命令");
    expectArmed(true);
    EXPECT_FALSE(keepAwake.held);

    app.click("Form1", "Command4");
    expectArmed(false);
}

TEST_F(Form1Handlers, ReportsACommandThatExitsWithFailure) {
    form().setSelected("Option2");
    tickAt(10, 45, 30);
    setTarget({"2014", "2", "6", "10", "45", "31"});
    app.click("Form1", "Command3");
    tickAt(10, 45, 31);
    launcher.finish({false, "退出码 1"});
    tickAt(10, 45, 32);
    EXPECT_EQ(form().text("Label13"), "【重启】命令执行失败！退出码 1");
    EXPECT_FALSE(app.ended());
}

TEST_F(Form1Handlers, ExitEndsAtOnceAndNothingRunsAfter) {
    tickAt(10, 45, 30);
    setTarget({"2014", "2", "6", "10", "45", "31"});
    app.click("Form1", "Command3");
    app.click("Form1", "Command5");
    tickAt(10, 45, 31);
    EXPECT_TRUE(app.ended());
    EXPECT_TRUE(launcher.started.empty());
}

TEST_F(Form1Handlers, ClosingAnArmedWindowLetsTheComputerSleepAgain) {
    app.click("Form1", "Command3");
    EXPECT_EQ(keepAwake.holds, 1);
    app.close("Form1");
    EXPECT_FALSE(keepAwake.held);
}

}  // namespace
}  // namespace mainwindow
