// The Win32 toolkit against the windows' control tables: the controls it builds, how it routes
// clicks, wake-ups, message boxes and errors, and that its form interface behaves as the
// in-memory one the handler tests drive.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>

#include "fake_clock.h"
#include "memory_host.h"
#include "mainwindow/Form1.h"
#include "mainwindow/about.h"
#include "fake_keep_awake.h"
#include "fake_launcher.h"
#include "settings/rwini.h"
#include "temp_config_dir.h"
#include "toolkit_probes.h"
#include "toolkits/win32/win32_application.h"
#include "warning/Form3.h"
#include "yeardialog/Form2.h"

namespace {

using namespace std::chrono_literals;
using forms::Kind;
using win32text::narrow;

const forms::FormTable& table() {
    return mainwindow::Form1Table();
}

std::string textOf(HWND hwnd) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(hwnd, buffer, 1024);
    return narrow(buffer);
}

std::string classOf(HWND hwnd) {
    wchar_t buffer[64] = {};
    GetClassNameW(hwnd, buffer, 64);
    return narrow(buffer);
}

LONG_PTR styleOf(HWND hwnd) {
    return GetWindowLongPtrW(hwnd, GWL_STYLE);
}

// Runs the message loop for a while; the end of the program only counts.
int quits = 0;
void pump(win32forms::Win32Application& app, std::chrono::milliseconds duration) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(duration.count());
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                ++quits;
            } else {
                app.deliver(message);
            }
        }
        Sleep(1);
    } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

void click(HWND control) {
    if (classOf(control) == "Static") {
        SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(control, WM_LBUTTONUP, 0, 0);
    } else {
        SendMessageW(control, BM_CLICK, 0, 0);
    }
}

// Answers every message box of this thread once it has been up for a while, remembering it.
class BoxAnswerer {
  public:
    struct Box {
        std::string title;
        std::string text;
        bool icon = false;
        HWND owner = nullptr;
    };
    explicit BoxAnswerer(std::chrono::milliseconds after = 20ms) {
        current = this;
        timer_ = SetTimer(nullptr, 0, static_cast<UINT>(after.count()), &poll);
    }
    ~BoxAnswerer() {
        KillTimer(nullptr, timer_);
        current = nullptr;
    }
    std::vector<Box> seen;

  private:
    static void CALLBACK poll(HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), &answer, 0);
    }
    static BOOL CALLBACK answer(HWND hwnd, LPARAM) {
        if (current == nullptr || classOf(hwnd) != "#32770" || !IsWindowVisible(hwnd) ||
            !current->answered_.insert(hwnd).second) {
            return TRUE;
        }
        Box box{textOf(hwnd), textOf(GetDlgItem(hwnd, 0xFFFF)), false, GetWindow(hwnd, GW_OWNER)};
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            box.icon =
                box.icon || (IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0));
        }
        current->seen.push_back(box);
        PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    static inline BoxAnswerer* current = nullptr;
    UINT_PTR timer_;
    std::set<HWND> answered_;
};

// The main window's table shown through the toolkit, with recording handlers.
struct Harness {
    Harness() {
        app.define("Form1", {&table(), [this](forms::Form& f, forms::Application&) {
                                 auto made = std::make_unique<testing_support::Recorder>();
                                 handlers = made.get();
                                 form = &f;
                                 ++loadsMade;
                                 return made;
                             }});
        app.show("Form1");
    }
    HWND control(std::string_view name) const { return app.control("Form1", name); }

    win32forms::Win32Application app;
    testing_support::Recorder* handlers = nullptr;
    forms::Form* form = nullptr;
    int loadsMade = 0;
};

std::vector<std::string> snapshot(const forms::Form& form, const forms::FormTable& t = table()) {
    return testing_support::snapshot(form, t);
}

const char* const kWindowClass[] = {"Edit", "ComboBox", "Button", "Button", "Static", "Button"};

// One window for all controls: building it is slow under Wine.
class Controls : public testing::TestWithParam<std::string> {
  protected:
    static void SetUpTestSuite() { harness = std::make_unique<Harness>(); }
    static void TearDownTestSuite() { harness.reset(); }
    static inline std::unique_ptr<Harness> harness;
};

