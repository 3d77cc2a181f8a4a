// The settings file outside Windows: the project's own INI reader and writer over a file in the
// user's configuration folder, replaced atomically on every write.
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

#include "settings/ini_document.h"
#include "settings/rwini.h"

namespace rwini {
namespace {

constexpr std::string_view kTemporaryMark = ".tmp-";

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { close(); }

    int get() const { return fd_; }
    // Closing reports the write errors some file systems hold back until then.
    bool close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

struct FileContents {
    std::string bytes;
    // Nothing for a file that does not exist yet.
    std::optional<struct stat> info;
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A missing file reads as empty; nullopt means the file exists but could not be read, and then
// it must not be replaced, or the user's other content would be lost.
std::optional<FileContents> readFile(const std::string& path) {
    // O_NONBLOCK keeps a FIFO in the file's place from hanging the program.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        return errno == ENOENT ? std::optional(FileContents{}) : std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    FileContents contents{{}, info};
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (count == 0) {
            return contents;
        }
        contents.bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

// A file the user has made read-only stays as it is, as on Windows, even for root, who could
// write it anyway; replacing it needs no right on the file at all, only on its folder.
bool mayChange(const std::string& path, const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

// Opens a new temporary file beside the target and names it in `name`; -1 when none can be made.
// Created with mode 0666 so that the user's umask decides what a new settings file may be; the
// mode of an existing one is copied afterwards.
int createTemporary(const std::string& path, std::string& name) {
    constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + std::string(kTemporaryMark);
        for (int i = 0; i < 6; ++i) {
            name += kLetters[random() % kLetters.size()];
        }
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Writes a temporary file beside the target and renames it over the target, so that a crash or
// a full disk leaves either the old file or the new one, never a part of either. An existing
// file's mode, owner and group go to the new one (the owner only where the process may set it:
// root saving a user's file must not take it from the user).
bool replaceFile(const std::string& path, std::string_view bytes,
                 const std::optional<struct stat>& old) {
    std::string temporary;
    FileDescriptor file(createTemporary(path, temporary));
    if (file.get() < 0) {
        return false;
    }
    if (old) {
        [[maybe_unused]] const int ignored = ::fchown(file.get(), old->st_uid, old->st_gid);
        // Some file systems refuse permission changes; the file then keeps the umask's mode.
        ::fchmod(file.get(), old->st_mode & 07777);
    }
    if (!writeAll(file.get(), bytes) || ::fsync(file.get()) != 0 || !file.close() ||
        ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Makes the rename itself durable; the new file is in place whether or not this succeeds.
    const FileDescriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
    return true;
}

// Temporary files that a save killed half-way left behind. Only called under the lock, when no
// other save can be using one.
void removeLeftovers(const std::string& path) {
    const std::filesystem::path settings(path);
    const std::string prefix = settings.filename().string() + std::string(kTemporaryMark);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(settings.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix)) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

// Holds the settings file's folder locked for the read, change and replace of one save, so that
// two copies of the program saving at once cannot mix their values. The folder, since the file
// itself is replaced by every save.
class FolderLock {
  public:
    explicit FolderLock(const std::string& folder)
        : folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        while (folder_.get() >= 0 && ::flock(folder_.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    // Closing the folder releases the lock.

  private:
    FileDescriptor folder_;
};

// A settings file kept as a symbolic link (into a dotfiles repository, say) stays one: the write
// goes to the file the link names, also when that file does not exist yet.
std::string linkTarget(std::string path) {
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target.string() : folderOf(path) + "/" + target.string();
    }
    return path;
}

std::string configFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') {
        return configHome;
    }
    // A relative home, like a relative XDG_CONFIG_HOME, would put the file wherever the program
    // happened to be started.
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : "";
    }
    return std::string(home) + "/.config";
}

// Cuts at the first NUL and to kMaxValueBytes, backing off to the start of a UTF-8 character
// rather than splitting it (by at most three bytes, should the text not be UTF-8 at all).
std::string cutValue(std::string_view value) {
    value = value.substr(0, value.find('\0'));
    if (value.size() > kMaxValueBytes) {
        std::size_t end = kMaxValueBytes;
        const auto isContinuation = [&](std::size_t i) {
            return (static_cast<unsigned char>(value[i]) & 0xC0) == 0x80;
        };
        while (end > kMaxValueBytes - 3 && isContinuation(end)) {
            --end;
        }
        value = value.substr(0, end);
    }
    return std::string(value);
}

// Under the folder lock, reads the file, lets `change` edit it and replaces the file with the
// result, unless change returns false. True when the file was replaced.
template <typename Change>
bool changeFile(Change change) {
    const std::string path = linkTarget(GetIniPath());
    std::error_code error;
    std::filesystem::create_directories(folderOf(path), error);
    if (error) {
        return false;
    }
    const FolderLock lock(folderOf(path));
    removeLeftovers(path);
    const auto file = readFile(path);
    if (!file || (file->info && !mayChange(path, *file->info))) {
        return false;
    }
    IniDocument document(file->bytes);
    return change(document) && replaceFile(path, document.text(), file->info);
}

// Nothing where the key is missing.
std::optional<std::string> valueIn(const IniDocument& document, std::string_view section,
                                   std::string_view key) {
    const std::optional<std::string> value = document.value(section, key);
    return value ? std::optional(cutValue(*value)) : std::nullopt;
}

}  // namespace

std::string GetIniPath() {
    return configFolder() + "/定时关机参数配置.ini";
}

std::string ReadIniValue(std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
    const auto file = readFile(GetIniPath());
    std::optional<std::string> value =
        file ? valueIn(IniDocument(file->bytes), section, key) : std::nullopt;
    if (storesDefault(value, defaultValue)) {
        // Another copy may have saved the key since: that is looked at again once the save's lock
        // is held.
        changeFile([&](IniDocument& document) {
            value = valueIn(document, section, key);
            return storesDefault(value, defaultValue) &&
                   document.setValue(section, key, defaultValue);
        });
    }
    return value && !value->empty() ? *std::move(value) : std::string(defaultValue);
}

bool WriteIniValues(std::string_view section, std::initializer_list<KeyValue> values) {
    return changeFile([&](IniDocument& document) {
        return std::ranges::all_of(values, [&](const KeyValue& entry) {
            return document.setValue(section, entry.key, entry.value);
        });
    });
}

}  // namespace rwini
