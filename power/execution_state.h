// Windows: the thread's execution state asks the system to stay up while it is held.
#pragma once

#include "power/keep_awake.h"

namespace power {

class ExecutionStateKeepAwake final : public KeepAwake {
  public:
    ExecutionStateKeepAwake() = default;
    ~ExecutionStateKeepAwake() override { release(); }
    ExecutionStateKeepAwake(const ExecutionStateKeepAwake&) = delete;
    ExecutionStateKeepAwake& operator=(const ExecutionStateKeepAwake&) = delete;

    // The state belongs to the calling thread: hold and release from the window's thread.
    void hold() override;
    void release() override;

  private:
    bool held_ = false;
};

}  // namespace power