TEST_P(Controls, MatchTheTable) {
    const forms::Control& c = table().control(GetParam());
    const Harness& h = *harness;
    HWND hwnd = h.control(c.name);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(classOf(hwnd), kWindowClass[static_cast<int>(c.kind)]);
    EXPECT_EQ(GetParent(hwnd), h.app.window("Form1"));
    forms::Rect r = c.rect;
    if (!c.container.empty()) {
        r.left += table().control(c.container).rect.left;
        r.top += table().control(c.container).rect.top;
    }
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, h.app.window("Form1"), reinterpret_cast<POINT*>(&rect), 2);
    using forms::twipsToPixels;
    EXPECT_EQ(rect.left, twipsToPixels(r.left));
    EXPECT_EQ(rect.top, twipsToPixels(r.top));
    EXPECT_EQ(rect.right - rect.left, twipsToPixels(r.width));
    if (c.kind != Kind::ComboBox) {
        EXPECT_EQ(rect.bottom - rect.top, twipsToPixels(r.height));
    }
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_EQ(textOf(hwnd), c.text);

    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)),
                           sizeof font, &font));
    if (c.font) {
        EXPECT_EQ(narrow(font.lfFaceName), c.font->face);
        EXPECT_EQ(font.lfHeight, -MulDiv(static_cast<int>(c.font->points * 10), 96, 720));
        EXPECT_EQ(font.lfWeight, c.font->bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    } else {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(metrics.lfMessageFont.lfFaceName));
    }
    // The style that makes each kind, in the order of forms::Kind.
    const LONG_PTR typeMask[] = {ES_AUTOHSCROLL, 3,         BS_TYPEMASK,
                                 BS_TYPEMASK,    SS_NOTIFY, BS_TYPEMASK};
    const LONG_PTR type[] = {ES_AUTOHSCROLL, CBS_DROPDOWN, BS_AUTORADIOBUTTON,
                             BS_PUSHBUTTON,  SS_NOTIFY,    BS_GROUPBOX};
    const auto kind = static_cast<std::size_t>(c.kind);
    EXPECT_EQ(styleOf(hwnd) & typeMask[kind], type[kind]);
    if (c.kind == Kind::Label) {
        EXPECT_EQ((styleOf(hwnd) & SS_TYPEMASK) == SS_CENTER, c.align == forms::Align::Centre);
    }
}

std::vector<std::string> controlNames() {
    std::vector<std::string> names;
    for (const forms::Control& c : table().controls) {
        if (c.kind != Kind::Timer) {
            names.push_back(c.name);
        }
    }
    return names;
}
INSTANTIATE_TEST_SUITE_P(Form1, Controls, testing::ValuesIn(controlNames()),
                         [](const auto& info) { return info.param; });

TEST(Window, IsFixedCentredAndFocusesItsFirstControl) {
    Harness h;
    HWND window = h.app.window("Form1");
    EXPECT_EQ(textOf(window), "Vorlix定时关机软件2.2");
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 488);
    EXPECT_EQ(client.bottom, 270);
    EXPECT_FALSE(styleOf(window) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0);
    RECT frame, work;
    GetWindowRect(window, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 1);
    EXPECT_EQ(h.handlers->loads, 1);
    EXPECT_EQ(GetFocus(), h.control("Command1"));
    EXPECT_EQ(SendMessageW(h.control("Option1"), BM_GETCHECK, 0, 0), BST_CHECKED);
    // Command2 belongs to the window, in front of Frame2 which it lies in.
    RECT command2;
    GetWindowRect(h.control("Command2"), &command2);
    POINT centre{(command2.left + command2.right) / 2, (command2.top + command2.bottom) / 2};
    ScreenToClient(window, &centre);
    EXPECT_EQ(ChildWindowFromPointEx(window, centre, CWP_SKIPINVISIBLE), h.control("Command2"));

    std::vector<std::string> expected, walked;
    for (const forms::Control* c : forms::focusOrder(table())) {
        expected.push_back(c->name);
    }
    HWND control = h.control("Command1");
    do {
        for (const std::string& name : expected) {
            walked.push_back(name);
            if (h.control(name) == control) {
                break;
            }
            walked.pop_back();
        }
        control = GetNextDlgTabItem(window, control, FALSE);
    } while (control != h.control("Command1") && walked.size() <= expected.size());
    EXPECT_EQ(walked, expected);
}

