// What only the Win32 toolkit can get wrong; the window host and what the pixel and end-to-end
// tests see are tested elsewhere.
#include <gtest/gtest.h>

#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "toolkit_probes.h"
#include "toolkits/win32/win32_application.h"
#include "warning/Form3.h"
#include "yeardialog/Form2.h"

namespace {

std::string textOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return win32text::narrow(buffer);
}

std::string fontOf(const LOGFONTW& f) {
    return win32text::narrow(f.lfFaceName) + " " + std::to_string(f.lfHeight) + " " +
           std::to_string(f.lfWeight) + " " + std::to_string(f.lfCharSet);
}

// Each message box of this thread once it is up, answered: "title|text|icon|owner".
std::vector<std::string> boxes;
void CALLBACK answerBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND box, LPARAM) {
            wchar_t name[8] = {};
            GetClassNameW(box, name, 8);
            if (std::wstring_view(name) == L"#32770" && IsWindowVisible(box)) {
                LRESULT icon = 0;
                for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                    icon |= IsWindowVisible(c) ? SendMessageW(c, STM_GETICON, 0, 0) : 0;
                }
                const auto is = [&](LPCSTR id) {
                    return icon == reinterpret_cast<LRESULT>(LoadIconA(nullptr, id));
                };
                boxes.push_back(textOf(box) + "|" + textOf(GetDlgItem(box, 0xFFFF)) + "|" +
                                (is(IDI_INFORMATION) ? "information"
                                 : is(IDI_ERROR)     ? "error"
                                 : icon              ? "other"
                                                     : "") +
                                "|" + textOf(GetWindow(box, GW_OWNER)));
                SendMessageW(box, WM_COMMAND, IDOK, 0);
            }
            return TRUE;
        },
        0);
}

class Win32Toolkit : public testing::Test {
  protected:
    Win32Toolkit() { h.show(mainwindow::Form1Table()); }

    HWND control(std::string_view name, std::string_view form = "Form1") const {
        return h.app.control(form, name);
    }
    // Runs the message loop for a while; how often the program was asked to end meanwhile.
    int pump(DWORD ms) {
        int quits = 0;
        for (const DWORD end = GetTickCount() + ms; static_cast<LONG>(GetTickCount() - end) < 0;
             Sleep(1)) {
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
                if (message.message == WM_QUIT) {
                    ++quits;
                } else {
                    h.app.deliver(message);
                }
            }
        }
        return quits;
    }

    testing_support::Harness<win32forms::Win32Application> h;
};

TEST_F(Win32Toolkit, FocusAndTabOrder) {
    std::vector<HWND> order, walked{GetFocus()};
    for (const char* name :
         {"Command1", "Option1", "Option2", "Command3", "Command4", "Command5", "Combo1",
          "Combo2",   "Combo3",  "Combo4",  "Combo5",   "Combo6",   "Text1",    "Text2",
          "Text3",    "Text4",   "Text5",   "Text6",    "Command2", "Command1"}) {
        order.push_back(control(name));
    }
    while (walked.size() < order.size()) {
        walked.push_back(GetNextDlgTabItem(h.app.window("Form1"), walked.back(), FALSE));
    }
    EXPECT_EQ(walked, order);
}

TEST_F(Win32Toolkit, FontsAndColours) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    for (const auto& [name, font] :
         {std::pair<const char*, std::string>{"Text1", "新宋体 -20 700 134"},
          {"Combo1", "宋体 -20 700 134"},
          {"Option1", fontOf(metrics.lfMessageFont)}}) {
        LOGFONTW f{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(name), WM_GETFONT, 0, 0)), sizeof f,
                   &f);
        EXPECT_EQ(fontOf(f), font);
    }
    EXPECT_TRUE(GetWindowLongPtrW(control("Label13"), GWL_STYLE) & SS_CENTER);
    // The colours a control asks its window for: text, background and the brush's.
    HDC dc = CreateCompatibleDC(nullptr);
    const auto colours = [&](UINT message, HWND child) {
        SetTextColor(dc, RGB(1, 2, 3));
        LOGBRUSH brush{};
        GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(h.app.window("Form1"), message,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(child))),
                   sizeof brush, &brush);
        return std::vector{GetTextColor(dc), GetBkColor(dc), brush.lbColor};
    };
    COMBOBOXINFO year{};
    year.cbSize = sizeof year;
    GetComboBoxInfo(control("Combo1"), &year);
    const COLORREF yellow = RGB(255, 255, 0), black = 0, face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(colours(WM_CTLCOLOREDIT, year.hwndItem), (std::vector{yellow, black, black}));
    EXPECT_EQ(colours(WM_CTLCOLORLISTBOX, year.hwndList), (std::vector{yellow, black, black}));
    EXPECT_EQ(colours(WM_CTLCOLORSTATIC, control("Option1")),
              (std::vector{RGB(255, 0, 255), face, face}));
    EXPECT_EQ(colours(WM_CTLCOLORSTATIC, control("Frame3")),
              (std::vector{RGB(255, 128, 0), face, face}));
    h.form->setEnabled("Combo1", false);  // so that it still looks disabled
    EXPECT_EQ(colours(WM_CTLCOLOREDIT, year.hwndItem)[0], RGB(1, 2, 3));
    DeleteDC(dc);
}

