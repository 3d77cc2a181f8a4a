#include "settings/year_range.h"

#include <gtest/gtest.h>

using namespace years;

TEST(YearRange, ReadsTextAsTheListDoesAndFallsBackWhenItCannotBeListed) {
    const std::pair<const char*, std::optional<int>> numbers[] = {
        {"  2000 ", 2000},    {"+7", 7},        {"2014.500", 2014}, {"2015.5", 2016},
        {"2014.50001", 2015}, {".5", 0},        {"-2.5", -2},       {"7.", 7},
        {"-32768", -32768},   {"32767", 32767}, {"32766.5", 32766}, {"32767.5", {}},
        {"-32769", {}},       {"", {}},         {".", {}},          {"20 14", {}},
        {"2014年", {}},       {"1e3", {}},      {"--1", {}},        {"1.2.3", {}},
    };
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(toInteger16(text), value) << "'" << text << "'";
    }
    const std::tuple<const char*, const char*, YearRange> ranges[] = {
        {"", "", kBuiltInYears},
        {"", "2050", kBuiltInYears},
        {"2030", "2030", {2030, 2030}},
        {" 2010 ", "2020.5", {2010, 2020}},
        {"32760", "32766", {32760, 32766}},
        {"2000", "abc", kBuiltInYears},
        {"32760", "32767", kBuiltInYears},
        {"2031", "2030", kBuiltInYears},
    };
    for (const auto& [start, end, years] : ranges) {
        EXPECT_EQ(yearsToOffer(start, end), years) << "'" << start << "' to '" << end << "'";
    }
}
