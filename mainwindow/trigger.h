// When the armed action runs.
#pragma once

#include <cstdint>

namespace mainwindow {

// The furthest a target second may lie behind the clock and still fire: a late tick, a busy or
// briefly suspended machine, a small clock correction. Beyond it the machine slept or the clock
// was set forward, and firing then would surprise the user.
inline constexpr std::int64_t kCatchUpSeconds = 60;

// Whether the target second is due now: reached since the clock's second LAST_SEEN, and at most
// kCatchUpSeconds ago.
bool isDue(std::int64_t lastSeen, std::int64_t now, std::int64_t target);

}  // namespace mainwindow
