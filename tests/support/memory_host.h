// Windows kept in memory on the program's own window host, so that handler tests run on the
// dispatch the toolkits use. The form does what the toolkits' forms do: option buttons of one
// container exclude each other, picking a list item sets the text, and an unloaded window loses
// all its state.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/window_host.h"

namespace testing_support {

class MemoryForm final : public forms::Form, public forms::HostedWindow {
    using enum forms::Access;
    using Name = std::string_view;

  public:
    // A window named NAME tells FRONT when it is shown or brought forward.
    explicit MemoryForm(const forms::FormTable& table, std::string name = {},
                        std::string* front = nullptr);

    std::string text(Name c) const override { return at(c, Text).text; }
    void setText(Name c, std::string_view text) override { at(c, Text).text = text; }
    bool enabled(Name c) const override { return at(c, Enabled).enabled; }
    void setEnabled(Name c, bool on) override { at(c, Enabled).enabled = on; }
    bool selected(Name c) const override { return at(c, Selected).selected; }
    void setSelected(Name c) override;
    void addItem(Name c, std::string_view item) override { at(c, List).items.emplace_back(item); }
    void setListIndex(Name c, int index) override;
    std::vector<std::string> items(Name c) const { return at(c, List).items; }

    forms::Form& form() override { return *this; }
    void scheduleTick(std::optional<std::chrono::milliseconds> after) override { next = after; }
    void present() override { bringForward(); }
    void bringForward() override { *front_ = name; }
    void retire() override {}

    const std::string name;
    std::optional<std::chrono::milliseconds> next;

  private:
    struct State {
        std::string text;
        bool enabled, selected;
        std::vector<std::string> items;
    };
    const State& at(Name c, forms::Access access) const;
    State& at(Name c, forms::Access access);

    const forms::FormTable& table_;
    std::map<std::string, State, std::less<>> states_;
    std::string* front_;
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
    // The delay the window's handlers asked for last.
    std::optional<std::chrono::milliseconds> nextTick(std::string_view form) {
        return window(form).next;
    }

    const std::vector<Message>& messages() const { return messages_; }
    // What a toolkit's modal loop delivers while a box shows.
    std::function<void()> whileBoxShows = [] {};
    // The window shown or brought forward last.
    const std::string& front() const { return front_; }

  private:
    MemoryForm& window(std::string_view name);
    std::unique_ptr<forms::HostedWindow> makeWindow(const std::string& name,
                                                    const forms::FormTable& table) override {
        return std::make_unique<MemoryForm>(table, name, &front_);
    }
    void showBox(std::string_view text, std::string_view title, forms::MessageIcon icon) override;
    void quit() override {}
    void dispose(std::vector<std::unique_ptr<forms::HostedWindow>>) override {}

    std::vector<Message> messages_;
    std::string front_;
};

}  // namespace testing_support
