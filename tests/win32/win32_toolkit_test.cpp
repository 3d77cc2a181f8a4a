// What only the Win32 windows can get wrong; the window host and what the pixel and end-to-end
// tests see are tested elsewhere.
#include "toolkit_probes.h"
#include "toolkits/win32/win32_application.h"

static std::string textOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return win32text::narrow(text);
}

// Reads the message box up as "title|text|icon|button|modal" and presses its button.
static std::vector<std::string> boxes;
static void CALLBACK answerBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowW(L"#32770", nullptr), owner = GetWindow(box, GW_OWNER);
    LRESULT icon = 0;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        icon |= IsWindowVisible(c) ? SendMessageW(c, STM_GETICON, 0, 0) : 0;
    }
    boxes.push_back(textOf(box) + "|" + textOf(GetDlgItem(box, 0xFFFF)) + "|" +
                    std::to_string(icon) + "|" + textOf(GetDlgItem(box, IDOK)) +
                    (IsWindow(owner) && !IsWindowEnabled(owner) ? "|modal" : ""));
    SendMessageW(box, WM_COMMAND, IDOK, 0);
}

struct Win32Toolkit : OnToolkit<win32forms::Win32Application> {
    void click(const char* name) {
        SendMessageW(app.control("Form1", name), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(app.control("Form1", name), WM_LBUTTONUP, 0, 0);
    }
    // Whether the message loop ends while `act` runs or in the 50 ms after.
    bool ends(const std::function<void()>& act) {
        act();
        const UINT_PTR timeout =
            SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
        const bool ended = app.run() == 0;
        KillTimer(nullptr, timeout);
        return ended;
    }
};

// A box's modal loop that stopped the window's wake-ups would make the program fire late.
TEST_F(Win32Toolkit, MessageBoxesLetTheWakeUpsGoOn) {
    showBoxesOnClick();
    const UINT_PTR answerer = SetTimer(nullptr, 0, 150, &answerBox);
    click("Label13");
    KillTimer(nullptr, answerer);
    EXPECT_GT(ticks, 10);
    const auto box = [](LPCSTR icon) {
        return "Quenly作品|第一行\r\n  第二行 |" +
               std::to_string(LRESULT(icon ? LoadIconA(nullptr, icon) : nullptr)) + "|确定|modal";
    };
    EXPECT_EQ(boxes, (std::vector{box(nullptr), box(IDI_INFORMATION), box(IDI_ERROR)}));
}

// Unloaded by its own handler, a window is hidden at once and destroyed once the handler is done;
// the message loop ends with the last window.
TEST_F(Win32Toolkit, ClosingAndTheEnd) {
    HWND unloaded = app.window("Form1");
    onClick = [&] {
        app.unload("Form1");
        EXPECT_TRUE(IsWindow(unloaded) && !IsWindowVisible(unloaded));
        app.show("Form1");
    };
    EXPECT_FALSE(ends([&] { click("Command1"); }));
    HWND closed = app.window("Form1");
    EXPECT_TRUE(!IsWindow(unloaded) && ends([&] { SendMessageW(closed, WM_CLOSE, 0, 0); }));
    EXPECT_FALSE(app.loaded("Form1") || IsWindow(closed));
    show(mainwindow::Form1Table());
    onClick = [&] { app.end(); };
    EXPECT_TRUE(ends([&] { click("Command5"); }));
}

// Enter presses the focused push button, else "确定"; Escape closes the dialog only. The focus
// starts on the first control and Tab visits the rest in order.
TEST_F(Win32Toolkit, Keys) {
    std::vector<HWND> order, walked{GetFocus()};
    for (const char* name :
         {"Command1", "Option1", "Option2", "Command3", "Command4", "Command5", "Combo1",
          "Combo2",   "Combo3",  "Combo4",  "Combo5",   "Combo6",   "Text1",    "Text2",
          "Text3",    "Text4",   "Text5",   "Text6",    "Command2", "Command1"}) {
        order.push_back(app.control("Form1", name));
        walked.push_back(GetNextDlgTabItem(app.window("Form1"), walked.back(), FALSE));
    }
    walked.pop_back();
    EXPECT_EQ(walked, order);
    show(yeardialog::Form2Table());
    for (auto [form, name, key] : {std::tuple{"Form2", "Text1", VK_RETURN},
                                   {"Form2", "Command2", VK_RETURN},
                                   {"Form1", "Text1", VK_ESCAPE},
                                   {"Form2", "Text2", VK_ESCAPE}}) {
        SetFocus(app.control(form, name));
        MSG message{app.control(form, name), WM_KEYDOWN, WPARAM(key), 0, 0, {}};
        app.deliver(message);
    }
    EXPECT_TRUE(app.loaded("Form1") && !app.loaded("Form2"));
    EXPECT_EQ(clicks, (std::vector<std::string>{"Command1", "Command2"}));
}

TEST_F(Win32Toolkit, FormAndFonts) {
    testing_support::MemoryForm memory(mainwindow::Form1Table());
    EXPECT_EQ(readAfterCalls(app.formOf("Form1")), readAfterCalls(memory));
    for (auto [name, face] : {std::pair{"Text1", "新宋体"}, {"Combo1", "宋体"}}) {
        LOGFONTW f{};
        GetObjectW(HFONT(SendMessageW(app.control("Form1", name), WM_GETFONT, 0, 0)), sizeof f, &f);
        EXPECT_EQ(win32text::narrow(f.lfFaceName) + " " + std::to_string(f.lfHeight) + " " +
                      std::to_string(f.lfWeight) + " " + std::to_string(f.lfCharSet),
                  std::string(face) + " -20 700 134");
    }
}

TEST_F(Win32Toolkit, WarningStaysOnTopWithoutTakingTheFocus) {
    warning::Link link;
    app.define("Form3", warning::Form3Definition(link));
    app.show("Form3");
    EXPECT_TRUE(GetWindowLongPtrW(app.window("Form3"), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(app.window("Form3")) &&
                GetFocus() == app.control("Form1", "Command1"));
}
