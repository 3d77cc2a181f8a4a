#include "toolkits/win32/win32_application.h"

#include <commctrl.h>

#include <stdexcept>

namespace win32forms {

Win32Application::Win32Application() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

Win32Application::~Win32Application() {
    loaded_.clear();
    retired_.clear();
}

template <typename Call>
void Win32Application::dispatch(FormWindow& window, Call call) {
    // A handler's own message box keeps its window's clock going, so that an armed trigger does
    // not miss its second while the user reads the box; a run-time error box stops it.
    if (ended_ || window.retired() || reportingError_) {
        return;
    }
    ++depth_;
    guarded([&] { call(window.handlers()); });
    guarded([&] {
        if (!ended_ && !window.retired()) {
            window.scheduleTick(window.handlers().nextTick());
        }
    });
    if (--depth_ == 0) {
        releaseRetired();
    }
}

template <typename Call>
bool Win32Application::guarded(Call call) {
    std::wstring error;
    try {
        call();
        return true;
    } catch (const std::exception& e) {
        error = wide(e.what());
    } catch (...) {
        error = L"未知错误";
    }
    if (!ended_) {
        reportingError_ = true;
        showBox(error, L"运行时错误", MB_ICONERROR);
        reportingError_ = false;
    }
    return false;
}

void Win32Application::define(std::string name, forms::FormDefinition definition) {
    definitions_.insert_or_assign(std::move(name), std::move(definition));
}

void Win32Application::show(std::string_view form) {
    if (ended_) {
        return;
    }
    if (auto it = loaded_.find(form); it != loaded_.end()) {
        HWND open = it->second->hwnd();
        ShowWindow(open, IsIconic(open) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(open);
        return;
    }
    auto definition = definitions_.find(form);
    if (definition == definitions_.end()) {
        throw std::logic_error("no window named " + std::string(form));
    }
    const forms::FormDefinition& def = definition->second;
    FormWindow::Events events{
        [this](FormWindow& window, std::string_view control) {
            dispatch(window, [&](forms::Handlers& h) { h.click(control); });
        },
        [this](FormWindow& window) { dispatch(window, [](forms::Handlers& h) { h.tick(); }); },
        [this, name = std::string(form)] { unload(name); }};
    FormWindow* window =
        loaded_
            .insert_or_assign(std::string(form), std::make_unique<FormWindow>(*def.table, events))
            .first->second.get();
    if (!guarded([&] { window->setHandlers(def.makeHandlers(window->form(), *this)); })) {
        unload(form);
        return;
    }
    dispatch(*window, [](forms::Handlers& h) { h.load(); });
    if (ended_ || window->retired()) {
        return;
    }
    window->showCentred();
}

void Win32Application::unload(std::string_view form) {
    auto it = loaded_.find(form);
    if (it == loaded_.end()) {
        return;
    }
    it->second->retire();
    retired_.push_back(std::move(it->second));
    loaded_.erase(it);
    if (depth_ == 0) {
        releaseRetired();
    }
}

bool Win32Application::loaded(std::string_view form) const {
    return loaded_.contains(form);
}

void Win32Application::messageBox(std::string_view text, std::string_view title,
                                  forms::MessageIcon icon) {
    if (ended_) {
        return;
    }
    showBox(wide(text), wide(title),
            icon == forms::MessageIcon::Information ? MB_ICONINFORMATION : 0);
}

void Win32Application::showBox(const std::wstring& text, const std::wstring& title, UINT icon) {
    HWND owner = GetActiveWindow();
    // Modal to the whole program: the box disables its owner, the others are disabled here.
    std::vector<HWND> disabled;
    for (const auto& [name, window] : loaded_) {
        if (window->hwnd() != owner && IsWindowEnabled(window->hwnd())) {
            EnableWindow(window->hwnd(), FALSE);
            disabled.push_back(window->hwnd());
        }
    }
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | icon);
    for (HWND hwnd : disabled) {
        if (IsWindow(hwnd)) {
            EnableWindow(hwnd, TRUE);
        }
    }
}

void Win32Application::end() {
    ended_ = true;
    for (auto& [name, window] : loaded_) {
        window->scheduleTick(std::nullopt);
    }
    PostQuitMessage(0);
}

int Win32Application::run() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        deliver(message);
    }
    return static_cast<int>(message.wParam);
}

void Win32Application::deliver(MSG& message) {
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    bool ours = false;
    for (const auto& [name, window] : loaded_) {
        ours = ours || window->hwnd() == root;
    }
    if (ours && IsDialogMessageW(root, &message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32Application::tick(std::string_view form) {
    if (auto it = loaded_.find(form); it != loaded_.end()) {
        dispatch(*it->second, [](forms::Handlers& h) { h.tick(); });
    }
}

HWND Win32Application::window(std::string_view form) const {
    auto it = loaded_.find(form);
    return it == loaded_.end() ? nullptr : it->second->hwnd();
}

HWND Win32Application::control(std::string_view form, std::string_view name) const {
    auto it = loaded_.find(form);
    return it == loaded_.end() ? nullptr : it->second->control(name);
}

void Win32Application::releaseRetired() {
    retired_.clear();
    // The program ends with its last window, however that window went.
    if (loaded_.empty() && !ended_) {
        PostQuitMessage(0);
    }
}

}  // namespace win32forms
