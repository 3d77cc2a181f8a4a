// The program's About message, shown on a click of the status line.
#pragma once

#include <string>

namespace mainwindow {

inline constexpr const char* kAboutTitle = "Quenly作品";

std::string AboutText();

}  // namespace mainwindow
