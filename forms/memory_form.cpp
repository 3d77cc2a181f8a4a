#include "forms/memory_form.h"

#include <stdexcept>
#include <utility>

namespace forms {

namespace {

[[noreturn]] void wrongKind(std::string_view control) {
    throw std::logic_error("control " + std::string(control) + " has no such property");
}

}  // namespace

MemoryForm::MemoryForm(const FormTable& table) : table_(table) {
    for (const Control& c : table.controls) {
        State s;
        s.text = c.text;
        s.enabled = c.enabled;
        s.selected = c.selected;
        states_.emplace(c.name, std::move(s));
    }
}

const MemoryForm::State& MemoryForm::state(std::string_view control) const {
    auto it = states_.find(control);
    if (it == states_.end()) {
        throw std::logic_error(table_.name + " has no control " + std::string(control));
    }
    return it->second;
}

MemoryForm::State& MemoryForm::state(std::string_view control) {
    return const_cast<State&>(std::as_const(*this).state(control));
}

void MemoryForm::requireKind(std::string_view control, Kind kind) const {
    state(control);
    if (table_.control(control).kind != kind) {
        wrongKind(control);
    }
}

std::string MemoryForm::text(std::string_view control) const {
    if (table_.control(control).kind == Kind::Timer) {
        wrongKind(control);
    }
    return state(control).text;
}

void MemoryForm::setText(std::string_view control, std::string_view text) {
    State& s = state(control);
    const Kind kind = table_.control(control).kind;
    if (kind == Kind::Timer) {
        wrongKind(control);
    }
    s.text = text;
    if (kind == Kind::ComboBox) {
        s.listIndex = -1;
    }
}

bool MemoryForm::enabled(std::string_view control) const {
    return state(control).enabled;
}

void MemoryForm::setEnabled(std::string_view control, bool on) {
    state(control).enabled = on;
}

bool MemoryForm::selected(std::string_view control) const {
    requireKind(control, Kind::OptionButton);
    return state(control).selected;
}

void MemoryForm::setSelected(std::string_view control) {
    requireKind(control, Kind::OptionButton);
    const std::string& container = table_.control(control).container;
    for (const Control& c : table_.controls) {
        if (c.kind == Kind::OptionButton && c.container == container) {
            states_.find(c.name)->second.selected = (c.name == control);
        }
    }
}

std::vector<std::string> MemoryForm::items(std::string_view control) const {
    requireKind(control, Kind::ComboBox);
    return state(control).items;
}

void MemoryForm::addItem(std::string_view control, std::string_view item) {
    requireKind(control, Kind::ComboBox);
    state(control).items.emplace_back(item);
}

int MemoryForm::listIndex(std::string_view control) const {
    requireKind(control, Kind::ComboBox);
    return state(control).listIndex;
}

void MemoryForm::setListIndex(std::string_view control, int index) {
    requireKind(control, Kind::ComboBox);
    State& s = state(control);
    if (index < -1 || index >= static_cast<int>(s.items.size())) {
        throw std::out_of_range("list index " + std::to_string(index) + " of " +
                                std::string(control) + " is out of range");
    }
    s.listIndex = index;
    s.text = index < 0 ? std::string() : s.items[static_cast<std::size_t>(index)];
}

void MemoryApplication::define(std::string name, FormDefinition definition) {
    definitions_.insert_or_assign(std::move(name), std::move(definition));
}

template <typename Call>
void MemoryApplication::dispatch(std::string_view form, Call call) {
    if (ended_) {
        return;
    }
    ++depth_;
    struct Leave {
        MemoryApplication& app;
        ~Leave() {
            if (--app.depth_ == 0) {
                app.retired_.clear();
            }
        }
    } leave{*this};
    call(*entry(form).handlers);
}

void MemoryApplication::show(std::string_view form) {
    if (ended_) {
        return;
    }
    front_ = std::string(form);
    if (loaded(form)) {
        return;
    }
    auto def = definitions_.find(form);
    if (def == definitions_.end()) {
        throw std::logic_error("no window named " + std::string(form));
    }
    Loaded fresh;
    fresh.form = std::make_unique<MemoryForm>(*def->second.table);
    fresh.handlers = def->second.makeHandlers(*fresh.form, *this);
    loaded_.insert_or_assign(std::string(form), std::move(fresh));
    dispatch(form, [](Handlers& h) { h.load(); });
}

void MemoryApplication::unload(std::string_view form) {
    auto it = loaded_.find(form);
    if (it == loaded_.end()) {
        return;
    }
    retired_.push_back(std::move(it->second));
    loaded_.erase(it);
    if (depth_ == 0) {
        retired_.clear();
    }
}

bool MemoryApplication::loaded(std::string_view form) const {
    return loaded_.contains(form);
}

void MemoryApplication::messageBox(std::string_view text, std::string_view title,
                                   MessageIcon icon) {
    Message m{std::string(text), std::string(title), icon, {}};
    for (const auto& [name, entry] : loaded_) {
        m.loadedForms.push_back(name);
    }
    messages_.push_back(std::move(m));
}

void MemoryApplication::click(std::string_view form, std::string_view control) {
    dispatch(form, [&](Handlers& h) { h.click(control); });
}

void MemoryApplication::tick(std::string_view form) {
    dispatch(form, [](Handlers& h) { h.tick(); });
}

std::optional<std::chrono::milliseconds> MemoryApplication::nextTick(std::string_view form) const {
    auto it = loaded_.find(form);
    if (it == loaded_.end()) {
        throw std::logic_error("window " + std::string(form) + " is not loaded");
    }
    return it->second.handlers->nextTick();
}

MemoryApplication::Loaded& MemoryApplication::entry(std::string_view name) {
    auto it = loaded_.find(name);
    if (it == loaded_.end()) {
        throw std::logic_error("window " + std::string(name) + " is not loaded");
    }
    return it->second;
}

MemoryForm& MemoryApplication::form(std::string_view name) {
    return *entry(name).form;
}

}  // namespace forms
