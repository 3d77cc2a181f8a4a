#include "mainwindow/moment.h"

#include "common/whole_number.h"

namespace mainwindow {

bool isLeapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(std::int64_t year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<Moment> toMoment(const Fields& texts) {
    std::array<std::int64_t, 6> n{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::optional<std::int64_t> value = common::wholeNumber(texts[i]);
        if (!value) {
            return std::nullopt;
        }
        n[i] = *value;
    }
    if (n[1] < 1 || n[1] > 12 || n[3] < 0 || n[3] > 23 || n[4] < 0 || n[4] > 59 || n[5] < 0 ||
        n[5] > 59) {
        return std::nullopt;
    }
    const int month = static_cast<int>(n[1]);
    if (n[2] < 1 || n[2] > daysInMonth(n[0], month)) {
        return std::nullopt;
    }
    return Moment{n[0],
                  month,
                  static_cast<int>(n[2]),
                  static_cast<int>(n[3]),
                  static_cast<int>(n[4]),
                  static_cast<int>(n[5])};
}

std::int64_t serialSeconds(const Moment& m) {
    // Days from the civil date, after Howard Hinnant's algorithm; exact for any year here.
    const std::int64_t y = m.year - (m.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (m.month + (m.month > 2 ? -3 : 9)) + 2) / 5 + m.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + m.hour * 3600 + m.minute * 60 + m.second;
}

Moment fromSerialSeconds(std::int64_t seconds) {
    // The civil date from days, the inverse of the algorithm above.
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const std::int64_t inDay = seconds - days * 86400;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0),
            month,
            static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1),
            static_cast<int>(inDay / 3600),
            static_cast<int>(inDay % 3600 / 60),
            static_cast<int>(inDay % 60)};
}

Moment nextDay(Moment m) {
    if (++m.day > daysInMonth(m.year, m.month)) {
        m.day = 1;
        if (++m.month > 12) {
            m.month = 1;
            ++m.year;
        }
    }
    return m;
}

}  // namespace mainwindow
