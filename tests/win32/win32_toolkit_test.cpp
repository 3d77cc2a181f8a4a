// What the Win32 toolkit adds to the window host: the controls it builds from a table, the clicks,
// keys and wake-ups it passes on, its message boxes, and a form that does what the in-memory one
// does.
#include <gtest/gtest.h>

#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "toolkit_probes.h"
#include "toolkits/win32/win32_application.h"
#include "warning/Form3.h"
#include "yeardialog/Form2.h"

namespace {

using namespace std::chrono_literals;

std::string textOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return win32text::narrow(buffer);
}

std::string classOf(HWND hwnd) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return win32text::narrow(name);
}

LONG_PTR styleOf(HWND hwnd) {
    return GetWindowLongPtrW(hwnd, GWL_STYLE);
}

// Each message box of this thread, answered once it is up: "title|text|icon", and its owner.
std::vector<std::pair<std::string, HWND>> boxes;
BOOL CALLBACK answerBox(HWND hwnd, LPARAM) {
    if (classOf(hwnd) == "#32770" && IsWindowVisible(hwnd)) {
        bool icon = false;
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            icon = icon || (IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0));
        }
        boxes.emplace_back(
            textOf(hwnd) + "|" + textOf(GetDlgItem(hwnd, 0xFFFF)) + "|" + (icon ? "icon" : ""),
            GetWindow(hwnd, GW_OWNER));
        SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}
void CALLBACK answerBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &answerBox, 0);
}

class Win32Toolkit : public testing::Test {
  protected:
    Win32Toolkit() { h.show(mainwindow::Form1Table()); }

    HWND window(std::string_view form = "Form1") const { return h.app.window(form); }
    HWND control(std::string_view name, std::string_view form = "Form1") const {
        return h.app.control(form, name);
    }
    // Runs the message loop for a while; how often the program was asked to end meanwhile.
    int pump(std::chrono::milliseconds duration) {
        int quits = 0;
        const DWORD end = GetTickCount() + static_cast<DWORD>(duration.count());
        do {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    ++quits;
                } else {
                    h.app.deliver(message);
                }
            }
            Sleep(1);
        } while (static_cast<LONG>(GetTickCount() - end) < 0);
        return quits;
    }

    testing_support::Harness<win32forms::Win32Application> h;
};

TEST_F(Win32Toolkit, BuildsTheWindow) {
    EXPECT_EQ(textOf(window()), "Vorlix定时关机软件2.2");
    RECT client, frame, work;
    GetClientRect(window(), &client);
    EXPECT_EQ(client.right, 488);
    EXPECT_EQ(client.bottom, 270);
    EXPECT_FALSE(styleOf(window()) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_TRUE(IsWindowVisible(window()));
    // A control of a frame is the window's own, moved by the frame's corner.
    RECT year;
    GetWindowRect(control("Text1"), &year);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&year), 2);
    EXPECT_EQ(year.left, 16);
    EXPECT_EQ(year.top, 24);
    EXPECT_NE(GetClassLongPtrW(window(), GCLP_HICON), 0);  // the program's own icon
    GetWindowRect(window(), &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs(frame.left + frame.right - work.left - work.right), 1);
    EXPECT_LE(std::abs(frame.top + frame.bottom - work.top - work.bottom), 1);
    EXPECT_EQ(GetFocus(), control("Command1"));
    std::vector<HWND> order, walked;
    for (const std::string& name : testing_support::kForm1TabOrder) {
        order.push_back(control(name));
    }
    HWND at = order.front();
    do {
        walked.push_back(at);
        at = GetNextDlgTabItem(window(), at, FALSE);
    } while (at != order.front() && walked.size() <= order.size());
    EXPECT_EQ(walked, order);
}

