#include "editing/ValueKind.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trvx {
namespace {

using Lines = std::vector<std::string>;

TEST(ValueKind, OnlyTheExactIdentsChooseTheListAndShortcutEditors) {
    struct Case {
        const char* ident;
        TValueKind kind;
    };
    const Case cases[] = {
        {"Shortcut", vkShortcut}, {"Items", vkItems},     {"Strings", vkItems},
        {"Caption", vkString},    {"Lines", vkString},    {"shortcut", vkString},
        {"ITEMS", vkString},      {"Strings ", vkString}, {"", vkString},
        {"ShortcutX", vkString},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValueKindOfIdent(c.ident), c.kind) << '"' << c.ident << '"';
}

TEST(ValueKind, SplitTreatsEveryBreakAlikeAndKeepsATrailingEmptyLine) {
    struct Case {
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"", {""}},
        {"abc", {"abc"}},
        {"a\r\n", {"a", ""}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\r", {"a", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\r\n\r\n", {"", "", ""}},
        {"x\r\ny\nz\r", {"x", "y", "z", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitItemLines(c.text), c.lines) << '"' << c.text << '"';
}

TEST(ValueKind, JoinOfItems) {
    struct Case {
        Lines lines;
        std::string text;
    };
    const Case cases[] = {
        {{}, ""},
        {{""}, ""},
        {{"abc"}, "abc"},
        {{"a", ""}, "a\r\n"},
        {{"a", "b", "c"}, "a\r\nb\r\nc"},
        {{"", "b"}, "\r\nb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinItemLines(c.lines), c.text);
}

TEST(ValueKind, SplitThenJoinGivesCrLfBreaks) {
    EXPECT_EQ(JoinItemLines(SplitItemLines("a\nb\rc\r\n")), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(JoinItemLines(SplitItemLines("")), "");
}

} // namespace
} // namespace trvx
