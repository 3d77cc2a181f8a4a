// The settings file through the system's private-profile functions: GBK on disk, UTF-8 in the
// program, written through a copy that replaces the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/win32_text.h"
#include "settings/rwini.h"
#include "temp_config_dir.h"

namespace rwini {
namespace {

// The bytes a Simplified-Chinese Windows keeps for UTF-8 text.
std::string gbk(const std::string& utf8) {
    return win32text::narrow(win32text::wide(utf8), 936);
}

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

class Win32Settings : public ::testing::Test {
  protected:
    std::string fileBytes() const {
        std::string bytes;
        if (FILE* file = ::_wfopen(config.iniPath().c_str(), L"rb")) {
            char chunk[512];
            for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
                bytes.append(chunk, n);
            }
            std::fclose(file);
        }
        return bytes;
    }

    testing_support::TempConfigDir config;
};

TEST_F(Win32Settings, RunsInTheChineseCodePageAtTheFixedPath) {
    ASSERT_EQ(::GetACP(), 936u) << "the tests need a Simplified-Chinese ANSI code page";
    EXPECT_EQ(GetIniPath(), "C:\\定时关机参数配置.ini");
}

TEST_F(Win32Settings, FirstReadCreatesTheFileWithTheEmptyKeyInGbk) {
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "");
    EXPECT_EQ(fileBytes(), gbk("[参数设置]\r\n开始年份=\r\n"));
}

TEST_F(Win32Settings, StoresTheFileInGbkWithWindowsLineEnds) {
    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2010"));
    EXPECT_EQ(fileBytes(), gbk("[参数设置]\r\n开始年份=2010\r\n"));
    EXPECT_EQ(config.readIni(), "[参数设置]\n开始年份=2010\n");
}

TEST_F(Win32Settings, ValuesComeBackAsWritten) {
    for (const char* value : {"2000", "二〇二〇年", "9999", "a=b"}) {
        ASSERT_TRUE(WriteIniValue(kSection, kEndYearKey, value)) << value;
        EXPECT_EQ(ReadIniValue(kSection, kEndYearKey, "默认"), value);
    }
}

TEST_F(Win32Settings, AMissingKeyKeepsTheFirstDefaultItWasReadWith) {
    ASSERT_TRUE(WriteIniValue(kSection, kEndYearKey, "2099"));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2001"), "2001");
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2002"), "2001");
    EXPECT_EQ(config.readIni(), "[参数设置]\n结束年份=2099\n开始年份=2001\n");
}

TEST_F(Win32Settings, KeepsOtherSectionsAndLeavesNoCopyBehind) {
    config.writeIni("[其他]\r\n名字=值\r\n");
    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2000"));
    ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, "2001"));

    EXPECT_EQ(ReadIniValue("其他", "名字", ""), "值");
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), "2001");
    for (const auto& entry : std::filesystem::directory_iterator(config.iniPath().parent_path())) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path().string();
    }
}

// 143 bytes of GBK hold 71 characters and the first byte of the 72nd, which must not come back.
TEST_F(Win32Settings, LongValuesAreCutToWholeCharactersWithin143Bytes) {
    const std::pair<std::string, std::string> cuts[] = {
        {std::string(200, '7'), std::string(143, '7')},
        {repeated("年", 100), repeated("年", 71)},
        {"x" + repeated("年", 100), "x" + repeated("年", 71)},
    };
    for (const auto& [stored, read] : cuts) {
        ASSERT_TRUE(WriteIniValue(kSection, kStartYearKey, stored));
        EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, ""), read);
    }
}

TEST_F(Win32Settings, AFileThatCannotBeWrittenFailsAndReadsTheDefault) {
    config.makeUnwritable();
    EXPECT_FALSE(WriteIniValue(kSection, kStartYearKey, "2000"));
    EXPECT_EQ(ReadIniValue(kSection, kStartYearKey, "2001"), "2001");
    EXPECT_TRUE(std::filesystem::is_directory(config.iniPath()));
}

}  // namespace
}  // namespace rwini
