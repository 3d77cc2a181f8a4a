// The settings file as each platform keeps it: the same promises first, then what only one of them
// has (permissions and links outside Windows; GBK, the fixed path and its per-user copy on it).
#include "settings/rwini.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "temp_config_dir.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

using namespace rwini;
namespace fs = std::filesystem;
using namespace std::literals;
using testing_support::store;

// How many characters of "年" fit in a value, and what fills its last bytes exactly with them.
#ifdef _WIN32
constexpr int kYearsKept = 71;  // two bytes each in GBK
const std::string kFill = "x";
#else
constexpr int kYearsKept = 47;  // three in UTF-8
const std::string kFill = "ab";
#endif

class SettingsFile : public testing::Test {
  protected:
    static void setReadOnly(const fs::path& file, bool on) {
#ifdef _WIN32
        ::SetFileAttributesW(file.c_str(), on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
#else
        fs::permissions(file, on ? fs::perms(0444) : fs::perms(0644));
#endif
    }
    // Whether the file's folder holds any copy that a save made on its way.
    bool copyLeftBehind() const {
        return std::ranges::any_of(fs::directory_iterator(iniPath.parent_path()), [](auto& entry) {
            return entry.path().filename().string().find(".tmp") != std::string::npos;
        });
    }

    testing_support::TempConfigDir config;
#ifdef _WIN32
    const fs::path iniPath = fs::u8path("C:\\定时关机参数配置.ini");
    // The user's own copy; the test's folder stands for %LOCALAPPDATA%.
    const fs::path perUser =
        config.root() / "AppData/VirtualStore" / fs::u8path("定时关机参数配置.ini");
#else
    const fs::path iniPath = config.root() / "config" / "定时关机参数配置.ini";
#endif
};

TEST_F(SettingsFile, FirstReadStoresTheDefaultOnce) {
#ifdef _WIN32
    ASSERT_EQ(::GetACP(), 936u) << "the tests need a Simplified-Chinese ANSI code page";
#endif
    EXPECT_EQ(fs::u8path(GetIniPath()), iniPath);
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "2099"), "2099");
    EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "2050"), "2099");
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=\n结束年份=2099\n");
    // A key that already holds what its default would store leaves the file untouched.
    const auto old = std::chrono::floor<std::chrono::seconds>(fs::last_write_time(iniPath) - 24h);
    fs::last_write_time(iniPath, old);
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    EXPECT_EQ(fs::last_write_time(iniPath), old);
#ifndef _WIN32  // with the mode the umask allows
    EXPECT_EQ(fs::status(iniPath).permissions(), fs::perms(0644));
    fs::remove(iniPath);
    const mode_t saved = ::umask(077);
    EXPECT_TRUE(WriteIniValue(kSection, kStartYearKey, "2020"));
    ::umask(saved);
    EXPECT_EQ(fs::status(iniPath).permissions(), fs::perms(0600));
#endif
}

TEST_F(SettingsFile, ValuesComeBackCutOnACharacterBoundary) {
    std::string years, cut;
    for (int i = 0; i < 100; ++i) {
        years += "年";
        cut += i < kYearsKept ? "年" : "";
    }
    const std::pair<std::string, std::string> cases[] = {
        {"", "默认"},  // an empty value is the default, which is stored
        {std::string(200, '7'), std::string(kMaxValueBytes, '7')},
        {years, cut},
        {kFill + years, kFill + cut},
        {"a=b", "a=b"},
#ifndef _WIN32  // where the system's functions do not read the file
        {" 2000 ", " 2000 "},
        {"12\0 34"s, "12"},
#endif
    };
    for (const auto& [stored, read] : cases) {
        config.writeIni("[参数设置]\n开始年份=" + stored + "\n");
        EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "默认"), read) << stored;
    }
}

