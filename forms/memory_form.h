// The form interface kept in memory, with no toolkit: what the handler tests drive. It behaves as
// the toolkits do: option buttons of one container exclude each other, selecting a list item sets
// the text, and an unloaded window loses all its state.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/form.h"

namespace forms {

class MemoryForm final : public Form {
  public:
    explicit MemoryForm(const FormTable& table);

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

    const FormTable& table() const { return table_; }

  private:
    struct State {
        std::string text;
        bool enabled = true;
        bool selected = false;
        std::vector<std::string> items;
        int listIndex = -1;
    };
    const State& state(std::string_view control) const;
    State& state(std::string_view control);
    void requireKind(std::string_view control, Kind kind) const;

    const FormTable& table_;
    std::map<std::string, State, std::less<>> states_;
};

class MemoryApplication final : public Application {
  public:
    struct Message {
        std::string text;
        std::string title;
        MessageIcon icon = MessageIcon::None;
        std::vector<std::string> loadedForms;  // which windows existed while it was shown
    };

    void define(std::string name, FormDefinition definition);

    void show(std::string_view form) override;
    void unload(std::string_view form) override;
    bool loaded(std::string_view form) const override;
    void messageBox(std::string_view text, std::string_view title, MessageIcon icon) override;
    void end() override { ended_ = true; }

    // What a user and the toolkit's timers do. After the end of the program nothing runs.
    void click(std::string_view form, std::string_view control);
    void tick(std::string_view form);
    void close(std::string_view form) { unload(form); }
    std::optional<std::chrono::milliseconds> nextTick(std::string_view form) const;

    // The loaded window of that name; throws std::logic_error when it is not loaded.
    MemoryForm& form(std::string_view name);
    const std::vector<Message>& messages() const { return messages_; }
    bool ended() const { return ended_; }
    // The window shown or brought forward last.
    const std::string& front() const { return front_; }

  private:
    struct Loaded {
        std::unique_ptr<MemoryForm> form;
        std::unique_ptr<Handlers> handlers;
    };
    Loaded& entry(std::string_view name);
    template <typename Call>
    void dispatch(std::string_view form, Call call);

    std::map<std::string, FormDefinition, std::less<>> definitions_;
    std::map<std::string, Loaded, std::less<>> loaded_;
    // Windows unloaded while one of their own handlers may still be running; freed afterwards.
    std::vector<Loaded> retired_;
    int depth_ = 0;
    std::vector<Message> messages_;
    std::string front_;
    bool ended_ = false;
};

}  // namespace forms
