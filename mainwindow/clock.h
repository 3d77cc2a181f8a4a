// The clock the main window shows: one reading of the local date and time per call.
#pragma once

namespace mainwindow {

struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

// The system's local time.
class SystemClock final : public Clock {
  public:
    LocalDateTime now() const override;
};

}  // namespace mainwindow
