#include "tree/TarvinItem.h"
#include "encoding/CodePage.h"
#include "tree/Errors.h"

#include <gtest/gtest.h>

#include <functional>

namespace trvx {
namespace {

TEST(TarvinItem, DuplicatesAreKeptAndLookupFindsTheFirstIgnoringCase) {
    TTarvinItem item;
    TTarvinItem& first = item.AddChild("Menu:File");
    item.AddChild("Menu:File");
    EXPECT_EQ(item.ChildCount(), 2);
    EXPECT_EQ(item.IndexOfChild("menu:FILE"), 0);
    EXPECT_EQ(&item.GetChild(0), &first);
    EXPECT_EQ(item.IndexOfChild("Menu:Edit"), -1);

    item.AddValue("Caption", "File");
    EXPECT_EQ(item.IndexOfValue("caption"), 0);
    EXPECT_EQ(item.IndexOfValue("caption "), -1);
    TTarvinItem empty;
    EXPECT_EQ(empty.IndexOfValue("Caption"), -1);
    EXPECT_EQ(empty.ValueCount(), 0);
}

TEST(TarvinItem, IndexErrorsNameTheIndexAndChangeNothing) {
    TTarvinItem item;
    item.AddChild("A");
    item.AddValue("V", "x");
    struct Case {
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {[&] { item.GetChild(1); }, "List index out of bounds (1)"},
        {[&] { item.GetChildName(-1); }, "List index out of bounds (-1)"},
        {[&] { item.DeleteChild(5); }, "List index out of bounds (5)"},
        {[&] { item.GetValue(-1); }, "List index out of bounds (-1)"},
        {[&] { item.SetValue(1, "y"); }, "List index out of bounds (1)"},
        {[&] { item.DeleteValue(1); }, "List index out of bounds (1)"},
        {[&] { item.GetValueIdent(2); }, "List index out of bounds (2)"},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EListError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(item.ChildCount(), 1);
    EXPECT_EQ(item.GetValue(0), "x");
}

TEST(TarvinItem, ValuesChangeInPlaceAndShiftOnDelete) {
    TTarvinItem item;
    item.AddValue("Caption", "File");
    item.AddValue("Hint", "h");
    item.AddValue("Shortcut", "Ctrl+F");
    item.SetValue(0, "");
    EXPECT_EQ(item.ValueCount(), 3);
    EXPECT_EQ(item.GetValue(0), "");
    item.DeleteValue(0);
    EXPECT_EQ(item.ValueCount(), 2);
    EXPECT_EQ(item.GetValueIdent(0), "Hint");
    item.SetValue(0, std::string("ab\0cd", 5));
    EXPECT_EQ(item.GetValue(0), "ab");
    item.AddValue("X", std::string("p\0q", 3));
    EXPECT_EQ(item.GetValue(2), "p");
}

TEST(TarvinItem, DeleteAndClearFreeWholeSubtreesOfAnyDepth) {
    TTarvinItem item;
    TTarvinItem* deep = &item.AddChild("A");
    for (int i = 0; i < 200000; ++i)
        deep = &deep->AddChild("n");
    item.AddChild("B");
    item.DeleteChild(0);
    EXPECT_EQ(item.ChildCount(), 1);
    EXPECT_EQ(item.GetChildName(0), "B");
    item.Clear();
    EXPECT_EQ(item.ChildCount(), 0);
    EXPECT_EQ(item.ValueCount(), 0);
    item.Clear();
}

TEST(CodePage, FoldsTheLettersOfItsOwnPage) {
    struct Case {
        int cp;
        std::string a, b;
        bool same;
    };
    const Case cases[] = {
        {1252, "\xC4NDERN", "\xE4ndern", true}, // ÄNDERN / ändern
        {1252, "STRASSE",
         "stra\xDF"
         "e",
         false},                                                              // no expansion of ß
        {1251, "\xCF\xD0\xC8\xC2\xC5\xD2", "\xEF\xF0\xE8\xE2\xE5\xF2", true}, // ПРИВЕТ / привет
        {1250,
         "\x8A"
         "koda",
         "\x9A"
         "KODA",
         true},                               // Škoda
        {1253, "\xC1\xC2", "\xE1\xE2", true}, // ΑΒ / αβ
        {1252, "abc", "abcd", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodePage::Get(c.cp).SameText(c.a, c.b), c.same) << c.cp << " " << c.a;
}

TEST(CodePage, DecodesAndEncodesEveryByteBack) {
    for (int id : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
        const CodePage& cp = CodePage::Get(id);
        std::string all;
        for (int b = 1; b < 256; ++b)
            all += static_cast<char>(b);
        std::string back;
        ASSERT_TRUE(cp.FromUtf8(cp.ToUtf8(all), back)) << id;
        EXPECT_EQ(back, all) << id;
    }
    EXPECT_EQ(CodePage::Get(1252).ToUtf8("\x80"), "\xE2\x82\xAC"); // the euro sign
    std::string out;
    char32_t bad = 0;
    EXPECT_FALSE(CodePage::Get(1252).FromUtf8("\xD0\x96", out, &bad)); // Cyrillic Zhe
    EXPECT_EQ(bad, U'\u0416');
}

} // namespace
} // namespace trvx
