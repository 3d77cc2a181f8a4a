// The range of years the main window's year list offers: read from the settings file, checked as
// the year dialog takes it, and stored.
#pragma once

#include <optional>
#include <string_view>

namespace years {

struct YearRange {
    int start = 0;
    int end = 0;
    friend bool operator==(const YearRange&, const YearRange&) = default;
};

// The range offered when none is stored, or when the stored one cannot be used.
inline constexpr YearRange kBuiltInYears{2014, 2099};

// A text as a 16-bit signed integer: surrounding blanks allowed, a decimal fraction rounded to the
// nearest integer and a half to the even one. Nothing for any other text or a value out of range.
std::optional<int> toInteger16(std::string_view text);

// The years the list offers for the stored start and end texts. An empty start means the built-in
// range; so does a range that cannot be listed (not numbers, out of range, an end year of 32767,
// start after end).
YearRange yearsToOffer(std::string_view start, std::string_view end);

// The years the list offers for what the settings file holds now. A missing start or end year is
// written into the file as empty.
YearRange yearsFromSettings();

// The years typed into the dialog's boxes, when they make a range the list can offer at the next
// start: whole numbers from 1 to 9999, the start not after the end.
std::optional<YearRange> typedYears(std::string_view start, std::string_view end);

// Stores RANGE, or empty years for the built-in range; false when the file cannot be written.
bool storeYears(const std::optional<YearRange>& range);

}  // namespace years
