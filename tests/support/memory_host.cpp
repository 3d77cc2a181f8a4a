#include "memory_host.h"

#include <stdexcept>
#include <utility>

namespace testing_support {

using forms::Access;

MemoryForm::MemoryForm(const forms::FormTable& table) : table_(table) {
    for (const forms::Control& c : table.controls) {
        states_.emplace(c.name, State{c.text, c.enabled, c.selected, {}, -1});
    }
}

const MemoryForm::State& MemoryForm::state(std::string_view control, Access access) const {
    forms::controlFor(table_, control, access);
    return states_.find(control)->second;
}

MemoryForm::State& MemoryForm::state(std::string_view control, Access access) {
    return const_cast<State&>(std::as_const(*this).state(control, access));
}

std::string MemoryForm::text(std::string_view control) const {
    return state(control, Access::Text).text;
}

void MemoryForm::setText(std::string_view control, std::string_view text) {
    State& s = state(control, Access::Text);
    s.text = text;
    s.listIndex = -1;
}

bool MemoryForm::enabled(std::string_view control) const {
    return state(control, Access::Enabled).enabled;
}

void MemoryForm::setEnabled(std::string_view control, bool on) {
    state(control, Access::Enabled).enabled = on;
}

bool MemoryForm::selected(std::string_view control) const {
    return state(control, Access::Selected).selected;
}

void MemoryForm::setSelected(std::string_view control) {
    const std::string& container = forms::controlFor(table_, control, Access::Selected).container;
    for (const forms::Control& c : table_.controls) {
        if (c.kind == forms::Kind::OptionButton && c.container == container) {
            states_.find(c.name)->second.selected = (c.name == control);
        }
    }
}

std::vector<std::string> MemoryForm::items(std::string_view control) const {
    return state(control, Access::List).items;
}

void MemoryForm::addItem(std::string_view control, std::string_view item) {
    state(control, Access::List).items.emplace_back(item);
}

int MemoryForm::listIndex(std::string_view control) const {
    return state(control, Access::List).listIndex;
}

void MemoryForm::setListIndex(std::string_view control, int index) {
    State& s = state(control, Access::List);
    if (index < -1 || index >= static_cast<int>(s.items.size())) {
        throw std::out_of_range("list index " + std::to_string(index) + " of " +
                                std::string(control) + " is out of range");
    }
    s.listIndex = index;
    s.text = index < 0 ? std::string() : s.items[static_cast<std::size_t>(index)];
}

class MemoryHost::Window final : public forms::HostedWindow {
  public:
    Window(const std::string& name, const forms::FormTable& table, std::string& front)
        : name_(name), form_(table), front_(front) {}

    forms::Form& form() override { return form_; }
    void scheduleTick(std::optional<std::chrono::milliseconds> after) override { next = after; }
    void present() override { front_ = name_; }
    void bringForward() override { front_ = name_; }
    void retire() override {}

    MemoryForm& memoryForm() { return form_; }
    const std::string& name() const { return name_; }
    std::optional<std::chrono::milliseconds> next;

  private:
    std::string name_;
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

MemoryForm& MemoryHost::form(std::string_view name) {
    return window(name).memoryForm();
}

std::unique_ptr<forms::HostedWindow> MemoryHost::makeWindow(const std::string& name,
                                                            const forms::FormTable& table) {
    return std::make_unique<Window>(name, table, front_);
}

void MemoryHost::showBox(std::string_view text, std::string_view title, forms::MessageIcon icon) {
    Message m{std::string(text), std::string(title), icon, {}};
    for (forms::HostedWindow* loaded : windows()) {
        m.loadedForms.push_back(static_cast<Window*>(loaded)->name());
    }
    messages_.push_back(std::move(m));
}

}  // namespace testing_support
