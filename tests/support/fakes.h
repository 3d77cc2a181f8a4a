// Stand-ins for the clock, the power launcher and the keep-awake: they touch nothing on the machine
// and do and remember what the test says.
#pragma once

#include <utility>

#include "mainwindow/clock.h"
#include "power/keep_awake.h"
#include "power/launcher.h"

namespace testing_support {

class FakeClock final : public mainwindow::Clock {
  public:
    mainwindow::LocalDateTime now() const override { return time; }
    mainwindow::LocalDateTime time{2014, 2, 6, 10, 45, 30, 0};
};

class FakeLauncher final : public power::Launcher {
  public:
    std::optional<std::string> start(power::Action action) override {
        started.push_back(action);
        return startFailure;
    }
    std::optional<power::Outcome> poll() override { return std::exchange(outcome, std::nullopt); }

    std::vector<power::Action> started;       // every call of start, refused ones included
    std::optional<std::string> startFailure;  // when set, every start returns it
    std::optional<power::Outcome> outcome;    // what the next poll reports, once
};

class FakeKeepAwake final : public power::KeepAwake {
  public:
    void hold() override { held = true; }
    void release() override { held = false; }
    bool held = false;
};

}  // namespace testing_support
