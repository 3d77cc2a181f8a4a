// An INI file held as its lines, so that a change touches only the one line it must and everything
// else (comments, blank lines, other sections, unknown lines, line endings) is written back byte
// for byte. Lookups follow the Windows private-profile rules. Any bytes parse; nothing here knows
// about files or platforms.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rwini {

class IniDocument {
  public:
    explicit IniDocument(std::string_view text = {});

    // The value of the first key named `key` in the first section named `section`: everything
    // after the key's first '=', untrimmed. Names compare ignoring ASCII case and surrounding
    // blanks. Lines starting with ';' are comments.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Replaces the value of that key line, or adds the key after the last key of the section, or
    // adds the section at the end. Refuses (returns false, changes nothing) texts that could not
    // be read back as given: any CR, LF or NUL; a key holding '=' or starting with '[' or ';'.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

  private:
    struct Line {
        std::string text;      // without its line ending
        std::string_view end;  // "\n", "\r\n", or "" for a last line without one
    };

    // Line indices; npos where there is no such line.
    struct Place {
        std::size_t section = std::string_view::npos;
        std::size_t key = std::string_view::npos;
        std::size_t afterLastKey = std::string_view::npos;  // where a new key of the section goes
    };

    Place find(std::string_view section, std::string_view key) const;
    void insertLine(std::size_t index, std::string text);

    std::vector<Line> lines_;
    std::string_view newLine_ = "\n";  // for lines this document adds
    bool byteOrderMark_ = false;
};

}  // namespace rwini
