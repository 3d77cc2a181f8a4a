#include "settings/rwini.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace rwini {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;

// Sets an environment variable for one test and puts the old value back afterwards.
class EnvironmentVariable {
  public:
    explicit EnvironmentVariable(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) {
            saved_ = value;
        }
    }
    ~EnvironmentVariable() {
        if (saved_) {
            ::setenv(name_, saved_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    void set(const fs::path& value) const { ::setenv(name_, value.c_str(), 1); }
    void unset() const { ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string repeated(std::string_view text, int times) {
    std::string result;
    while (times-- > 0) {
        result += text;
    }
    return result;
}

class SettingsFile : public testing::Test {
  protected:
    SettingsFile() {
        std::string pattern = (fs::temp_directory_path() / "vorlix-settings-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        configHome_.set(root_ / "config");
        home_.set(root_ / "home");
    }
    ~SettingsFile() override { fs::remove_all(root_); }

    fs::path iniPath() const { return root_ / "config" / "定时关机参数配置.ini"; }
    std::string contents() const { return readBytes(iniPath()); }
    void store(std::string_view bytes) const {
        fs::create_directories(iniPath().parent_path());
        std::ofstream(iniPath(), std::ios::binary) << bytes;
    }

    EnvironmentVariable configHome_{"XDG_CONFIG_HOME"};
    EnvironmentVariable home_{"HOME"};
    fs::path root_;
};

TEST_F(SettingsFile, FirstRunCreatesFolderAndFileWithTheModeTheUmaskAllows) {
    EXPECT_EQ(GetIniPath(), iniPath().string());
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    EXPECT_EQ(contents(), "[参数设置]\n开始年份=\n");
    EXPECT_EQ(fs::status(iniPath()).permissions(), fs::perms(0644));

    fs::remove(iniPath());
    const mode_t saved = ::umask(077);
    EXPECT_TRUE(WriteIniValue(kSection, kStartYearKey, "2020"));
    ::umask(saved);
    EXPECT_EQ(fs::status(iniPath()).permissions(), fs::perms(0600));
}

TEST_F(SettingsFile, MissingOrEmptyValueGivesTheDefaultAndStoresIt) {
    EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "2099"), "2099");
    EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "2050"), "2099");
    store("[参数设置]\n开始年份=\n");
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2020"), "2020");
    EXPECT_EQ(contents(), "[参数设置]\n开始年份=2020\n");
}

TEST_F(SettingsFile, ValuesComeBackUntrimmedAndCutOnACharacterBoundary) {
    const std::string year = "年";  // three bytes
    const struct {
        std::string stored, expected;
    } cases[] = {
        {" 2000 ", " 2000 "},
        {std::string(200, '7'), std::string(kMaxValueBytes, '7')},
        {repeated(year, 60), repeated(year, 47)},
        {"a" + repeated(year, 60), "a" + repeated(year, 47)},
        {"ab" + repeated(year, 60), "ab" + repeated(year, 47)},
        {"12\0 34"s, "12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        store("[参数设置]\n开始年份=" + c.stored + "\n");
        EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "x"), c.expected);
    }
}

TEST_F(SettingsFile, WriteKeepsTheRestOfTheFileByteForByte) {
    const std::string before =
        "; 注释\r\n[其他]\r\nx = 1 \r\n\r\n[参数设置]\r\n结束年份=2099\r\n  开始年份 =2014\r\n\r\n"
        "garbage";
    store(before);
    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2020"));
    ASSERT_TRUE(WriteIniValue("新的", "k", "v"));
    EXPECT_EQ(
        contents(),
        "; 注释\r\n[其他]\r\nx = 1 \r\n\r\n[参数设置]\r\n结束年份=2099\r\n  开始年份 =2020\r\n\r\n"
        "garbage\r\n[新的]\r\nk=v\r\n");
}

