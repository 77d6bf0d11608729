// Update To and pruning on two trees made from the input, against the plain
// recursive, linear-scan rendering kept for the tests: the same merged tree,
// the same four lists in the same order, the same tree after pruning, which
// a write skipping the removed entries gives before it.
//
// Input: one byte choosing the code page and the form of the rest, then
//   text form:  base text, NUL, open text (each read as a language file);
//   built form: base program, 0xFF, open program, 0xFF, stray removals.
// A program is one byte per step: a child named from a small set of names
// that collide under case folding, a step up, or a value. Stray removals
// name nodes and values of the merged tree that pruning must cope with even
// though no merge would mark them (below removed nodes, twice).

#include "FuzzCheck.h"
#include "document/Tarvin.h"
#include "tests/language/UpdateMergeReference.h"
#include "tests/support/TreeShape.h"
#include "tree/Errors.h"
#include "update/RemovedEntries.h"
#include "update/UpdateMerge.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

using namespace trvx;

constexpr std::array kCodePages = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

// Case variants in ASCII and in the upper halves of the code pages, a
// letter without a capital, a name with a blank, the empty name.
const std::array<std::string_view, 20> kNames = {
    "a",    "A",    "b",    "B",    "Form1", "FORM1", "form1", "\xC4", "\xE4", "\x8A",
    "\x9A", "\x9F", "\xFF", "\xA3", "\xB3",  "\xDF",  "",      "x y",  "\xC1", "\xE1",
};

// Deep enough for every interesting shape, shallow enough for the
// recursive reference; wide enough for the indexed lookups (above eight
// entries), narrow enough for the reference's quadratic scans.
constexpr std::size_t kMaxDepth = 400;
constexpr std::size_t kMaxWidth = 48;

bool Fits(const TTarvinItem& root) {
    std::vector<std::pair<const TTarvinItem*, std::size_t>> stack{{&root, 0}};
    while (!stack.empty()) {
        auto [item, depth] = stack.back();
        stack.pop_back();
        if (depth > kMaxDepth || item->Children().size() > kMaxWidth ||
            item->Values().size() > kMaxWidth)
            return false;
        for (const auto& c : item->Children())
            stack.push_back({c.Item.get(), depth + 1});
    }
    return true;
}

void Build(std::string_view program, TTarvinItem& root) {
    std::vector<TTarvinItem*> stack{&root};
    for (std::size_t i = 0; i < program.size(); ++i) {
        const auto op = static_cast<unsigned char>(program[i]);
        const std::string_view name = kNames[(op >> 2) % kNames.size()];
        switch (op & 3) {
        case 0:
            if (stack.size() < kMaxDepth)
                stack.push_back(&stack.back()->AddChild(name));
            break;
        case 1:
            if (stack.size() > 1)
                stack.pop_back();
            break;
        default:
            stack.back()->AddValue(name, std::to_string(i));
            break;
        }
    }
}

void Copy(const TTarvinItem& from, TTarvinItem& to) {
    std::vector<std::pair<const TTarvinItem*, TTarvinItem*>> stack{{&from, &to}};
    while (!stack.empty()) {
        auto [source, target] = stack.back();
        stack.pop_back();
        for (const auto& v : source->Values())
            target->AddValue(v.Ident.View(), v.Text.View());
        for (const auto& c : source->Children())
            stack.push_back({c.Item.get(), &target->AddChild(c.Name.View())});
    }
}

void LoadText(TTarvin& tree, std::string_view text) {
    try {
        tree.LoadFromText(text);
    } catch (const EListError&) {
        // keeps what was read before the surplus brace
    }
}

// Nodes of the two merged trees correspond by their position in preorder.
using TNumbers = std::unordered_map<const TTarvinItem*, int>;

std::vector<TTarvinItem*> Preorder(TTarvinItem& root) {
    std::vector<TTarvinItem*> order;
    std::vector<TTarvinItem*> pending{&root};
    while (!pending.empty()) {
        TTarvinItem* node = pending.back();
        pending.pop_back();
        order.push_back(node);
        const auto children = node->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.push_back(it->Item.get());
    }
    return order;
}

TNumbers Numbering(const std::vector<TTarvinItem*>& order) {
    TNumbers numbers;
    for (std::size_t i = 0; i < order.size(); ++i)
        numbers.emplace(order[i], static_cast<int>(i));
    return numbers;
}

template <class List> std::string ItemsOf(const List& list, const TNumbers& numbers) {
    std::string out;
    for (const TTarvinItem* item : list)
        out += std::to_string(numbers.at(item)) + ' ';
    return out;
}

