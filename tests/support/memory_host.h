// The toolkit the handler tests drive: windows kept in memory on the same window host as the
// program's toolkits, so that loading, dispatch, the error box, unloading during a handler, the
// tick schedule and the end work as they do on screen. The form behaves as the toolkits' forms
// do: option buttons of one container exclude each other, selecting a list item sets the text,
// and an unloaded window loses all its state.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/window_host.h"

namespace testing_support {

class MemoryForm final : public forms::Form {
  public:
    explicit MemoryForm(const forms::FormTable& table);

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    bool enabled(std::string_view control) const override;
    void setEnabled(std::string_view control, bool on) override;
    bool selected(std::string_view control) const override;
    void setSelected(std::string_view control) override;
    std::vector<std::string> items(std::string_view control) const override;
    void addItem(std::string_view control, std::string_view item) override;
    int listIndex(std::string_view control) const override;
    void setListIndex(std::string_view control, int index) override;

  private:
    struct State {
        std::string text;
        bool enabled = true;
        bool selected = false;
        std::vector<std::string> items;
        int listIndex = -1;
    };
    State& state(std::string_view control, forms::Access access);
    const State& state(std::string_view control, forms::Access access) const;

    const forms::FormTable& table_;
    std::map<std::string, State, std::less<>> states_;
};

class MemoryHost final : public forms::WindowHost {
  public:
    struct Message {
        std::string text;
        std::string title;
        forms::MessageIcon icon = forms::MessageIcon::None;
        std::vector<std::string> loadedForms;  // which windows existed while it was shown
    };

    MemoryHost() = default;
    ~MemoryHost() override { destroyAll(); }

    // What a user and the toolkit's timers do. After the end of the program nothing runs.
    void click(std::string_view form, std::string_view control);
    void tick(std::string_view form);
    void close(std::string_view form) { unload(form); }
    // When the window's next tick is due, as its handlers asked last; nothing while none is.
    std::optional<std::chrono::milliseconds> nextTick(std::string_view form);

    // The loaded window of that name; throws std::logic_error when it is not loaded.
    MemoryForm& form(std::string_view name);
    const std::vector<Message>& messages() const { return messages_; }
    // The window shown or brought forward last.
    const std::string& front() const { return front_; }

  private:
    class Window;
    Window& window(std::string_view name);

    std::unique_ptr<forms::HostedWindow> makeWindow(const std::string& name,
                                                    const forms::FormTable& table) override;
    void showBox(std::string_view text, std::string_view title, forms::MessageIcon icon) override;
    void quit() override {}
    void dispose(std::vector<std::unique_ptr<forms::HostedWindow>> /*windows*/) override {}

    std::vector<Message> messages_;
    std::string front_;
};

}  // namespace testing_support
