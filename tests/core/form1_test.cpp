// The main window driven as the toolkit drives it, on the window host with the in-memory windows:
// one wake-up per second, with a clock and a launcher the test controls.
#include <gtest/gtest.h>

#include "fake_clock.h"
#include "fake_keep_awake.h"
#include "fake_launcher.h"
#include "mainwindow/Form1.h"
#include "mainwindow/about.h"
#include "memory_host.h"
#include "temp_config_dir.h"

namespace mainwindow {
namespace {

using power::Action;
using Texts = std::vector<std::string>;

const char* const kLists[] = {"Combo1", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6"};
const char* const kFields[] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"};

Texts numbers(int first, int last) {
    Texts texts;
    for (int n = first; n <= last; ++n) {
        texts.push_back(std::to_string(n));
    }
    return texts;
}

class Form1Test : public ::testing::Test {
  protected:
    void SetUp() override { start(); }
    void start() {
        app = std::make_unique<testing_support::MemoryHost>();
        app->define("Form1", Form1Definition({clock, launcher, keepAwake}));
        app->show("Form1");
    }

    testing_support::MemoryForm& form() { return app->form("Form1"); }
    Texts texts(const char* const (&names)[6]) {
        Texts result;
        for (const char* name : names) {
            result.push_back(form().text(name));
        }
        return result;
    }
    void setTexts(const char* const (&names)[6], const std::array<const char*, 6>& texts) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            form().setText(names[i], texts[i]);
        }
    }
    void click(const char* control) { app->click("Form1", control); }
    // One wake-up at the given clock time of 2014-02-06.
    void tickAt(int hour, int minute, int second) {
        clock.time = {2014, 2, 6, hour, minute, second, 5};
        app->tick("Form1");
    }
    // Armed one second before the clock shows 10:45:30, for a target that day.
    void armFor(const std::array<const char*, 6>& target) {
        tickAt(10, 45, 29);
        setTexts(kLists, target);
        click("Command3");
    }
    bool armed() {
        bool frozen = true;
        for (const char* name : {"Combo1", "Combo6", "Option1", "Option2", "Command3"}) {
            EXPECT_EQ(form().enabled(name), form().enabled("Combo1")) << name;
            frozen = frozen && !form().enabled(name);
        }
        return frozen;
    }