TEST_F(SettingsFile, ASaveSetsItsKeysKeepsTheRestAndLeavesNoCopyBehind) {
    config.writeIni("[其他]\r\n名字=值\r\n[参数设置]\r\n开始年份=1\r\n");
    ASSERT_TRUE(WriteIniValues(kSection, {{kStartYearKey, "2000"}, {kEndYearKey, "2099"}}));
    EXPECT_EQ(config.readIni(), "[其他]\n名字=值\n[参数设置]\n开始年份=2000\n结束年份=2099\n");
#ifndef _WIN32  // byte for byte, and into a new file, with the old one's mode and owner
    config.writeIni(
        "\xEF\xBB\xBF; 注释\r\n[其他]\r\nx = 1 \r\n\r\n[参数设置]\r\n  开始年份 =2014\r\ngarbage");
    fs::permissions(iniPath, fs::perms(0640));
    EXPECT_FALSE(WriteIniValues(kSection, {{kStartYearKey, "2010"}, {kEndYearKey, "20\n30"}}));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "2014");
    ASSERT_TRUE(WriteIniValues(kSection, {{kStartYearKey, "2020"}, {kEndYearKey, "2030"}}));
    struct stat before {};
    struct stat after {};
    ASSERT_EQ(::stat(iniPath.c_str(), &before), 0);
    ASSERT_TRUE(WriteIniValue("新的", "k", "v"));
    ASSERT_EQ(::stat(iniPath.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(testing_support::contentsOf(iniPath),
              "\xEF\xBB\xBF; 注释\r\n[其他]\r\nx = 1 \r\n\r\n[参数设置]\r\n  开始年份 =2020\r\n"
              "结束年份=2030\r\ngarbage\r\n[新的]\r\nk=v\r\n");
    EXPECT_EQ(ReadIniValue("其他", "x", ""), " 1 ");
    EXPECT_EQ(fs::status(iniPath).permissions(), fs::perms(0640));
    if (::geteuid() == 0) {  // root saving a user's file leaves it the user's
        ASSERT_EQ(::chown(iniPath.c_str(), 65534, 65534), 0);
        ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2021"));
        ASSERT_EQ(::stat(iniPath.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid + after.st_gid, 2 * 65534u);
    }
#endif
    EXPECT_FALSE(copyLeftBehind());
}

// A file its user made read-only (even for root) is refused, not replaced; where no file can be
// written a start reads the default and writes nothing.
TEST_F(SettingsFile, AFileThatCannotBeWrittenIsLeftAsItWas) {
    config.writeIni("[参数设置]\n开始年份=2000\n");
    setReadOnly(iniPath, true);
    EXPECT_FALSE(WriteIniValues(kSection, {{kStartYearKey, "2010"}, {kEndYearKey, "2020"}}));
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2000\n");
    setReadOnly(iniPath, false);
#ifdef _WIN32  // nor does the save move to the user's own copy, which is refused the same way
    EXPECT_FALSE(fs::exists(perUser));
    store(perUser, "[参数设置]\n开始年份=2000\n");
    setReadOnly(perUser, true);
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2010"));
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2000\n");
    setReadOnly(perUser, false);
    fs::remove(perUser);
#endif
    config.makeUnwritable();
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2000"));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2001"), "2001");
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2002"), "2002");
}

// Copies that a crash between copying and moving left: the program's own names only.
TEST_F(SettingsFile, ASaveRemovesLeftoverCopiesAndNothingElse) {
    const fs::path own = iniPath.parent_path();
#ifdef _WIN32
    const fs::path virtualStore = perUser.parent_path(), temp = fs::temp_directory_path();
    const std::pair<fs::path, bool> files[] = {
        {own / "vlx1A2B.tmp", true},  {virtualStore / "vlx0.tmp", true},
        {temp / "vlxbeef.tmp", true}, {own / "vlx12345.tmp", false},
        {own / "vlxnote.tmp", false}, {own / "vlx1a2b.txt", false},
        {temp / "abc1.tmp", false},   {virtualStore / "vlx1.tmp.x", false},
    };
#else
    const std::pair<fs::path, bool> files[] = {
        {iniPath.string() + ".tmp-k9x2ab", true},
        {iniPath.string() + ".tmp-k9x2a", false},
        {own / "other.ini.tmp-k9x2ab", false},
    };
#endif
    for (const auto& [file, leftover] : files) {
        store(file, "x");
    }
    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2000"));
    for (const auto& [file, leftover] : files) {
        EXPECT_EQ(fs::exists(file), !leftover) << file.string();
        fs::remove(file);
    }
}

