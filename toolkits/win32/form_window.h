// One window built from its control table with plain Win32 controls, and the form interface its
// handlers use over those controls.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"
#include "forms/window_host.h"
#include "platform/win32_handles.h"
#include "platform/win32_text.h"

namespace win32forms {

using win32text::narrow;
using win32text::wide;

class HwndForm final : public forms::Form {
  public:
    explicit HwndForm(const forms::FormTable& table) : table_(table) {}

    // Registers the control window built for a control; timers have none.
    void add(const forms::Control& control, HWND hwnd);
    // The control window of that name; nullptr for a timer or an unknown name.
    HWND hwnd(std::string_view control) const;
    // The control a child window belongs to, also the edit field or list of a combo box.
    const forms::Control* controlOf(HWND child) const;

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    bool enabled(std::string_view control) const override;
    void setEnabled(std::string_view control, bool on) override;
    bool selected(std::string_view control) const override;
    void setSelected(std::string_view control) override;
    void addItem(std::string_view control, std::string_view item) override;
    void setListIndex(std::string_view control, int index) override;

  private:
    struct Entry {
        HWND hwnd = nullptr;  // none for a timer
        bool timerOn = false;
    };
    // The control's entry, when its kind has that property (see forms::controlFor).
    const Entry& entry(std::string_view control, forms::Access access) const;
    Entry& entry(std::string_view control, forms::Access access);

    const forms::FormTable& table_;
    std::map<std::string, Entry, std::less<>> entries_;
};

class FormWindow final : public forms::HostedWindow {
  public:
    // What the window reports to the application: a click of a control, its wake-up, a close.
    struct Events {
        std::function<void(FormWindow&, std::string_view)> clicked;
        std::function<void(FormWindow&)> ticked;
        std::function<void()> closeRequested;
    };

    FormWindow(const forms::FormTable& table, Events events);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return window_.get(); }
    forms::Form& form() override { return form_; }
    HWND control(std::string_view name) const { return form_.hwnd(name); }

    void scheduleTick(std::optional<std::chrono::milliseconds> after) override;
    void present() override;
    void bringForward() override;
    void retire() override;

  private:
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
    Events events_;
    HwndForm form_;
    std::map<std::string, win32handles::UniqueFont> fonts_;
    std::map<COLORREF, win32handles::UniqueBrush> brushes_;
    // Owned from its creation on, so that a window whose controls cannot all be made is destroyed
    // too; declared after the fonts and brushes its controls use, so that it goes first.
    win32handles::UniqueWindow window_;
    HWND lastFocus_ = nullptr;  // restored when the window is activated again
};

}  // namespace win32forms
