// A launcher for tests: it runs nothing, remembers what it was asked to start, and reports the
// start failure and the outcome the test chooses.
#pragma once

#include <utility>

#include "power/launcher.h"

namespace power {

class FakeLauncher final : public Launcher {
  public:
    std::optional<std::string> start(Action action) override {
        started.push_back(action);
        return startFailure;
    }

    std::optional<Outcome> poll() override {
        ++polls;
        return std::exchange(pending_, std::nullopt);
    }

    // The next poll reports this outcome, once.
    void finish(Outcome outcome) { pending_ = std::move(outcome); }

    std::vector<Action> started;              // every call of start, refused ones included
    std::optional<std::string> startFailure;  // when set, every start returns it
    int polls = 0;

  private:
    std::optional<Outcome> pending_;
};

}  // namespace power
