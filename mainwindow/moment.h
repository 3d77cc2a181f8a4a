// A date and time as the window's six fields hold it, read as numbers and checked against the
// calendar.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mainwindow {

// Year, month, day, hour, minute, second: the units in the order the window shows them.
using Fields = std::array<std::string, 6>;

struct Moment {
    std::int64_t year = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const Moment&, const Moment&) = default;
};

// The moment the six texts denote, or nothing when any is not a whole number or they do not name
// a real moment (a 13th month, the 31st of a 30-day month, 29 February of a common year, ...).
std::optional<Moment> toMoment(const Fields& texts);

bool isLeapYear(std::int64_t year);
int daysInMonth(std::int64_t year, int month);

// The same time of the next calendar day.
Moment nextDay(Moment m);

// Seconds since 1970-01-01 00:00:00 of the same calendar, for comparing and subtracting moments;
// and the moment a number of such seconds denotes.
std::int64_t serialSeconds(const Moment& m);
Moment fromSerialSeconds(std::int64_t seconds);

}  // namespace mainwindow
