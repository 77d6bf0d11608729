#include "TestSupport.h"

#include "document/Tarvin.h"
#include "tests/language/ItemPaths.h"
#include "update/RemovedEntries.h"
#include "update/UpdateMerge.h"
#include "update/UpdateReport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace trvx {
namespace {

using Paths = std::vector<std::string>;

struct Outcome {
    Paths addedItems, removedItems, addedValues, removedValues;
    std::string saved; // after pruning, as the writer puts it (LF line ends)
};

std::string Lf(std::string text) {
    std::erase(text, '\r');
    return text;
}

Outcome Update(const std::string& baseText, const std::string& translationText,
               const CodePage& cp = CodePage::Get(1252)) {
    TTarvin base, translation;
    base.LoadFromText(baseText);
    translation.LoadFromText(translationText);
    TUpdateLists lists;
    UpdateTo(base.Root(), translation.Root(), lists, cp);

    Outcome out;
    const test::TItemPaths paths(translation.Root(), cp);
    for (TTarvinItem* item : lists.AddedItems)
        out.addedItems.push_back(paths.ItemPath(item));
    for (TTarvinItem* item : lists.RemovedItems)
        out.removedItems.push_back(paths.ItemPath(item));
    for (const TValueEntry& e : lists.AddedValues)
        out.addedValues.push_back(paths.ValuePath(e) + " @" + std::to_string(e.ValueIndex));
    for (const TValueEntry& e : lists.RemovedValues)
        out.removedValues.push_back(paths.ValuePath(e) + " @" + std::to_string(e.ValueIndex));

    // A save that skips the removed entries writes what pruning leaves.
    const TRemovedEntries removed(lists);
    const std::string skipped = translation.SaveToText(&removed);
    PruneRemoved(translation.Root(), lists);
    EXPECT_TRUE(lists.RemovedItems.empty());
    EXPECT_TRUE(lists.RemovedValues.empty());
    out.saved = Lf(translation.SaveToText());
    EXPECT_EQ(Lf(skipped), out.saved);
    return out;
}

struct Scenario {
    const char* name;
    const char* base;
    const char* translation;
    Paths addedItems, removedItems, addedValues, removedValues;
    const char* saved;
};

// Base text, translation text, the four lists in their own order (paths as
// the report writes them, values with their index), and what saving writes.
const Scenario kScenarios[] = {
    {"same names and idents: nothing recorded",
     "A {\n Caption = new\n B {\n Hint = h\n }\n}\n",
     "A {\n Caption = alt\n B {\n Hint = x\n }\n}\n",
     {},
     {},
     {},
     {},
     "A {\n  Caption = alt\n  B {\n    Hint = x\n  }\n}\n"},

    {"names differing in case match and the translation keeps its spelling",
     "FORM1 {\n CAPTION = c\n}\n",
     "Form1 {\n Caption = Titel\n}\n",
     {},
     {},
     {},
     {},
     "Form1 {\n  Caption = Titel\n}\n"},

    {"letters of the code page fold too",
     "\xC4NDERN {\n \xDC"
     "BER = 1\n}\n",
     "\xE4ndern {\n \xFC"
     "ber = 2\n}\n",
     {},
     {},
     {},
     {},
     "\xE4ndern {\n  \xFC"
     "ber = 2\n}\n"},

    {"a new node is copied whole, children before parent, values unrecorded",
     "F {\n N {\n Caption = n\n C1 {\n Hint = 1\n D {\n }\n }\n C2 {\n }\n }\n}\n",
     "F {\n}\n",
     {"F/N/C1/D", "F/N/C1", "F/N/C2", "F/N"},
     {},
     {},
     {},
     "F {\n  N {\n    Caption = n\n    C1 {\n      Hint = 1\n      D {\n      }\n    }\n"
     "    C2 {\n    }\n  }\n}\n"},

    {"new values are appended with the base text and recorded at their new position",
     "S {\n A = a\n Empty =\n B = b\n}\n",
     "S {\n B = bb\n}\n",
     {},
     {},
     {"S/A (value) @1", "S/Empty (value) @2"},
     {},
     "S {\n  B = bb\n  A = a\n  Empty =\n}\n"},

    {"a node the base lacks is one entry; nothing below it is recorded",
     "T {\n}\n",
     "T {\n Old {\n Caption = x\n Sub {\n V = 1\n }\n }\n Keep = k\n}\n",
     {},
     {"T/Old"},
     {},
     {"T/Keep (value) @0"},
     "T {\n}\n"},

    {"descendants' value entries come before the node's own",
     "P {\n X = 1\n Q {\n Y = 2\n }\n}\n",
     "P {\n Q {\n Old = o\n }\n Gone = g\n}\n",
     {},
     {},
     {"P/Q/Y (value) @1", "P/X (value) @1"},
     {"P/Q/Old (value) @0", "P/Gone (value) @0"},
     "P {\n  X = 1\n  Q {\n    Y = 2\n  }\n}\n"},

    {"removed nodes in depth-first order of the translation",
     "R {\n A {\n }\n}\n",
     "R {\n A {\n A1 {\n }\n A2 {\n }\n }\n B {\n }\n}\nZ {\n}\n",
     {},
     {"R/A/A1", "R/A/A2", "R/B", "Z"},
     {},
     {},
     "R {\n  A {\n  }\n}\n"},

    {"a second base child of the same name merges into the copy of the first",
     "P {\n A {\n x {\n }\n V = 1\n }\n a {\n y {\n }\n V = 2\n W = 3\n }\n}\n",
     "P {\n}\n",
     // y and W come only from the second; MarkRemoved compares the copy with
     // the first base child alone, so they are also found gone.
     {"P/A/x", "P/A", "P/A/y"},
     {"P/A/y"},
     {"P/A/W (value) @1"},
     {"P/A/W (value) @1"},
     "P {\n  A {\n    V = 1\n    x {\n    }\n  }\n}\n"},

    {"a second base child of the same name merges into the existing node",
     "P {\n A {\n V = 1\n }\n a {\n V = 2\n W = 3\n }\n}\n",
     "P {\n A {\n V = eins\n }\n}\n",
     {},
     {},
     {"P/A/W (value) @1"},
     {"P/A/W (value) @1"},
     "P {\n  A {\n    V = eins\n  }\n}\n"},

    {"only the first of two base values with one ident is copied",
     "S {\n V = one\n v = two\n}\nN {\n K = 1\n k = 2\n}\n",
     "S {\n}\n",
     {"N"},
     {},
     {"S/V (value) @0"},
     {},
     "S {\n  V = one\n}\nN {\n  K = 1\n}\n"},

    {"two translation children of one name are both compared with the base child",
     // Copying reaches only the first of them; marking compares both.
     "P {\n A {\n Keep = k\n }\n}\n",
     "P {\n A {\n Keep = 1\n Old = o\n }\n a {\n Old = p\n }\n}\n",
     {},
     {},
     {},
     {"P/A/Old (value) @1", "P/a/Old (value) @0"},
     "P {\n  A {\n    Keep = 1\n  }\n  a {\n  }\n}\n"},

    {"an empty new node is still copied and recorded",
     "P {\n E {\n }\n}\n",
     "P {\n}\n",
     {"P/E"},
     {},
     {},
     {},
     "P {\n  E {\n  }\n}\n"},

    {"an empty base removes every top-level node and every value of the root",
     "",
     "Top = t\nA {\n V = 1\n}\nB {\n}\n",
     {},
     {"A", "B"},
     {},
     {"Top (value) @0"},
     ""},
};

TEST(UpdateMerge, Scenarios) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.name);
        const Outcome out = Update(s.base, s.translation);
        EXPECT_EQ(out.addedItems, s.addedItems);
        EXPECT_EQ(out.removedItems, s.removedItems);
        EXPECT_EQ(out.addedValues, s.addedValues);
        EXPECT_EQ(out.removedValues, s.removedValues);
        EXPECT_EQ(out.saved, s.saved);
    }
}

