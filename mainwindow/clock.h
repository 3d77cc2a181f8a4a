// The clock the main window shows and counts by. It reads time as it passes, in seconds since
// 1970-01-01 00:00:00 UTC; the local date and time are what the system's time-zone rules make of
// a second, so a change to or from summer time neither skips nor repeats a second of the count.
#pragma once

#include <cstdint>
#include <optional>

#include "mainwindow/moment.h"

namespace mainwindow {

struct Instant {
    std::int64_t seconds = 0;  // since 1970-01-01 00:00:00 UTC
    int millisecond = 0;       // into that second
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual Instant now() const = 0;
    // The local date and time the clock shows at that second.
    virtual Moment localAt(std::int64_t seconds) const = 0;
};

// The system's clock and time zone.
class SystemClock final : public Clock {
  public:
    Instant now() const override;
    Moment localAt(std::int64_t seconds) const override;
};

// The second at which the clock shows LOCAL: of two (the hour repeated when summer time ends) the
// first that is not before NOT_BEFORE, else the later one; nothing when the clock never shows it
// (the hour skipped when summer time begins).
std::optional<std::int64_t> whenShown(const Clock& clock, const Moment& local,
                                      std::int64_t notBefore);

}  // namespace mainwindow
