// The year-range dialog, opened from the main window on the in-memory window host.
#include <gtest/gtest.h>

#include "program.h"
#include "settings/rwini.h"

class Form2Test : public ::testing::Test, public testing_support::Program {
  protected:
    void SetUp() override { click("Command2"); }
    void save(const char* start, const char* end) {
        form("Form2").setText("Text1", start);
        form("Form2").setText("Text2", end);
        click("Command1", "Form2");
    }
    const std::string& said() { return app->messages().back().text; }
};

TEST_F(Form2Test, OkStoresTheRangeAndRebuildsTheMainWindowAroundItsMessage) {
    EXPECT_EQ(form().text("Label13"), "执行了【参数设置】");
    click("Command3");
    save(" 1 ", "9999");
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=1\n结束年份=9999\n");
    const auto& box = app->messages().back();
    EXPECT_EQ(box.title + box.text + box.loadedForms.at(0), "提示年份设置修改成功！Form2");
    EXPECT_EQ(box.loadedForms.size() + items("Combo1").size(), 1 + 9999u);
    EXPECT_TRUE(form().enabled("Command3") && !form().enabled("Timer2") && !keepAwake.held);
    EXPECT_EQ(app->front(), "Form1");
    save("2030", "2030");
    EXPECT_EQ(items("Combo1"), std::vector<std::string>{"2030"});

    click("Command2", "Form2");
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=\n结束年份=\n");
    EXPECT_EQ(said(), "已经恢复默认设置！");
    EXPECT_EQ(items("Combo1").size(), 86u);
    EXPECT_EQ(form("Form2").text("Text1"), "2030");
}

TEST_F(Form2Test, RefusesWhatIsNoRangeAndLeavesAnArmedRunGoing) {
    const std::string before = config.readIni();
    click("Command3");
    const char* refused[][2] = {{"", "2099"},       {"2000", ""},    {"abc", "2099"},
                                {"2000.5", "2099"}, {"0", "2099"},   {"2000", "10000"},
                                {"-5", "2099"},     {"2031", "2030"}};
    for (const auto& [start, end] : refused) {
        save(start, end);
        EXPECT_EQ(said(), "年份设置错误！请输入1到9999之间的整数，且开始年份不大于结束年份。")
            << start << " " << end;
    }
    EXPECT_EQ(config.readIni(), before);
    EXPECT_TRUE(form().enabled("Timer2"));
}

TEST_F(Form2Test, SaysWhenTheFileCannotBeWrittenAndKeepsTheMainWindow) {
    config.makeUnwritable();
    click("Command3");
    for (const char* button : {"Command1", "Command2"}) {
        click(button, "Form2");
        EXPECT_EQ(said(), "年份设置保存失败！无法写入：" + rwini::GetIniPath());
        EXPECT_TRUE(form().enabled("Timer2")) << button;
    }
}
