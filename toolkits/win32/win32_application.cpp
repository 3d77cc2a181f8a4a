#include "toolkits/win32/win32_application.h"

#include <commctrl.h>

#include "toolkits/win32/tray_icon.h"

namespace win32forms {

Win32Application::Win32Application() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

Win32Application::~Win32Application() {
    destroyAll();
}

std::unique_ptr<forms::HostedWindow> Win32Application::makeWindow(const std::string& /*name*/,
                                                                  const forms::FormTable& table) {
    if (table.inNotificationArea) {
        return std::make_unique<TrayIcon>(table, *this);
    }
    return std::make_unique<FormWindow>(table, *this);
}

void Win32Application::showBox(std::string_view text, std::string_view title,
                               forms::MessageIcon icon) {
    UINT shown = 0;
    if (icon == forms::MessageIcon::Information) {
        shown = MB_ICONINFORMATION;
    } else if (icon == forms::MessageIcon::Error) {
        shown = MB_ICONERROR;
    }
    HWND owner = GetActiveWindow();
    // Modal to the whole program: the box disables its owner, the others are disabled here.
    std::vector<HWND> disabled;
    for (forms::HostedWindow* window : windows()) {
        const auto* form = dynamic_cast<FormWindow*>(window);
        HWND hwnd = form != nullptr ? form->hwnd() : owner;
        if (hwnd != owner && IsWindowEnabled(hwnd)) {
            EnableWindow(hwnd, FALSE);
            disabled.push_back(hwnd);
        }
    }
    MessageBoxW(owner, wide(text).c_str(), wide(title).c_str(), MB_OK | shown);
    for (HWND hwnd : disabled) {
        if (IsWindow(hwnd)) {
            EnableWindow(hwnd, TRUE);
        }
    }
}

void Win32Application::quit() {
    PostQuitMessage(0);
}

bool Win32Application::hasNotificationArea() const {
    return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

void Win32Application::dispose(std::vector<std::unique_ptr<forms::HostedWindow>> windows) {
    windows.clear();
    // The program ends with its last window, however that window went.
    if (this->windows().empty() && !ended()) {
        PostQuitMessage(0);
    }
}

int Win32Application::run() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        deliver(message);
    }
    return static_cast<int>(message.wParam);
}

void Win32Application::deliver(MSG& message) {
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    bool ours = false;
    for (forms::HostedWindow* window : windows()) {
        const auto* form = dynamic_cast<FormWindow*>(window);
        ours = ours || (form != nullptr && form->hwnd() == root);
    }
    if (ours && IsDialogMessageW(root, &message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

HWND Win32Application::window(std::string_view form) const {
    const FormWindow* window = windowOf(form);
    return window == nullptr ? nullptr : window->hwnd();
}

HWND Win32Application::control(std::string_view form, std::string_view name) const {
    const FormWindow* window = windowOf(form);
    return window == nullptr ? nullptr : window->control(name);
}

HWND Win32Application::notificationIcon(std::string_view form) const {
    const auto* icon = dynamic_cast<TrayIcon*>(find(form));
    return icon == nullptr ? nullptr : icon->hwnd();
}

FormWindow* Win32Application::windowOf(std::string_view form) const {
    return dynamic_cast<FormWindow*>(find(form));
}

}  // namespace win32forms
