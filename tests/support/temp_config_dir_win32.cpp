// The settings file lives at a fixed place on drive C:, so the test's own file is that file,
// removed before the test and after it. The user's own copy, which would hide it, is looked for
// in the test's folder.
#include <windows.h>

#include <fstream>
#include <sstream>

#include "platform/win32_text.h"
#include "settings/rwini.h"
#include "temp_config_dir.h"

namespace testing_support {
namespace {

std::string convert(const std::string& text, UINT from, UINT to) {
    return win32text::narrow(win32text::wide(text, from), to);
}

std::filesystem::path freshFolder() {
    wchar_t temp[MAX_PATH + 1];
    const std::filesystem::path parent(
        std::wstring(temp, ::GetTempPathW(static_cast<DWORD>(std::size(temp)), temp)));
    for (unsigned n = 0;; ++n) {
        std::filesystem::path folder =
            parent /
            ("vorlix-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(n));
        if (std::filesystem::create_directory(folder)) {
            return folder;
        }
    }
}

void removeIni(const std::filesystem::path& ini) {
    std::error_code ignored;
    std::filesystem::remove_all(ini, ignored);
}

}  // namespace

TempConfigDir::TempConfigDir() : root_(freshFolder()) {
    wchar_t old[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", old, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        saved_ = win32text::narrow(std::wstring_view(old, length));
    }
    std::filesystem::create_directory(root_ / "AppData");
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", (root_ / "AppData").c_str());
    removeIni(iniPath());
}

TempConfigDir::~TempConfigDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    removeIni(iniPath());
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", saved_ ? win32text::wide(*saved_).c_str() : nullptr);
}

std::filesystem::path TempConfigDir::iniPath() const {
    return std::filesystem::u8path(rwini::GetIniPath());
}

std::string TempConfigDir::readIni() const {
    std::ifstream in(iniPath(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string text = convert(bytes.str(), CP_ACP, CP_UTF8);
    for (std::size_t cr = text.find("\r\n"); cr != std::string::npos; cr = text.find("\r\n", cr)) {
        text.erase(cr, 1);
    }
    return text;
}

void TempConfigDir::writeIni(const std::string& text) const {
    std::ofstream(iniPath(), std::ios::binary) << convert(text, CP_UTF8, CP_ACP);
}

// A folder in the file's place: it can be neither written nor replaced.
void TempConfigDir::makeUnwritable() {
    removeIni(iniPath());
    std::filesystem::create_directory(iniPath());
}

}  // namespace testing_support