TEST(Window, ColoursTheTablesControls) {
    Harness h;
    HDC dc = CreateCompatibleDC(nullptr);
    for (const forms::Control& c : table().controls) {
        if (!c.foreColour) {
            continue;
        }
        // A combo box colours both its edit field and its list.
        std::vector<std::pair<UINT, HWND>> asks{{WM_CTLCOLORSTATIC, h.control(c.name)}};
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (c.kind == Kind::TextBox) {
            asks = {{WM_CTLCOLOREDIT, h.control(c.name)}};
        } else if (c.kind == Kind::ComboBox && GetComboBoxInfo(h.control(c.name), &info)) {
            asks = {{WM_CTLCOLOREDIT, info.hwndItem}, {WM_CTLCOLORLISTBOX, info.hwndList}};
        }
        const COLORREF back = c.backColour
                                  ? RGB(c.backColour->red, c.backColour->green, c.backColour->blue)
                                  : GetSysColor(COLOR_BTNFACE);
        for (const auto& [message, child] : asks) {
            SetTextColor(dc, RGB(1, 2, 3));
            const auto brush = reinterpret_cast<HBRUSH>(
                SendMessageW(h.app.window("Form1"), message, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(child)));
            EXPECT_EQ(GetTextColor(dc),
                      RGB(c.foreColour->red, c.foreColour->green, c.foreColour->blue))
                << c.name;
            EXPECT_EQ(GetBkColor(dc), back) << c.name;
            LOGBRUSH logical{};
            ASSERT_TRUE(GetObjectW(brush, sizeof logical, &logical)) << c.name;
            EXPECT_EQ(logical.lbColor, back) << c.name;
        }
    }
    // A disabled control keeps the system's text colour.
    h.form->setEnabled("Combo1", false);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(h.app.window("Form1"), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(h.control("Combo1")));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    DeleteDC(dc);
}

TEST(Window, RoutesClicksOfButtonsOptionsAndTheStatusLine) {
    for (const char* name :
         {"Command1", "Command2", "Command3", "Command4", "Command5", "Option2", "Label13"}) {
        Harness h;
        click(h.control(name));
        EXPECT_EQ(h.handlers->clicks, std::vector<std::string>{name});
        EXPECT_EQ(h.form->selected("Option1"), std::string_view(name) != "Option2") << name;
    }
}

TEST(Window, ComboKeepsTypedText) {
    Harness h;
    h.form->addItem("Combo1", "2014");
    h.form->addItem("Combo1", "2015");
    h.form->setListIndex("Combo1", 1);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(h.control("Combo1"), &info));
    SendMessageW(info.hwndItem, EM_SETSEL, 0, -1);
    for (wchar_t typed : std::wstring(L"2099")) {
        SendMessageW(info.hwndItem, WM_CHAR, typed, 0);
    }
    EXPECT_EQ(h.form->text("Combo1"), "2099");
    EXPECT_EQ(h.form->items("Combo1"), (std::vector<std::string>{"2014", "2015"}));
}

// Enter presses the push button that has the focus, else the year dialog's "确定"; Escape closes
// the dialog as its close box does, and leaves the main window alone.
TEST(Window, EnterAndEscapeAsInADialog) {
    Harness h;
    std::vector<std::string> clicks;
    h.app.define("Form2", {&yeardialog::Form2Table(), [&](forms::Form&, forms::Application&) {
                               auto made = std::make_unique<testing_support::Recorder>();
                               made->onClick = [&](std::string_view c) { clicks.emplace_back(c); };
                               return made;
                           }});
    h.app.show("Form2");
    auto press = [&](HWND focus, WPARAM key) {
        SetFocus(focus);
        MSG message{focus, WM_KEYDOWN, key, 0, 0, {}};
        h.app.deliver(message);
    };
    press(h.app.control("Form2", "Text1"), VK_RETURN);
    press(h.app.control("Form2", "Command2"), VK_RETURN);
    EXPECT_EQ(clicks, (std::vector<std::string>{"Command1", "Command2"}));
    press(h.control("Combo1"), VK_ESCAPE);
    EXPECT_TRUE(h.app.loaded("Form1"));
    press(h.app.control("Form2", "Text2"), VK_ESCAPE);
    EXPECT_FALSE(h.app.loaded("Form2"));
    EXPECT_EQ(clicks.size(), 2u);
}

