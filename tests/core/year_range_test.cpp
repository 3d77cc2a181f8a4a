#include "mainwindow/year_range.h"

#include <gtest/gtest.h>

namespace mainwindow {
namespace {

struct IntegerCase {
    const char* text;
    std::optional<int> value;
};

class ToInteger16 : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ToInteger16, ReadsTextAsTheListDoes) {
    EXPECT_EQ(toInteger16(GetParam().text), GetParam().value)
        << "text: '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToInteger16,
    ::testing::Values(
        IntegerCase{"2014", 2014}, IntegerCase{"  2000 ", 2000}, IntegerCase{"\t2030", 2030},
        IntegerCase{"-5", -5}, IntegerCase{"+7", 7}, IntegerCase{"2014.4", 2014},
        IntegerCase{"2014.6", 2015}, IntegerCase{"2014.5", 2014}, IntegerCase{"2015.5", 2016},
        IntegerCase{"2014.50001", 2015}, IntegerCase{"2013.500", 2014}, IntegerCase{".5", 0},
        IntegerCase{"1.5", 2}, IntegerCase{"-2.5", -2}, IntegerCase{"7.", 7},
        IntegerCase{"32767", 32767}, IntegerCase{"-32768", -32768}, IntegerCase{"32766.5", 32766},
        IntegerCase{"32767.5", std::nullopt}, IntegerCase{"32768", std::nullopt},
        IntegerCase{"-32769", std::nullopt}, IntegerCase{"99999999999999999999", std::nullopt},
        IntegerCase{"", std::nullopt}, IntegerCase{"   ", std::nullopt},
        IntegerCase{".", std::nullopt}, IntegerCase{"-", std::nullopt},
        IntegerCase{"20 14", std::nullopt}, IntegerCase{"2014年", std::nullopt},
        IntegerCase{"1e3", std::nullopt}, IntegerCase{"--1", std::nullopt},
        IntegerCase{"1.2.3", std::nullopt}));

struct RangeCase {
    const char* start;
    const char* end;
    YearRange years;
};

class YearsToOffer : public ::testing::TestWithParam<RangeCase> {};

TEST_P(YearsToOffer, FallsBackToTheBuiltInRangeWhenTheStoredOneCannotBeListed) {
    EXPECT_EQ(yearsToOffer(GetParam().start, GetParam().end), GetParam().years)
        << "start '" << GetParam().start << "', end '" << GetParam().end << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, YearsToOffer,
    ::testing::Values(
        RangeCase{"", "", kBuiltInYears}, RangeCase{"", "2050", kBuiltInYears},
        RangeCase{"", "junk", kBuiltInYears}, RangeCase{"2000", "2099", {2000, 2099}},
        RangeCase{"2030", "2030", {2030, 2030}}, RangeCase{" 2010 ", "2020.5", {2010, 2020}},
        RangeCase{"-32768", "-32760", {-32768, -32760}},
        RangeCase{"32760", "32766", {32760, 32766}}, RangeCase{"2020", "", kBuiltInYears},
        RangeCase{"abc", "2099", kBuiltInYears}, RangeCase{"2000", "abc", kBuiltInYears},
        RangeCase{"2000", "40000", kBuiltInYears}, RangeCase{"-40000", "2000", kBuiltInYears},
        RangeCase{"32760", "32767", kBuiltInYears}, RangeCase{"2031", "2030", kBuiltInYears}));

}  // namespace
}  // namespace mainwindow
