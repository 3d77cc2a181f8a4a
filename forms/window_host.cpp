#include "forms/window_host.h"

#include <stdexcept>

namespace forms {

void WindowHost::define(std::string name, FormDefinition definition) {
    definitions_.insert_or_assign(std::move(name), std::move(definition));
}

template <typename Call>
void WindowHost::dispatch(HostedWindow& window, Call call) {
    // A handler's own message box keeps its window's clock going, so that an armed trigger does
    // not miss its second while the user reads the box; a run-time error box stops it.
    Loaded* entry = entryOf(window);
    if (ended_ || entry == nullptr || reportingError_) {
        return;
    }
    Handlers& handlers = *entry->handlers;
    ++depth_;
    guarded([&] { call(handlers); });
    guarded([&] {
        if (!ended_ && entryOf(window) != nullptr) {
            window.scheduleTick(handlers.nextTick());
        }
    });
    if (--depth_ == 0) {
        releaseRetired();
    }
}

template <typename Call>
bool WindowHost::guarded(Call call) {
    std::string error;
    try {
        call();
        return true;
    } catch (const std::exception& e) {
        error = e.what();
    } catch (...) {
        error = "未知错误";
    }
    if (!ended_) {
        reportingError_ = true;
        showBox(error, "运行时错误", MessageIcon::Error);
        reportingError_ = false;
    }
    return false;
}

void WindowHost::show(std::string_view form) {
    if (ended_) {
        return;
    }
    if (HostedWindow* open = find(form)) {
        open->bringForward();
        return;
    }
    auto definition = definitions_.find(form);
    if (definition == definitions_.end()) {
        throw std::logic_error("no window named " + std::string(form));
    }
    const FormDefinition& def = definition->second;
    Loaded& entry = loaded_[std::string(form)];
    if (!guarded([&] {
            entry.window = makeWindow(std::string(form), *def.table);
            entry.handlers = def.makeHandlers(entry.window->form(), *this);
        })) {
        unload(form);
        return;
    }
    HostedWindow& window = *entry.window;
    dispatch(window, [](Handlers& h) { h.load(); });
    if (!ended_ && entryOf(window) != nullptr) {
        window.present();
    }
}

void WindowHost::unload(std::string_view form) {
    auto it = loaded_.find(form);
    if (it == loaded_.end()) {
        return;
    }
    if (it->second.window) {
        it->second.window->retire();
    }
    retired_.push_back(std::move(it->second));
    loaded_.erase(it);
    if (depth_ == 0) {
        releaseRetired();
    }
}

bool WindowHost::loaded(std::string_view form) const {
    return loaded_.contains(form);
}

void WindowHost::messageBox(std::string_view text, std::string_view title, MessageIcon icon) {
    if (!ended_) {
        showBox(text, title, icon);
    }
}

void WindowHost::end() {
    ended_ = true;
    for (HostedWindow* window : windows()) {
        window->scheduleTick(std::nullopt);
    }
    quit();
}

void WindowHost::clicked(HostedWindow& window, std::string_view control) {
    dispatch(window, [&](Handlers& h) { h.click(control); });
}

void WindowHost::ticked(HostedWindow& window) {
    dispatch(window, [](Handlers& h) { h.tick(); });
}

HostedWindow* WindowHost::find(std::string_view form) const {
    auto it = loaded_.find(form);
    return it == loaded_.end() ? nullptr : it->second.window.get();
}

std::vector<HostedWindow*> WindowHost::windows() const {
    std::vector<HostedWindow*> all;
    for (const auto& [name, entry] : loaded_) {
        if (entry.window) {
            all.push_back(entry.window.get());
        }
    }
    return all;
}

void WindowHost::destroyAll() {
    loaded_.clear();
    retired_.clear();
}

WindowHost::Loaded* WindowHost::entryOf(const HostedWindow& window) {
    for (auto& [name, entry] : loaded_) {
        if (entry.window.get() == &window) {
            return &entry;
        }
    }
    return nullptr;
}

void WindowHost::releaseRetired() {
    std::vector<std::unique_ptr<HostedWindow>> windows;
    for (Loaded& entry : retired_) {
        entry.handlers.reset();
        if (entry.window) {
            windows.push_back(std::move(entry.window));
        }
    }
    retired_.clear();
    dispose(std::move(windows));
}

}  // namespace forms