TEST(Form, BehavesAsTheMemoryForm) {
    for (const testing_support::FormStep& step : testing_support::kFormSteps) {
        SCOPED_TRACE(step.name);
        Harness h;
        testing_support::MemoryForm memory(table());
        EXPECT_EQ(snapshot(*h.form), snapshot(memory));
        EXPECT_EQ(testing_support::throwsLogicError(step, memory), step.throws);
        EXPECT_EQ(testing_support::throwsLogicError(step, *h.form), step.throws);
        EXPECT_EQ(snapshot(*h.form), snapshot(memory));
    }
}

TEST(Application, WakesFromItsTimerAlsoDuringAHandlersMessageBox) {
    Harness h;
    BoxAnswerer answerer(150ms);
    h.handlers->next = 10ms;
    int ticksDuringBox = -1;
    h.handlers->onClick = [&](std::string_view control) {
        if (control == "Label13") {
            const int before = h.handlers->ticks;
            h.app.messageBox("稍候", "提示", forms::MessageIcon::None);
            ticksDuringBox = h.handlers->ticks - before;
        }
    };
    click(h.control("Command1"));
    pump(h.app, 100ms);
    EXPECT_GE(h.handlers->ticks, 2);
    click(h.control("Label13"));
    EXPECT_GT(ticksDuringBox, 0);
    h.handlers->next.reset();
    pump(h.app, 50ms);
    const int settled = h.handlers->ticks;
    pump(h.app, 100ms);
    EXPECT_EQ(h.handlers->ticks, settled);
}

TEST(Application, ShowsMessageBoxesAndRuntimeErrors) {
    Harness h;
    BoxAnswerer answerer;
    h.handlers->onClick = [&](std::string_view control) {
        if (control == "Command3") {
            throw std::overflow_error("溢出");
        }
        h.app.messageBox(
            "第一行\r\n  第二行 ", "Quenly作品",
            control == "Label13" ? forms::MessageIcon::Information : forms::MessageIcon::None);
    };
    for (const char* name : {"Label13", "Command1", "Command3"}) {
        click(h.control(name));
    }
    ASSERT_EQ(answerer.seen.size(), 3u);
    EXPECT_EQ(answerer.seen[0].title, "Quenly作品");
    EXPECT_EQ(answerer.seen[0].text, "第一行\r\n  第二行 ");
    EXPECT_TRUE(answerer.seen[0].icon);
    EXPECT_EQ(answerer.seen[0].owner, h.app.window("Form1"));
    EXPECT_FALSE(answerer.seen[1].icon);
    EXPECT_EQ(answerer.seen[2].title, "运行时错误");
    EXPECT_TRUE(answerer.seen[2].text.ends_with("溢出"));
    EXPECT_TRUE(h.app.loaded("Form1"));
    EXPECT_EQ(h.handlers->clicks.size(), 3u);
}

// What the year-range dialog does to the main window: unload it from a handler running on it,
// then load it anew in the same handler.
TEST(Application, UnloadsFromAWindowsOwnHandler) {
    Harness h;
    HWND old = h.app.window("Form1");
    HWND oldButton = h.control("Command2");
    forms::Form* oldForm = h.form;
    h.handlers->onClick = [&](std::string_view) {
        h.app.unload("Form1");
        EXPECT_FALSE(h.app.loaded("Form1"));
        oldForm->setText("Label13", "卸载后");  // the handler may still touch its controls
        h.app.show("Form1");
    };
    click(oldButton);
    EXPECT_EQ(h.loadsMade, 2);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_NE(h.app.window("Form1"), old);
    EXPECT_EQ(textOf(h.control("Label13")), "程序初始化中……");
}

TEST(Application, EndsWithItsLastWindowAndOnEnd) {
    {
        Harness h;
        HWND window = h.app.window("Form1");
        pump(h.app, 10ms);
        const int before = quits;
        SendMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_FALSE(h.app.loaded("Form1"));
        EXPECT_FALSE(IsWindow(window));
        pump(h.app, 10ms);
        EXPECT_EQ(quits, before + 1);
    }
    Harness h;
    h.handlers->next = 10ms;
    h.handlers->onClick = [&](std::string_view control) {
        if (control == "Command5") {
            h.app.end();
        }
    };
    click(h.control("Command1"));
    click(h.control("Command5"));
    const int before = quits;
    pump(h.app, 60ms);
    EXPECT_EQ(quits, before + 1);
    EXPECT_EQ(h.handlers->ticks, 0);
    click(h.control("Command1"));
    EXPECT_EQ(h.handlers->clicks, (std::vector<std::string>{"Command1", "Command5"}));
}

