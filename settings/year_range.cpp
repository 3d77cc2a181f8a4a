#include "settings/year_range.h"

#include <cctype>
#include <string>

#include "settings/rwini.h"

#include "common/blanks.h"
#include "common/whole_number.h"

namespace years {

namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::optional<int> toInteger16(std::string_view text) {
    text = common::trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::string_view whole = text.substr(0, text.find('.'));
    const std::string_view fraction =
        whole.size() < text.size() ? text.substr(whole.size() + 1) : std::string_view();
    if (whole.empty() && fraction.empty()) {
        return std::nullopt;
    }
    constexpr long kBeyond = 40000;  // past the range on either side; stops the sum growing
    long value = 0;
    for (char c : whole) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        value = std::min(kBeyond, value * 10 + (c - '0'));
    }
    for (char c : fraction) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
    }
    // Round to nearest, a half to the even neighbour, on the digits themselves so no binary
    // fraction can tip a half either way.
    if (!fraction.empty() && fraction[0] >= '5') {
        const bool exactHalf = fraction[0] == '5' &&
                               fraction.substr(1).find_first_not_of('0') == std::string_view::npos;
        if (!exactHalf || value % 2 == 1) {
            ++value;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

YearRange yearsToOffer(std::string_view start, std::string_view end) {
    if (start.empty()) {
        return kBuiltInYears;
    }
    const std::optional<int> first = toInteger16(start);
    const std::optional<int> last = toInteger16(end);
    // The list is counted in 16-bit years, so 32767 cannot be its last year.
    if (!first || !last || *last == 32767 || *first > *last) {
        return kBuiltInYears;
    }
    return {*first, *last};
}

YearRange yearsFromSettings() {
    const std::string start = rwini::ReadIniValue(rwini::kSection, rwini::kStartYearKey, "");
    const std::string end = rwini::ReadIniValue(rwini::kSection, rwini::kEndYearKey, "");
    // A range that cannot be listed falls back to the built-in one and leaves the file alone,
    // so that one bad value cannot stop every later start of the program.
    return yearsToOffer(start, end);
}

std::optional<YearRange> typedYears(std::string_view start, std::string_view end) {
    const auto year = [](std::string_view text) -> std::optional<int> {
        const std::optional<std::int64_t> n = common::wholeNumber(text);
        return n && *n >= 1 && *n <= 9999 ? std::optional(static_cast<int>(*n)) : std::nullopt;
    };
    const std::optional<int> first = year(start);
    const std::optional<int> last = year(end);
    if (!first || !last || *first > *last) {
        return std::nullopt;
    }
    return YearRange{*first, *last};
}

bool storeYears(const std::optional<YearRange>& range) {
    const std::string start = range ? std::to_string(range->start) : "";
    const std::string end = range ? std::to_string(range->end) : "";
    return rwini::WriteIniValues(rwini::kSection,
                                 {{rwini::kStartYearKey, start}, {rwini::kEndYearKey, end}});
}

}  // namespace years
