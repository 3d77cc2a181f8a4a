#include "mainwindow/year_range.h"

#include <gtest/gtest.h>

namespace mainwindow {
namespace {

constexpr std::optional<int> kNone;

TEST(YearRange, ReadsTextAsTheListDoes) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"2014", 2014},     {"  2000 ", 2000},     {"\t2030", 2030},   {"-5", -5},
        {"+7", 7},          {"2014.4", 2014},      {"2014.6", 2015},   {"2014.5", 2014},
        {"2015.5", 2016},   {"2014.50001", 2015},  {"2013.500", 2014}, {".5", 0},
        {"1.5", 2},         {"-2.5", -2},          {"7.", 7},          {"32767", 32767},
        {"-32768", -32768}, {"32766.5", 32766},    {"32767.5", kNone}, {"32768", kNone},
        {"-32769", kNone},  {"9999999999", kNone}, {"", kNone},        {"   ", kNone},
        {".", kNone},       {"-", kNone},          {"20 14", kNone},   {"2014年", kNone},
        {"1e3", kNone},     {"--1", kNone},        {"1.2.3", kNone},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(toInteger16(text), value) << "'" << text << "'";
    }
}

TEST(YearRange, FallsBackToTheBuiltInRangeWhenTheStoredOneCannotBeListed) {
    const std::tuple<const char*, const char*, YearRange> cases[] = {
        {"", "", kBuiltInYears},
        {"", "2050", kBuiltInYears},
        {"2000", "2099", {2000, 2099}},
        {"2030", "2030", {2030, 2030}},
        {" 2010 ", "2020.5", {2010, 2020}},
        {"-32768", "-32760", {-32768, -32760}},
        {"32760", "32766", {32760, 32766}},
        {"2020", "", kBuiltInYears},
        {"abc", "2099", kBuiltInYears},
        {"2000", "abc", kBuiltInYears},
        {"2000", "40000", kBuiltInYears},
        {"32760", "32767", kBuiltInYears},
        {"2031", "2030", kBuiltInYears},
    };
    for (const auto& [start, end, years] : cases) {
        EXPECT_EQ(yearsToOffer(start, end), years) << "'" << start << "' to '" << end << "'";
    }
}

}  // namespace
}  // namespace mainwindow
