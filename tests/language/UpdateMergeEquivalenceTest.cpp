#include "TestSupport.h"
#include "UpdateMergeReference.h"

#include "format/Reader.h"
#include "format/Writer.h"
#include "tree/FirstPositionIndex.h"
#include "update/UpdateMerge.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace trvx {
namespace {

// Names that collide in interesting ways: case variants in ASCII and in the
// upper half of cp1252 (Ä/ä, Š/š, Ÿ/ÿ, Ł/ł in 1250), ß without a capital,
// and the empty name.
const std::vector<std::string> kNames = {
    "a",    "A",    "b",    "B",    "Form1", "FORM1", "form1", "\xC4", "\xE4",
    "\x8A", "\x9A", "\x9F", "\xFF", "\xA3",  "\xB3",  "\xDF",  "",     "x y",
};

class TreeGenerator {
public:
    explicit TreeGenerator(unsigned start) : m_rng(start) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool Chance(int percent) { return Below(100) < percent; }
    const std::string& Name() { return kNames[Below(static_cast<int>(kNames.size()))]; }

    // Mostly narrow nodes, now and then one wide enough to be indexed.
    int Width() { return Chance(8) ? 9 + Below(40) : Below(4); }

    // The i'th key of a wide list whose keys all differ, as a form's
    // controls do; now and then in another case.
    std::string Apart(int i) { return (Chance(5) ? "W" : "w") + std::to_string(i); }

    void Fill(TTarvinItem& node, int depth) {
        int width = Width();
        bool apart = width > kLinearLookupLimit && Chance(50);
        for (int i = 0; i < width; ++i)
            node.AddValue(apart ? Apart(i) : Name(), std::to_string(Below(1000)));
        if (depth == 0)
            return;
        width = Width();
        apart = width > kLinearLookupLimit && Chance(50);
        for (int i = 0; i < width; ++i)
            Fill(node.AddChild(apart ? Apart(i) : Name()), depth - 1);
    }

