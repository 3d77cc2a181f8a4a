// Blanks around typed and stored texts: the spaces and tabs that numbers and names may carry.
#pragma once

#include <string_view>

namespace common {

inline std::string_view trimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace common
