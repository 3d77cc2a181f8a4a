#include "memory_host.h"

#include <stdexcept>
#include <utility>

namespace testing_support {

MemoryForm::MemoryForm(const forms::FormTable& table, std::string name, std::string* front)
    : name(std::move(name)), table_(table), front_(front) {
    for (const forms::Control& c : table.controls) {
        states_.emplace(c.name, State{c.text, c.enabled, c.selected, {}});
    }
}

const MemoryForm::State& MemoryForm::at(Name c, forms::Access access) const {
    forms::controlFor(table_, c, access);
    return states_.find(c)->second;
}

MemoryForm::State& MemoryForm::at(Name c, forms::Access access) {
    return const_cast<State&>(std::as_const(*this).at(c, access));
}

void MemoryForm::setSelected(Name c) {
    const std::string& container = forms::controlFor(table_, c, Selected).container;
    for (const forms::Control& other : table_.controls) {
        if (other.kind == forms::Kind::OptionButton && other.container == container) {
            states_.find(other.name)->second.selected = other.name == c;
        }
    }
}

void MemoryForm::setListIndex(Name c, int index) {
    State& s = at(c, List);
    if (index < -1 || index >= static_cast<int>(s.items.size())) {
        throw std::out_of_range("list index " + std::to_string(index) + " of " + std::string(c) +
                                " is out of range");
    }
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