template <class List> std::string ValuesOf(const List& list, const TNumbers& numbers) {
    std::string out;
    for (const TValueEntry& e : list)
        out += std::to_string(numbers.at(e.Item)) + ':' + std::to_string(e.ValueIndex) + ' ';
    return out;
}

void CheckLists(const TUpdateLists& lists, const TNumbers& mine, const reference::TLists& expected,
                const TNumbers& theirs) {
    FUZZ_CHECK(ItemsOf(lists.AddedItems, mine) == ItemsOf(expected.AddedItems, theirs),
               "AddedItems");
    FUZZ_CHECK(ItemsOf(lists.RemovedItems, mine) == ItemsOf(expected.RemovedItems, theirs),
               "RemovedItems");
    FUZZ_CHECK(ValuesOf(lists.AddedValues, mine) == ValuesOf(expected.AddedValues, theirs),
               "AddedValues");
    FUZZ_CHECK(ValuesOf(lists.RemovedValues, mine) == ValuesOf(expected.RemovedValues, theirs),
               "RemovedValues");
}

std::string Written(const TTarvinItem& root, const TWriteFilter* skip) {
    std::string text;
    TTextSink sink([&](std::string_view bytes) { text += bytes; });
    WriteTree(root, sink, skip);
    return text;
}

void MergeAndCompare(const TTarvinItem& base, const TTarvinItem& open, const CodePage& cp,
                     std::string_view strays) {
    if (!Fits(base) || !Fits(open))
        return;
    TTarvinItem mine, theirs;
    Copy(open, mine);
    Copy(open, theirs);

    TUpdateLists lists;
    UpdateTo(base, mine, lists, cp);
    reference::TLists expected;
    reference::UpdateTo(base, theirs, expected, cp);

    const std::string merged = test::Shape(mine);
    FUZZ_CHECK(merged == test::Shape(theirs), "merged trees differ");
    const std::vector<TTarvinItem*> mineOrder = Preorder(mine), theirsOrder = Preorder(theirs);
    const TNumbers m = Numbering(mineOrder), t = Numbering(theirsOrder);
    CheckLists(lists, m, expected, t);

    for (std::size_t i = 0; i + 1 < strays.size(); i += 2) {
        const std::size_t n = static_cast<unsigned char>(strays[i]) % mineOrder.size();
        const auto pick = static_cast<unsigned char>(strays[i + 1]);
        if (n > 0 && pick < 64) {
            lists.RemovedItems.Append(mineOrder[n]);
            expected.RemovedItems.push_back(theirsOrder[n]);
        } else if (const int count = mineOrder[n]->ValueCount(); count > 0) {
            lists.RemovedValues.Append({mineOrder[n], pick % count});
            expected.RemovedValues.push_back({theirsOrder[n], pick % count});
        }
    }

    const TRemovedEntries removed(lists);
    const std::string skipped = Written(mine, &removed);
    PruneRemoved(mine, lists);
    reference::PruneRemoved(theirs, expected);
    FUZZ_CHECK(test::Shape(mine) == test::Shape(theirs), "pruned trees differ");
    FUZZ_CHECK(skipped == Written(mine, nullptr), "writing without the removed entries differs");
    // What is left names nodes that are gone: compare by the old numbers.
    FUZZ_CHECK(ItemsOf(lists.RemovedItems, m) == ItemsOf(expected.RemovedItems, t),
               "RemovedItems left after pruning");
    FUZZ_CHECK(ValuesOf(lists.RemovedValues, m) == ValuesOf(expected.RemovedValues, t),
               "RemovedValues left after pruning");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto head = static_cast<unsigned char>(input.front());
    input.remove_prefix(1);
    const CodePage& cp = CodePage::Get(kCodePages[(head & 0x7F) % kCodePages.size()]);

    if ((head & 0x80) == 0) {
        const std::size_t nul = input.find('\0');
        TTarvin base, open;
        LoadText(base, input.substr(0, nul));
        LoadText(open, nul == input.npos ? std::string_view() : input.substr(nul + 1));
        MergeAndCompare(base.Root(), open.Root(), cp, {});
        return 0;
    }

    const std::size_t first = input.find('\xFF');
    const std::size_t second = first == input.npos ? input.npos : input.find('\xFF', first + 1);
    TTarvinItem base, open;
    Build(input.substr(0, first), base);
    if (first != input.npos)
        Build(input.substr(first + 1, second == input.npos ? input.npos : second - first - 1),
              open);
    MergeAndCompare(base, open, cp,
                    second == input.npos ? std::string_view() : input.substr(second + 1));
    return 0;
}
