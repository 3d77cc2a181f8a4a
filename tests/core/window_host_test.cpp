// The window host every toolkit shares, driven through the in-memory windows: errors in handlers,
// a window unloaded by its own handler, the tick schedule, and the end of the program.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "memory_host.h"

namespace {

using namespace std::chrono_literals;
using testing_support::MemoryHost;

const forms::FormTable kTable{"Main",
                              "主窗口",
                              1500,
                              1500,
                              {{.name = "Go", .kind = forms::Kind::PushButton, .text = "开始"},
                               {.name = "Status", .kind = forms::Kind::Label, .text = "就绪"}}};

// Handlers that do what the test says, and report when they go.
struct Scripted final : forms::Handlers {
    void load() override {
        if (onLoad) {
            onLoad();
        }
    }
    void click(std::string_view) override { onClick(); }
    void tick() override { ++ticks; }
    std::optional<std::chrono::milliseconds> nextTick() const override { return next; }
    ~Scripted() override {
        if (onDestroy) {
            onDestroy();
        }
    }

    std::function<void()> onLoad, onClick, onDestroy;
    std::optional<std::chrono::milliseconds> next = 1000ms;
    int ticks = 0;
};

class WindowHostTest : public ::testing::Test {
  protected:
    void define(std::string name, std::function<void(Scripted&, forms::Application&)> setUp) {
        host.define(std::move(name),
                    {&kTable, [this, setUp](forms::Form&, forms::Application& app) {
                         auto handlers = std::make_unique<Scripted>();
                         setUp(*handlers, app);
                         last = handlers.get();
                         return handlers;
                     }});
    }
    const std::string& lastBox() const { return host.messages().back().text; }

    MemoryHost host;
    Scripted* last = nullptr;
};

TEST_F(WindowHostTest, HandlerErrorSaysWhatFailedAndTheProgramGoesOn) {
    define("Main", [](Scripted& h, forms::Application&) {
        h.onClick = [] { throw std::out_of_range("list index 3 is out of range"); };
    });
    host.show("Main");
    host.click("Main", "Go");
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].title, "运行时错误");
    EXPECT_EQ(host.messages()[0].icon, forms::MessageIcon::Error);
    EXPECT_EQ(lastBox(),
              "执行【开始】时出错，程序将继续运行。\n\n"
              "错误详情（报告问题时请附上）：list index 3 is out of range");
    host.click("Main", "Status");
    EXPECT_EQ(lastBox().substr(0, lastBox().find('\n')), "响应点击时出错，程序将继续运行。");
    EXPECT_TRUE(host.loaded("Main"));
    EXPECT_FALSE(host.ended());
}

// The first window's start-up failing leaves the program nothing to show: it says so and ends,
// instead of showing a half-filled window. A later window failing leaves the program running.
TEST_F(WindowHostTest, WindowThatCannotStartIsNotShown) {
    define("Main", [](Scripted& h, forms::Application&) {
        h.onLoad = [] { throw std::runtime_error("bad settings"); };
    });
    define("Other", [](Scripted&, forms::Application&) {});
    host.show("Other");
    host.show("Main");
    EXPECT_FALSE(host.loaded("Main"));
    EXPECT_EQ(lastBox(),
              "打开【主窗口】窗口时出错，程序将继续运行。\n\n"
              "错误详情（报告问题时请附上）：bad settings");
    EXPECT_FALSE(host.ended());

    host.close("Other");
    host.show("Main");
    EXPECT_EQ(lastBox().substr(0, lastBox().find('\n')),
              "打开【主窗口】窗口时出错，程序无法继续运行，即将退出。");
    EXPECT_TRUE(host.ended());
    EXPECT_EQ(host.front(), "Other");  // never presented
}

// A handler may unload its own window and load it anew (the year dialog does); the old handlers
// are destroyed only after they have returned.
TEST_F(WindowHostTest, WindowUnloadedByItsOwnHandlerGoesAfterTheHandler) {
    bool returned = false;
    bool destroyedWhileRunning = false;
    define("Main", [&](Scripted& h, forms::Application&) {
        h.onClick = [this, &returned] {
            host.unload("Main");
            host.show("Main");
            returned = true;
        };
        h.onDestroy = [&returned, &destroyedWhileRunning] {
            destroyedWhileRunning = destroyedWhileRunning || !returned;
        };
    });
    host.show("Main");
    Scripted* first = last;
    host.click("Main", "Go");
    EXPECT_FALSE(destroyedWhileRunning);
    EXPECT_NE(last, first);
    EXPECT_TRUE(host.loaded("Main"));
    last->onDestroy = nullptr;  // the host outlives this test's flags
}

TEST_F(WindowHostTest, TicksFollowTheScheduleAndNothingRunsAfterTheEnd) {
    define("Main", [this](Scripted& h, forms::Application&) {
        h.onClick = [this] {
            host.end();
            host.messageBox("不会出现", "x", forms::MessageIcon::None);
        };
    });
    host.show("Main");
    EXPECT_EQ(host.nextTick("Main"), 1000ms);
    last->next = 250ms;
    host.tick("Main");
    EXPECT_EQ(host.nextTick("Main"), 250ms);
    last->next.reset();
    host.tick("Main");
    EXPECT_EQ(host.nextTick("Main"), std::nullopt);

    host.click("Main", "Go");
    host.tick("Main");
    EXPECT_TRUE(host.ended());
    EXPECT_EQ(last->ticks, 2);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(host.nextTick("Main"), std::nullopt);
}

// Which control has which property, the rule the memory, Qt and Win32 forms all follow.
TEST(ControlContract, RefusesWhatAControlDoesNotHave) {
    const forms::FormTable table{"F",
                                 "",
                                 0,
                                 0,
                                 {{.name = "Text", .kind = forms::Kind::TextBox},
                                  {.name = "List", .kind = forms::Kind::ComboBox},
                                  {.name = "Option", .kind = forms::Kind::OptionButton},
                                  {.name = "Timer", .kind = forms::Kind::Timer}}};
    using enum forms::Access;
    const std::tuple<const char*, forms::Access, bool> cases[] = {
        {"Text", Text, true},    {"Timer", Text, false},     {"Timer", Enabled, true},
        {"Text", Enabled, true}, {"Option", Selected, true}, {"Text", Selected, false},
        {"List", List, true},    {"Option", List, false},    {"Nothing", Enabled, false}};
    for (const auto& [name, access, has] : cases) {
        bool allowed = true;
        try {
            forms::controlFor(table, name, access);
        } catch (const std::logic_error&) {
            allowed = false;
        }
        EXPECT_EQ(allowed, has) << name << " " << static_cast<int>(access);
    }
}

}  // namespace
