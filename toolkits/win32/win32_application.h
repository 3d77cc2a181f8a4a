// The program's windows on the plain Win32 API: each built from its control table when it is
// shown, its clicks and timer wake-ups passed to its handlers one at a time.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/window_host.h"
#include "toolkits/win32/form_window.h"

namespace win32forms {

class Win32Application final : public forms::WindowHost {
  public:
    Win32Application();
    ~Win32Application() override;

    // The message loop, until the program ends or its last window is gone; the exit code.
    int run();
    // Passes one message on, through the keyboard handling of the window it is meant for.
    void deliver(MSG& message);

    // The loaded window of that name, or nullptr; and one of its controls, or nullptr; and the
    // window an icon in the notification area reports to, or nullptr.
    HWND window(std::string_view form) const;
    HWND control(std::string_view form, std::string_view name) const;
    HWND notificationIcon(std::string_view form) const;

  private:
    std::unique_ptr<forms::HostedWindow> makeWindow(const std::string& name,
                                                    const forms::FormTable& table) override;
    void showBox(std::string_view text, std::string_view title, forms::MessageIcon icon) override;
    void quit() override;
    bool hasNotificationArea() const override;
    void dispose(std::vector<std::unique_ptr<forms::HostedWindow>> windows) override;

    FormWindow* windowOf(std::string_view form) const;
};

}  // namespace win32forms
