#include "memory_host.h"

#include <stdexcept>
#include <utility>

namespace testing_support {

MemoryForm::MemoryForm(const forms::FormTable& table) : table_(table) {
    for (const forms::Control& c : table.controls) {
        states_.emplace(c.name, State{c.text, c.enabled, c.selected, {}});
    }
}

const MemoryForm::State& MemoryForm::at(std::string_view control, forms::Access access) const {
    forms::controlFor(table_, control, access);
    return states_.find(control)->second;
}

MemoryForm::State& MemoryForm::at(std::string_view control, forms::Access access) {
    return const_cast<State&>(std::as_const(*this).at(control, access));
}

void MemoryForm::setText(std::string_view control, std::string_view text) {
    State& s = at(control, Text);
    s.text = text;
    s.index = -1;
}

void MemoryForm::setSelected(std::string_view control) {
    const std::string& container = forms::controlFor(table_, control, Selected).container;
    for (const forms::Control& c : table_.controls) {
        if (c.kind == forms::Kind::OptionButton && c.container == container) {
            states_.find(c.name)->second.selected = c.name == control;
        }
    }
}

void MemoryForm::setListIndex(std::string_view control, int index) {
    State& s = at(control, List);
    if (index < -1 || index >= static_cast<int>(s.items.size())) {
        throw std::out_of_range("list index " + std::to_string(index) + " of " +
                                std::string(control) + " is out of range");
    }
    s.index = index;
    s.text = index < 0 ? std::string() : s.items[static_cast<std::size_t>(index)];
}

class MemoryHost::Window final : public forms::HostedWindow {
  public:
    Window(const std::string& name, const forms::FormTable& table, std::string& front)
        : name(name), form_(table), front_(front) {}

    forms::Form& form() override { return form_; }
    void scheduleTick(std::optional<std::chrono::milliseconds> after) override { next = after; }
    void present() override { front_ = name; }
    void bringForward() override { front_ = name; }
    void retire() override {}

    std::string name;
    std::optional<std::chrono::milliseconds> next;

  private:
    MemoryForm form_;
    std::string& front_;
};

MemoryHost::Window& MemoryHost::window(std::string_view name) {
    forms::HostedWindow* found = find(name);
    if (found == nullptr) {
        throw std::logic_error("window " + std::string(name) + " is not loaded");
    }
    return static_cast<Window&>(*found);
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

std::optional<std::chrono::milliseconds> MemoryHost::nextTick(std::string_view form) {
    return window(form).next;
}

std::unique_ptr<forms::HostedWindow> MemoryHost::makeWindow(const std::string& name,
                                                            const forms::FormTable& table) {
    return std::make_unique<Window>(name, table, front_);
}

void MemoryHost::showBox(std::string_view text, std::string_view title, forms::MessageIcon icon) {
    messages_.push_back({std::string(text), std::string(title), icon, {}});
    for (forms::HostedWindow* loaded : windows()) {
        messages_.back().loadedForms.push_back(static_cast<Window*>(loaded)->name);
    }
}

}  // namespace testing_support
