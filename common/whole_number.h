// A whole number as a person types it: in a box, a list or on the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/blanks.h"

namespace common {

// Surrounding blanks and leading zeros allowed ("09", " 9" are 9), an optional sign. Nothing for
// any other text, or for a number beyond a billion either way.
inline std::optional<std::int64_t> wholeNumber(std::string_view text) {
    text = common::trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > 1'000'000'000) {
            return std::nullopt;
        }
    }
    return negative ? -value : value;
}

}  // namespace common
