// Text at the edge of the Win32 API: the program's UTF-8 to UTF-16 and back, or to and from a
// code page (the ANSI one of the private-profile functions).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win32text {

std::wstring wide(std::string_view text, UINT codePage = CP_UTF8);
std::string narrow(std::wstring_view text, UINT codePage = CP_UTF8);

}  // namespace win32text
