#include <windows.h>

#include "platform/win32_text.h"
#include "settings/rwini.h"
#include "temp_config_dir.h"

namespace testing_support {

TempConfigDir::TempConfigDir()
    : root_(std::filesystem::temp_directory_path() /
            ("vorlix-" + std::to_string(::GetCurrentProcessId()))) {
    if (const char* old = std::getenv("LOCALAPPDATA")) {
        savedEnvironment_["LOCALAPPDATA"] = old;
    }
    std::filesystem::create_directories(root_ / "AppData");
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", (root_ / "AppData").c_str());
    std::filesystem::remove_all(iniPath());
}

TempConfigDir::~TempConfigDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    std::filesystem::remove_all(iniPath(), ignored);
    const auto& saved = savedEnvironment_["LOCALAPPDATA"];
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", saved ? win32text::wide(*saved).c_str() : nullptr);
}

std::filesystem::path TempConfigDir::iniPath() const {
    return std::filesystem::u8path(rwini::GetIniPath());
}

std::string TempConfigDir::readIni() const {
    std::string text = win32text::narrow(win32text::wide(contentsOf(iniPath()), CP_ACP));
    std::erase(text, '\r');
    return text;
}

void TempConfigDir::writeIni(const std::string& text) const {
    std::ofstream(iniPath(), std::ios::binary) << win32text::narrow(win32text::wide(text), CP_ACP);
}

// A folder in the file's place.
void TempConfigDir::makeUnwritable() {
    std::filesystem::remove_all(iniPath());
    std::filesystem::create_directory(iniPath());
}

}  // namespace testing_support
