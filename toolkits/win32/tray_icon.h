// An icon in the notification area built from a control table with Shell_NotifyIconW: its label
// is the tooltip, its push buttons the items of its menu.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "forms/control_form.h"
#include "forms/window_host.h"
#include "platform/win32_handles.h"

namespace win32forms {

class TrayIcon final : public forms::HostedWindow, private forms::StoredControls {
  public:
    // What the icon sends its window; the mouse message is in lParam.
    static constexpr UINT kCallbackMessage = WM_APP + 1;

    TrayIcon(const forms::FormTable& table, forms::WindowEvents& events);
    ~TrayIcon() override;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The hidden window the icon reports to.
    HWND hwnd() const { return window_.get(); }
    forms::Form& form() override { return form_; }
    void scheduleTick(std::optional<std::chrono::milliseconds>) override {}
    void present() override;
    void bringForward() override {}
    void withdraw() override {}
    void retire() override;

  private:
    using Control = forms::Control;
    // The label's text is the tooltip, shown again when it changes.
    void setText(const Control& c, std::string_view text) override;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void notify(DWORD message, UINT flags);
    void showMenu();

    const forms::FormTable& table_;
    forms::WindowEvents& events_;
    const Control* tooltip_ = nullptr;  // the label
    win32handles::UniqueIcon icon_;
    win32handles::UniqueWindow window_;
    forms::ControlForm form_;
    bool added_ = false;
};

}  // namespace win32forms