// Message boxes belong to the active window; the wake-ups go on while one is up.
TEST_F(Win32Toolkit, ClicksWakeUpsAndMessageBoxes) {
    h.next = std::chrono::milliseconds(10);
    int ticksDuringBoxes = 0;
    h.onClick = [&](std::string_view clicked) {
        const int before = h.ticks;
        for (auto icon : {forms::MessageIcon::None, forms::MessageIcon::Information,
                          forms::MessageIcon::Error}) {
            if (clicked == "Label13") {
                h.app.messageBox("第一行\r\n  第二行 ", "Quenly作品", icon);
            }
        }
        ticksDuringBoxes += h.ticks - before;
    };
    const UINT_PTR answerer = SetTimer(nullptr, 0, 150, &answerBoxes);
    SendMessageW(control("Option2"), BM_CLICK, 0, 0);
    pump(50);
    SendMessageW(control("Label13"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(control("Label13"), WM_LBUTTONUP, 0, 0);
    KillTimer(nullptr, answerer);
    EXPECT_EQ(h.clicks, (std::vector<std::string>{"Option2", "Label13"}));
    EXPECT_TRUE(h.form->selected("Option2") && ticksDuringBoxes > 0);
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "Quenly作品|第一行\r\n  第二行 ||Vorlix定时关机软件2.2",
                         "Quenly作品|第一行\r\n  第二行 |information|Vorlix定时关机软件2.2",
                         "Quenly作品|第一行\r\n  第二行 |error|Vorlix定时关机软件2.2"}));
}

// Closed by its title bar, the last window ends the program; unloaded by its own handler, a window
// is hidden at once and destroyed once the handler is done.
TEST_F(Win32Toolkit, ClosesAndEnds) {
    HWND old = h.app.window("Form1");
    h.onClick = [&](std::string_view) {
        h.app.unload("Form1");
        EXPECT_FALSE(IsWindowVisible(old));
        h.app.show("Form1");
    };
    SendMessageW(control("Command1"), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(old));
    old = h.app.window("Form1");
    SendMessageW(old, WM_CLOSE, 0, 0);
    EXPECT_FALSE(h.app.loaded("Form1") || IsWindow(old));
    EXPECT_EQ(pump(10), 1);
    h.show(mainwindow::Form1Table());
    h.onClick = [&](std::string_view) { h.app.end(); };
    SendMessageW(control("Command5"), BM_CLICK, 0, 0);
    EXPECT_EQ(pump(10), 1);
}

// Enter presses the push button that has the focus, else the year dialog's "确定"; Escape closes
// the dialog as its close box does, and leaves the main window alone.
TEST_F(Win32Toolkit, KeysOfADialog) {
    h.show(yeardialog::Form2Table());
    for (auto [focus, key] : {std::pair{control("Text1", "Form2"), VK_RETURN},
                              {control("Command2", "Form2"), VK_RETURN},
                              {control("Combo1"), VK_ESCAPE},
                              {control("Text2", "Form2"), VK_ESCAPE}}) {
        SetFocus(focus);
        MSG message{focus, WM_KEYDOWN, static_cast<WPARAM>(key), 0, 0, {}};
        h.app.deliver(message);
    }
    EXPECT_TRUE(h.app.loaded("Form1") && !h.app.loaded("Form2"));
    EXPECT_EQ(h.clicks, (std::vector<std::string>{"Command1", "Command2"}));
}

TEST_F(Win32Toolkit, FormReadsAsTheMemoryFormAndWarningTakesNoFocus) {
    testing_support::MemoryForm memory(mainwindow::Form1Table());
    EXPECT_EQ(testing_support::readAndChange(*h.form, mainwindow::Form1Table()),
              testing_support::readAndChange(memory, mainwindow::Form1Table()));
    warning::Link link;
    h.app.define("Form3", warning::Form3Definition(link));
    h.app.show("Form3");
    EXPECT_TRUE(GetWindowLongPtrW(h.app.window("Form3"), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(h.app.window("Form3")) && GetFocus() == control("Command1"));
}

}  // namespace
