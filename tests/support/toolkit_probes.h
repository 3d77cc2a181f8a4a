// What the toolkit tests share: handlers that record what reaches them, and a snapshot of all a
// form interface can read, to compare a toolkit's form with the in-memory one.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
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

}  // namespace testing_support
