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

TEST(ValueKind, JoinAndDisplayOfItems) {
    struct Case {
        Lines lines;
        std::string text;
        std::string display;
    };
    const Case cases[] = {
        {{}, "", ""},
        {{""}, "", ""},
        {{"abc"}, "abc", "abc"},
        {{"a", ""}, "a\r\n", "a \xBB"},
        {{"a", "b", "c"}, "a\r\nb\r\nc", "a \xBB"},
        {{"", "b"}, "\r\nb", " \xBB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JoinItemLines(c.lines), c.text);
        EXPECT_EQ(ItemsDisplayText(c.lines), c.display);
    }
}

TEST(ValueKind, SplitThenJoinGivesCrLfBreaks) {
    EXPECT_EQ(JoinItemLines(SplitItemLines("a\nb\rc\r\n")), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(JoinItemLines(SplitItemLines("")), "");
}

TEST(ValueKind, RowShowsTheTextUpToTheFirstCarriageReturn) {
    struct Case {
        const char* text;
        const char* display;
    };
    const Case cases[] = {
        {"", ""},
        {"one line", "one line"},
        {"first\r\nsecond", "first \xBB"},
        {"ends\r\n", "ends \xBB"},
        {"lone\rCR", "lone \xBB"},
        {"lone\nLF", "lone\nLF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValueDisplayText(c.text), c.display) << '"' << c.text << '"';
}

} // namespace
} // namespace trvx
