// What only the Win32 windows can get wrong; the window host is tested on its own.
#include <gtest/gtest.h>

#include "toolkit_probes.h"
#include "toolkits/win32/tray_icon.h"
#include "toolkits/win32/win32_application.h"
// After windows.h, whose types it uses.
#include <shellapi.h>

static std::string textOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return win32text::narrow(text);
}

// Reads the message box up as "title|text|button|modal|icon" and presses its button.
static std::vector<std::string> boxes;
static void CALLBACK answerBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowW(L"#32770", nullptr), owner = GetWindow(box, GW_OWNER);
    const LRESULT icon =
        SendMessageW(FindWindowExW(box, nullptr, L"Static", nullptr), STM_GETICON, 0, 0);
    boxes.push_back(
        textOf(box) + "|" + textOf(GetDlgItem(box, 0xFFFF)) + "|" + textOf(GetDlgItem(box, IDOK)) +
        (IsWindow(owner) && !IsWindowEnabled(owner) ? "|modal|" : "||") + std::to_string(icon));
    SendMessageW(box, WM_COMMAND, IDOK, 0);
}

struct Win32Toolkit : testing::Test, OnToolkit<win32forms::Win32Application> {
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

TEST_F(Win32Toolkit, MessageBoxesLetTheWakeUpsGoOn) {
    showBoxesOnClick();
    const UINT_PTR answerer = SetTimer(nullptr, 0, 150, &answerBox);
    click("Label13");
    KillTimer(nullptr, answerer);
    EXPECT_GE(ticks, 3);
    const std::string box = "Quenly作品|第一行\r\n  第二行 |确定|modal|";
    const auto icon = [](LPCSTR id) { return std::to_string(LRESULT(LoadIconA(nullptr, id))); };
    EXPECT_EQ(boxes, (std::vector{box + "0", box + icon(IDI_INFORMATION), box + icon(IDI_ERROR)}));
}

// Unloaded by its own handler, a window is hidden at once and destroyed once the handler is done;
// the message loop ends with the last window.
TEST_F(Win32Toolkit, UnloadCloseAndEnd) {
    HWND unloaded = app.window("Form1");
    onClick = [&](auto) {
        app.unload("Form1");
        EXPECT_TRUE(IsWindow(unloaded) && !IsWindowVisible(unloaded));
        app.show("Form1");
    };
    EXPECT_FALSE(ends([&] { click("Command1"); }));
    HWND closed = app.window("Form1");
    EXPECT_TRUE(!IsWindow(unloaded) && ends([&] { SendMessageW(closed, WM_CLOSE, 0, 0); }));
    EXPECT_FALSE(app.loaded("Form1") || IsWindow(closed));
    show(mainwindow::Form1Table());
    onClick = [&](auto) { app.end(); };
    EXPECT_TRUE(ends([&] { click("Command5"); }));
}

// The focus starts on the first control and Tab visits the rest by their tab indexes in the table.
TEST_F(Win32Toolkit, TabOrder) {
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
}

// As the command line's --restart does: the other option of the frame is cleared.
TEST_F(Win32Toolkit, SelectingAnOptionClearsTheOther) {
    forms::Form& form = app.formOf("Form1");
    form.setSelected("Option2");
    EXPECT_TRUE(form.selected("Option2") && !form.selected("Option1"));
}

TEST_F(Win32Toolkit, KeysOfADialog) {
    EXPECT_EQ(pressEnterAndEscape([&](const char* form, const char* name, bool enter) {
                  SetFocus(app.control(form, name));
                  MSG key{GetFocus(), WM_KEYDOWN, WPARAM(enter ? VK_RETURN : VK_ESCAPE), 0, 0, {}};
                  app.deliver(key);
              }),
              "Form1 Command1 Command2");
}

TEST_F(Win32Toolkit, WarningStaysOnTopWithoutTakingTheFocus) {
    warning::Link link;
    app.define("Form3", warning::Form3Definition(link));
    app.show("Form3");
    EXPECT_TRUE((GetWindowLongPtrW(app.window("Form3"), GWL_EXSTYLE) & WS_EX_TOPMOST) &&
                IsWindowVisible(app.window("Form3")) &&
                GetFocus() == app.control("Form1", "Command1"));
}

// Reads the open popup menu as "item item- ..." ("-" when greyed), closes it and chooses its third
// item, as a click on it would.
static std::string menu;
static HWND menuOwner;
static void CALLBACK readMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const auto items = reinterpret_cast<HMENU>(
        SendMessageW(FindWindowW(L"#32768", nullptr), 0x01E1 /* MN_GETHMENU */, 0, 0));
    for (int i = 0; i < GetMenuItemCount(items); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(items, i, text, 64, MF_BYPOSITION);
        menu += win32text::narrow(text) +
                (GetMenuState(items, i, MF_BYPOSITION) & MF_GRAYED ? "- " : " ");
    }
    EndMenu();
    PostMessageW(menuOwner, WM_COMMAND, GetMenuItemID(items, 2), 0);
}

// The icon is added and goes with its table, its menu shows the items' texts and switches and
// reports a choice, a click on it is reported; a minimized window reports it, hides without a
// taskbar entry and comes back whole.
TEST_F(Win32Toolkit, IconInTheNotificationArea) {
    if (FindWindowW(L"Shell_TrayWnd", nullptr) == nullptr) {
        GTEST_SKIP() << "needs a notification area (win32_tray_icon)";
    }
    show(trayicon::TrayIconTable());
    HWND icon = menuOwner = app.notificationIcon("TrayIcon");
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof probe;
    probe.hWnd = icon;
    probe.uID = 1;
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe));
    app.formOf("TrayIcon").setEnabled("Command3", true);
    SetTimer(nullptr, 0, 100, &readMenu);
    SendMessageW(icon, win32forms::TrayIcon::kCallbackMessage, 1, WM_RBUTTONUP);
    SendMessageW(icon, win32forms::TrayIcon::kCallbackMessage, 1, WM_LBUTTONUP);
    for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) {
        app.deliver(m);
    }
    EXPECT_EQ(menu, "显示主窗口 立即执行- 推迟10分钟 重置- 退出 ");

    HWND window = app.window("Form1");
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_EQ(clicks, (std::vector<std::string>{"Label1", "Command3", "minimized"}));
    app.hide("Form1");
    EXPECT_FALSE(IsWindowVisible(window));
    app.show("Form1");
    EXPECT_TRUE(IsWindowVisible(window) && !IsIconic(window));
    app.unload("TrayIcon");
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &probe));
}
