// A fresh configuration folder for one test: XDG_CONFIG_HOME points into a new temporary folder
// for as long as the object lives, so the settings file the program uses is the test's own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "settings/rwini.h"

namespace testing_support {

class TempConfigDir {
  public:
    TempConfigDir() {
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
    ~TempConfigDir() {
        if (saved_) {
            ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempConfigDir(const TempConfigDir&) = delete;
    TempConfigDir& operator=(const TempConfigDir&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path iniPath() const { return std::filesystem::u8path(rwini::GetIniPath()); }

    void writeIni(const std::string& bytes) const {
        std::filesystem::create_directories(iniPath().parent_path());
        std::ofstream(iniPath(), std::ios::binary) << bytes;
    }
    std::string readIni() const {
        std::ifstream in(iniPath(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

  private:
    std::filesystem::path root_;
    std::optional<std::string> saved_;
};

}  // namespace testing_support
