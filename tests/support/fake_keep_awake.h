// A keep-awake for tests: it changes nothing on the machine and remembers whether it is held.
#pragma once

#include "power/keep_awake.h"

namespace power {

class FakeKeepAwake final : public KeepAwake {
  public:
    void hold() override {
        held = true;
        ++holds;
    }
    void release() override { held = false; }

    bool held = false;
    int holds = 0;
};

}  // namespace power
