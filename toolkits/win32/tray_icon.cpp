#include "toolkits/win32/tray_icon.h"

#include <shellapi.h>

#include <stdexcept>
#include <vector>

#include "platform/win32_resources.h"
#include "platform/win32_text.h"

namespace win32forms {

namespace {

using forms::Control;
using win32text::wide;

constexpr wchar_t kWindowClass[] = L"VorlixTrayIcon";
constexpr UINT kIconId = 1;
constexpr UINT kFirstItemId = 100;

struct MenuDestroyer {
    void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};

}  // namespace

TrayIcon::TrayIcon(const forms::FormTable& table, forms::WindowEvents& events)
    : StoredControls(table), table_(table), events_(events), form_(table, *this) {
    for (const Control& c : table.controls) {
        if (c.kind == forms::Kind::Label) {
            tooltip_ = &c;
        }
    }
    if (tooltip_ == nullptr) {
        throw std::logic_error("a notification icon's table names no label for its tooltip");
    }
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kWindowClass;
        return RegisterClassExW(&wc);
    }();
    // Hidden, and so without a taskbar entry; a top-level window hears that the taskbar was
    // started again, where a message-only one would not.
    window_.reset(CreateWindowExW(0, kWindowClass, wide(table.caption).c_str(), WS_POPUP, 0, 0, 0,
                                  0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (atom == 0 || !window_) {
        throw std::runtime_error("the notification icon's window cannot be created");
    }
    // The program's own icon, at the size the notification area asks for.
    icon_.reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(VORLIX_ICON_ID), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    SetWindowLongPtrW(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TrayIcon::~TrayIcon() {
    retire();
    SetWindowLongPtrW(hwnd(), GWLP_USERDATA, 0);
}

void TrayIcon::notify(DWORD message, UINT flags) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd();
    data.uID = kIconId;
    data.uFlags = flags;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = icon_.get();
    // The system shows at most 127 characters; a status line is far shorter.
    wide(text(*tooltip_))
        .substr(0, std::size(data.szTip) - 1)
        .copy(data.szTip, std::size(data.szTip));
    Shell_NotifyIconW(message, &data);
}

void TrayIcon::present() {
    added_ = true;
    notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

void TrayIcon::retire() {
    if (added_) {
        added_ = false;
        notify(NIM_DELETE, 0);
    }
}

void TrayIcon::setText(const Control& c, std::string_view text) {
    const bool changed = text != this->text(c);
    StoredControls::setText(c, text);
    if (&c == tooltip_ && changed && added_) {
        notify(NIM_MODIFY, NIF_TIP);
    }
}

LRESULT CALLBACK TrayIcon::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* icon = reinterpret_cast<TrayIcon*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return icon != nullptr ? icon->handle(message, wParam, lParam)
                           : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT TrayIcon::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    // Reporting an event may destroy this object: nothing of it is touched after one.
    forms::WindowEvents& events = events_;
    if (message == kCallbackMessage && lParam == WM_LBUTTONUP) {
        events.clicked(*this, tooltip_->name);
        return 0;
    }
    if (message == kCallbackMessage && lParam == WM_RBUTTONUP) {
        showMenu();
        return 0;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == 0) {
        // The items in the table's order, as the menu numbers them.
        UINT id = kFirstItemId;
        for (const Control& c : table_.controls) {
            if (c.kind == forms::Kind::PushButton && id++ == LOWORD(wParam)) {
                events.clicked(*this, c.name);
                return 0;
            }
        }
        return 0;
    }
    if (message == taskbarCreated && added_) {
        notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
        return 0;
    }
    return DefWindowProcW(hwnd(), message, wParam, lParam);
}

void TrayIcon::showMenu() {
    const std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer> menu(CreatePopupMenu());
    UINT id = kFirstItemId;
    for (const Control& c : table_.controls) {
        if (c.kind == forms::Kind::PushButton) {
            AppendMenuW(menu.get(), MF_STRING | (enabled(c) ? 0 : MF_GRAYED), id++,
                        wide(text(c)).c_str());
        }
    }
    POINT at{};
    GetCursorPos(&at);
    // Without the icon's window in front the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(hwnd());
    // The choice comes back as WM_COMMAND, once the menu has closed.
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
    PostMessageW(hwnd(), WM_NULL, 0, 0);
}

}  // namespace win32forms
