#include "forms/control_table.h"

#include <algorithm>
#include <stdexcept>

namespace forms {

const Control& FormTable::control(std::string_view controlName) const {
    auto it = std::find_if(controls.begin(), controls.end(),
                           [&](const Control& c) { return c.name == controlName; });
    if (it == controls.end()) {
        throw std::out_of_range(name + " has no control " + std::string(controlName));
    }
    return *it;
}

const Control& controlFor(const FormTable& table, std::string_view name, Access access) {
    const Control& control = table.control(name);
    const bool has = access == Access::Enabled ||
                     (access == Access::Text && control.kind != Kind::Timer) ||
                     (access == Access::Selected && control.kind == Kind::OptionButton) ||
                     (access == Access::List && control.kind == Kind::ComboBox);
    if (!has) {
        throw std::logic_error("control " + std::string(name) + " has no such property");
    }
    return control;
}

bool takesFocus(Kind kind) {
    switch (kind) {
        case Kind::TextBox:
        case Kind::ComboBox:
        case Kind::OptionButton:
        case Kind::PushButton:
            return true;
        case Kind::Label:
        case Kind::Frame:
        case Kind::Timer:
            return false;
    }
    return false;
}

std::vector<const Control*> focusOrder(const FormTable& table) {
    std::vector<const Control*> order;
    for (const Control& c : table.controls) {
        if (takesFocus(c.kind)) {
            order.push_back(&c);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

}  // namespace forms
