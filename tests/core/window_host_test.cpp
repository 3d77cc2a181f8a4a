// The window host every toolkit shares, driven through the in-memory windows.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "memory_host.h"

namespace {

using namespace std::chrono_literals;

using enum forms::Kind;
const forms::FormTable kTable{"Main",
                              "主窗口",
                              1500,
                              1500,
                              {{.name = "Go", .kind = PushButton, .text = "开始"},
                               {.name = "Status", .kind = Label},
                               {.name = "Text", .kind = TextBox},
                               {.name = "List", .kind = ComboBox},
                               {.name = "Option", .kind = OptionButton},
                               {.name = "Timer", .kind = Timer}}};

// Every window's handlers do what the test's members say.
class WindowHostTest : public ::testing::Test {
  protected:
    struct Scripted final : forms::Handlers {
        explicit Scripted(WindowHostTest& t) : t(t) { t.last = this; }
        ~Scripted() override { t.destroyedInAHandler = t.destroyedInAHandler || t.running; }
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

    void SetUp() override {
        for (const char* name : {"Main", "Other"}) {
            host.define(name, {&kTable, [this](forms::Form&, forms::Application&) {
                                   return std::make_unique<Scripted>(*this);
                               }});
        }
    }
    std::string firstLineOfLastBox() const {
        const std::string& text = host.messages().back().text;
        return text.substr(0, text.find('\n'));
    }

    std::function<void()> onLoad = [] {}, onClick = [] {};
    std::optional<std::chrono::milliseconds> next = 1000ms;
    int ticks = 0;
    bool running = false, destroyedInAHandler = false;
    Scripted* last = nullptr;
    testing_support::MemoryHost host;
};

TEST_F(WindowHostTest, HandlerErrorSaysWhatFailedAndTheProgramGoesOn) {
    onClick = [] { throw std::out_of_range("list index 3 is out of range"); };
    host.show("Main");
    host.click("Main", "Go");
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].title, "运行时错误");
    EXPECT_EQ(host.messages()[0].icon, forms::MessageIcon::Error);
    EXPECT_EQ(host.messages()[0].text,
              "执行【开始】时出错，程序将继续运行。\n\n"
              "错误详情（报告问题时请附上）：list index 3 is out of range");
    host.click("Main", "Status");
    EXPECT_EQ(firstLineOfLastBox(), "响应点击时出错，程序将继续运行。");
    EXPECT_TRUE(host.loaded("Main") && !host.ended());
}

// A later window failing to start leaves the program running; the first one leaves it nothing
// to show, so it ends instead of showing a half-filled window.
TEST_F(WindowHostTest, WindowThatCannotStartIsNotShown) {
    host.show("Other");
    onLoad = [] { throw std::runtime_error("bad settings"); };
    host.show("Main");
    EXPECT_FALSE(host.loaded("Main") || host.ended());
    EXPECT_EQ(host.messages().back().text,
              "打开【主窗口】窗口时出错，程序将继续运行。\n\n"
              "错误详情（报告问题时请附上）：bad settings");
    host.close("Other");
    host.show("Main");
    EXPECT_EQ(firstLineOfLastBox(), "打开【主窗口】窗口时出错，程序无法继续运行，即将退出。");
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
    next = 250ms;
    host.tick("Main");
    EXPECT_EQ(host.nextTick("Main"), 250ms);
    next.reset();
    host.tick("Main");
    EXPECT_EQ(host.nextTick("Main"), std::nullopt);
    host.click("Main", "Go");
    host.tick("Main");
    EXPECT_TRUE(host.ended() && host.messages().empty());
    EXPECT_EQ(ticks, 2);
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

}  // namespace
