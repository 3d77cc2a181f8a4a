#include "temp_config_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "settings/rwini.h"
#ifdef _WIN32
#include <windows.h>

#include "platform/win32_text.h"
#endif

namespace fs = std::filesystem;

namespace testing_support {
namespace {

#ifdef _WIN32
const char* const kMoved[] = {"LOCALAPPDATA"};
void setEnvironment(const char* name, const std::optional<std::string>& value) {
    ::SetEnvironmentVariableW(win32text::wide(name).c_str(),
                              value ? win32text::wide(*value).c_str() : nullptr);
}
#else
const char* const kMoved[] = {"XDG_CONFIG_HOME", "HOME"};
void setEnvironment(const char* name, const std::optional<std::string>& value) {
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
}
#endif

}  // namespace

std::string contentsOf(const fs::path& file) {
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

void store(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
#ifdef _WIN32
    std::ofstream(file, std::ios::binary) << win32text::narrow(win32text::wide(text), CP_ACP);
#else
    std::ofstream(file, std::ios::binary) << text;
#endif
}

TempConfigDir::TempConfigDir() {
    for (std::size_t i = 0; i < std::size(kMoved); ++i) {
        if (const char* value = std::getenv(kMoved[i])) {
            saved_[i] = value;
        }
    }
#ifdef _WIN32
    root_ = fs::temp_directory_path() / ("vorlix-" + std::to_string(::GetCurrentProcessId()));
    fs::create_directories(root_ / "AppData");
    setEnvironment("LOCALAPPDATA", (root_ / "AppData").string());
    fs::remove_all(iniPath());
#else
    std::string pattern = (fs::temp_directory_path() / "vorlix-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    setEnvironment("XDG_CONFIG_HOME", (root_ / "config").string());
    setEnvironment("HOME", (root_ / "home").string());
#endif
}

TempConfigDir::~TempConfigDir() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
#ifdef _WIN32
    fs::remove_all(iniPath(), ignored);
#endif
    for (std::size_t i = 0; i < std::size(kMoved); ++i) {
        setEnvironment(kMoved[i], saved_[i]);
    }
}

fs::path TempConfigDir::iniPath() const {
    return fs::u8path(rwini::GetIniPath());
}

std::string TempConfigDir::readIni() const {
    std::string text = contentsOf(iniPath());
#ifdef _WIN32
    text = win32text::narrow(win32text::wide(text, CP_ACP));
#endif
    std::erase(text, '\r');
    return text;
}

void TempConfigDir::makeUnwritable() {
#ifdef _WIN32
    // A folder in the file's place.
    fs::remove_all(iniPath());
    fs::create_directory(iniPath());
#else
    // A configuration "folder" that is a regular file: nothing can be created inside it.
    std::ofstream(root_ / "not-a-folder") << "keep";
    setEnvironment("XDG_CONFIG_HOME", (root_ / "not-a-folder").string());
#endif
}

}  // namespace testing_support
