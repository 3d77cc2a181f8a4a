// What the two toolkit suites share: windows shown through a toolkit with handlers that record
// what reaches them, and what a toolkit's form must do as the in-memory form does.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"

namespace testing_support {

template <typename App>
struct Harness {
    struct Recorder final : forms::Handlers {
        explicit Recorder(Harness& harness) : h(harness) {}
        ~Recorder() override { ++h.handlersGone; }
        void click(std::string_view control) override {
            h.clicks.emplace_back(control);
            if (h.onClick) {
                h.onClick(control);
            }
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
    int handlersGone = 0;
    std::optional<std::chrono::milliseconds> next;
    std::function<void(std::string_view)> onClick;
    App app;  // last, so that its windows' handlers go first
};

inline const std::vector<std::string> kForm1TabOrder{
    "Command1", "Option1", "Option2", "Command3", "Command4", "Command5", "Combo1",
    "Combo2",   "Combo3",  "Combo4",  "Combo5",   "Combo6",   "Text1",    "Text2",
    "Text3",    "Text4",   "Text5",   "Text6",    "Command2"};

// What handlers do to the main window's form, done alike to a toolkit's form and the in-memory
// one: the two must then read the same.
inline void exercise(forms::Form& form) {
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
}

// Everything the form interface can read, one line per control.
inline std::vector<std::string> snapshot(const forms::Form& form, const forms::FormTable& table) {
    std::vector<std::string> lines;
    for (const forms::Control& c : table.controls) {
        std::string line = c.name + (form.enabled(c.name) ? " on" : " off");
        if (c.kind != forms::Kind::Timer) {
            line += " text=" + form.text(c.name);
        }
        if (c.kind == forms::Kind::OptionButton && form.selected(c.name)) {
            line += " selected";
        }
        if (c.kind == forms::Kind::ComboBox) {
            line += " index=" + std::to_string(form.listIndex(c.name)) + " items=";
            for (const std::string& item : form.items(c.name)) {
                line += item + ",";
            }
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace testing_support
