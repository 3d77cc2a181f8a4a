#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace rwini {
namespace {

using namespace std::literals;

TEST(IniDocument, LooksUpValuesAsThePrivateProfileFunctionsDo) {
    struct Case {
        std::string_view text, section, key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"[s]\nk=v\n", "s", "k", "v"},
        {"[参数设置]\n开始年份=2014\n", "参数设置", "开始年份", "2014"},
        {"[Sec]\nKEY=v", "sEC", "key", "v"},
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IniDocument(c.text).value(c.section, c.key), c.expected);
    }
}

TEST(IniDocument, SetsValuesTouchingNothingElse) {
    struct Case {
        std::string_view before, section, key, value, after;
    };
    const Case cases[] = {
        {"", "s", "k", "v", "[s]\nk=v\n"},
        {"[s]\n K =1\n", "s", "k", " 2", "[s]\n K = 2\n"},
        {"[s]\na=1\n\n;c\n[t]\nb=0\n", "s", "b", "2", "[s]\na=1\nb=2\n\n;c\n[t]\nb=0\n"},
        {"[s]\n;c\n", "s", "k", "v", "[s]\nk=v\n;c\n"},
        {"[t]\nx=1", "s", "k", "v", "[t]\nx=1\n[s]\nk=v\n"},
        {"[t]\r\nx=1\r\n", "s", "k", "v", "[t]\r\nx=1\r\n[s]\r\nk=v\r\n"},
        {"[s]\r\nk=1\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
        {"[s]\nk=1\r", "s", "k", "2", "[s]\nk=2"},
        {"[s\r", "s", "k", "v", "[s\r\nk=v\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        IniDocument document(c.before);
        ASSERT_TRUE(document.setValue(c.section, c.key, c.value));
        EXPECT_EQ(document.text(), c.after);
        EXPECT_EQ(IniDocument(document.text()).value(c.section, c.key), c.value);
    }
}

TEST(IniDocument, RefusesTextsThatWouldNotReadBack) {
    struct Case {
        std::string_view section, key, value;
    };
    const Case cases[] = {
        {"s", "k", "a\nb"},  {"s", "k", "a\rb"}, {"s", "k", "a\0b"sv}, {"s\n", "k", "v"},
        {"s", "k\0"sv, "v"}, {"s", "a=b", "v"},  {"s", " [k", "v"},    {"s", ";k", "v"},
    };
    const std::string_view text = "[s]\nk=1\n";
    for (const Case& c : cases) {
        IniDocument document(text);
        EXPECT_FALSE(document.setValue(c.section, c.key, c.value)) << c.key << '=' << c.value;
        EXPECT_EQ(document.text(), text);
    }
}

TEST(IniDocument, WritesAnyBytesBackUnchanged) {
    for (const std::string_view text :
         {""sv, "\n"sv, "\r"sv, "\r\n\n"sv, "a\r\r\n"sv, "[x\n\0\xff=\n=["sv, "[s]\nk=v"sv}) {
        EXPECT_EQ(IniDocument(text).text(), text);
    }
}

}  // namespace
}  // namespace rwini
