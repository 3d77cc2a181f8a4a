// A window's controls as its handlers see them, the same over every toolkit: the rules for which
// control has which property, option buttons that exclude each other, list indexes in range, and
// the timers' switches, which have no widget. A toolkit only shows and reads its widgets.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"

namespace forms {

// The widgets or windows of one toolkit's window. The form has looked the control up and checked
// that its kind has the property, so each call only shows or reads it; timers never reach here.
class ControlView {
  public:
    virtual std::string text(const Control& control) const = 0;
    virtual void setText(const Control& control, std::string_view text) = 0;
    virtual bool enabled(const Control& control) const = 0;
    virtual void setEnabled(const Control& control, bool on) = 0;
    virtual bool checked(const Control& control) const = 0;
    virtual void setChecked(const Control& control, bool on) = 0;
    virtual int itemCount(const Control& control) const = 0;
    virtual void addItem(const Control& control, std::string_view item) = 0;
    // Shows the item at INDEX in the list's text, or none for -1; the index is in range.
    virtual void showItem(const Control& control, int index) = 0;

  protected:
    ~ControlView() = default;
};

// The view of a menu, whose items are texts and switches: ControlForm never asks it for option
// buttons or lists, which it has none of.
class MenuView : public ControlView {
  public:
    bool checked(const Control&) const override { return false; }
    void setChecked(const Control&, bool) override {}
    int itemCount(const Control&) const override { return 0; }
    void addItem(const Control&, std::string_view) override {}
    void showItem(const Control&, int) override {}

  protected:
    ~MenuView() = default;
};

// A view that keeps every control's state itself, for a window that draws its controls only when
// asked, as a notification icon does its menu, or never.
class StoredControls : public ControlView {
  public:
    explicit StoredControls(const FormTable& table);

    std::string text(const Control& c) const override { return states_.at(c.name).text; }
    void setText(const Control& c, std::string_view text) override { at(c).text = text; }
    bool enabled(const Control& c) const override { return states_.at(c.name).enabled; }
    void setEnabled(const Control& c, bool on) override { at(c).enabled = on; }
    bool checked(const Control& c) const override { return states_.at(c.name).checked; }
    void setChecked(const Control& c, bool on) override { at(c).checked = on; }
    int itemCount(const Control& c) const override;
    void addItem(const Control& c, std::string_view item) override;
    void showItem(const Control& c, int index) override;
    const std::vector<std::string>& items(std::string_view list) const {
        return states_.at(std::string(list)).items;
    }

  protected:
    ~StoredControls() = default;

  private:
    struct State {
        std::string text;
        bool enabled, checked;
        std::vector<std::string> items;
    };
    State& at(const Control& c) { return states_.at(c.name); }

    std::map<std::string, State, std::less<>> states_;
};

class ControlForm final : public Form {
  public:
    ControlForm(const FormTable& table, ControlView& view);

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    bool enabled(std::string_view control) const override;
    void setEnabled(std::string_view control, bool on) override;
    bool selected(std::string_view control) const override;
    void setSelected(std::string_view control) override;
    void addItem(std::string_view control, std::string_view item) override;
    void setListIndex(std::string_view control, int index) override;

  private:
    const FormTable& table_;
    ControlView& view_;
    std::map<std::string, bool, std::less<>> timers_;
};

}  // namespace forms
