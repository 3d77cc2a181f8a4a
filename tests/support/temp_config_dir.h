// A settings file of the test's own while the object lives. Outside Windows the configuration
// folder (and HOME) move into a fresh temporary folder; on Windows, where the file's place is
// fixed, the file itself is removed before and after, and %LOCALAPPDATA% moves.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace testing_support {

std::string contentsOf(const std::filesystem::path& file);
// TEXT, UTF-8 with any line ends, at FILE in the encoding the program keeps its settings in.
void store(const std::filesystem::path& file, const std::string& text);

class TempConfigDir {
  public:
    TempConfigDir();
    ~TempConfigDir();
    TempConfigDir(const TempConfigDir&) = delete;
    TempConfigDir& operator=(const TempConfigDir&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path iniPath() const;
    // The file's text as UTF-8 with "\n" line ends.
    std::string readIni() const;
    void writeIni(const std::string& text) const { store(iniPath(), text); }
    // From now on the settings file can be neither written nor replaced.
    void makeUnwritable();

  private:
    std::filesystem::path root_;
    std::optional<std::string> saved_[2];  // the environment it changed
};

}  // namespace testing_support
