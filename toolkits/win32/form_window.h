// One window built from its control table with plain Win32 controls, and the form interface its
// handlers use over those controls.
#pragma once

#include <windows.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control_form.h"
#include "forms/form.h"
#include "forms/window_host.h"
#include "platform/win32_handles.h"
#include "platform/win32_text.h"

namespace win32forms {

using win32text::narrow;
using win32text::wide;

class FormWindow final : public forms::HostedWindow, private forms::ControlView {
  public:
    FormWindow(const forms::FormTable& table, forms::WindowEvents& events);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return window_.get(); }
    forms::Form& form() override { return form_; }
    // The control window of that name; nullptr for a timer or an unknown name.
    HWND control(std::string_view name) const;

    void scheduleTick(std::optional<std::chrono::milliseconds> after) override;
    void present() override;
    void bringForward() override;
    void withdraw() override { ShowWindow(hwnd(), SW_HIDE); }
    void retire() override;

  private:
    using Control = forms::Control;
    std::string text(const Control& c) const override;
    void setText(const Control& c, std::string_view text) override;
    bool enabled(const Control& c) const override;
    void setEnabled(const Control& c, bool on) override;
    bool checked(const Control& c) const override;
    void setChecked(const Control& c, bool on) override;
    int itemCount(const Control& c) const override;
    void addItem(const Control& c, std::string_view item) override;
    void showItem(const Control& c, int index) override;
    // The control a child window belongs to, also the edit field or list of a combo box.
    const Control* controlOf(HWND child) const;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT colours(UINT message, HDC dc, HWND child);
    // Makes the control window in its place, with its font for the window's dots per inch.
    HWND build(const forms::Control& control, bool startsGroup, UINT dpi);
    // Where a control goes, in pixels at dpi.
    RECT placement(const forms::Control& control, UINT dpi) const;
    // Places every control again and gives it its font, for new dots per inch.
    void layout(UINT dpi);
    // Gives the window the size that holds its client area at dpi.
    void sizeFrame(UINT dpi);
    HFONT font(const std::optional<forms::Font>& font, UINT dpi);
    HBRUSH brush(const forms::Rgb& colour);
    void focusFirstControl();

    const forms::FormTable& table_;
    forms::WindowEvents& events_;
    std::map<std::string, HWND, std::less<>> controls_;
    forms::ControlForm form_;
    std::map<std::string, win32handles::UniqueFont> fonts_;
    std::map<COLORREF, win32handles::UniqueBrush> brushes_;
    // Owned from its creation on, so that a window whose controls cannot all be made is destroyed
    // too; declared after the fonts and brushes its controls use, so that it goes first.
    win32handles::UniqueWindow window_;
    HWND lastFocus_ = nullptr;  // restored when the window is activated again
};

}  // namespace win32forms
