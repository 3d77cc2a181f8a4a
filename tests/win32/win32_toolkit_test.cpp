// The toolkit cases on Win32, and what only Win32 can get wrong; the window host and what the pixel
// and end-to-end tests see are tested elsewhere.
#include <gtest/gtest.h>

#include "toolkit_probes.h"
#include "toolkits/win32/win32_application.h"
#include "warning/Form3.h"

namespace {

std::string textOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return win32text::narrow(buffer);
}

std::vector<std::string> answered;
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
                HWND owner = GetWindow(box, GW_OWNER);
                answered.push_back(textOf(box) + "|" + textOf(GetDlgItem(box, 0xFFFF)) + "|" +
                                   (is(IDI_INFORMATION) ? "Information"
                                    : is(IDI_ERROR)     ? "Critical"
                                    : icon              ? "?"
                                                        : "NoIcon") +
                                   "|" + textOf(GetDlgItem(box, IDOK)) +
                                   (owner && !IsWindowEnabled(owner) ? "|modal" : "|"));
                SendMessageW(box, WM_COMMAND, IDOK, 0);
            }
            return TRUE;
        },
        0);
}

struct Win32Driver {
    static constexpr const char* kLineBreak = "\r\n";
    static constexpr bool kLastWindowEnds = true;

    HWND control(std::string_view form, std::string_view name) const {
        return app.control(form, name);
    }
    HWND window(std::string_view form) const { return app.window(form); }
    static bool shown(HWND window) { return IsWindowVisible(window); }
    static bool alive(HWND window) { return IsWindow(window); }
    static void closeBox(HWND window) { SendMessageW(window, WM_CLOSE, 0, 0); }
    void click(std::string_view form, std::string_view name) {
        SendMessageW(control(form, name), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(control(form, name), WM_LBUTTONUP, 0, 0);
    }
    void key(std::string_view form, std::string_view name, bool enter) {
        SetFocus(control(form, name));
        MSG message{
            control(form, name), WM_KEYDOWN, WPARAM(enter ? VK_RETURN : VK_ESCAPE), 0, 0, {}};
        app.deliver(message);
    }
    bool ends(const std::function<void()>& act) {
        act();
        bool quit = false;
        for (const DWORD end = GetTickCount() + 50; static_cast<LONG>(GetTickCount() - end) < 0;
             Sleep(1)) {
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
                if (message.message == WM_QUIT) {
                    quit = true;
                } else {
                    app.deliver(message);
                }
            }
        }
        return quit;
    }
    static std::vector<std::string> answeringBoxes(const std::function<void()>& act) {
        answered.clear();
        const UINT_PTR answerer = SetTimer(nullptr, 0, 150, &answerBoxes);
        act();
        KillTimer(nullptr, answerer);
        return answered;
    }

    win32forms::Win32Application app;
};

using Win32Toolkit = testing_support::ToolkitTest<Win32Driver>;

TEST_F(Win32Toolkit, FocusAndTabOrder) {
    std::vector<HWND> order, walked{GetFocus()};
    for (const char* name :
         {"Command1", "Option1", "Option2", "Command3", "Command4", "Command5", "Combo1",
          "Combo2",   "Combo3",  "Combo4",  "Combo5",   "Combo6",   "Text1",    "Text2",
          "Text3",    "Text4",   "Text5",   "Text6",    "Command2", "Command1"}) {
        order.push_back(control("Form1", name));
    }
    while (walked.size() < order.size()) {
        walked.push_back(GetNextDlgTabItem(window("Form1"), walked.back(), FALSE));
    }
    EXPECT_EQ(walked, order);
}

TEST_F(Win32Toolkit, FontsAndColours) {
    const auto fontOf = [](const LOGFONTW& f) {
        return win32text::narrow(f.lfFaceName) + " " + std::to_string(f.lfHeight) + " " +
               std::to_string(f.lfWeight) + " " + std::to_string(f.lfCharSet);
    };
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    for (const auto& [name, font] :
         {std::pair<const char*, std::string>{"Text1", "新宋体 -20 700 134"},
          {"Combo1", "宋体 -20 700 134"},
          {"Option1", fontOf(metrics.lfMessageFont)}}) {
        LOGFONTW f{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("Form1", name), WM_GETFONT, 0, 0)),
                   sizeof f, &f);
        EXPECT_EQ(fontOf(f), font);
    }
    EXPECT_TRUE(GetWindowLongPtrW(control("Form1", "Label13"), GWL_STYLE) & SS_CENTER);
    // The colours a control asks its window for: text, background and the brush's.
    HDC dc = CreateCompatibleDC(nullptr);
    const auto colours = [&](UINT message, HWND child) {
        SetTextColor(dc, RGB(1, 2, 3));
        LOGBRUSH brush{};
        GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(window("Form1"), message,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(child))),
                   sizeof brush, &brush);
        return std::vector{GetTextColor(dc), GetBkColor(dc), brush.lbColor};
    };
    COMBOBOXINFO year{};
    year.cbSize = sizeof year;
    GetComboBoxInfo(control("Form1", "Combo1"), &year);
    const COLORREF yellow = RGB(255, 255, 0), black = 0, face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(colours(WM_CTLCOLOREDIT, year.hwndItem), (std::vector{yellow, black, black}));
    EXPECT_EQ(colours(WM_CTLCOLORLISTBOX, year.hwndList), (std::vector{yellow, black, black}));
    EXPECT_EQ(colours(WM_CTLCOLORSTATIC, control("Form1", "Option1")),
              (std::vector{RGB(255, 0, 255), face, face}));
    EXPECT_EQ(colours(WM_CTLCOLORSTATIC, control("Form1", "Frame3")),
              (std::vector{RGB(255, 128, 0), face, face}));
    form->setEnabled("Combo1", false);  // so that it still looks disabled
    EXPECT_EQ(colours(WM_CTLCOLOREDIT, year.hwndItem)[0], RGB(1, 2, 3));
    DeleteDC(dc);
}

TEST_F(Win32Toolkit, WarningStaysOnTopWithoutTakingTheFocus) {
    warning::Link link;
    app.define("Form3", warning::Form3Definition(link));
    app.show("Form3");
    EXPECT_TRUE(GetWindowLongPtrW(window("Form3"), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(window("Form3")) && GetFocus() == control("Form1", "Command1"));
}

}  // namespace

namespace testing_support {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ToolkitTest, Win32Driver);
}
