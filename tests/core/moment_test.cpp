#include "mainwindow/moment.h"

#include <gtest/gtest.h>

using namespace mainwindow;

TEST(Moment, IsARealDateTypedAsWholeNumbers) {
    const std::pair<Fields, std::optional<Moment>> cases[] = {
        {{"2014", "02", " 7", "09 ", "030", "+10"}, Moment{2014, 2, 7, 9, 30, 10}},
        {{"2024", "2", "29", "0", "0", "0"}, Moment{2024, 2, 29, 0, 0, 0}},
        {{"2000", "2", "29", "23", "59", "59"}, Moment{2000, 2, 29, 23, 59, 59}},
        {{"1900", "2", "29", "0", "0", "0"}, {}},
        {{"2014", "0", "1", "0", "0", "0"}, {}},
        {{"2014", "13", "1", "0", "0", "0"}, {}},
        {{"2014", "1", "0", "0", "0", "0"}, {}},
        {{"2014", "1", "1", "-1", "0", "0"}, {}},
        {{"2014", "1", "1", "24", "0", "0"}, {}},
        {{"2014", "1", "1", "0", "0", "60"}, {}},
        {{"2014", "1", "1", "0", "60", "0"}, {}},
        {{"2014", "1", "1", "0", "0", "9.0"}, {}},
        {{"2014", "1", "1", "0", "0", "１"}, {}},
    };
    for (const auto& [texts, moment] : cases) {
        EXPECT_EQ(toMoment(texts), moment) << texts[1] << "-" << texts[2] << " " << texts[5];
    }
    // The last day of each month of 2014, and the day after it.
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        const int last = lengths[month - 1];
        const auto day = [&](int d) {
            return toMoment({"2014", std::to_string(month), std::to_string(d), "0", "0", "0"});
        };
        EXPECT_TRUE(day(last) && !day(last + 1)) << month;
    }
}

TEST(Moment, SerialSecondsAndTheNextDayFollowTheCalendar) {
    EXPECT_EQ(serialSeconds({2014, 2, 6, 0, 14, 18}), 1391645658);
    EXPECT_EQ(serialSeconds({2025, 1, 1, 0, 0, 0}) - serialSeconds({2024, 1, 1, 0, 0, 0}),
              366 * 86400);
    EXPECT_EQ(serialSeconds({1, 1, 1, 0, 0, 0}) - serialSeconds({0, 12, 31, 23, 59, 59}), 1);
    EXPECT_EQ(serialSeconds({0, 1, 1, 0, 0, 0}), -62167219200);  // in a negative era
    EXPECT_EQ(nextDay({2026, 11, 30, 8, 0, 0}), (Moment{2026, 12, 1, 8, 0, 0}));
    EXPECT_EQ(nextDay({2026, 12, 30, 8, 0, 0}), (Moment{2026, 12, 31, 8, 0, 0}));
    EXPECT_EQ(fromSerialSeconds(1391645658), (Moment{2014, 2, 6, 0, 14, 18}));
    EXPECT_EQ(fromSerialSeconds(951868799), (Moment{2000, 2, 29, 23, 59, 59}));
    EXPECT_EQ(fromSerialSeconds(1409443200), (Moment{2014, 8, 31, 0, 0, 0}));
    EXPECT_EQ(fromSerialSeconds(-1), (Moment{1969, 12, 31, 23, 59, 59}));
    EXPECT_EQ(fromSerialSeconds(4107542400), (Moment{2100, 3, 1, 0, 0, 0}));
    EXPECT_EQ(fromSerialSeconds(-62167219200), (Moment{0, 1, 1, 0, 0, 0}));
}
