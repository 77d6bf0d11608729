#include "editing/Shortcut.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace trvx {
namespace {

constexpr TShortCut kKeyA = 65;
constexpr TShortCut kKeyK = 75;
constexpr TShortCut kKey5 = 53;
constexpr TShortCut kF1 = 112;
constexpr TShortCut kF5 = 116;

TEST(Shortcut, FromTextReadsModifiersInAnyOrderAndCase) {
    struct Case {
        const char* text;
        TShortCut code;
    };
    const Case cases[] = {
        {"Ctrl+A", scCtrl | kKeyA},
        {"ctrl+a", scCtrl | kKeyA},
        {"^A", scCtrl | kKeyA},
        {"^a", scCtrl | kKeyA},
        {"Ctrl+Ctrl+A", scCtrl | kKeyA},
        {"^Ctrl+A", scCtrl | kKeyA},
        {"Alt+Shift+F5", scAlt | scShift | kF5},
        {"Shift+Alt+F5", scAlt | scShift | kF5},
        {"shift+ctrl+f1", scShift | scCtrl | kF1},
        {"Shift+Ctrl+F1", scShift | scCtrl | kF1},
        {"Ctrl+Shift+K", scCtrl | scShift | kKeyK},
        {"Alt+Ctrl+A", scAlt | scCtrl | kKeyA},
        // Keypad digits share the digit keys' names; the lower code wins.
        {"Ctrl+5", scCtrl | kKey5},
        {"A", kKeyA},
        {"F24", 135},
        {"Alt+BkSp", scAlt | 8},
        {"del", 46},
        {"Num *", 0x6A},
        {"Ctrl+;", scCtrl | 0xBA},
        {"Shift", 0x10},
        // The search runs past 255: a name held only by a code below 8
        // is found at that code plus 256.
        {"Break", 0x103},
        {"Ctrl+", 0},
        {"Ctrl+Hello", 0},
        {"Hello", 0},
        {"", 0},
        {"(None)", 0},
        {"Ctrl", 0x11},
        {"Ctrl+ A", 0},
        {"Ctrl-A", 0},
        {" Ctrl+A", 0},
        {"Ctrl+A ", 0},
        {"^", 0},
        {"Shift+Ctrl+Alt+", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortcutFromText(c.text), c.code) << '"' << c.text << '"';
}

TEST(Shortcut, CaptionPutsModifiersInFixedOrder) {
    struct Case {
        TShortCut code;
        const char* caption;
    };
    const Case cases[] = {
        {scCtrl | kKeyA, "Ctrl+A"},
        {scAlt | scCtrl | kKeyA, "Ctrl+Alt+A"},
        {scAlt | scShift | kF5, "Shift+Alt+F5"},
        {scAlt | scCtrl | scShift | kF1, "Shift+Ctrl+Alt+F1"},
        {scAlt | 8, "Alt+BkSp"},
        {0x60 | scCtrl, "Ctrl+0"},
        {0, ""},
        {scCtrl, ""},
        {scCtrl | 0xFF, ""},
        {0x6C, ""}, // VK_SEPARATOR has no scan code
        {0x103, "Break"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortcutCaption(c.code), c.caption) << c.code;
}

TEST(Shortcut, KeyNamesOfTheFixedTable) {
    struct Case {
        int key;
        const char* name;
    };
    const Case cases[] = {
        {8, "BkSp"},  {9, "Tab"},  {13, "Enter"}, {27, "Esc"},  {32, "Space"}, {33, "PgUp"},
        {34, "PgDn"}, {35, "End"}, {36, "Home"},  {37, "Left"}, {38, "Up"},    {39, "Right"},
        {40, "Down"}, {45, "Ins"}, {46, "Del"},   {48, "0"},    {57, "9"},     {65, "A"},
        {90, "Z"},    {96, "0"},   {105, "9"},    {112, "F1"},  {123, "F12"},  {135, "F24"},
        {0, ""},      {1, ""},     {136, ""},     {-1, ""},     {256, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyCaptionOf(c.key), c.name) << c.key;
}

TEST(Shortcut, EveryNamedKeyReadsBackToTheFirstCodeOfItsName) {
    for (int key = 8; key < 256; ++key) {
        const std::string name = ShortcutCaption(static_cast<TShortCut>(key));
        if (name.empty())
            continue;
        const TShortCut code = ShortcutFromText("Shift+" + name);
        ASSERT_NE(code, 0) << name;
        EXPECT_EQ(code & scShift, scShift);
        EXPECT_EQ(KeyCaptionOf(code & 0xFF), name);
        EXPECT_LE(code & 0xFF, key) << name;
    }
}

TEST(Shortcut, EditorListHoldsTheCommonShortcutsInOrder) {
    const auto& entries = ShortcutEditorEntries();
    ASSERT_EQ(entries.size(), 109u);
    EXPECT_EQ(entries.front(), "(None)");
    EXPECT_EQ(entries.back(), "Shift+Alt+BkSp");
    const char* samples[][2] = {
        {"1", "Ctrl+A"},           {"26", "Ctrl+Z"},   {"27", "Ctrl+Alt+A"},
        {"52", "Ctrl+Alt+Z"},      {"53", "F1"},       {"64", "F12"},
        {"65", "Ctrl+F1"},         {"77", "Shift+F1"}, {"89", "Shift+Ctrl+F1"},
        {"100", "Shift+Ctrl+F12"}, {"101", "Ins"},     {"102", "Shift+Ins"},
        {"103", "Ctrl+Ins"},       {"104", "Del"},     {"106", "Ctrl+Del"},
        {"107", "Alt+BkSp"},
    };
    for (const auto& s : samples)
        EXPECT_EQ(entries[std::stoul(s[0])], s[1]) << s[0];
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const TShortCut code = ShortcutFromText(entries[i]);
        ASSERT_NE(code, 0) << entries[i];
        EXPECT_EQ(ShortcutCaption(code), entries[i]);
    }
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Alt+Ctrl+A"), 0);
}

} // namespace
} // namespace trvx