    testing_support::TempConfigDir config;
    testing_support::FakeClock clock;
    power::FakeLauncher launcher;
    power::FakeKeepAwake keepAwake;
    std::unique_ptr<testing_support::MemoryHost> app;
};

TEST_F(Form1Test, StartsWithTheClockAndTheBuiltInListsAndCreatesTheSettings) {
    EXPECT_EQ(texts(kFields), (Texts{"2014", "2", "6", "10", "45", "30"}));
    const std::pair<const char*, Texts> lists[] = {
        {"Combo1", numbers(2014, 2099)}, {"Combo2", numbers(1, 12)}, {"Combo3", numbers(1, 31)},
        {"Combo4", numbers(0, 23)},      {"Combo5", numbers(0, 59)}, {"Combo6", numbers(0, 59)}};
    for (const auto& [list, items] : lists) {
        EXPECT_EQ(form().items(list), items) << list;
    }
    EXPECT_EQ(texts(kLists), (Texts{"2014", "9", "11", "11", "45", "33"}));
    EXPECT_EQ(form().text("Label13"), "程序初始化中……");
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=\n结束年份=\n");
}

// What the file holds, and the years listed; a range that cannot be listed falls back to the
// built-in one and leaves the file as it was, so that it cannot stop every later start.
TEST_F(Form1Test, ListsTheStoredRangeOrTheBuiltInOne) {
    const struct {
        const char* file;
        Texts years;
    } cases[] = {
        {"[参数设置]\n开始年份=2030\n结束年份=2030\n", {"2030"}},
        {"[参数设置]\r\n开始年份= 2010 \r\n结束年份=2011.5\r\n", numbers(2010, 2012)},
        {"[参数设置]\n开始年份=\n结束年份=1999\n", numbers(2014, 2099)},
        {"[参数设置]\n开始年份=2020\n结束年份=\n", numbers(2014, 2099)},
        {"[参数设置]\n开始年份=二〇二〇\n结束年份=2030\n", numbers(2014, 2099)},
        {"[参数设置]\n开始年份=2031\n结束年份=2030\n", numbers(2014, 2099)},
    };
    for (const auto& c : cases) {
        config.writeIni(c.file);
        const std::string before = config.readIni();
        start();
        EXPECT_EQ(form().items("Combo1"), c.years) << c.file;
        EXPECT_EQ(form().text("Combo1"), c.years.front());
        EXPECT_EQ(config.readIni(), before);
    }
}

// A clock that turns to the next year while it is being read.
class TurningClock final : public Clock {
  public:
    LocalDateTime now() const override {
        return reads++ == 0 ? LocalDateTime{2014, 12, 31, 23, 59, 59, 999}
                            : LocalDateTime{2015, 1, 1, 0, 0, 0, 0};
    }
    mutable int reads = 0;
};

TEST_F(Form1Test, ClockShowsOneUnpaddedMomentPerTickOverAnyEdit) {
    form().setText("Text4", "edited");
    tickAt(9, 5, 7);
    EXPECT_EQ(texts(kFields), (Texts{"2014", "2", "6", "9", "5", "7"}));

    TurningClock turning;
    testing_support::MemoryHost host;
    host.define("Form1", Form1Definition({turning, launcher, keepAwake}));
    host.show("Form1");
    turning.reads = 0;
    host.tick("Form1");
    EXPECT_EQ(host.form("Form1").text("Text1"), "2014");
    EXPECT_EQ(host.form("Form1").text("Text6"), "59");
}

TEST_F(Form1Test, WakesAFewMillisecondsAfterEachWholeSecond) {
    clock.time.millisecond = 300;
    app->tick("Form1");
    EXPECT_EQ(app->nextTick("Form1"), std::chrono::milliseconds(700 + kTickMarginMs));
    clock.time.millisecond = 999;
    click("Command1");
    EXPECT_EQ(app->nextTick("Form1"), std::chrono::milliseconds(1 + kTickMarginMs));
}

TEST_F(Form1Test, SyncCopiesTheClockIntoTheTarget) {
    click("Command1");  // before the first tick too: the clock is shown from the load on
    EXPECT_EQ(texts(kLists), (Texts{"2014", "2", "6", "10", "45", "30"}));
    EXPECT_EQ(form().text("Label13"), "执行了【同步时间】");
}

TEST_F(Form1Test, ArmFreezesTheInputsAndResetReleasesThem) {
    armFor({"2014", "2", "6", "11", "0", "0"});
    EXPECT_TRUE(armed());
    EXPECT_TRUE(form().enabled("Timer2"));
    EXPECT_TRUE(form().enabled("Timer3"));
    EXPECT_EQ(form().text("Label13"), "定时关机执行中……");
    EXPECT_TRUE(keepAwake.held);

    click("Command4");
    EXPECT_FALSE(armed());
    EXPECT_FALSE(keepAwake.held);
    EXPECT_FALSE(form().enabled("Timer2"));
    EXPECT_FALSE(form().enabled("Timer3"));
    EXPECT_EQ(form().text("Label13"), "定时关机被重置……（请重新设定）");
    EXPECT_EQ(texts(kLists), (Texts{"2014", "2", "6", "11", "0", "0"}));
}

TEST_F(Form1Test, CountsDownAndLaunchesOnceAtTheTargetSecond) {
    for (const auto& [option, action, tag] : {std::tuple{"Option1", Action::Shutdown, "【关机】"},
                                              std::tuple{"Option2", Action::Restart, "【重启】"}}) {
        start();
        launcher.started.clear();
        form().setSelected(option);
        armFor({"2014", "2", "6", "10", "45", "32"});
        tickAt(10, 45, 30);
        EXPECT_EQ(form().text("Label13"), std::string("还剩：2 秒 ") + tag);
        tickAt(10, 45, 31);
        EXPECT_TRUE(launcher.started.empty());

        tickAt(10, 45, 32);
        EXPECT_EQ(launcher.started, std::vector<Action>{action});
        EXPECT_FALSE(keepAwake.held);
        EXPECT_EQ(form().text("Label13"), std::string("已执行") + tag + "命令……");
        EXPECT_TRUE(armed());

        launcher.finish({true, ""});
        tickAt(10, 45, 33);
        tickAt(10, 45, 32);  // the clock set back over the target second
        tickAt(10, 45, 33);
        EXPECT_EQ(launcher.started.size(), 1u);
        EXPECT_EQ(form().text("Label13"), std::string("已执行") + tag + "命令……");
    }
}

// Whether a run fires, for the clock readings of its ticks after arming at 10:45:29 (the clock's
// own second; the fields may show anything) for a target of 10:45:31.
TEST_F(Form1Test, FiresOnlyForATargetReachedSinceItWasArmed) {
    using Ticks = std::vector<std::array<int, 3>>;
    const struct {
        const char* what;
        std::array<const char*, 6> fields;
        Ticks ticks;
        bool fires;
    } cases[] = {
        {"a skipped target second", {}, {{10, 45, 30}, {10, 45, 32}}, true},
        {"a minute late", {}, {{10, 46, 31}}, true},
        {"asleep past the target", {}, {{10, 45, 30}, {10, 46, 32}, {10, 46, 33}}, false},
        {"set back after a sleep", {}, {{10, 46, 35}, {10, 45, 40}}, false},
        {"the fields typed over", {"2014", "2", "6", "10", "45", "20"}, {{10, 45, 50}}, false},
        {"the fields not yet shown", {"2014", "02", "06", "00", "14", "18"}, {{10, 45, 50}}, false},
    };
    for (const auto& c : cases) {
        start();
        launcher.started.clear();
        clock.time = {2014, 2, 6, 10, 45, 29, 5};
        setTexts(kLists, {"2014", "2", "6", "10", "45", "31"});
        if (c.fields[0] != nullptr) {
            setTexts(kFields, c.fields);
            clock.time = {2014, 2, 6, 10, 45, 49, 5};
        }
        click("Command3");
        for (const auto& [h, m, s] : c.ticks) {
            tickAt(h, m, s);
        }
        EXPECT_EQ(launcher.started.size(), c.fires ? 1u : 0u) << c.what;
    }
}

TEST_F(Form1Test, ArmedOnTheTargetSecondOrWithTypedZerosFiresAtTheNextTick) {
    tickAt(10, 45, 30);
    click("Command1");
    click("Command3");
    tickAt(10, 45, 31);
    EXPECT_EQ(launcher.started.size(), 1u);

    start();
    tickAt(9, 5, 5);
    setTexts(kLists, {"2014", "02", " 6", "09", "05 ", "06"});
    click("Command3");
    tickAt(9, 5, 6);
    EXPECT_EQ(launcher.started.size(), 2u);
}

TEST_F(Form1Test, ReportsACommandThatCannotStartOrFails) {
    launcher.startFailure = "找不到 systemctl 命令";
    armFor({"2014", "2", "6", "10", "45", "30"});
    tickAt(10, 45, 30);
    tickAt(10, 45, 31);
    EXPECT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(form().text("Label13"), "【关机】命令执行失败！找不到 systemctl 命令");
    EXPECT_TRUE(armed());
    click("Command4");
    EXPECT_FALSE(armed());

    launcher.startFailure.reset();
    form().setSelected("Option2");
    armFor({"2014", "2", "6", "10", "45", "30"});
    tickAt(10, 45, 30);
    launcher.finish({false, "退出码 1"});
    tickAt(10, 45, 31);
    EXPECT_EQ(form().text("Label13"), "【重启】命令执行失败！退出码 1");
    EXPECT_FALSE(app->ended());
}

TEST_F(Form1Test, ExitAndClosingEndTheRunWithoutALaunch) {
    armFor({"2014", "2", "6", "10", "45", "31"});
    click("Command5");
    tickAt(10, 45, 31);
    EXPECT_TRUE(app->ended());
    EXPECT_TRUE(launcher.started.empty());

    start();
    click("Command3");
    EXPECT_TRUE(keepAwake.held);
    app->close("Form1");
    EXPECT_FALSE(keepAwake.held);
}

TEST_F(Form1Test, StatusLineClickShowsTheAboutMessage) {
    click("Label13");
    ASSERT_EQ(app->messages().size(), 1u);
    EXPECT_EQ(app->messages()[0].title, "Quenly作品");
    EXPECT_EQ(app->messages()[0].icon, forms::MessageIcon::Information);
    EXPECT_EQ(app->messages()[0].text, AboutText());
}

}  // namespace
}  // namespace mainwindow
