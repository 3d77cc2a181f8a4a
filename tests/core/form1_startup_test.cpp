// The main window as it comes up: its initial state and the target lists its start-up fills from
// the settings file.
#include <gtest/gtest.h>

#include "fake_clock.h"
#include "fake_keep_awake.h"
#include "fake_launcher.h"
#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "temp_config_dir.h"

namespace mainwindow {
namespace {

using testing_support::TempConfigDir;

std::vector<std::string> numbers(int first, int last) {
    std::vector<std::string> texts;
    for (int n = first; n <= last; ++n) {
        texts.push_back(std::to_string(n));
    }
    return texts;
}

class Form1Startup : public ::testing::Test {
  protected:
    testing_support::MemoryForm& start() {
        app.define("Form1", Form1Definition({clock, launcher, keepAwake}));
        app.show("Form1");
        return app.form("Form1");
    }

    TempConfigDir config;
    testing_support::FakeClock clock;
    power::FakeLauncher launcher;
    power::FakeKeepAwake keepAwake;
    testing_support::MemoryHost app;
};

TEST_F(Form1Startup, WithoutASettingsFileOffersTheBuiltInYearsAndDefaultPicks) {
    testing_support::MemoryForm& form = start();

    EXPECT_EQ(form.items("Combo1"), numbers(2014, 2099));
    const std::pair<const char*, std::vector<std::string>> lists[] = {{"Combo2", numbers(1, 12)},
                                                                      {"Combo3", numbers(1, 31)},
                                                                      {"Combo4", numbers(0, 23)},
                                                                      {"Combo5", numbers(0, 59)},
                                                                      {"Combo6", numbers(0, 59)}};
    for (const auto& [list, items] : lists) {
        EXPECT_EQ(form.items(list), items) << list;
    }
    const std::pair<const char*, const char*> picks[] = {{"Combo1", "2014"}, {"Combo2", "9"},
                                                         {"Combo3", "11"},   {"Combo4", "11"},
                                                         {"Combo5", "45"},   {"Combo6", "33"}};
    for (const auto& [list, text] : picks) {
        EXPECT_EQ(form.text(list), text) << list;
    }
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=\n结束年份=\n");
}

TEST_F(Form1Startup, KeepsEverythingElseAtItsInitialState) {
    testing_support::MemoryForm& form = start();

    const char* clockTexts[] = {"2014", "2", "6", "10", "45", "30"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(form.text("Text" + std::to_string(i + 1)), clockTexts[i]);
    }
    EXPECT_TRUE(form.selected("Option1"));
    EXPECT_FALSE(form.selected("Option2"));
    EXPECT_TRUE(form.enabled("Timer1"));
    EXPECT_FALSE(form.enabled("Timer2"));
    EXPECT_FALSE(form.enabled("Timer3"));
    EXPECT_TRUE(form.enabled("Command3"));
    EXPECT_EQ(form.text("Label13"), "程序初始化中……");
    EXPECT_TRUE(app.messages().empty());
}

struct StoredRange {
    const char* file;
    std::vector<std::string> years;
};

class Form1StoredRange : public Form1Startup, public ::testing::WithParamInterface<StoredRange> {};

TEST_P(Form1StoredRange, ListsTheUsableRangeAndLeavesTheFileAsItWas) {
    config.writeIni(GetParam().file);
    const std::string before = config.readIni();

    testing_support::MemoryForm& form = start();

    EXPECT_EQ(form.items("Combo1"), GetParam().years);
    EXPECT_EQ(form.text("Combo1"), GetParam().years.front());
    EXPECT_EQ(form.listIndex("Combo1"), 0);
    EXPECT_EQ(config.readIni(), before);
}

const std::vector<std::string> kBuiltIn = numbers(2014, 2099);

INSTANTIATE_TEST_SUITE_P(
    Ranges, Form1StoredRange,
    ::testing::Values(
        StoredRange{"[参数设置]\n开始年份=2000\n结束年份=2099\n", numbers(2000, 2099)},
        StoredRange{"[参数设置]\n开始年份=2030\n结束年份=2030\n", {"2030"}},
        StoredRange{"[参数设置]\r\n开始年份= 2010 \r\n结束年份=2011.5\r\n", numbers(2010, 2012)},
        StoredRange{"[参数设置]\n开始年份=\n结束年份=1999\n", kBuiltIn},
        // What would stop the program at every start: none of it may.
        StoredRange{"[参数设置]\n开始年份=2020\n结束年份=\n", kBuiltIn},
        StoredRange{"[参数设置]\n开始年份=二〇二〇\n结束年份=2030\n", kBuiltIn},
        StoredRange{"[参数设置]\n开始年份=2020\n结束年份=40000\n", kBuiltIn},
        StoredRange{"[参数设置]\n开始年份=32766\n结束年份=32767\n", kBuiltIn},
        StoredRange{"[参数设置]\n开始年份=2031\n结束年份=2030\n", kBuiltIn}));

}  // namespace
}  // namespace mainwindow