// A save, and a start that finds the end year missing, wait while another copy's save holds the
// lock; that save stores the end year, which the start must then leave as it is and read.
TEST_F(SettingsFile, SavesAndStartsWaitForAnotherCopysSave) {
    config.writeIni("[参数设置]\n开始年份=2000\n");
#ifdef _WIN32
    const HANDLE lock = ::CreateMutexW(nullptr, TRUE, L"Local\\Vorlix定时关机参数配置");
    ASSERT_TRUE(lock != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS);
#else
    const int lock = ::open(iniPath.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
#endif
    bool saved = false;
    std::string read;
    std::thread save([&] { saved = WriteIniValue(kSection, kStartYearKey, "2020"); });
    std::thread start([&] { read = ReadIniValue(kSection, kEndYearKey, ""); });
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2000\n");
    config.writeIni("[参数设置]\n开始年份=2000\n结束年份=2099\n");
#ifdef _WIN32
    ::ReleaseMutex(lock);
    ::CloseHandle(lock);
#else
    ::close(lock);
#endif
    save.join();
    start.join();
    EXPECT_TRUE(saved);
    EXPECT_EQ(read, "2099");
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2020\n结束年份=2099\n");
}

#ifdef _WIN32
// A file saved as UTF-8, as Notepad does by default, is no text in the ANSI code page: neither a
// start nor a save may write it back. One in UTF-16 the system's functions write as it is.
TEST_F(SettingsFile, AFileInAnotherEncodingIsWrittenOnlyWhereTheSystemKeepsIt) {
    const std::string utf8 = "[参数设置]\r\n开始年份=2005\r\n";
    std::ofstream(iniPath, std::ios::binary) << utf8;
    EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "2099"), "2099");
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2010"));
    EXPECT_EQ(testing_support::contentsOf(iniPath), utf8);

    const std::wstring utf16 = L"\xFEFF; 美\r\n[参数设置]\r\n开始年份=2005\r\n";
    std::ofstream(iniPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(utf16.data()), std::streamsize(utf16.size() * 2));
    ASSERT_TRUE(WriteIniValue(kSection, kEndYearKey, "2010"));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "") + ReadIniValue(kSection, kEndYearKey, ""),
              "20052010");
}
#else
TEST_F(SettingsFile, LinkedFileStaysALinkAlsoBeforeItsFileExists) {
    fs::create_directories(config.root() / "dotfiles");
    fs::create_directories(iniPath.parent_path());
    fs::create_symlink("../dotfiles/settings.ini", iniPath);
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2020"));
    EXPECT_TRUE(fs::is_symlink(iniPath));
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2020\n");
}

// A file that cannot be read, a full disk, or a folder that takes no new file: the write fails and
// nothing changes.
TEST_F(SettingsFile, WriteFailsAndTouchesNothingWhenTheFileIsUnusable) {
    fs::create_directories(iniPath.parent_path());
    ASSERT_EQ(::mkfifo(iniPath.c_str(), 0644), 0);
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2020"));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2014"), "2014");
    EXPECT_TRUE(fs::is_fifo(iniPath));

    fs::remove(iniPath);
    config.writeIni("[参数设置]\n开始年份=2000\n");
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit full{16, limit.rlim_max};  // a file may grow to 16 bytes
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2020"));
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2000\n");

    // The user's own file in a folder the user may not write to. Root may write to any folder, so
    // the save runs as a user without its rights.
    if (::geteuid() == 0) {
        for (const fs::path& path : {config.root(), iniPath.parent_path(), iniPath}) {
            ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        }
    }
    fs::permissions(iniPath.parent_path(), fs::perms(0555));
    const pid_t child = ::fork();
    if (child == 0) {
        const bool unprivileged =
            ::geteuid() != 0 ||
            (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
        const bool reads = unprivileged && ReadIniValue(kSection, kStartYearKey, "") == "2000";
        ::_exit(reads && !WriteIniValue(kSection, kStartYearKey, "2020") ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    fs::permissions(iniPath.parent_path(), fs::perms(0755));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2000\n");
}

TEST_F(SettingsFile, ConfigFolderFallsBackToHome) {
    const std::string inHome = (config.root() / "home/.config/定时关机参数配置.ini").string();
    for (const char* configHome : {"relative/config", ""}) {
        ::setenv("XDG_CONFIG_HOME", configHome, 1);
        EXPECT_EQ(GetIniPath(), inHome);
    }
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(GetIniPath(), inHome);
    ::setenv("HOME", "/", 1);  // a home of one character is still one
    EXPECT_EQ(GetIniPath(), "//.config/定时关机参数配置.ini");
    // A relative home would put the file wherever the program was started.
    for (const char* home : {"", "relative/home", static_cast<const char*>(nullptr)}) {
        home != nullptr ? ::setenv("HOME", home, 1) : ::unsetenv("HOME");
        EXPECT_EQ(GetIniPath(), ::getpwuid(::getuid())->pw_dir + "/.config/定时关机参数配置.ini"s)
            << (home != nullptr ? home : "unset");
    }
}
#endif
