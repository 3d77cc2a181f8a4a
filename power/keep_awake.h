// Keeping the computer from going to sleep on its own while a schedule is armed, so that the
// schedule can still fire. Nothing here can stop a user who closes the lid or chooses to sleep.
#pragma once

namespace power {

class KeepAwake {
  public:
    virtual ~KeepAwake() = default;
    // Both may be called any number of times. A hold the system refuses, or has no way to give,
    // is not reported: the schedule runs on without it.
    virtual void hold() = 0;
    virtual void release() = 0;
};

}  // namespace power
