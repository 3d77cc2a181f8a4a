// A clock that shows what the test sets and moves only when told.
#pragma once

#include "mainwindow/clock.h"

namespace testing_support {

class FakeClock final : public mainwindow::Clock {
  public:
    mainwindow::LocalDateTime now() const override { return time; }
    mainwindow::LocalDateTime time{2014, 2, 6, 10, 45, 30, 0};
};

}  // namespace testing_support
