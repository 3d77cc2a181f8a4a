// The status line's countdown: how long until the target, counted on the real calendar.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "mainwindow/moment.h"
#include "power/launcher.h"

namespace mainwindow {

// Years, months, days, hours, minutes and seconds left, in the order the window shows them.
using Remaining = std::array<std::int64_t, 6>;

// What is left from clock to target, or nothing when the target lies before the clock. A day
// borrowed from the months counts the real length of the month before the target's month (and of
// the one before that, if need be), so no unit below the years is ever negative.
std::optional<Remaining> remainingUntil(const Moment& clock, const Moment& target);

// "22 时 44 分 40 秒 ": the first unit above zero and every unit after it; empty when nothing is
// left.
std::string remainingText(const Remaining& remaining);

// "【关机】" or "【重启】".
std::string actionTag(power::Action action);

// The whole status line: "还剩：" with the SECONDS_LEFT from the local time CLOCK, in the
// calendar's units, or the error text for a target that has passed or that the clock never shows;
// then the action tag. The units count time as it passes: across a change to or from summer time
// the target is where that many seconds on from CLOCK lead, not where the clock face will say.
std::string countdownCaption(const Moment& clock, std::optional<std::int64_t> secondsLeft,
                             power::Action action);

// The last-minute warning: "将在 59 秒后【关机】，请保存您的工作。"
std::string warningText(std::int64_t seconds, power::Action action);

}  // namespace mainwindow
