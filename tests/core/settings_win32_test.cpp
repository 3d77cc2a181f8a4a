// The settings file through the system's private-profile functions: GBK on disk, UTF-8 in the
// program, written through a copy that replaces the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32_handles.h"
#include "platform/win32_text.h"
#include "settings/rwini.h"
#include "temp_config_dir.h"

using namespace rwini;
namespace fs = std::filesystem;

class Win32Settings : public ::testing::Test {
  protected:
    // TEXT in GBK at PATH, as the program would have written it.
    static void store(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << win32text::narrow(win32text::wide(text), 936);
    }

    testing_support::TempConfigDir config;
    const fs::path inC = fs::u8path("C:\\定时关机参数配置.ini");
    // The user's own copy; the test's folder stands for %LOCALAPPDATA%.
    const fs::path perUser =
        config.root() / "AppData/VirtualStore" / fs::u8path("定时关机参数配置.ini");
};

TEST_F(Win32Settings, KeepsTheFileInGbkAtTheFixedPath) {
    ASSERT_EQ(::GetACP(), 936u) << "the tests need a Simplified-Chinese ANSI code page";
    EXPECT_EQ(GetIniPath(), "C:\\定时关机参数配置.ini");
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=\n");
    // Read again with the empty default, the empty key stays as it is: the file is not replaced.
    const auto fileIndex = [&] {
        const win32handles::UniqueFile file(::CreateFileW(inC.c_str(), 0, FILE_SHARE_READ, nullptr,
                                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                          nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        ::GetFileInformationByHandle(file.get().value, &info);
        return std::pair(info.nFileIndexHigh, info.nFileIndexLow);
    };
    const auto before = fileIndex();
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    EXPECT_EQ(fileIndex(), before);
    // A missing key keeps the first default it was read with.
    EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "2001"), "2001");
    EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "2002"), "2001");
    // 143 bytes of GBK hold 71 characters and the first byte of the 72nd, which must not come back.
    std::string many, cut;
    for (int i = 0; i < 100; ++i) {
        many += "年";
        cut += i < 71 ? "年" : "";
    }
    for (const auto& [stored, read] : {std::pair{std::string(200, '7'), std::string(143, '7')},
                                       {many, cut},
                                       {"x" + many, "x" + cut},
                                       {"a=b", "a=b"}}) {
        ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, stored));
        EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), read);
    }
}

TEST_F(Win32Settings, ASaveSetsBothKeysKeepsTheRestAndLeavesNoCopyBehind) {
    store(inC, "[其他]\r\n名字=值\r\n[参数设置]\r\n开始年份=1\r\n");
    ASSERT_TRUE(WriteIniValues(kSection, {{kStartYearKey, "2000"}, {kEndYearKey, "2099"}}));
    EXPECT_EQ(config.readIni(), "[其他]\n名字=值\n[参数设置]\n开始年份=2000\n结束年份=2099\n");
    for (const auto& entry : fs::directory_iterator("C:\\")) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path().string();
    }
}

// A read-only file, or a folder in its place, is refused, not replaced, and the save does not
// move to the user's own copy.
TEST_F(Win32Settings, AFileThatCannotBeWrittenIsRefusedAndLeftAsItWas) {
    for (const bool perUserCopy : {false, true}) {
        const fs::path file = perUserCopy ? perUser : inC;
        store(file, "[参数设置]\r\n开始年份=2000\r\n");
        ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
        EXPECT_FALSE(WriteIniValues(kSection, {{kStartYearKey, "2010"}, {kEndYearKey, "2020"}}));
        EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2000\n");
        EXPECT_EQ(fs::exists(perUser), perUserCopy);
        ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove(perUser);
    config.makeUnwritable();
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2000"));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2001"), "2001");
    EXPECT_TRUE(fs::is_directory(inC));
}

// A file saved as UTF-8, as Notepad does by default, is no text in the ANSI code page: neither a
// start nor a save may write it back. One in UTF-16 the system's functions write as it is.
TEST_F(Win32Settings, AFileInAnotherEncodingIsWrittenOnlyWhereTheSystemKeepsIt) {
    const std::string utf8 = "[参数设置]\r\n开始年份=2005\r\n";
    std::ofstream(inC, std::ios::binary) << utf8;
    EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "2099"), "2099");
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2010"));
    EXPECT_EQ(testing_support::contentsOf(inC), utf8);

    const std::wstring utf16 = L"\xFEFF; 美\r\n[参数设置]\r\n开始年份=2005\r\n";
    std::ofstream(inC, std::ios::binary)
        .write(reinterpret_cast<const char*>(utf16.data()), std::streamsize(utf16.size() * 2));
    ASSERT_TRUE(WriteIniValue(kSection, kEndYearKey, "2010"));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "") + ReadIniValue(kSection, kEndYearKey, ""),
              "20052010");
}

// Copies that a crash between copying and moving left: the program's own names only.
TEST_F(Win32Settings, ASaveRemovesLeftoverCopiesAndNothingElse) {
    const fs::path c("C:\\"), own = perUser.parent_path(), temp = fs::temp_directory_path();
    const std::pair<fs::path, bool> files[] = {
        {c / "vlx1A2B.tmp", true},   {own / "vlx0.tmp", true},    {temp / "vlxbeef.tmp", true},
        {c / "vlx12345.tmp", false}, {c / "vlxnote.tmp", false},  {c / "vlx1a2b.txt", false},
        {temp / "abc1.tmp", false},  {own / "vlx1.tmp.x", false},
    };
    for (const auto& [file, leftover] : files) {
        store(file, "x");
    }
    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2000"));
    for (const auto& [file, leftover] : files) {
        EXPECT_EQ(fs::exists(file), !leftover) << file.string();
        fs::remove(file);
    }
}

// A start that finds the end year missing waits while another copy's save holds the lock; that
// save stores the end year, which the start must then leave as it is and read.
TEST_F(Win32Settings, AStartWaitingForASaveKeepsWhatTheSaveStored) {
    store(inC, "[参数设置]\r\n开始年份=2000\r\n");
    const HANDLE lock = ::CreateMutexW(nullptr, TRUE, L"Local\\Vorlix定时关机参数配置");
    ASSERT_TRUE(lock != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS);
    std::string read;
    std::thread start([&] { read = ReadIniValue(kSection, kEndYearKey, ""); });
    ::Sleep(200);
    store(inC, "[参数设置]\r\n开始年份=2000\r\n结束年份=2099\r\n");
    ::ReleaseMutex(lock);
    start.join();
    ::CloseHandle(lock);
    EXPECT_EQ(read, "2099");
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2000\n结束年份=2099\n");
}
