// XDG_CONFIG_HOME points into a new temporary folder while the object lives.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "settings/rwini.h"
#include "temp_config_dir.h"

namespace testing_support {

TempConfigDir::TempConfigDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorlix-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    root_ = pattern;
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
        saved_ = old;
    }
    ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
}

TempConfigDir::~TempConfigDir() {
    if (saved_) {
        ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path TempConfigDir::iniPath() const {
    return std::filesystem::u8path(rwini::GetIniPath());
}

std::string TempConfigDir::readIni() const {
    std::ifstream in(iniPath(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void TempConfigDir::writeIni(const std::string& text) const {
    std::filesystem::create_directories(iniPath().parent_path());
    std::ofstream(iniPath(), std::ios::binary) << text;
}

// A configuration "folder" that is a regular file: nothing can be created inside it.
void TempConfigDir::makeUnwritable() {
    const std::filesystem::path notAFolder = root_ / "not-a-folder";
    std::ofstream(notAFolder) << "";
    ::setenv("XDG_CONFIG_HOME", notAFolder.c_str(), 1);
}

}  // namespace testing_support
