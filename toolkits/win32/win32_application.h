// The program's windows on the plain Win32 API: each built from its control table when it is
// shown, its clicks and timer wake-ups passed to its handlers one at a time.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/form.h"
#include "toolkits/win32/form_window.h"

namespace win32forms {

class Win32Application final : public forms::Application {
  public:
    Win32Application();
    ~Win32Application() override;
    Win32Application(const Win32Application&) = delete;
    Win32Application& operator=(const Win32Application&) = delete;

    void define(std::string name, forms::FormDefinition definition);

    void show(std::string_view form) override;
    void unload(std::string_view form) override;
    bool loaded(std::string_view form) const override;
    void messageBox(std::string_view text, std::string_view title,
                    forms::MessageIcon icon) override;
    void end() override;

    // The message loop, until the program ends or its last window is gone; the exit code.
    int run();
    // Passes one message on, through the keyboard handling of the window it is meant for.
    void deliver(MSG& message);
    // One wake-up of the window now, as its timer would bring it.
    void tick(std::string_view form);

    // The loaded window of that name, or nullptr; and one of its controls, or nullptr.
    HWND window(std::string_view form) const;
    HWND control(std::string_view form, std::string_view name) const;

  private:
    template <typename Call>
    void dispatch(FormWindow& window, Call call);
    template <typename Call>
    bool guarded(Call call);
    void showBox(const std::wstring& text, const std::wstring& title, UINT icon);
    void releaseRetired();

    std::map<std::string, forms::FormDefinition, std::less<>> definitions_;
    std::map<std::string, std::unique_ptr<FormWindow>, std::less<>> loaded_;
    // Windows unloaded while a handler may still be running; destroyed once none runs.
    std::vector<std::unique_ptr<FormWindow>> retired_;
    int depth_ = 0;
    bool ended_ = false;
    bool reportingError_ = false;
};

}  // namespace win32forms
