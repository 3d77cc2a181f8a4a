// The window host every toolkit shares, driven through the in-memory windows.
#include <gtest/gtest.h>

#include "memory_host.h"

using enum forms::Kind;

const forms::FormTable kTable{
    "Main",
    "主窗口",
    0,
    0,
    {{.name = "Go", .kind = PushButton, .text = "开始"}, {.name = "Text", .kind = TextBox}}};

// Every window's handlers do what the test's members say.
struct WindowHostTest : ::testing::Test {
    struct Scripted final : forms::Handlers {
        explicit Scripted(WindowHostTest& t) : t(t) {}
        void load() override { t.onLoad(); }
        void click(std::string_view) override { t.onEvent(); }
        void tick() override {
            ++t.ticks;
            t.onEvent();
        }
        void minimized() override { t.onEvent(); }
        WindowHostTest& t;
    };
    WindowHostTest() {
        for (const char* name : {"Main", "Other"}) {
            host.define(name, {&kTable,
                               [this](auto&, auto&) { return std::make_unique<Scripted>(*this); }});
        }
    }
    std::string box(std::size_t i) const {
        return host.messages().at(i).title + "|" + host.messages().at(i).text;
    }
    std::string headline(std::size_t i) const { return box(i).substr(0, box(i).find('\n')); }

    std::function<void()> onLoad = [] {}, onEvent = [] {};  // onEvent: clicks, wake-ups, minimizing
    int ticks = 0;
    testing_support::MemoryHost host;
};

// The error box stops the window's clock, so a failing wake-up does not stack up boxes. No failing
// click, wake-up or minimizing ends the program.
TEST_F(WindowHostTest, HandlerErrorSaysWhatFailedAndTheProgramGoesOn) {
    onEvent = [] { throw std::out_of_range("index 3"); };
    host.whileBoxShows = [this] { host.tick("Main"); };
    host.show("Main");
    host.click("Main", "Go");
    host.click("Main", "Text");
    EXPECT_EQ(ticks, 0);
    onEvent = [] { throw 42; };
    host.tick("Main");
    host.minimize("Main");
    EXPECT_EQ(
        box(0),
        "运行时错误|执行【开始】时出错，程序将继续运行。\n\n错误详情（报告问题时请附上）：index 3");
    EXPECT_EQ(headline(1), "运行时错误|响应点击时出错，程序将继续运行。");
    EXPECT_EQ(box(2),
              "运行时错误|【主窗口】窗口定时更新时出错，程序将继续运行。\n\n"
              "错误详情（报告问题时请附上）：未知错误");
    EXPECT_EQ(headline(3), "运行时错误|【主窗口】窗口最小化时出错，程序将继续运行。");
    EXPECT_EQ(host.messages()[0].icon, forms::MessageIcon::Error);
    EXPECT_TRUE(host.loaded("Main") && !host.ended());
}

// A later window failing to start leaves the program running; the first one leaves it nothing
// to show, so it ends instead of showing a half-filled window.
TEST_F(WindowHostTest, WindowThatCannotStartIsNotShown) {
    host.show("Other");
    onLoad = [] { throw std::runtime_error("bad"); };
    host.show("Main");
    EXPECT_FALSE(host.loaded("Main") || host.ended());
    host.close("Other");
    host.show("Main");
    EXPECT_EQ(box(0),
              "运行时错误|"
              "打开【主窗口】窗口时出错，程序将继续运行。\n\n错误详情（报告问题时请附上）：bad");
    EXPECT_EQ(headline(1), "运行时错误|打开【主窗口】窗口时出错，程序无法继续运行，即将退出。");
    EXPECT_TRUE(host.ended());
    EXPECT_EQ(host.front(), "Other");  // never presented
    // Nor does anything show after the end.
    host.messageBox("不会出现", "x", forms::MessageIcon::None);
    EXPECT_EQ(host.messages().size(), 2u);
}
