// The settings file: one INI file holding the year range of the main window's year list.
// All texts are UTF-8; on Windows they pass through the ANSI code page on their way to the file.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace rwini {

inline constexpr std::string_view kSection = "参数设置";
inline constexpr std::string_view kStartYearKey = "开始年份";
inline constexpr std::string_view kEndYearKey = "结束年份";

// The longest value a read returns, in bytes of the file's encoding.
inline constexpr std::size_t kMaxValueBytes = 143;

// Windows: "C:\定时关机参数配置.ini", or the user's own copy of it in
// "%LOCALAPPDATA%\VirtualStore" once there is one (where C:\ refuses new files). Elsewhere:
// "定时关机参数配置.ini" in the user's configuration folder ($XDG_CONFIG_HOME when set and
// absolute, else ~/.config, where ~ is $HOME when set and absolute, else the account's home).
std::string GetIniPath();

// The key's value, cut to its first kMaxValueBytes bytes without splitting a character and
// returned untrimmed (on Windows the system's functions trim the spaces around it). A missing or
// empty value gives defaultValue, which is then written back where it changes the file (see
// storesDefault): under the same lock as a save, and only where it still would then; a value
// another copy saved in the meantime is kept and returned instead.
std::string ReadIniValue(std::string_view section, std::string_view key,
                         std::string_view defaultValue);

// Whether a read that found VALUE (nothing where the key is missing) writes DEFAULTVALUE back:
// where the key is missing, or its value is empty and the default is not. A key already there
// with the value the default would give leaves the file as it is, so that a start rewrites
// nothing.
inline bool storesDefault(const std::optional<std::string>& value, std::string_view defaultValue) {
    return !value || (value->empty() && !defaultValue.empty());
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

// Writes the values, creating the file, its folder, the section and the keys as needed and keeping
// everything else in the file as it was. All of them go into one replacement of the file: it holds
// either all the new values or none, also after a crash or beside another copy of the program
// saving at the same moment. Returns false, and changes nothing, when they could not be stored.
bool WriteIniValues(std::string_view section, std::initializer_list<KeyValue> values);

inline bool WriteIniValue(std::string_view section, std::string_view key, std::string_view value) {
    return WriteIniValues(section, {{key, value}});
}

}  // namespace rwini
