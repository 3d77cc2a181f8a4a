// The settings file on Windows: the system's private-profile functions, which keep the file in
// the ANSI code page. Every text passes UTF-8 -> UTF-16 -> ANSI on its way in and back on its way
// out. A write goes to a copy of the file beside it, which then replaces the file in one move.
#include <windows.h>

#include <cstring>
#include <memory>
#include <optional>

#include "platform/win32_text.h"
#include "settings/rwini.h"

namespace rwini {
namespace {

constexpr DWORD kReadBufferBytes = kMaxValueBytes + 1;

std::string toAnsi(std::string_view utf8) {
    return win32text::narrow(win32text::wide(utf8), CP_ACP);
}

// A read cut at the buffer's end may stop after the first byte of a double-byte character;
// that byte alone would turn into a replacement character, so it is dropped.
std::string fromAnsi(std::string_view ansi) {
    std::size_t whole = 0;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(ansi[i]))) {
            if (++i == ansi.size()) {
                break;
            }
        }
        whole = i + 1;
    }
    return win32text::narrow(win32text::wide(ansi.substr(0, whole), CP_ACP));
}

std::wstring folderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// Pushes the written bytes to the disk before the copy takes the file's place.
bool flush(const std::wstring& path) {
    const Handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.get() != INVALID_HANDLE_VALUE && ::FlushFileBuffers(file.get());
}

// The copy that a write changes: a new file in the settings file's folder, so that the final move
// stays on one volume and cannot turn into a copy. Holds the settings file's current contents.
std::optional<std::wstring> copyBeside(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    wchar_t temporary[MAX_PATH];
    if (::GetTempFileNameW(folderOf(path).c_str(), L"vlx", 0, temporary) == 0) {
        return std::nullopt;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && !::CopyFileW(path.c_str(), temporary, FALSE)) {
        ::DeleteFileW(temporary);
        return std::nullopt;
    }
    return temporary;
}

}  // namespace

std::string GetIniPath() {
    return "C:\\定时关机参数配置.ini";
}

std::string ReadIniValue(std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
    char buffer[kReadBufferBytes] = {};
    const DWORD count =
        ::GetPrivateProfileStringA(toAnsi(section).c_str(), toAnsi(key).c_str(), "", buffer,
                                   kReadBufferBytes, toAnsi(GetIniPath()).c_str());
    if (count == 0) {
        WriteIniValue(section, key, defaultValue);
        return std::string(defaultValue);
    }
    // Wine leaves the split character's byte of a cut value unwritten and counts it anyway: the
    // value ends at its first zero byte.
    return fromAnsi(std::string_view(buffer, ::strnlen(buffer, kMaxValueBytes)));
}

// Windows has no atomic replace that keeps the old file in every case; MoveFileExW renames
// within the folder, which on NTFS leaves either the old file or the new one after a crash.
bool WriteIniValues(std::string_view section, std::initializer_list<KeyValue> values) {
    const std::wstring path = win32text::wide(GetIniPath());
    const auto temporary = copyBeside(path);
    if (!temporary) {
        return false;
    }
    const std::string copy = win32text::narrow(*temporary, CP_ACP);
    bool written = true;
    for (const KeyValue& entry : values) {
        written = written &&
                  ::WritePrivateProfileStringA(toAnsi(section).c_str(), toAnsi(entry.key).c_str(),
                                               toAnsi(entry.value).c_str(), copy.c_str());
    }
    if (!written || !flush(*temporary) ||
        !::MoveFileExW(temporary->c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temporary->c_str());
        return false;
    }
    return true;
}

}  // namespace rwini