// What the pixel checks of the real program do not see: the kinds of control, the fonts, the
// colours of the lists, the option buttons and the frames' captions.
struct Look {
    const char* name;
    const char* windowClass;
    LONG_PTR typeMask, type;
    const char* font;  // face, height at 96 dpi and weight; empty: the system's message font
    COLORREF fore, back;
};
const Look kLooks[] = {
    {"Text1", "Edit", ES_AUTOHSCROLL, ES_AUTOHSCROLL, "新宋体 -20 700", RGB(0, 255, 0),
     RGB(0, 0, 0)},
    {"Combo1", "ComboBox", 3, CBS_DROPDOWN, "宋体 -20 700", RGB(255, 255, 0), RGB(0, 0, 0)},
    {"Option1", "Button", BS_TYPEMASK, BS_AUTORADIOBUTTON, "", RGB(255, 0, 255), CLR_INVALID},
    {"Label13", "Static", SS_TYPEMASK, SS_CENTER, "", RGB(255, 0, 0), CLR_INVALID},
    {"Frame3", "Button", BS_TYPEMASK, BS_GROUPBOX, "", RGB(255, 128, 0), CLR_INVALID},
};

TEST_F(Win32Toolkit, AppliesFontsAndColours) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    // The colours a child asks its window for, with the brush of its background.
    const auto colours = [&](UINT message, HWND child) {
        SetTextColor(dc, RGB(1, 2, 3));
        LOGBRUSH brush{};
        GetObjectW(
            reinterpret_cast<HBRUSH>(SendMessageW(window(), message, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(child))),
            sizeof brush, &brush);
        return std::tuple{GetTextColor(dc), GetBkColor(dc), brush.lbColor};
    };
    for (const Look& look : kLooks) {
        SCOPED_TRACE(look.name);
        HWND hwnd = control(look.name);
        EXPECT_EQ(classOf(hwnd), look.windowClass);
        EXPECT_EQ(styleOf(hwnd) & look.typeMask, look.type);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        if (*look.font == '\0') {
            EXPECT_EQ(std::wstring(font.lfFaceName), metrics.lfMessageFont.lfFaceName);
        } else {
            EXPECT_EQ(win32text::narrow(font.lfFaceName) + " " + std::to_string(font.lfHeight) +
                          " " + std::to_string(font.lfWeight),
                      look.font);
            EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
        }
        const COLORREF back = look.back == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : look.back;
        const std::tuple expected{look.fore, back, back};
        COMBOBOXINFO combo{};
        combo.cbSize = sizeof combo;
        if (look.fore == CLR_INVALID) {
            continue;
        } else if (look.windowClass == std::string_view("Edit")) {
            EXPECT_EQ(colours(WM_CTLCOLOREDIT, hwnd), expected);
        } else if (GetComboBoxInfo(hwnd, &combo)) {  // both the edit field and the list
            EXPECT_EQ(colours(WM_CTLCOLOREDIT, combo.hwndItem), expected);
            EXPECT_EQ(colours(WM_CTLCOLORLISTBOX, combo.hwndList), expected);
        } else {
            EXPECT_EQ(colours(WM_CTLCOLORSTATIC, hwnd), expected);
        }
    }
    // A disabled control keeps the system's text colour.
    h.form->setEnabled("Combo1", false);
    EXPECT_EQ(std::get<0>(colours(WM_CTLCOLORSTATIC, control("Combo1"))), RGB(1, 2, 3));
    DeleteDC(dc);
}

