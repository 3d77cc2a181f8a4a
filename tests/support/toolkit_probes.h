// What both toolkit suites share: windows whose handlers record what reaches them, and the reading
// of a form before and after what handlers do to it, which must match the in-memory form's.
#pragma once

#include "forms/form.h"

namespace testing_support {

template <typename App>
struct Harness {
    struct Recorder final : forms::Handlers {
        explicit Recorder(Harness& harness) : h(harness) {}
        void click(std::string_view control) override {
            h.clicks.emplace_back(control);
            h.onClick(control);
        }
        void tick() override { ++h.ticks; }
        std::optional<std::chrono::milliseconds> nextTick() const override { return h.next; }
        Harness& h;
    };
    void show(const forms::FormTable& table) {
        app.define(table.name, {&table, [this](forms::Form& f, forms::Application&) {
                                    form = &f;
                                    return std::make_unique<Recorder>(*this);
                                }});
        app.show(table.name);
    }

    forms::Form* form = nullptr;  // of the window shown last
    std::vector<std::string> clicks;
    int ticks = 0;
    std::optional<std::chrono::milliseconds> next;
    std::function<void(std::string_view)> onClick = [](std::string_view) {};
    App app;  // last, so that its windows' handlers go first
};

inline std::vector<std::string> readAndChange(forms::Form& form, const forms::FormTable& table) {
    std::vector<std::string> lines;
    const auto read = [&] {
        for (const forms::Control& c : table.controls) {
            std::string line = c.name + (form.enabled(c.name) ? " on " : " off ");
            line += c.kind == forms::Kind::Timer ? "" : form.text(c.name);
            if (c.kind == forms::Kind::OptionButton && form.selected(c.name)) {
                line += " selected";
            }
            if (c.kind == forms::Kind::ComboBox) {
                line += " " + std::to_string(form.listIndex(c.name));
                for (const std::string& item : form.items(c.name)) {
                    line += "," + item;
                }
            }
            lines.push_back(line);
        }
    };
    read();
    for (const char* item : {"2013", "2014"}) {
        form.addItem("Combo1", item);  // Qt would select the first item
        form.addItem("Combo2", item);
    }
    form.setListIndex("Combo2", 1);
    form.setText("Combo2", "2014");  // a text of its own selects no item
    for (const char* name : {"Label13", "Frame3", "Command1", "Option2", "Text4"}) {
        form.setText(name, "改");
    }
    for (const char* name : {"Timer1", "Timer2", "Combo1", "Command3", "Frame1"}) {
        form.setEnabled(name, !form.enabled(name));  // a frame keeps its controls' own switches
    }
    form.setSelected("Option2");
    read();
    return lines;
}

}  // namespace testing_support
