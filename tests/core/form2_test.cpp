// The year-range dialog and the About message, driven against the in-memory windows.
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

using testing_support::MemoryHost;

class YearDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        app.define("Form1", mainwindow::Form1Definition({clock, launcher, keepAwake}));
        app.define("Form2", yeardialog::Form2Definition());
        app.show("Form1");
        app.click("Form1", "Command2");
    }

    testing_support::MemoryForm& dialog() { return app.form("Form2"); }
    testing_support::MemoryForm& main() { return app.form("Form1"); }
    void type(const char* start, const char* end) {
        dialog().setText("Text1", start);
        dialog().setText("Text2", end);
    }
    void arm() {
        app.tick("Form1");
        app.click("Form1", "Command3");
    }
    const MemoryHost::Message& lastMessage() { return app.messages().back(); }

    testing_support::TempConfigDir config;
    testing_support::FakeClock clock;
    power::FakeLauncher launcher;
    power::FakeKeepAwake keepAwake;
    MemoryHost app;
};

TEST_F(YearDialog, OpensWithItsOwnTextsAndTheMainWindowSaysSo) {
    EXPECT_EQ(dialog().text("Text1"), "2000");
    EXPECT_EQ(dialog().text("Text2"), "2099");
    EXPECT_EQ(main().text("Label13"), "执行了【参数设置】");
}

TEST_F(YearDialog, OkStoresTheRangeAndRebuildsTheMainWindowAroundItsMessage) {
    arm();
    type(" 2010 ", "2030");
    app.click("Form2", "Command1");

    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2010\n结束年份=2030\n");
    EXPECT_EQ(lastMessage().text, "年份设置修改成功！");
    EXPECT_EQ(lastMessage().title, "提示");
    EXPECT_EQ(lastMessage().icon, forms::MessageIcon::None);
    EXPECT_EQ(lastMessage().loadedForms, std::vector<std::string>{"Form2"});

    EXPECT_EQ(main().items("Combo1").front(), "2010");
    EXPECT_EQ(main().items("Combo1").back(), "2030");
    EXPECT_FALSE(main().enabled("Timer2"));
    EXPECT_FALSE(main().enabled("Timer3"));
    EXPECT_TRUE(main().enabled("Command3"));
    EXPECT_FALSE(keepAwake.held);
    EXPECT_EQ(main().text("Label13"), "程序初始化中……");
    EXPECT_EQ(app.front(), "Form1");
    EXPECT_EQ(dialog().text("Text1"), " 2010 ");
}

TEST_F(YearDialog, DefaultReturnsToTheBuiltInYearsAndKeepsTheBoxes) {
    type("2010", "2030");
    app.click("Form2", "Command1");
    app.click("Form2", "Command2");

    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=\n结束年份=\n");
    EXPECT_EQ(lastMessage().text, "已经恢复默认设置！");
    EXPECT_EQ(main().items("Combo1").size(), 86u);
    EXPECT_EQ(dialog().text("Text1"), "2010");
}

struct Refused {
    const char* start;
    const char* end;
};

class YearDialogRefuses : public YearDialog, public ::testing::WithParamInterface<Refused> {};

TEST_P(YearDialogRefuses, WritesNothingAndLeavesAnArmedRunGoing) {
    const std::string before = config.readIni();
    arm();
    type(GetParam().start, GetParam().end);
    app.click("Form2", "Command1");

    EXPECT_EQ(lastMessage().text,
              "年份设置错误！请输入1到9999之间的整数，且开始年份不大于结束年份。");
    EXPECT_EQ(lastMessage().title, "提示");
    EXPECT_EQ(config.readIni(), before);
    EXPECT_TRUE(main().enabled("Timer2"));
    EXPECT_TRUE(keepAwake.held);
}

INSTANTIATE_TEST_SUITE_P(Inputs, YearDialogRefuses,
                         ::testing::Values(Refused{"", "2099"}, Refused{"2000", ""},
                                           Refused{"abc", "2099"}, Refused{"2000.5", "2099"},
                                           Refused{"0", "2099"}, Refused{"2000", "10000"},
                                           Refused{"-5", "2099"}, Refused{"2031", "2030"}));

TEST_F(YearDialog, SaysWhenTheFileCannotBeWrittenAndKeepsTheMainWindow) {
    config.makeUnwritable();
    arm();

    for (const char* button : {"Command1", "Command2"}) {
        app.click("Form2", button);
        EXPECT_EQ(lastMessage().text, "年份设置保存失败！无法写入：" + rwini::GetIniPath());
        EXPECT_TRUE(main().enabled("Timer2")) << button;
    }
}

TEST_F(YearDialog, ReopeningKeepsTypedTextsUntilTheUserClosesIt) {
    type("1999", "2001");
    app.click("Form1", "Command2");
    EXPECT_EQ(dialog().text("Text1"), "1999");

    app.close("Form2");
    app.click("Form1", "Command2");
    EXPECT_EQ(dialog().text("Text1"), "2000");
    EXPECT_EQ(dialog().text("Text2"), "2099");
}

TEST_F(YearDialog, StatusLineClickShowsTheAboutMessage) {
    app.click("Form1", "Label13");
    EXPECT_EQ(lastMessage().title, "Quenly作品");
    EXPECT_EQ(lastMessage().icon, forms::MessageIcon::Information);
    EXPECT_EQ(lastMessage().text,
              "Kestrova - Version 1.0    \r\n\r\n"
              "       《望岳》 \r\n"
              "岱宗夫如何，齐鲁青未了。 \r\n"
              "造化钟神秀，阴阳割昏晓。 \r\n"
              "荡胸生层云，决眦入归鸟。 \r\n"
              "会当凌绝顶，一览众山小。 \r\n\r\n"
              "特别鸣谢：[Brasko团队]\r\n"
              "             \r\n"
              "E-mail:quenly.studio@example.com \r\n\r\n"
              "【勇气|专业|坚持|挑战】\r\n\r\n");
    EXPECT_EQ(main().text("Label13"), "执行了【参数设置】");
}

}  // namespace
