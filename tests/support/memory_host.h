// Windows kept in memory on the program's own window host, so that handler tests run on the
// dispatch and the control rules the toolkits use. An unloaded window loses all its state.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/control_form.h"
#include "forms/window_host.h"

namespace testing_support {

class MemoryForm final : public forms::HostedWindow, public forms::StoredControls {
  public:
    // A window named NAME tells FRONT when it is shown or brought forward.
    explicit MemoryForm(const forms::FormTable& table, std::string name = {},
                        std::string* front = nullptr)
        : StoredControls(table), name(std::move(name)), front_(front), form_(table, *this) {}

    forms::Form& form() override { return form_; }
    void scheduleTick(std::optional<std::chrono::milliseconds> after) override { next = after; }
    void present() override { bringForward(); }
    void bringForward() override {
        *front_ = name;
        withdrawn = false;
    }
    void withdraw() override { withdrawn = true; }
    void retire() override {}

    const std::string name;
    std::optional<std::chrono::milliseconds> next;
    bool withdrawn = false;

  private:
    std::string* front_;
    forms::ControlForm form_;
};

class MemoryHost final : public forms::WindowHost {
  public:
    struct Message {
        std::string text, title;
        forms::MessageIcon icon;
        std::vector<std::string> loadedForms;  // the windows there were while it showed
    };

    ~MemoryHost() override { destroyAll(); }

    // What a user and the toolkit's timers do; nothing after the end of the program.
    void click(std::string_view form, std::string_view control);
    void tick(std::string_view form);
    void close(std::string_view form) { unload(form); }
    void minimize(std::string_view form) { minimized(window(form)); }
    // The delay the window's handlers asked for last.
    std::optional<std::chrono::milliseconds> nextTick(std::string_view form) {
        return window(form).next;
    }

    const std::vector<Message>& messages() const { return messages_; }
    // What a toolkit's modal loop delivers while a box shows.
    std::function<void()> whileBoxShows = [] {};
    // The window shown or brought forward last.
    const std::string& front() const { return front_; }
    // Whether the desktop shows icons in a notification area.
    bool notificationArea = true;

    MemoryForm& window(std::string_view name);

  private:
    std::unique_ptr<forms::HostedWindow> makeWindow(const std::string& name,
                                                    const forms::FormTable& table) override {
        return std::make_unique<MemoryForm>(table, name, &front_);
    }
    void showBox(std::string_view text, std::string_view title, forms::MessageIcon icon) override;
    void quit() override {}
    bool hasNotificationArea() const override { return notificationArea; }
    void dispose(std::vector<std::unique_ptr<forms::HostedWindow>>) override {}

    std::vector<Message> messages_;
    std::string front_;
};

}  // namespace testing_support