    // A changed copy: entries dropped, renamed into another case, added.
    void Mutate(const TTarvinItem& from, TTarvinItem& to, int depth) {
        for (const auto& v : from.Values())
            if (!Chance(15))
                to.AddValue(Chance(10) ? Name() : v.Ident.Str(), "t" + v.Text.Str());
        if (Chance(20))
            to.AddValue(Name(), "new");
        for (const auto& c : from.Children()) {
            if (Chance(12))
                continue;
            Mutate(*c.Item, to.AddChild(Chance(10) ? Name() : c.Name.Str()), depth - 1);
        }
        if (depth > 0 && Chance(20))
            Fill(to.AddChild(Name()), depth - 1);
    }

private:
    std::mt19937 m_rng;
};

void Copy(const TTarvinItem& from, TTarvinItem& to) {
    for (const auto& v : from.Values())
        to.AddValue(v.Ident.View(), v.Text.View());
    for (const auto& c : from.Children())
        Copy(*c.Item, to.AddChild(c.Name.View()));
}

// Nodes of two trees compare by their position in preorder.
std::unordered_map<const TTarvinItem*, int> Numbering(const TTarvinItem& root) {
    std::unordered_map<const TTarvinItem*, int> numbers;
    std::vector<const TTarvinItem*> pending{&root};
    while (!pending.empty()) {
        const TTarvinItem* node = pending.back();
        pending.pop_back();
        numbers.emplace(node, static_cast<int>(numbers.size()));
        const auto children = node->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.push_back(it->Item.get());
    }
    return numbers;
}

using Numbers = std::unordered_map<const TTarvinItem*, int>;

template <class List> std::vector<int> Items(const List& list, const Numbers& numbers) {
    std::vector<int> out;
    for (const TTarvinItem* item : list)
        out.push_back(numbers.at(item));
    return out;
}

template <class List>
std::vector<std::pair<int, int>> Values(const List& list, const Numbers& numbers) {
    std::vector<std::pair<int, int>> out;
    for (const TValueEntry& e : list)
        out.emplace_back(numbers.at(e.Item), e.ValueIndex);
    return out;
}

// The four lists, nodes by their numbers.
template <class Lists> auto Entries(const Lists& lists, const Numbers& numbers) {
    return std::tuple(Items(lists.AddedItems, numbers), Items(lists.RemovedItems, numbers),
                      Values(lists.AddedValues, numbers), Values(lists.RemovedValues, numbers));
}

TEST(UpdateMerge, IndexedMergeAndPruneEqualTheLinearReference) {
    const int codePages[] = {1252, 1250, 1251};
    int pairs = 0, recorded = 0;
    for (unsigned start = 1; start <= 3000; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        TreeGenerator gen(start);
        const CodePage& cp = CodePage::Get(codePages[start % 3]);
        TTarvinItem base, open;
        gen.Fill(base, 1 + gen.Below(3));
        if (gen.Chance(70))
            gen.Mutate(base, open, 3);
        else
            gen.Fill(open, 1 + gen.Below(3));

        TTarvinItem mine, theirs;
        Copy(open, mine);
        Copy(open, theirs);
        TUpdateLists lists;
        // base outlives mine either way; a borrowed copy must read the same.
        UpdateTo(base, mine, lists, cp,
                 start % 2 ? TBaseLife::MayBeFreed : TBaseLife::OutlivesOpen);
        reference::TLists expected;
        reference::UpdateTo(base, theirs, expected, cp);

        ASSERT_EQ(test::Describe(mine), test::Describe(theirs));
        const Numbers m = Numbering(mine), t = Numbering(theirs);
        ASSERT_EQ(Entries(lists, m), Entries(expected, t));
        for (const TValueEntry& e : lists.AddedValues)
            ASSERT_TRUE(lists.IsAddedValue(e.Item, e.ValueIndex));

        // Stray entries too, below removed nodes and doubled, as pruning must
        // treat any list alike.
        std::vector<TTarvinItem*> mineByNumber(m.size()), theirsByNumber(t.size());
        for (const auto& [node, n] : m)
            mineByNumber[n] = const_cast<TTarvinItem*>(node);
        for (const auto& [node, n] : t)
            theirsByNumber[n] = const_cast<TTarvinItem*>(node);
        for (int extra = gen.Chance(50) ? gen.Below(6) : 0; extra > 0; --extra) {
            const int n = gen.Below(static_cast<int>(m.size()));
            if (gen.Chance(40) && n > 0) {
                lists.RemovedItems.Append(mineByNumber[n]);
                expected.RemovedItems.push_back(theirsByNumber[n]);
            } else if (const int count = mineByNumber[n]->ValueCount(); count > 0) {
                const int index = gen.Below(count);
                lists.RemovedValues.Append({mineByNumber[n], index});
                expected.RemovedValues.push_back({theirsByNumber[n], index});
            }
        }

        PruneRemoved(mine, lists);
        reference::PruneRemoved(theirs, expected);
        ASSERT_EQ(test::Describe(mine), test::Describe(theirs));
        // What is left names nodes that are gone; compare by the old numbers.
        ASSERT_EQ(Items(lists.RemovedItems, m), Items(expected.RemovedItems, t));
        ASSERT_EQ(Values(lists.RemovedValues, m), Values(expected.RemovedValues, t));

        ++pairs;
        recorded += static_cast<int>(expected.AddedItems.size() + expected.RemovedItems.size() +
                                     expected.AddedValues.size() + expected.RemovedValues.size());
    }
    EXPECT_EQ(pairs, 3000);
    EXPECT_GT(recorded, 30000); // the pairs do differ, not only match
}

TEST(UpdateMerge, ReadingTheBasesTextMergesAsItsTree) {
    int repeated = 0;
    for (unsigned start = 1; start <= 600; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        TreeGenerator gen(start);
        const CodePage& cp = CodePage::Get(1252);
        TTarvinItem base, open;
        gen.Fill(base, 1 + gen.Below(3));
        gen.Mutate(base, open, 3);
        std::string text;
        TTextSink out([&](std::string_view bytes) { text += bytes; });
        WriteTree(base, out);
        TTarvin read;
        read.LoadFromText(text);

        TTarvinItem fromTree, fromText;
        Copy(open, fromTree);
        Copy(open, fromText);
        TUpdateLists treeLists, textLists;
        UpdateTo(read.Root(), fromTree, treeLists, cp);
        int reads = 0;
        UpdateTo(
            [&](TLanguageSink& sink) {
                ++reads;
                ParseLanguageText(sink, text);
            },
            fromText, textLists, cp, TBaseLife::OutlivesOpen);
        repeated += reads == 2;

        ASSERT_EQ(test::Describe(fromText), test::Describe(fromTree));
        const Numbers x = Numbering(fromText), t = Numbering(fromTree);
        ASSERT_EQ(Entries(textLists, x), Entries(treeLists, t));
    }
    EXPECT_GT(repeated, 100); // bases that repeat a name are read twice
}

} // namespace
} // namespace trvx
