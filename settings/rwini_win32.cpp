// The settings file on Windows: the system's private-profile functions, which keep the file in
// the ANSI code page. Every text passes UTF-8 -> UTF-16 -> ANSI on its way in and back on its way
// out.
//
// A standard user, and an administrator whose program is not elevated, may change the files that
// exist in C:\ but may not create new ones there, and Windows does not virtualise the files of a
// program with a manifest. So the program does what virtualisation did for older programs: where
// C:\ refuses the file, it is kept in the user's VirtualStore, and a copy there hides the one in
// C:\ from then on, so settings that Windows already put there are found.
//
// A write goes to a copy of the file beside it, which then replaces the file in one move. Where
// no new file may be made beside the file, the file is overwritten in place in one write.
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <memory>
#include <optional>
#include <utility>

#include "platform/win32_handles.h"
#include "platform/win32_text.h"
#include "settings/rwini.h"

namespace rwini {
namespace {

constexpr DWORD kReadBufferBytes = kMaxValueBytes + 1;
constexpr wchar_t kFileName[] = L"定时关机参数配置.ini";
// GetTempFileNameW names a copy with this, up to four hexadecimal digits and ".tmp"; copies that
// a crash left are known by that name and nothing else.
constexpr wchar_t kCopyPrefix[] = L"vlx";

enum class Outcome { Written, Refused, Failed };

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

bool exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring systemFile() {
    return std::wstring(L"C:\\") + kFileName;
}

// Where Windows' virtualisation keeps a user's own copy of a file in C:\.
std::optional<std::wstring> perUserFile() {
    wchar_t folder[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    if (length < 3 || length >= MAX_PATH || (folder[1] != L':' && folder[0] != L'\\')) {
        return std::nullopt;
    }
    return std::wstring(folder, length) + L"\\VirtualStore\\" + kFileName;
}

std::wstring fileInUse() {
    const std::optional<std::wstring> perUser = perUserFile();
    return perUser && exists(*perUser) ? *perUser : systemFile();
}

std::optional<std::wstring> temporaryFolder() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    return length == 0 || length > MAX_PATH ? std::nullopt : std::optional<std::wstring>(folder);
}

using win32handles::UniqueFile;

UniqueFile open(const std::wstring& path, DWORD access) {
    return UniqueFile(::CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Copies of the program in one session save one at a time: none replaces the file with a copy
// made before another's save, and the copies that a crash left can be removed without taking one
// that another save is still working on.
class SaveLock {
  public:
    SaveLock() : mutex_(::CreateMutexW(nullptr, FALSE, L"Local\\Vorlix定时关机参数配置")) {
        const DWORD waited = mutex_ ? ::WaitForSingleObject(mutex_.get(), 10000) : WAIT_FAILED;
        // A copy that ended while saving leaves the lock abandoned; it is then this one's.
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~SaveLock() {
        if (held_) {
            ::ReleaseMutex(mutex_.get());
        }
    }
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    bool held() const { return held_; }

  private:
    win32handles::UniqueHandle mutex_;
    bool held_ = false;
};

bool isLeftoverCopy(const wchar_t* name) {
    const std::size_t prefix = std::wcslen(kCopyPrefix);
    const std::size_t length = std::wcslen(name);
    return length >= prefix + 5 && length <= prefix + 8 &&
           ::_wcsnicmp(name, kCopyPrefix, prefix) == 0 &&
           ::_wcsicmp(name + length - 4, L".tmp") == 0 &&
           std::wcsspn(name + prefix, L"0123456789ABCDEFabcdef") == length - prefix - 4;
}

void removeLeftoverCopies(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const win32handles::UniqueFind search(
        ::FindFirstFileW((folder + kCopyPrefix + L"*.tmp").c_str(), &found));
    if (!search) {
        return;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            isLeftoverCopy(found.cFileName)) {
            ::DeleteFileW((folder + found.cFileName).c_str());
        }
    } while (::FindNextFileW(search.get().value, &found));
}

// A new empty file in the folder, for a copy; none, with the reason in GetLastError, when the
// folder refuses it. Wine's GetTempFileNameW returns a name even when it could not make the file.
std::optional<std::wstring> newCopy(const std::wstring& folder) {
    wchar_t copy[MAX_PATH];
    if (::GetTempFileNameW(folder.c_str(), kCopyPrefix, 0, copy) == 0) {
        return std::nullopt;
    }
    const DWORD error = ::GetLastError();
    if (exists(copy)) {
        return std::wstring(copy);
    }
    ::SetLastError(error);
    return std::nullopt;
}

// Gives the new copy what source holds (nothing when it does not exist) and lets the system set
// the values in it, so that the system decides the file's layout and encoding as for any write.
bool fill(const std::wstring& copy, const std::wstring& source, std::string_view section,
          std::initializer_list<KeyValue> values) {
    bool filled = !exists(source) || ::CopyFileW(source.c_str(), copy.c_str(), FALSE);
    const std::string path = win32text::narrow(copy, CP_ACP);
    for (const KeyValue& entry : values) {
        filled = filled &&
                 ::WritePrivateProfileStringA(toAnsi(section).c_str(), toAnsi(entry.key).c_str(),
                                              toAnsi(entry.value).c_str(), path.c_str());
    }
    return filled;
}

// Pushes the written bytes to the disk before the copy takes the file's place.
bool flush(const std::wstring& path) {
    const UniqueFile file = open(path, GENERIC_WRITE);
    return file && ::FlushFileBuffers(file.get().value);
}

std::optional<std::string> contentsOf(const std::wstring& path) {
    const UniqueFile file = open(path, GENERIC_READ);
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get().value, &size) || size.QuadPart > MAXDWORD) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.get().value, bytes.data(), static_cast<DWORD>(bytes.size()), &read,
                    nullptr) ||
        read != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

// The system's own functions would empty the file and write it again, once for every key. The
// new contents are made in a copy in the temporary folder instead and written over the file from
// its start in one write, without emptying it first: the few lines of this file fit in one
// sector, so a crash finds the old values or the new ones.
Outcome overwrite(const std::wstring& file, std::string_view section,
                  std::initializer_list<KeyValue> values) {
    const std::optional<std::wstring> folder = temporaryFolder();
    const std::optional<std::wstring> copy = folder ? newCopy(*folder) : std::nullopt;
    if (!copy) {
        return Outcome::Failed;
    }
    const std::optional<std::string> bytes =
        fill(*copy, file, section, values) ? contentsOf(*copy) : std::nullopt;
    ::DeleteFileW(copy->c_str());
    if (!bytes) {
        return Outcome::Failed;
    }
    const UniqueFile handle = open(file, GENERIC_WRITE);
    if (!handle) {
        return ::GetLastError() == ERROR_ACCESS_DENIED ? Outcome::Refused : Outcome::Failed;
    }
    DWORD written = 0;
    return ::WriteFile(handle.get().value, bytes->data(), static_cast<DWORD>(bytes->size()),
                       &written, nullptr) &&
                   written == bytes->size() && ::SetEndOfFile(handle.get().value) &&
                   ::FlushFileBuffers(handle.get().value)
               ? Outcome::Written
               : Outcome::Failed;
}

// The system's functions read a file without a UTF-16 mark in the ANSI code page and write all of
// it back in that code page. Bytes that are no text there, as in a file saved as UTF-8, would come
// back changed in lines that no save touches.
bool survivesTheSystemsWrite(const std::wstring& path) {
    if (!exists(path)) {
        return true;
    }
    const std::optional<std::string> bytes = contentsOf(path);
    return bytes && (bytes->starts_with("\xFF\xFE") ||
                     win32text::narrow(win32text::wide(*bytes, CP_ACP), CP_ACP) == *bytes);
}

// Stores the values in file, starting from what source holds. Refused means that the user may
// neither create the file nor change it, the case in which Windows would virtualise it.
Outcome write(const std::wstring& file, const std::wstring& source, std::string_view section,
              std::initializer_list<KeyValue> values) {
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    const bool present = attributes != INVALID_FILE_ATTRIBUTES;
    // A file marked read-only is one its user wants left alone; a folder is no settings file.
    if (present && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return Outcome::Failed;
    }
    if (!survivesTheSystemsWrite(source)) {
        return Outcome::Failed;
    }
    const std::optional<std::wstring> copy = newCopy(folderOf(file));
    if (!copy) {
        if (::GetLastError() != ERROR_ACCESS_DENIED) {
            return Outcome::Failed;
        }
        return present ? overwrite(file, section, values) : Outcome::Refused;
    }
    // MoveFileExW renames within the folder, which on NTFS leaves either the old file or the new
    // one after a crash; Windows promises no atomic replace beyond that.
    const bool moved = fill(*copy, source, section, values) && flush(*copy) &&
                       ::MoveFileExW(copy->c_str(), file.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!moved) {
        ::DeleteFileW(copy->c_str());
    }
    return moved ? Outcome::Written : Outcome::Failed;
}

// Nothing where the key is missing.
std::optional<std::string> storedValue(std::string_view section, std::string_view key) {
    // No value read from a file holds a line break: this one comes back only for a missing key.
    constexpr char kMissing[] = "\n-";
    char buffer[kReadBufferBytes] = {};
    ::GetPrivateProfileStringA(toAnsi(section).c_str(), toAnsi(key).c_str(), kMissing, buffer,
                               kReadBufferBytes, win32text::narrow(fileInUse(), CP_ACP).c_str());
    // Wine leaves the split character's byte of a cut value unwritten and counts it anyway: the
    // value ends at its first zero byte.
    const std::string_view read(buffer, ::strnlen(buffer, kMaxValueBytes));
    return read == kMissing ? std::nullopt : std::optional(fromAnsi(read));
}

bool writeHoldingTheLock(std::string_view section, std::initializer_list<KeyValue> values) {
    const std::wstring system = systemFile();
    const std::optional<std::wstring> perUser = perUserFile();
    removeLeftoverCopies(folderOf(system));
    if (perUser) {
        removeLeftoverCopies(folderOf(*perUser));
    }
    if (const std::optional<std::wstring> temporary = temporaryFolder()) {
        removeLeftoverCopies(*temporary);
    }
    if (perUser && exists(*perUser)) {
        return write(*perUser, *perUser, section, values) == Outcome::Written;
    }
    const Outcome outcome = write(system, system, section, values);
    if (outcome != Outcome::Refused || !perUser) {
        return outcome == Outcome::Written;
    }
    ::CreateDirectoryW(folderOf(*perUser).c_str(), nullptr);
    return write(*perUser, system, section, values) == Outcome::Written;
}

}  // namespace

std::string GetIniPath() {
    return win32text::narrow(fileInUse());
}

std::string ReadIniValue(std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
    std::optional<std::string> value = storedValue(section, key);
    if (storesDefault(value, defaultValue)) {
        // Another copy may have saved the key since: that is looked at again once the save's lock
        // is held.
        const SaveLock lock;
        if (lock.held()) {
            value = storedValue(section, key);
            if (storesDefault(value, defaultValue)) {
                writeHoldingTheLock(section, {{key, defaultValue}});
            }
        }
    }
    return value && !value->empty() ? *std::move(value) : std::string(defaultValue);
}

bool WriteIniValues(std::string_view section, std::initializer_list<KeyValue> values) {
    const SaveLock lock;
    return lock.held() && writeHoldingTheLock(section, values);
}

}  // namespace rwini
