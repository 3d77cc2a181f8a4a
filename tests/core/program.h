// The program's three windows on the in-memory window host, with a settings file of the test's
// own and a clock, a launcher and a keep-awake that touch nothing on the machine and do what the
// test says.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "mainwindow/Form1.h"
#include "memory_host.h"
#include "power/keep_awake.h"
#include "power/launcher.h"
#include "temp_config_dir.h"
#include "warning/Form3.h"

namespace testing_support {

// A clock that stands still until the test moves it, in a zone of the test's own: UTC+offset,
// and from the second `change` on UTC+offsetAfter.
class FakeClock final : public mainwindow::Clock {
  public:
    FakeClock() { show({2014, 2, 6, 10, 45, 30}); }
    mainwindow::Instant now() const override { return reading; }
    mainwindow::Moment localAt(std::int64_t seconds) const override {
        return mainwindow::fromSerialSeconds(seconds + (seconds < change ? offset : offsetAfter));
    }
    // To the second that shows LOCAL before the change, and MS into it.
    void show(const mainwindow::Moment& local, int ms = 0) {
        reading = {mainwindow::serialSeconds(local) - offset, ms};
    }
    mainwindow::Instant reading;
    std::int64_t offset = 0;
    std::int64_t change = INT64_MAX;
    std::int64_t offsetAfter = 0;
};

class FakeLauncher final : public power::Launcher {
  public:
    std::optional<std::string> start(power::Action action) override {
        started.push_back(action);
        atStart();
        return startFailure;
    }
    std::optional<power::Outcome> poll() override { return std::exchange(outcome, std::nullopt); }

    std::vector<power::Action> started;       // every call of start, refused ones included
    std::optional<std::string> startFailure;  // when set, every start returns it
    std::optional<power::Outcome> outcome;    // what the next poll reports, once
    std::function<void()> atStart = [] {};    // called by every start
};

class FakeKeepAwake final : public power::KeepAwake {
  public:
    void hold() override { held = true; }
    void release() override { held = false; }
    bool held = false;
};

// "2014/2/6/10/45/30" as the six texts of the clock fields or the target lists.
inline mainwindow::Fields fields(std::string_view slashed) {
    mainwindow::Fields texts;
    for (std::string& text : texts) {
        const std::size_t slash = std::min(slashed.find('/'), slashed.size());
        text = slashed.substr(0, slash);
        slashed.remove_prefix(std::min(slash + 1, slashed.size()));
    }
    return texts;
}

struct Program {
    Program() { start(); }
    // As the program starts: a new host showing the main window, and a launcher as yet unused.
    void start() {
        launcher = {};
        app = std::make_unique<MemoryHost>();
        program::start(*app, {clock, launcher, keepAwake, link});
        app->tick("Form1");  // the wake-up the window asks for as soon as it shows
    }
    forms::Form& form(std::string_view name = "Form1") { return app->formOf(name); }
    std::vector<std::string> items(std::string_view list) {
        return app->window("Form1").items(list);
    }
    // What the warning says, if it shows.
    std::string shown() { return app->loaded("Form3") ? form("Form3").text("Label1") : ""; }
    void click(std::string_view control, std::string_view form = "Form1") {
        app->click(form, control);
    }
    // One wake-up of the main window with the clock at that time of 2014-02-06.
    void tickAt(int hour, int minute, int second) {
        clock.show({2014, 2, 6, hour, minute, second}, 5);
        app->tick("Form1");
    }
    // The six clock fields ("Text") or target lists ("Combo") as "2014/2/6/10/45/30", and the
    // other way round.
    std::string texts(const std::string& kind) {
        std::string joined;
        for (int i = 1; i <= 6; ++i) {
            joined += (i > 1 ? "/" : "") + form().text(kind + std::to_string(i));
        }
        return joined;
    }
    void setTexts(const std::string& kind, std::string_view slashed) {
        for (int i = 1; i <= 6; ++i) {
            form().setText(kind + std::to_string(i), fields(slashed)[i - 1]);
        }
    }

    TempConfigDir config;
    FakeClock clock;
    FakeLauncher launcher;
    FakeKeepAwake keepAwake;
    warning::Link link;
    std::unique_ptr<MemoryHost> app;
};

}  // namespace testing_support
