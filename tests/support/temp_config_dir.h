// A settings file of the test's own for as long as the object lives: the program's settings file
// does not exist when the test starts, and whatever the test leaves is removed afterwards.
// Outside Windows the configuration folder moves into a fresh temporary folder; on Windows, where
// the file's place is fixed, the file itself is removed before and after.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace testing_support {

class TempConfigDir {
  public:
    TempConfigDir();
    ~TempConfigDir();
    TempConfigDir(const TempConfigDir&) = delete;
    TempConfigDir& operator=(const TempConfigDir&) = delete;

    // A fresh folder for the test's own files.
    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path iniPath() const;

    // The settings file's text in the program's terms: UTF-8, each line ending in "\n" (Windows
    // keeps the file in the ANSI code page with "\r\n").
    std::string readIni() const;
    // Stores UTF-8 text as the settings file, in the file's encoding, line ends as they are.
    void writeIni(const std::string& text) const;
    // From now on the settings file cannot be written.
    void makeUnwritable();

  private:
    std::filesystem::path root_;
    std::optional<std::string> saved_;
};

}  // namespace testing_support
