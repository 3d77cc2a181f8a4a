#include "settings/rwini.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include "temp_config_dir.h"

using namespace rwini;
namespace fs = std::filesystem;
using namespace std::literals;

class SettingsFile : public testing::Test {
  protected:
    unsigned mode() const {
        return static_cast<unsigned>(fs::status(config.iniPath()).permissions());
    }

    testing_support::TempConfigDir config;
    const fs::path iniPath = config.root() / "config" / "定时关机参数配置.ini";
};

TEST_F(SettingsFile, FirstReadCreatesTheFileWithTheModeTheUmaskAllows) {
    EXPECT_EQ(GetIniPath(), iniPath.string());
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "2099"), "2099");
    EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "2050"), "2099");
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=\n结束年份=2099\n");
    EXPECT_EQ(mode(), 0644u);
    // An empty key read with an empty default stays as it is: the file is not replaced.
    struct stat before {};
    struct stat after {};
    ASSERT_EQ(::stat(iniPath.c_str(), &before), 0);
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    ASSERT_EQ(::stat(iniPath.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);

    fs::remove(iniPath);
    const mode_t saved = ::umask(077);
    EXPECT_TRUE(WriteIniValue(kSection, kStartYearKey, "2020"));
    ::umask(saved);
    EXPECT_EQ(mode(), 0600u);
}

TEST_F(SettingsFile, ValuesComeBackUntrimmedAndCutOnACharacterBoundary) {
    std::string years;  // three bytes each
    for (int i = 0; i < 60; ++i) {
        years += "年";
    }
    const std::string cut = years.substr(0, 47 * 3);
    const std::pair<std::string, std::string> cases[] = {
        {"", "默认"},  // an empty value is the default, which is stored
        {" 2000 ", " 2000 "}, {std::string(200, '7'), std::string(kMaxValueBytes, '7')},
        {years, cut},         {"ab" + years, "ab" + cut},
        {"12\0 34"s, "12"},
    };
    for (const auto& [stored, read] : cases) {
        config.writeIni("[参数设置]\n开始年份=" + stored + "\n");
        EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "默认"), read) << stored;
    }
}

TEST_F(SettingsFile, WriteKeepsTheRestOfTheFileByteForByte) {
    config.writeIni(
        "\xEF\xBB\xBF; 注释\r\n[其他]\r\nx = 1 \r\n\r\n[参数设置]\r\n  开始年份 =2014\r\ngarbage");
    ASSERT_TRUE(WriteIniValues(kSection, {{kStartYearKey, "2020"}, {kEndYearKey, "2030"}}));
    ASSERT_TRUE(WriteIniValue("新的", "k", "v"));
    EXPECT_EQ(config.readIni(),
              "\xEF\xBB\xBF; 注释\r\n[其他]\r\nx = 1 \r\n\r\n[参数设置]\r\n  开始年份 =2020\r\n"
              "结束年份=2030\r\ngarbage\r\n[新的]\r\nk=v\r\n");
    EXPECT_EQ(ReadIniValue("其他", "x", ""), " 1 ");
}

TEST_F(SettingsFile, WriteReplacesTheFileInOneStepKeepingModeAndOwner) {
    config.writeIni("[参数设置]\n开始年份=2000\n结束年份=2099\n");
    fs::permissions(iniPath, fs::perms(0640));
    struct stat before {};
    struct stat after {};
    ASSERT_EQ(::stat(iniPath.c_str(), &before), 0);
    EXPECT_FALSE(WriteIniValues(kSection, {{kStartYearKey, "2010"}, {kEndYearKey, "20\n30"}}));
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2000\n结束年份=2099\n");

    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2020"));
    ASSERT_EQ(::stat(iniPath.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(mode(), 0640u);
    if (::geteuid() == 0) {  // root saving a user's file leaves it the user's
        ASSERT_EQ(::chown(iniPath.c_str(), 65534, 65534), 0);
        ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2021"));
        ASSERT_EQ(::stat(iniPath.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid + after.st_gid, 2 * 65534u);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(iniPath.parent_path()), {}), 1);
}

TEST_F(SettingsFile, LinkedFileStaysALinkAlsoBeforeItsFileExists) {
    fs::create_directories(config.root() / "dotfiles");
    fs::create_directories(iniPath.parent_path());
    fs::create_symlink("../dotfiles/settings.ini", iniPath);
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2020"));
    EXPECT_TRUE(fs::is_symlink(iniPath));
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2020\n");
}

// A save, and a start that finds the end year missing, wait while another copy's save holds the
// lock; that save stores the end year, which the start must then leave as it is.
TEST_F(SettingsFile, SavesTakeTurnsAndRemoveLeftoverTemporaryFiles) {
    config.writeIni("[参数设置]\n开始年份=2000\n");
    const fs::path leftover = iniPath.string() + ".tmp-k9x2ab";
    const fs::path foreign = iniPath.parent_path() / "other.ini.tmp-k9x2ab";
    std::ofstream(leftover) << "half";
    std::ofstream(foreign) << "not ours";
    const int folder = ::open(iniPath.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(folder, LOCK_EX), 0);
    pid_t children[2] = {};
    for (const bool save : {true, false}) {
        children[save] = ::fork();
        if (children[save] == 0) {
            ::close(folder);  // the lock is the parent's open folder's, not this copy's
            ::_exit(save ? !WriteIniValue(kSection, kStartYearKey, "2020")
                         : ReadIniValue(kSection, kEndYearKey, "") != "2099");
        }
    }
    ::usleep(200'000);
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2000\n");
    config.writeIni("[参数设置]\n开始年份=2000\n结束年份=2099\n");
    ::close(folder);
    for (const pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2020\n结束年份=2099\n");
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::exists(foreign));
}

// A file that cannot be read, that its user made read-only (even for root), a full disk, or a
// folder that takes no new file: the write fails and nothing changes.
TEST_F(SettingsFile, WriteFailsAndTouchesNothingWhenTheFileIsUnusable) {
    fs::create_directories(iniPath.parent_path());
    ASSERT_EQ(::mkfifo(iniPath.c_str(), 0644), 0);
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2020"));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2014"), "2014");
    EXPECT_TRUE(fs::is_fifo(iniPath));

    fs::remove(iniPath);
    config.writeIni("[参数设置]\n开始年份=2000\n");
    fs::permissions(iniPath, fs::perms(0444));
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2020"));
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2000\n");

    fs::permissions(iniPath, fs::perms(0644));
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
