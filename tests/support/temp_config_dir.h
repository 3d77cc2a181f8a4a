// A settings file of the test's own while the object lives. Outside Windows the configuration
// folder (and HOME) move into a fresh temporary folder; on Windows, where the file's place is
// fixed, the file itself is removed before and after, and %LOCALAPPDATA% moves.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

namespace testing_support {

inline std::string contentsOf(const std::filesystem::path& file) {
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

class TempConfigDir {
  public:
    TempConfigDir();
    ~TempConfigDir();
    TempConfigDir(const TempConfigDir&) = delete;
    TempConfigDir& operator=(const TempConfigDir&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path iniPath() const;
    // The file's text as UTF-8 with "\n" line ends; Windows keeps it in the ANSI code page with
    // "\r\n". Writing stores UTF-8 text in the file's encoding, line ends as they are.
    std::string readIni() const;
    void writeIni(const std::string& text) const;
    // From now on the settings file can be neither written nor replaced.
    void makeUnwritable();

  private:
    std::filesystem::path root_;
    std::map<std::string, std::optional<std::string>> savedEnvironment_;
};

}  // namespace testing_support