TEST_F(SettingsFile, WriteReplacesTheFileAtomicallyKeepingModeAndOwner) {
    store("[参数设置]\n开始年份=2014\n");
    fs::permissions(iniPath(), fs::perms(0640));
    struct stat before {};
    ASSERT_EQ(::stat(iniPath().c_str(), &before), 0);

    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2020"));
    struct stat after {};
    ASSERT_EQ(::stat(iniPath().c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    if (::geteuid() == 0) {  // root saving a user's file leaves it the user's
        ASSERT_EQ(::chown(iniPath().c_str(), 65534, 65534), 0);
        ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2021"));
        ASSERT_EQ(::stat(iniPath().c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, 65534u);
        EXPECT_EQ(after.st_gid, 65534u);
    }
    const fs::directory_iterator folder(iniPath().parent_path());
    EXPECT_EQ(std::distance(begin(folder), end(folder)), 1);
}

TEST_F(SettingsFile, LinkedFileStaysALinkAlsoBeforeItsFileExists) {
    const fs::path target = root_ / "dotfiles" / "settings.ini";
    fs::create_directories(target.parent_path());
    fs::create_directories(iniPath().parent_path());
    fs::create_symlink("../dotfiles/settings.ini", iniPath());

    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2020"));
    EXPECT_TRUE(fs::is_symlink(iniPath()));
    EXPECT_EQ(readBytes(target), "[参数设置]\n开始年份=2020\n");
}

TEST_F(SettingsFile, ByteOrderMarkIsRecognisedAndKept) {
    store("\xEF\xBB\xBF[参数设置]\r\n开始年份=2000\r\n");
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "2000");
    ASSERT_TRUE(WriteIniValue(kSection, kEndYearKey, "2099"));
    EXPECT_EQ(contents(), "\xEF\xBB\xBF[参数设置]\r\n开始年份=2000\r\n结束年份=2099\r\n");
}

TEST_F(SettingsFile, BothKeysGoInOneReplacementOrNotAtAll) {
    store("[参数设置]\n开始年份=2000\n结束年份=2099\n");
    EXPECT_FALSE(WriteIniValues(kSection, {{kStartYearKey, "2010"}, {kEndYearKey, "20\n30"}}));
    EXPECT_EQ(contents(), "[参数设置]\n开始年份=2000\n结束年份=2099\n");
    ASSERT_TRUE(WriteIniValues(kSection, {{kStartYearKey, "2010"}, {kEndYearKey, "2030"}}));
    EXPECT_EQ(contents(), "[参数设置]\n开始年份=2010\n结束年份=2030\n");
}

TEST_F(SettingsFile, SavesTakeTurnsAndRemoveLeftoverTemporaryFiles) {
    store("[参数设置]\n开始年份=2000\n");
    const fs::path leftover = iniPath().string() + ".tmp-k9x2ab";
    const fs::path foreign = iniPath().parent_path() / "other.ini.tmp-k9x2ab";
    std::ofstream(leftover) << "half";
    std::ofstream(foreign) << "not ours";
    const int folder = ::open(iniPath().parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(folder, LOCK_EX), 0);

    const pid_t child = ::fork();
    if (child == 0) {
        ::close(folder);  // the lock belongs to the parent's open folder, not to this copy of it
        ::_exit(WriteIniValue(kSection, kStartYearKey, "2020") ? 0 : 1);
    }
    ::usleep(200'000);
    EXPECT_EQ(contents(), "[参数设置]\n开始年份=2000\n");
    ::close(folder);
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(contents(), "[参数设置]\n开始年份=2020\n");
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::exists(foreign));
}

TEST_F(SettingsFile, WriteFailsAndTouchesNothingWhenThePlaceIsUnusable) {
    const fs::path notAFolder = root_ / "file";
    std::ofstream(notAFolder) << "keep";
    configHome_.set(notAFolder);
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2020"));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2014"), "2014");
    EXPECT_EQ(readBytes(notAFolder), "keep");

    // An existing file that cannot be read must not be replaced by one holding only the key.
    configHome_.set(root_ / "config");
    fs::create_directories(iniPath().parent_path());
    ASSERT_EQ(::mkfifo(iniPath().c_str(), 0644), 0);
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2020"));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2014"), "2014");
    EXPECT_TRUE(fs::is_fifo(iniPath()));

    // A file its user made read-only stays as it is, even for root.
    fs::remove(iniPath());
    store("[参数设置]\n开始年份=2000\n");
    fs::permissions(iniPath(), fs::perms(0444));
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2020"));
    EXPECT_EQ(contents(), "[参数设置]\n开始年份=2000\n");
}

TEST_F(SettingsFile, ConfigFolderFallsBackToHome) {
    const std::string inHome = (root_ / "home" / ".config" / "定时关机参数配置.ini").string();
    configHome_.set("relative/config");
    EXPECT_EQ(GetIniPath(), inHome);
    configHome_.set("");
    EXPECT_EQ(GetIniPath(), inHome);
    configHome_.unset();
    EXPECT_EQ(GetIniPath(), inHome);
    home_.unset();
    EXPECT_EQ(GetIniPath(),
              std::string(::getpwuid(::getuid())->pw_dir) + "/.config/定时关机参数配置.ini");
}

}  // namespace
}  // namespace rwini
