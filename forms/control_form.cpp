#include "forms/control_form.h"

#include <stdexcept>

namespace forms {

StoredControls::StoredControls(const FormTable& table) {
    for (const Control& c : table.controls) {
        states_.emplace(c.name, State{c.text, c.enabled, c.selected, {}});
    }
}

int StoredControls::itemCount(const Control& c) const {
    return static_cast<int>(states_.at(c.name).items.size());
}

void StoredControls::addItem(const Control& c, std::string_view item) {
    at(c).items.emplace_back(item);
}

void StoredControls::showItem(const Control& c, int index) {
    State& s = at(c);
    s.text = index < 0 ? std::string() : s.items[static_cast<std::size_t>(index)];
}

ControlForm::ControlForm(const FormTable& table, ControlView& view) : table_(table), view_(view) {
    for (const Control& c : table.controls) {
        if (c.kind == Kind::Timer) {
            timers_.emplace(c.name, c.enabled);
        }
    }
}

std::string ControlForm::text(std::string_view control) const {
    return view_.text(controlFor(table_, control, Access::Text));
}

void ControlForm::setText(std::string_view control, std::string_view text) {
    view_.setText(controlFor(table_, control, Access::Text), text);
}

bool ControlForm::enabled(std::string_view control) const {
    const Control& c = controlFor(table_, control, Access::Enabled);
    return c.kind == Kind::Timer ? timers_.find(control)->second : view_.enabled(c);
}

void ControlForm::setEnabled(std::string_view control, bool on) {
    const Control& c = controlFor(table_, control, Access::Enabled);
    if (c.kind == Kind::Timer) {
        timers_.find(control)->second = on;
    } else {
        view_.setEnabled(c, on);
    }
}

bool ControlForm::selected(std::string_view control) const {
    return view_.checked(controlFor(table_, control, Access::Selected));
}

void ControlForm::setSelected(std::string_view control) {
    const Control& chosen = controlFor(table_, control, Access::Selected);
    for (const Control& c : table_.controls) {
        if (c.kind == Kind::OptionButton && c.container == chosen.container) {
            view_.setChecked(c, &c == &chosen);
        }
    }
}

void ControlForm::addItem(std::string_view control, std::string_view item) {
    view_.addItem(controlFor(table_, control, Access::List), item);
}

void ControlForm::setListIndex(std::string_view control, int index) {
    const Control& c = controlFor(table_, control, Access::List);
    if (index < -1 || index >= view_.itemCount(c)) {
        throw std::out_of_range("list index " + std::to_string(index) + " of " +
                                std::string(control) + " is out of range");
    }
    view_.showItem(c, index);
}

}  // namespace forms
