#include <cstdlib>

#include "settings/rwini.h"
#include "temp_config_dir.h"

namespace testing_support {

TempConfigDir::TempConfigDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorlix-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
        const char* value = std::getenv(name);
        savedEnvironment_[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }
    ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    ::setenv("HOME", (root_ / "home").c_str(), 1);
}

TempConfigDir::~TempConfigDir() {
    for (const auto& [name, value] : savedEnvironment_) {
        value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path TempConfigDir::iniPath() const {
    return rwini::GetIniPath();
}

std::string TempConfigDir::readIni() const {
    return contentsOf(iniPath());
}

void TempConfigDir::writeIni(const std::string& text) const {
    std::filesystem::create_directories(iniPath().parent_path());
    std::ofstream(iniPath(), std::ios::binary) << text;
}

// A configuration "folder" that is a regular file: nothing can be created inside it.
void TempConfigDir::makeUnwritable() {
    std::ofstream(root_ / "not-a-folder") << "keep";
    ::setenv("XDG_CONFIG_HOME", (root_ / "not-a-folder").c_str(), 1);
}

}  // namespace testing_support