TEST(UpdateMerge, FoldsByTheGivenCodePage) {
    // Ł and ł are one letter in 1250; in 1252 the same bytes are £ and ³.
    const std::string base = "\xA3\xF3"
                             "d\xBA {\n}\n",
                      translation = "\xB3\xF3"
                                    "d\xBA {\n}\n";
    EXPECT_TRUE(Update(base, translation, CodePage::Get(1250)).addedItems.empty());
    const Outcome latin = Update(base, translation, CodePage::Get(1252));
    EXPECT_EQ(latin.addedItems.size(), 1u);
    EXPECT_EQ(latin.removedItems.size(), 1u);
}

TEST(UpdateMerge, StartsFromEmptyListsAndSeesEarlierChangesAsOrdinary) {
    TTarvin base, translation;
    base.LoadFromText("P {\n New = n\n}\n");
    translation.LoadFromText("P {\n Old = o\n}\n");
    TUpdateLists lists;
    UpdateTo(base.Root(), translation.Root(), lists, CodePage::Get(1252));
    ASSERT_EQ(lists.AddedValues.size(), 1u);
    ASSERT_EQ(lists.RemovedValues.size(), 1u);

    // A second update before saving: the added value is ordinary now, the
    // removed one is still there and found gone again.
    UpdateTo(base.Root(), translation.Root(), lists, CodePage::Get(1252));
    EXPECT_TRUE(lists.AddedValues.empty());
    EXPECT_TRUE(lists.AddedItems.empty());
    ASSERT_EQ(lists.RemovedValues.size(), 1u);
    EXPECT_EQ(lists.RemovedValues[0].ValueIndex, 0);
}

