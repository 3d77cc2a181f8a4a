// The year-range dialog, driven with the main window on the in-memory windows.
#include <gtest/gtest.h>

#include "fake_clock.h"
#include "fake_keep_awake.h"
#include "fake_launcher.h"
#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "settings/rwini.h"
#include "temp_config_dir.h"
#include "yeardialog/Form2.h"

namespace {

class Form2Test : public ::testing::Test {
  protected:
    void SetUp() override {
        app.define("Form1", mainwindow::Form1Definition({clock, launcher, keepAwake}));
        app.define("Form2", yeardialog::Form2Definition());
        app.show("Form1");
        app.click("Form1", "Command2");
    }

    testing_support::MemoryForm& dialog() { return app.form("Form2"); }
    testing_support::MemoryForm& main() { return app.form("Form1"); }
    void save(const char* start, const char* end) {
        dialog().setText("Text1", start);
        dialog().setText("Text2", end);
        app.click("Form2", "Command1");
    }
    void arm() { app.click("Form1", "Command3"); }
    const std::string& lastMessage() { return app.messages().back().text; }

    testing_support::TempConfigDir config;
    testing_support::FakeClock clock;
    power::FakeLauncher launcher;
    power::FakeKeepAwake keepAwake;
    testing_support::MemoryHost app;
};

TEST_F(Form2Test, OkStoresTheRangeAndRebuildsTheMainWindowAroundItsMessage) {
    EXPECT_EQ(main().text("Label13"), "执行了【参数设置】");
    arm();
    save(" 2010 ", "9999");

    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2010\n结束年份=9999\n");
    EXPECT_EQ(lastMessage(), "年份设置修改成功！");
    EXPECT_EQ(app.messages().back().title, "提示");
    EXPECT_EQ(app.messages().back().loadedForms, std::vector<std::string>{"Form2"});
    EXPECT_EQ(main().items("Combo1").front(), "2010");
    EXPECT_EQ(main().items("Combo1").back(), "9999");
    EXPECT_FALSE(main().enabled("Timer2"));
    EXPECT_TRUE(main().enabled("Command3"));
    EXPECT_FALSE(keepAwake.held);
    EXPECT_EQ(app.front(), "Form1");
    EXPECT_EQ(dialog().text("Text1"), " 2010 ");

    save("2030", "2030");
    EXPECT_EQ(main().items("Combo1"), std::vector<std::string>{"2030"});

    app.click("Form2", "Command2");
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=\n结束年份=\n");
    EXPECT_EQ(lastMessage(), "已经恢复默认设置！");
    EXPECT_EQ(main().items("Combo1").size(), 86u);
    EXPECT_EQ(dialog().text("Text1"), "2030");
}

TEST_F(Form2Test, RefusesWhatIsNoRangeAndLeavesAnArmedRunGoing) {
    const std::string before = config.readIni();
    arm();
    const std::pair<const char*, const char*> refused[] = {
        {"", "2099"},  {"2000", ""},      {"abc", "2099"}, {"2000.5", "2099"},
        {"0", "2099"}, {"2000", "10000"}, {"-5", "2099"},  {"2031", "2030"}};
    for (const auto& [start, end] : refused) {
        save(start, end);
        EXPECT_EQ(lastMessage(),
                  "年份设置错误！请输入1到9999之间的整数，且开始年份不大于结束年份。")
            << start << " " << end;
    }
    EXPECT_EQ(config.readIni(), before);
    EXPECT_TRUE(main().enabled("Timer2"));
}

TEST_F(Form2Test, SaysWhenTheFileCannotBeWrittenAndKeepsTheMainWindow) {
    config.makeUnwritable();
    arm();
    for (const char* button : {"Command1", "Command2"}) {
        app.click("Form2", button);
        EXPECT_EQ(lastMessage(), "年份设置保存失败！无法写入：" + rwini::GetIniPath());
        EXPECT_TRUE(main().enabled("Timer2")) << button;
    }
}

TEST_F(Form2Test, KeepsTypedTextsUntilTheUserClosesIt) {
    dialog().setText("Text1", "1999");
    app.click("Form1", "Command2");
    EXPECT_EQ(dialog().text("Text1"), "1999");
    app.close("Form2");
    app.click("Form1", "Command2");
    EXPECT_EQ(dialog().text("Text1"), "2000");
    EXPECT_EQ(dialog().text("Text2"), "2099");
}

}  // namespace