// The real windows with fake services: an armed run, the About message and the year dialog,
// step by step alongside the in-memory application.
TEST(RealWindows, ArmedRunYearDialogAndAbout) {
    testing_support::TempConfigDir config;
    testing_support::FakeClock clock;
    power::FakeLauncher launcher, memoryLauncher;
    power::FakeKeepAwake keepAwake, memoryKeepAwake;
    const forms::FormDefinition definition =
        mainwindow::Form1Definition({clock, launcher, keepAwake});
    testing_support::MemoryHost memory;
    memory.define("Form1", mainwindow::Form1Definition({clock, memoryLauncher, memoryKeepAwake}));
    memory.show("Form1");
    win32forms::Win32Application app;
    forms::Form* form = nullptr;
    app.define("Form1", {definition.table, [&](forms::Form& f, forms::Application& a) {
                             form = &f;
                             return definition.makeHandlers(f, a);
                         }});
    app.define("Form2", yeardialog::Form2Definition());
    app.show("Form1");
    EXPECT_EQ(snapshot(*form), snapshot(memory.form("Form1")));
    auto step = [&](const char* command) {
        if (command == nullptr) {
            app.tick("Form1");
            memory.tick("Form1");
        } else {
            click(app.control("Form1", command));
            memory.click("Form1", command);
        }
        EXPECT_EQ(snapshot(*form), snapshot(memory.form("Form1"))) << (command ? command : "tick");
    };
    step(nullptr);
    step("Command1");
    SetWindowTextW(app.control("Form1", "Combo6"), L"32");
    memory.form("Form1").setText("Combo6", "32");
    step("Command3");
    EXPECT_FALSE(IsWindowEnabled(app.control("Form1", "Combo1")));
    clock.time.second = 31;
    step(nullptr);
    clock.time.second = 32;
    step(nullptr);
    EXPECT_EQ(launcher.started, std::vector<power::Action>{power::Action::Shutdown});
    EXPECT_EQ(form->text("Label13"), "已执行【关机】命令……");
    step("Command4");
    EXPECT_TRUE(IsWindowEnabled(app.control("Form1", "Combo1")));

    BoxAnswerer answerer;
    click(app.control("Form1", "Label13"));
    click(app.control("Form1", "Command2"));
    ASSERT_TRUE(app.loaded("Form2"));
    EXPECT_EQ(form->text("Label13"), "执行了【参数设置】");
    SetWindowTextW(app.control("Form2", "Text1"), L"2010");
    SetWindowTextW(app.control("Form2", "Text2"), L"2030");
    HWND oldMain = app.window("Form1");
    click(app.control("Form2", "Command1"));
    EXPECT_FALSE(IsWindow(oldMain));
    EXPECT_EQ(rwini::ReadIniValue(rwini::kSection, rwini::kEndYearKey, ""), "2030");
    EXPECT_EQ(form->items("Combo1").front(), "2010");
    EXPECT_EQ(form->items("Combo1").back(), "2030");
    click(app.control("Form2", "Command2"));
    EXPECT_EQ(form->items("Combo1").size(), 86u);
    EXPECT_EQ(textOf(app.control("Form2", "Text1")), "2010");

    ASSERT_EQ(answerer.seen.size(), 3u);
    EXPECT_EQ(answerer.seen[0].title, mainwindow::kAboutTitle);
    EXPECT_EQ(answerer.seen[0].text, mainwindow::AboutText());
    EXPECT_TRUE(answerer.seen[0].icon);
    EXPECT_EQ(answerer.seen[1].text, "年份设置修改成功！");
    EXPECT_EQ(answerer.seen[1].title, "提示");
    EXPECT_FALSE(answerer.seen[1].icon);
    EXPECT_EQ(answerer.seen[1].owner, app.window("Form2"));
    EXPECT_EQ(answerer.seen[2].text, "已经恢复默认设置！");
}

// The warning shows on top of the other windows and leaves the keyboard focus where it was.
TEST(Window, WarningStaysOnTopWithoutTakingTheFocus) {
    Harness h;
    warning::Link link;
    h.app.define("Form3", warning::Form3Definition(link));
    h.app.show("Form3");
    EXPECT_TRUE(IsWindowVisible(h.app.window("Form3")));
    EXPECT_TRUE(GetWindowLongPtrW(h.app.window("Form3"), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetFocus(), h.control("Command1"));
}

}  // namespace