TEST(UpdateMerge, ExampleTranslationUpdatedToTheNewerBase) {
    const std::string dir = TARVIN_SOURCE_DIR;
    TTarvin translation, base;
    translation.LoadFromFile(dir + "/examples/Deutsch.trvx");
    base.LoadFromFile(dir + "/examples/English-2.trvx");
    TUpdateLists lists;
    UpdateTo(base.Root(), translation.Root(), lists, translation.GetCodePage());
    EXPECT_FALSE(lists.IsEmpty());
    PruneRemoved(translation.Root(), lists);
    lists.ClearUpdateLists();

    std::ifstream expected(dir + "/tests/fixtures/Deutsch-updated.trvx", std::ios::binary);
    std::stringstream bytes;
    bytes << expected.rdbuf();
    EXPECT_EQ(translation.SaveToText(), bytes.str());
}

TEST(UpdateMerge, TreesOfAnyDepth) {
    constexpr int kDepth = 300000;
    TTarvin base, translation;
    TTarvinItem* b = &base.Root();
    TTarvinItem* t = &translation.Root();
    for (int i = 0; i < kDepth; ++i) {
        b = &b->AddChild("n");
        t = &t->AddChild(i % 2 ? "N" : "n");
    }
    b->AddChild("new").AddChild("deeper");
    b->AddValue("V", "v");
    t->AddChild("old");
    t->AddValue("W", "w");

    TUpdateLists lists;
    UpdateTo(base.Root(), translation.Root(), lists, CodePage::Get(1252));
    ASSERT_EQ(lists.AddedItems.size(), 2u);
    EXPECT_EQ(lists.AddedItems[0], &t->GetChild(1).GetChild(0));
    ASSERT_EQ(lists.RemovedItems.size(), 1u);
    EXPECT_EQ(lists.RemovedItems[0], &t->GetChild(0));
    ASSERT_EQ(lists.AddedValues.size(), 1u);
    EXPECT_EQ(lists.AddedValues[0], (TValueEntry{t, 1}));
    ASSERT_EQ(lists.RemovedValues.size(), 1u);
    EXPECT_EQ(lists.RemovedValues[0], (TValueEntry{t, 0}));
    EXPECT_EQ(test::UpdateReportLines(translation.Root(), lists, CodePage::Get(1252)).size(), 5u);

    PruneRemoved(translation.Root(), lists);
    EXPECT_EQ(t->ChildCount(), 1);
    EXPECT_EQ(t->GetChildName(0), "new");
    EXPECT_EQ(t->ValueCount(), 1);
    EXPECT_EQ(t->GetValueIdent(0), "V");
}

