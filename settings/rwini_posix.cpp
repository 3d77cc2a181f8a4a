// The settings file outside Windows: the project's own INI reader and writer over a file in the
// user's configuration folder, replaced atomically on every write.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>

#include "settings/ini_document.h"
#include "settings/rwini.h"

namespace rwini {
namespace {

constexpr mode_t kNewFileMode = 0644;

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
    mode_t mode = kNewFileMode;
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
    FileContents contents{{}, static_cast<mode_t>(info.st_mode & 07777)};
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

// Writes a temporary file beside the target and renames it over the target, so that a crash or
// a full disk leaves either the old file or the new one, never a part of either.
bool replaceFile(const std::string& path, std::string_view bytes, mode_t mode) {
    std::string temporary = path + ".tmp-XXXXXX";
    FileDescriptor file(::mkstemp(temporary.data()));
    if (file.get() < 0) {
        return false;
    }
    // Some file systems refuse permission changes; the file is then kept private, not lost.
    ::fchmod(file.get(), mode);
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

// A settings file kept as a symbolic link (into a dotfiles repository, say) stays one: the write
// goes to the file the link names.
std::string linkTarget(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> target(::realpath(path.c_str(), nullptr),
                                                             &std::free);
    return target ? std::string(target.get()) : path;
}

std::string configFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') {
        return configHome;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
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

}  // namespace

std::string GetIniPath() {
    return configFolder() + "/定时关机参数配置.ini";
}

std::string ReadIniValue(std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
    std::string value;
    if (const auto file = readFile(GetIniPath())) {
        value = cutValue(IniDocument(file->bytes).value(section, key).value_or(""));
    }
    if (value.empty()) {
        WriteIniValue(section, key, defaultValue);
        return std::string(defaultValue);
    }
    return value;
}

bool WriteIniValues(std::string_view section, std::initializer_list<KeyValue> values) {
    const std::string path = linkTarget(GetIniPath());
    std::error_code error;
    std::filesystem::create_directories(folderOf(path), error);
    if (error) {
        return false;
    }
    const auto file = readFile(path);
    if (!file) {
        return false;
    }
    IniDocument document(file->bytes);
    for (const KeyValue& entry : values) {
        if (!document.setValue(section, entry.key, entry.value)) {
            return false;
        }
    }
    return replaceFile(path, document.text(), file->mode);
}

}  // namespace rwini
