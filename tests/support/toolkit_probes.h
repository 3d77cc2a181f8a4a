// What the toolkit tests share: handlers that record what reaches them, a snapshot of all a form
// interface can read, and the steps that compare a toolkit's form with the in-memory one.
#pragma once

#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/form.h"

namespace testing_support {

class Recorder final : public forms::Handlers {
  public:
    ~Recorder() override {
        if (onDestroy) {
            onDestroy();
        }
    }
    void load() override { ++loads; }
    void click(std::string_view control) override {
        clicks.emplace_back(control);
        if (onClick) {
            onClick(control);
        }
    }
    void tick() override { ++ticks; }
    std::optional<std::chrono::milliseconds> nextTick() const override { return next; }

    int loads = 0;
    int ticks = 0;
    std::vector<std::string> clicks;
    std::function<void(std::string_view)> onClick;
    std::function<void()> onDestroy;
    std::optional<std::chrono::milliseconds> next;
};

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

inline void addItems(forms::Form& form, std::string_view list,
                     std::initializer_list<const char*> items) {
    for (const char* item : items) {
        form.addItem(list, item);
    }
}

// What handlers do to a form, each step applied alike to the in-memory form and a toolkit's.
struct FormStep {
    const char* name;
    bool throws;
    std::function<void(forms::Form&)> run;
};

inline const FormStep kFormSteps[] = {
    {"lists", false,
     [](forms::Form& f) {
         addItems(f, "Combo1", {"2013", "2014"});  // Qt would select the first item
         addItems(f, "Combo2", {"1", "2", "3"});
         f.setListIndex("Combo2", 2);
         addItems(f, "Combo3", {"1", "2"});
         f.setListIndex("Combo3", 1);
         f.setListIndex("Combo3", -1);
         addItems(f, "Combo4", {"1", "2"});
         f.setListIndex("Combo4", 0);
         f.setText("Combo4", "2");
     }},
    {"captions and switches", false,
     [](forms::Form& f) {
         for (const char* name : {"Label13", "Frame3", "Command1", "Option2", "Text4"}) {
             f.setText(name, "改");
         }
         for (const char* name : {"Timer1", "Timer2", "Combo1", "Command3"}) {
             f.setEnabled(name, !f.enabled(name));
         }
         f.setSelected("Option2");
     }},
    {"disabled frame keeps its controls' switches", false,
     [](forms::Form& f) { f.setEnabled("Frame1", false); }},
    {"list index out of range", true, [](forms::Form& f) { f.setListIndex("Combo6", 0); }},
    {"unknown control", true, [](forms::Form& f) { f.text("Combo7"); }},
    {"unknown control switch", true, [](forms::Form& f) { f.setEnabled("Timer4", true); }},
    {"timer has no text", true, [](forms::Form& f) { f.setText("Timer1", "x"); }},
    {"label has no items", true, [](forms::Form& f) { f.addItem("Label1", "x"); }},
    {"text box is no option", true, [](forms::Form& f) { f.setSelected("Text1"); }},
    {"option has no list index", true, [](forms::Form& f) { f.listIndex("Option1"); }},
};

inline bool throwsLogicError(const FormStep& step, forms::Form& form) {
    try {
        step.run(form);
    } catch (const std::logic_error&) {
        return true;
    }
    return false;
}

}  // namespace testing_support