// Pruning on its own: a tree, what the lists name, what is left.
TEST(PruneRemoved, DeletesWhatTheListsNameAndNothingElse) {
    struct Case {
        const char* name;
        const char* tree;
        std::vector<std::string> removedItems; // child positions from the root, "0/1"
        std::vector<std::pair<std::string, int>> removedValues;
        const char* saved;
        std::size_t itemsLeft, valuesLeft;
    };
    const Case cases[] = {
        {"no update: nothing changes", "A {\n V = 1\n}\n", {}, {}, "A {\n  V = 1\n}\n", 0, 0},
        {"a removed node goes with everything below it",
         "A {\n B {\n C {\n X = 1\n }\n }\n D {\n }\n}\n",
         {"0/0"},
         {},
         "A {\n  D {\n  }\n}\n",
         0,
         0},
        {"removed values at 1 and 3 take the right ones",
         "A {\n V0 = 0\n V1 = 1\n V2 = 2\n V3 = 3\n V4 = 4\n}\n",
         {},
         {{"0", 1}, {"0", 3}},
         "A {\n  V0 = 0\n  V2 = 2\n  V4 = 4\n}\n",
         0,
         0},
        {"entries below a removed node are left for the caller to clear",
         "A {\n B {\n X = 1\n }\n}\n",
         {"0/0"},
         {{"0/0", 0}},
         "A {\n}\n",
         0,
         1},
        {"values named out of order and twice",
         "A {\n V0 = 0\n V1 = 1\n V2 = 2\n V3 = 3\n}\n",
         {},
         {{"0", 3}, {"0", 1}, {"0", 3}},
         "A {\n  V0 = 0\n  V2 = 2\n}\n",
         0,
         1},
        {"a doubled entry deletes once and one copy is left",
         "A {\n V0 = 0\n V1 = 1\n}\n",
         {},
         {{"0", 1}, {"0", 1}},
         "A {\n  V0 = 0\n}\n",
         0,
         1},
        {"every second of many siblings",
         "A {\n a {\n }\n b {\n }\n c {\n }\n d {\n }\n e {\n }\n}\n",
         {"0/1", "0/3"},
         {},
         "A {\n  a {\n  }\n  c {\n  }\n  e {\n  }\n}\n",
         0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTarvin tree;
        tree.LoadFromText(c.tree);
        auto at = [&](const std::string& path) {
            TTarvinItem* node = &tree.Root();
            std::istringstream parts(path);
            for (std::string part; std::getline(parts, part, '/');)
                node = &node->GetChild(std::stoi(part));
            return node;
        };
        TUpdateLists lists;
        for (const auto& p : c.removedItems)
            lists.RemovedItems.Append(at(p));
        for (const auto& [p, index] : c.removedValues)
            lists.RemovedValues.Append({at(p), index});
        lists.AddedItems.Append(at("0"));

        // A save that skips them writes the same, before any pruning.
        const TRemovedEntries removed(lists);
        EXPECT_EQ(Lf(tree.SaveToText(&removed)), c.saved);
        PruneRemoved(tree.Root(), lists);
        EXPECT_EQ(Lf(tree.SaveToText()), c.saved);
        EXPECT_EQ(lists.RemovedItems.size(), c.itemsLeft);
        EXPECT_EQ(lists.RemovedValues.size(), c.valuesLeft);
        EXPECT_EQ(lists.AddedItems.size(), 1u); // added entries are not touched
    }
}

} // namespace
} // namespace trvx
