// When the armed action runs.
#pragma once

#include <cstdint>
#include <optional>

namespace mainwindow {

// The furthest a target second may lie behind the clock and still fire: a late tick, a busy or
// briefly suspended machine, a small clock correction. Beyond it the machine slept or the clock
// was set forward, and firing then would surprise the user.
inline constexpr std::int64_t kCatchUpSeconds = 60;

// Whether the target second (in serial seconds) is due now: reached since the clock was last
// seen, and at most kCatchUpSeconds ago. Without an earlier reading only the exact second counts.
bool isDue(std::optional<std::int64_t> lastSeen, std::int64_t now, std::int64_t target);

}  // namespace mainwindow
