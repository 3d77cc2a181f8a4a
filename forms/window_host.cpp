#include "forms/window_host.h"

#include <stdexcept>

namespace forms {

void WindowHost::define(std::string name, FormDefinition definition) {
    definitions_.insert_or_assign(std::move(name), std::move(definition));
}

template <typename Call>
bool WindowHost::dispatch(HostedWindow& window, std::string_view failed, bool fatal, Call call) {
    // A handler's own message box keeps its window's clock going, so that an armed trigger does
    // not miss its second while the user reads the box; a run-time error box stops it.
    Loaded* entry = entryOf(window);
    if (ended_ || entry == nullptr || reportingError_) {
        return true;
    }
    Handlers& handlers = *entry->handlers;
    ++depth_;
    const bool done = guarded(failed, fatal, [&] { call(handlers); });
    guarded(failed, false, [&] {
        if (!ended_ && entryOf(window) != nullptr) {
            window.scheduleTick(handlers.nextTick());
        }
    });
    if (--depth_ == 0) {
        releaseRetired();
    }
    return done;
}

template <typename Call>
bool WindowHost::guarded(std::string_view failed, bool fatal, Call call) {
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
        // What failed in the user's terms first; the internal text only for a report.
        const std::string text = std::string(failed) +
                                 (fatal ? "，程序无法继续运行，即将退出。" : "，程序将继续运行。") +
                                 "\n\n错误详情（报告问题时请附上）：" + error;
        reportingError_ = true;
        showBox(text, "运行时错误", MessageIcon::Error);
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
    if (def.table->inNotificationArea && !hasNotificationArea()) {
        return;
    }
    const std::string failed = "打开【" + def.table->caption + "】窗口时出错";
    // A window that cannot be built or started is not shown half made. Without it the program
    // may have no window left (at its start), and then it ends.
    const bool onlyWindow = loaded_.empty();
    Loaded& entry = loaded_[std::string(form)];
    entry.table = def.table;
    const bool built = guarded(failed, onlyWindow, [&] {
        entry.window = makeWindow(std::string(form), *def.table);
        entry.handlers = def.makeHandlers(entry.window->form(), *this);
    });
    HostedWindow* window = entry.window.get();
    if (!built || !dispatch(*window, failed, onlyWindow, [](Handlers& h) { h.load(); })) {
        unload(form);
        if (onlyWindow) {
            end();
        }
        return;
    }
    if (!ended_ && entryOf(*window) != nullptr) {
        window->present();
    }
}

void WindowHost::unload(std::string_view form) {
    if (!loaded_.contains(form)) {
        return;
    }
    // The windows that belong to it first, so that the program never has them without it.
    std::vector<std::string> belonging;
    for (const auto& [name, entry] : loaded_) {
        if (entry.table->belongsTo == form) {
            belonging.push_back(name);
        }
    }
    for (const std::string& name : belonging) {
        unload(name);
    }
    auto it = loaded_.find(form);
    if (it->second.window) {
        it->second.window->retire();
    }
    retired_.push_back(std::move(it->second));
    loaded_.erase(it);
    if (depth_ == 0) {
        releaseRetired();
    }
}

void WindowHost::hide(std::string_view form) {
    if (HostedWindow* window = find(form)) {
        window->withdraw();
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

Form& WindowHost::formOf(std::string_view form) const {
    HostedWindow* window = find(form);
    if (window == nullptr) {
        throw std::logic_error("no window named " + std::string(form) + " is loaded");
    }
    return window->form();
}

Handlers* WindowHost::handlersOf(std::string_view form) const {
    auto it = loaded_.find(form);
    return it == loaded_.end() ? nullptr : it->second.handlers.get();
}

void WindowHost::press(std::string_view form, std::string_view control) {
    if (HostedWindow* window = find(form)) {
        clicked(*window, control);
    }
}

void WindowHost::clicked(HostedWindow& window, std::string_view control) {
    const Loaded* entry = entryOf(window);
    if (entry == nullptr) {
        return;
    }
    const Control& c = entry->table->control(control);
    const std::string failed =
        c.kind == Kind::PushButton ? "执行【" + c.text + "】时出错" : "响应点击时出错";
    dispatch(window, failed, false, [&](Handlers& h) { h.click(control); });
}

void WindowHost::ticked(HostedWindow& window) {
    const Loaded* entry = entryOf(window);
    if (entry != nullptr) {
        dispatch(window, "【" + entry->table->caption + "】窗口定时更新时出错", false,
                 [](Handlers& h) { h.tick(); });
    }
}

void WindowHost::minimized(HostedWindow& window) {
    if (const Loaded* entry = entryOf(window)) {
        dispatch(window, "【" + entry->table->caption + "】窗口最小化时出错", false,
                 [](Handlers& h) { h.minimized(); });
    }
}

void WindowHost::closed(HostedWindow& window) {
    for (const auto& [name, entry] : loaded_) {
        if (entry.window.get() == &window) {
            unload(std::string(name));
            return;
        }
    }
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
