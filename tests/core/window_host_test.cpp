// The window host every toolkit shares, driven through the in-memory windows.
#include <gtest/gtest.h>

#include "memory_host.h"

using namespace std::chrono_literals;
using enum forms::Kind;

const forms::FormTable kTable{"Main",
                              "主窗口",
                              0,
                              0,
                              {{.name = "Go", .kind = PushButton, .text = "开始"},
                               {.name = "Text", .kind = TextBox},
                               {.name = "List", .kind = ComboBox},
                               {.name = "Option", .kind = OptionButton},
                               {.name = "Timer", .kind = Timer}}};

// Every window's handlers do what the test's members say.
struct WindowHostTest : ::testing::Test {
    struct Scripted final : forms::Handlers {
        explicit Scripted(WindowHostTest& t) : t(t) { t.last = this; }
        ~Scripted() override { t.destroyedInAHandler |= t.running; }
        void load() override { t.onLoad(); }
        void click(std::string_view) override {
            t.running = true;
            t.onClick();
            t.running = false;
        }
        void tick() override { ++t.ticks; }
        std::optional<std::chrono::milliseconds> nextTick() const override { return t.next; }
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

    std::function<void()> onLoad = [] {}, onClick = [] {};
    std::optional<std::chrono::milliseconds> next = 1000ms;
    int ticks = 0;
    bool running = false, destroyedInAHandler = false;
    Scripted* last = nullptr;
    testing_support::MemoryHost host;
};

// The error box stops the window's clock, so a failing wake-up does not stack up boxes.
TEST_F(WindowHostTest, HandlerErrorSaysWhatFailedAndTheProgramGoesOn) {
    onClick = [] { throw std::out_of_range("index 3"); };
    host.whileBoxShows = [this] { host.tick("Main"); };
    host.show("Main");
    host.click("Main", "Go");
    host.click("Main", "Text");
    EXPECT_EQ(
        box(0),
        "运行时错误|执行【开始】时出错，程序将继续运行。\n\n错误详情（报告问题时请附上）：index 3");
    EXPECT_EQ(box(1).substr(0, box(1).find('\n')), "运行时错误|响应点击时出错，程序将继续运行。");
    EXPECT_EQ(host.messages()[0].icon, forms::MessageIcon::Error);
    EXPECT_TRUE(host.loaded("Main") && !host.ended());
    EXPECT_EQ(ticks, 0);
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
    EXPECT_EQ(box(1).substr(0, box(1).find('\n')),
              "运行时错误|打开【主窗口】窗口时出错，程序无法继续运行，即将退出。");
    EXPECT_TRUE(host.ended());
    EXPECT_EQ(host.front(), "Other");  // never presented
}

// The year dialog unloads and reloads the main window from the main window's own handler.
TEST_F(WindowHostTest, WindowUnloadedByItsOwnHandlerGoesAfterTheHandler) {
    onClick = [this] {
        host.unload("Main");
        host.show("Main");
    };
    host.show("Main");
    Scripted* first = last;
    host.click("Main", "Go");
    EXPECT_FALSE(destroyedInAHandler);
    EXPECT_TRUE(last != first && host.loaded("Main"));
}

TEST_F(WindowHostTest, TicksFollowTheScheduleAndNothingRunsAfterTheEnd) {
    onClick = [this] {
        host.end();
        host.messageBox("不会出现", "x", forms::MessageIcon::None);
    };
    host.show("Main");
    EXPECT_EQ(host.nextTick("Main"), 1000ms);
    next.reset();
    host.tick("Main");
    EXPECT_EQ(host.nextTick("Main"), std::nullopt);
    host.click("Main", "Go");
    host.tick("Main");
    EXPECT_TRUE(host.ended() && host.messages().empty());
    EXPECT_EQ(ticks, 1);
}

// Which control has which property: the rule every toolkit's form follows.
TEST(ControlContract, RefusesWhatAControlDoesNotHave) {
    using enum forms::Access;
    const std::tuple<const char*, forms::Access, bool> cases[] = {
        {"Text", Text, true},    {"Timer", Text, false},     {"Timer", Enabled, true},
        {"Text", Enabled, true}, {"Option", Selected, true}, {"Text", Selected, false},
        {"List", List, true},    {"Option", List, false},    {"Nothing", Enabled, false}};
    for (const auto& [name, access, has] : cases) {
        bool allowed = true;
        try {
            forms::controlFor(kTable, name, access);
        } catch (const std::logic_error&) {
            allowed = false;
        }
        EXPECT_EQ(allowed, has) << name << " " << static_cast<int>(access);
    }
}
