#include "toolkits/win32/win32_application.h"

#include <commctrl.h>

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
        HWND hwnd = static_cast<FormWindow*>(window)->hwnd();
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
        ours = ours || static_cast<FormWindow*>(window)->hwnd() == root;
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

FormWindow* Win32Application::windowOf(std::string_view form) const {
    return static_cast<FormWindow*>(find(form));
}

}  // namespace win32forms