// Message boxes belong to the active window; the window's wake-ups go on meanwhile, and stop when
// its handlers ask for none.
TEST_F(Win32Toolkit, PassesOnClicksWakeUpsAndMessageBoxes) {
    h.next = 10ms;
    int ticksDuringBoxes = 0;
    h.onClick = [&](std::string_view clicked) {
        if (clicked != "Label13") {
            return;
        }
        const int before = h.ticks;
        for (auto icon : {forms::MessageIcon::None, forms::MessageIcon::Information,
                          forms::MessageIcon::Error}) {
            h.app.messageBox("第一行\r\n  第二行 ", "Quenly作品", icon);
        }
        ticksDuringBoxes = h.ticks - before;
    };
    boxes.clear();
    const UINT_PTR answerer = SetTimer(nullptr, 0, 150, &answerBoxes);
    SendMessageW(control("Command3"), BM_CLICK, 0, 0);
    SendMessageW(control("Option2"), BM_CLICK, 0, 0);
    pump(50ms);
    SendMessageW(control("Label13"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(control("Label13"), WM_LBUTTONUP, 0, 0);
    KillTimer(nullptr, answerer);
    EXPECT_EQ(h.clicks, (std::vector<std::string>{"Command3", "Option2", "Label13"}));
    EXPECT_TRUE(h.form->selected("Option2"));
    const std::vector<std::pair<std::string, HWND>> expected{
        {"Quenly作品|第一行\r\n  第二行 |", window()},
        {"Quenly作品|第一行\r\n  第二行 |icon", window()},
        {"Quenly作品|第一行\r\n  第二行 |icon", window()}};
    EXPECT_EQ(boxes, expected);
    EXPECT_GT(ticksDuringBoxes, 0);
    h.next.reset();
    pump(50ms);
    const int settled = h.ticks;
    pump(100ms);
    EXPECT_EQ(h.ticks, settled);
}

TEST_F(Win32Toolkit, EndsWithItsLastWindowAndOnEnd) {
    HWND closed = window();
    SendMessageW(closed, WM_CLOSE, 0, 0);
    EXPECT_FALSE(h.app.loaded("Form1"));
    EXPECT_FALSE(IsWindow(closed));
    EXPECT_EQ(h.handlersGone, 1);
    EXPECT_EQ(pump(10ms), 1);
    h.show(mainwindow::Form1Table());
    h.onClick = [&](std::string_view) { h.app.end(); };
    SendMessageW(control("Command5"), BM_CLICK, 0, 0);
    EXPECT_EQ(pump(10ms), 1);
}

// A window unloaded by its own handler, as the year dialog does with the main window, is hidden at
// once and goes once the handler is done.
TEST_F(Win32Toolkit, UnloadedByItsOwnHandler) {
    HWND old = window();
    bool hidden = false;
    h.onClick = [&](std::string_view) {
        h.app.unload("Form1");
        hidden = !IsWindowVisible(old);
        h.app.show("Form1");
    };
    SendMessageW(control("Command1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(hidden);
    EXPECT_FALSE(IsWindow(old));
}

// Enter presses the push button that has the focus, else the year dialog's "确定"; Escape closes
// the dialog as its close box does, and leaves the main window alone.
TEST_F(Win32Toolkit, KeysOfADialog) {
    h.show(yeardialog::Form2Table());
    const auto press = [&](HWND focus, WPARAM key) {
        SetFocus(focus);
        MSG message{focus, WM_KEYDOWN, key, 0, 0, {}};
        h.app.deliver(message);
    };
    press(control("Text1", "Form2"), VK_RETURN);
    press(control("Command2", "Form2"), VK_RETURN);
    press(control("Combo1"), VK_ESCAPE);
    EXPECT_TRUE(h.app.loaded("Form1"));
    press(control("Text2", "Form2"), VK_ESCAPE);
    EXPECT_FALSE(h.app.loaded("Form2"));
    EXPECT_EQ(h.clicks, (std::vector<std::string>{"Command1", "Command2"}));
}

TEST_F(Win32Toolkit, FormDoesWhatTheMemoryFormDoes) {
    testing_support::MemoryForm memory(mainwindow::Form1Table());
    EXPECT_EQ(testing_support::snapshot(*h.form, mainwindow::Form1Table()),
              testing_support::snapshot(memory, mainwindow::Form1Table()));  // as built
    testing_support::exercise(memory);
    testing_support::exercise(*h.form);
    EXPECT_EQ(testing_support::snapshot(*h.form, mainwindow::Form1Table()),
              testing_support::snapshot(memory, mainwindow::Form1Table()));
}

// The warning shows on top of the other windows and leaves the keyboard focus where it was.
TEST_F(Win32Toolkit, WarningStaysOnTopWithoutTakingTheFocus) {
    warning::Link link;
    h.app.define("Form3", warning::Form3Definition(link));
    h.app.show("Form3");
    EXPECT_TRUE(IsWindowVisible(window("Form3")));
    EXPECT_TRUE(GetWindowLongPtrW(window("Form3"), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetFocus(), control("Command1"));
}

}  // namespace
