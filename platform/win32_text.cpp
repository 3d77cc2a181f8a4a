#include "platform/win32_text.h"

namespace win32text {

std::wstring wide(std::string_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    std::wstring result(
        static_cast<std::size_t>(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)),
        L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, result.data(),
                          static_cast<int>(result.size()));
    return result;
}

std::string narrow(std::wstring_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    std::string result(static_cast<std::size_t>(::WideCharToMultiByte(
                           codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
                       '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), size, result.data(),
                          static_cast<int>(result.size()), nullptr, nullptr);
    return result;
}

}  // namespace win32text
