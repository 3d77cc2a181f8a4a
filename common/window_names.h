// The program's windows by the names of their layouts, and its icon in the notification area, which
// the windows use to open, rebuild and close one another.
#pragma once

#include <string_view>

namespace windows {

inline constexpr std::string_view kMainWindow = "Form1";
inline constexpr std::string_view kYearDialog = "Form2";
inline constexpr std::string_view kWarning = "Form3";
inline constexpr std::string_view kTrayIcon = "TrayIcon";

}  // namespace windows
