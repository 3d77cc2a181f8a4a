#include "memory_host.h"

#include <stdexcept>
#include <utility>

namespace testing_support {

MemoryForm::MemoryForm(const forms::FormTable& table, std::string name, std::string* front)
    : name(std::move(name)), front_(front), form_(table, *this) {
    for (const forms::Control& c : table.controls) {
        states_.emplace(c.name, State{c.text, c.enabled, c.selected, {}});
    }
}

void MemoryForm::showItem(const Control& c, int index) {
    State& s = at(c);
    s.text = index < 0 ? std::string() : s.items[static_cast<std::size_t>(index)];
}

MemoryForm& MemoryHost::window(std::string_view name) {
    forms::HostedWindow* found = find(name);
    if (found == nullptr) {
        throw std::logic_error("window " + std::string(name) + " is not loaded");
    }
    return static_cast<MemoryForm&>(*found);
}

void MemoryHost::click(std::string_view form, std::string_view control) {
    if (!ended()) {
        clicked(window(form), control);
    }
}

void MemoryHost::tick(std::string_view form) {
    if (!ended()) {
        ticked(window(form));
    }
}

void MemoryHost::showBox(std::string_view text, std::string_view title, forms::MessageIcon icon) {
    messages_.push_back({std::string(text), std::string(title), icon, {}});
    for (forms::HostedWindow* loaded : windows()) {
        messages_.back().loadedForms.push_back(static_cast<MemoryForm*>(loaded)->name);
    }
    whileBoxShows();
}

}  // namespace testing_support
