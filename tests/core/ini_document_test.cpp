#include "settings/ini_document.h"

#include <gtest/gtest.h>

using namespace rwini;
using namespace std::literals;

TEST(IniDocument, LooksUpValuesAsThePrivateProfileFunctionsDo) {
    const std::tuple<std::string_view, const char*, const char*, std::optional<std::string>>
        cases[] = {
            {"[参数设置]\n开始年份=2014\n", "参数设置", "开始年份", "2014"},
            {"[SecA]\nKEYZ=v", "sECa", "keyz", "v"},
            {"  [ s ]  \n\t k \t=v\n", "s", "k", "v"},
            {"[s]\nk= 2000 \n", "s", "k", " 2000 "},
            {"[s]\r\nk=v\r\n", "s", "k", "v"},
            {"[s]\nk=a=b\n", "s", "k", "a=b"},
            {"[s]\nk=\n", "s", "k", ""},
            {"[s]\nk=1\nk=2\n", "s", "k", "1"},
            {"[a]\nk=1\n[b]\nk=2\n", "b", "k", "2"},
            {"[a]\nk=1\n[b]\n", "b", "k", std::nullopt},
            {"k=1\n[s]\n", "s", "k", std::nullopt},
            {"[s]\n;k=1\nk=2\n", "s", "k", "2"},
            {"[s]\nk\n", "s", "k", std::nullopt},
            {"[a]]\nk=1\n", "a]", "k", "1"},
            {"[s]\nk=1\0 2\n"sv, "s", "k", "1\0 2"s},
        };
    for (const auto& [text, section, key, value] : cases) {
        EXPECT_EQ(IniDocument(text).value(section, key), value) << text;
    }
}

TEST(IniDocument, SetsValuesTouchingNothingElseAndWritesAnyBytesBackUnchanged) {
    const std::tuple<std::string_view, const char*, const char*, std::string_view> cases[] = {
        {"", "k", "v", "[s]\nk=v\n"},
        {"[s]\n K =1\n", "k", " 2", "[s]\n K = 2\n"},
        {"[s]\na=1\n\n;c\n[t]\nb=0\n", "b", "2", "[s]\na=1\nb=2\n\n;c\n[t]\nb=0\n"},
        {"[s]\n;c\n", "k", "v", "[s]\nk=v\n;c\n"},
        {"[t]\nx=1", "k", "v", "[t]\nx=1\n[s]\nk=v\n"},
        {"[t]\r\nx=1\r\n", "k", "v", "[t]\r\nx=1\r\n[s]\r\nk=v\r\n"},
        {"\r\n[s]\r\n", "k", "v", "\r\n[s]\r\nk=v\r\n"},
        {"[s]\r\nk=1\r\n", "k", "", "[s]\r\nk=\r\n"},
        {"[s]\nk=1\r", "k", "2", "[s]\nk=2"},
        {"[s\r", "k", "v", "[s\r\nk=v\n"},
    };
    for (const auto& [before, key, value, after] : cases) {
        IniDocument document(before);
        EXPECT_EQ(document.text(), before);
        ASSERT_TRUE(document.setValue("s", key, value));
        EXPECT_EQ(document.text(), after);
        EXPECT_EQ(IniDocument(document.text()).value("s", key), value);
    }
    for (const std::string_view text : {"\r\n\n"sv, "a\r\r\n"sv, "[x\n\0\xff=\n=["sv}) {
        EXPECT_EQ(IniDocument(text).text(), text);
    }
}

TEST(IniDocument, RefusesTextsThatWouldNotReadBack) {
    const std::tuple<std::string_view, std::string_view, std::string_view> cases[] = {
        {"s", "k", "a\nb"},  {"s", "k", "a\rb"}, {"s", "k", "a\0b"sv}, {"s\n", "k", "v"},
        {"s", "k\0"sv, "v"}, {"s", "a=b", "v"},  {"s", " [k", "v"},    {"s", ";k", "v"},
    };
    for (const auto& [section, key, value] : cases) {
        IniDocument document("[s]\nk=1\n");
        EXPECT_FALSE(document.setValue(section, key, value)) << key << '=' << value;
        EXPECT_EQ(document.text(), "[s]\nk=1\n");
    }
}
