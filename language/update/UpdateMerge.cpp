#include "update/UpdateMerge.h"

#include "tree/FirstPositionIndex.h"
#include "tree/HugePages.h"
#include "update/RemovedEntries.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory_resource>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace trvx {

namespace {

// Names or idents of a base node's entries so far, copied: a read in
// windows takes its strings away with each window.
class TKeys {
public:
    void Clear() {
        m_bytes.clear();
        m_ends.clear();
    }
    void Add(std::string_view key) {
        m_bytes += key;
        m_ends.push_back(m_bytes.size());
    }
    int Count() const { return static_cast<int>(m_ends.size()); }
    std::string_view operator[](int i) const {
        const std::size_t start = i == 0 ? 0 : m_ends[static_cast<std::size_t>(i) - 1];
        return std::string_view(m_bytes).substr(start, m_ends[static_cast<std::size_t>(i)] - start);
    }

private:
    std::string m_bytes;
    std::vector<std::size_t> m_ends;
};

// Update To as the base is read: what the plain recursive merge with linear
// lookups gives (first match by folded name, copy order, list orders), with
// no tree of the base. A base node's values are merged when it closes, after
// its descendants, as they are in that merge.
//
// What the base lacks is found against the first base node of each name, once
// that node closes: the open nodes matched to it hold all they will hold by
// then, unless a later base node of the same name adds to them. A base that
// repeats a name among siblings is therefore read a second time, only to mark.
class TUpdateMerge final : public TLanguageSink {
public:
    TUpdateMerge(TTarvinItem& openRoot, TUpdateLists& lists, const CodePage& cp, TBaseLife life)
        : m_openRoot(openRoot), m_lists(lists), m_cp(cp), m_borrow(life == TBaseLife::OutlivesOpen),
          m_copies(CopiesIn(openRoot)) {}

    // Before each read of the base: the first merges and marks, a second only marks.
    void Start(bool merging);
    bool NeedsMarkingRead() const { return m_repeatedName; }
    // Fills the removed lists from the marks, in the order of a walk of the open tree.
    void ListRemoved();

    void OpenNode(std::string_view name) override;
    void Value(std::string_view ident, TStr text) override;
    void CloseNode() override;

private:
    // For lists that grow to megabytes on a large file.
    template <class T> using TList = std::vector<T, THugeListAllocator<T>>;

    // An open node with where it sits: the removed lists are put in the open
    // tree's order from these, without walking the tree.
    struct TMatch {
        TTarvinItem* node = nullptr;
        int parent = -1; // its parent's match in the frame above
        int index = -1;  // its position among the parent's children
    };
    // An open node Mark found entries missing under, with its path from the root.
    struct TMarked {
        TTarvinItem* node = nullptr;
        std::size_t pathStart = 0;
        std::size_t pathEnd = 0;
    };
    // A removed child (index >= 0) or the removed values (index < 0) of a marked node.
    struct TRemovedAt {
        int marked = 0;
        int index = 0;
    };

    static constexpr int kKeysCopied = -1;
    static constexpr int kByPosition = -2;

    struct TFrame {
        TTarvinItem* target = nullptr; // where the base node's entries go (merging only)
        bool copy = false;             // target is a copy of the base node
        // The open nodes whose first match in the base is this node.
        std::vector<TMatch> matches;
        TKeys names; // of the base node's children so far
        TNameLookup nameLookup;
        TKeys idents; // of the base node's values so far
        TNameLookup identLookup;
        // The values target lacks, to go in as one batch when the node closes,
        // so its list grows by one exact allocation rather than doubling in
        // its tree's arena.
        TList<TTarvinItem::TValueEntryData> missing;
        TNameLookup missingLookup;
        int hint = 0;      // the target's value after the last one found
        int childHint = 0; // the same of its children
        // While the base's children (values) so far are the target's first
        // ones in the same order, their count; kKeysCopied once they are
        // copied into names (idents), kByPosition once the target's entries
        // they name are flagged in namedChildren (namedValues). The usual
        // base is in the translation's order, and its keys need then be
        // neither copied nor looked up twice.
        int namesInOrder = kKeysCopied;
        int identsInOrder = kKeysCopied;
        std::vector<std::uint8_t> namedChildren;
        std::vector<std::uint8_t> namedValues;
        // The target's lookups. A map lookup per entry costs, and a node per
        // wide target in the map more: while merging, the frame's own serve,
        // their memory kept from one target to the next.
        TNameLookup* childLookup = nullptr;
        TNameLookup* valueLookup = nullptr;
        TNameLookup targetChildren;
        TNameLookup targetValues;
    };

    TFrame& Push();
    // With cache, the node's lookup is kept there for the next call.
    int ChildPosition(const TTarvinItem& node, std::string_view name,
                      TNameLookup** cache = nullptr);
    int ValuePosition(const TTarvinItem& node, std::string_view ident, TNameLookup** cache);
    // Appends to out every child of the parent frame's match'th match with
    // that name, in order.
    void AppendMatches(TFrame& parent, int match, std::string_view name, std::vector<TMatch>& out);
    // Starts fetching the target's child j and those after it from memory.
    static void PrefetchFrom(const TTarvinItem& target, int j);
    // The merge's first position of name among the parent frame's target's children.
    int TargetPosition(TFrame& parent, std::string_view name);
    // AppendMatches when the parent's one match is its target, in which the
    // merge found name first at j (before appending a copy when j < 0).
    void AppendTargetMatches(TFrame& parent, int j, std::string_view name,
                             std::vector<TMatch>& out);
    // Marks what the frame's match'th match has and the closing base node lacks.
    void Mark(std::size_t depth, int match);
    // Calls remove(i) for each of open's entries (children or values) whose
    // key the base node lacks; run, keys and named are the frame's for that
    // kind, and targetPosition finds a key among open's entries.
    template <class Entry, class Position, class Remove>
    void MarkLacking(std::span<const Entry> entries, TStr Entry::*key, int run, const TKeys& keys,
                     TNameLookup& lookup, const std::vector<std::uint8_t>& named,
                     const Position& targetPosition, const Remove& remove);
    // Records the match's path once it has a mark; returns its TMarked position.
    int MarkedNode(std::size_t depth, int match);
    // A position of a value of that ident in the frame's target, -1 if it
    // has none: the first unless the target repeats idents.
    int ValueAt(TFrame& frame, std::string_view ident);
    // End the frame's run in order: the entries its base node named so far
    // are flagged by position when the target's keys all differ and it is
    // wide (its lookup then says so), else the keys so far are copied.
    void EndNamesRun(TFrame& frame);
    void EndIdentsRun(TFrame& frame);
    // Their flagging, for one kind: false, with nothing changed, where the
    // target is narrow or its lookup is not indexed or repeats a key.
    static bool FlagRun(const TNameLookup* lookup, int count, std::vector<std::uint8_t>& named,
                        int& run);
    // Ends the frame's run in order: its keys so far are copied from the target.
    void TakeNamesFromTarget(TFrame& frame);
    void TakeIdentsFromTarget(TFrame& frame);
    // A tree in an arena keeps the copies there, beside its nodes: tens of
    // thousands of small heap blocks would fault in fresh small pages one by
    // one. A tree on the heap gets strings of its own.
    static std::pmr::memory_resource* CopiesIn(const TTarvinItem& openRoot) {
        std::pmr::memory_resource* resource = openRoot.Resource();
        return resource == std::pmr::get_default_resource() ? nullptr : resource;
    }
    TStr FromBase(std::string_view text) const {
        if (m_borrow)
            return TStr::Borrow(text);
        if (m_copies == nullptr || text.empty())
            return TStr(text);
        auto* copy = static_cast<char*>(m_copies->allocate(text.size(), 1));
        std::memcpy(copy, text.data(), text.size());
        return TStr::Borrow({copy, text.size()});
    }
    // A string the read made for this value alone is taken over, not copied.
    TStr FromBase(TStr&& text, std::string_view kept) const {
        if (!text.IsOwned())
            return FromBase(kept);
        return kept.size() == text.Size() ? std::move(text) : TStr(kept);
    }
    void ClearMarks() {
        m_marked.clear();
        m_paths.clear();
        m_removedChildren.clear();
        m_removedValues.clear();
    }

    TTarvinItem& m_openRoot;
    TUpdateLists& m_lists;
    const CodePage& m_cp;
    const bool m_borrow;
    std::pmr::memory_resource* const m_copies;
    bool m_merging = true;
    bool m_marking = true;
    bool m_repeatedName = false;
    std::deque<TFrame> m_frames; // by depth; a deque keeps references while it grows
    std::size_t m_depth = 0;
    // Open nodes only grow, so an index stays valid and takes in appended
    // entries on its next lookup.
    std::unordered_map<const TTarvinItem*, TNameLookup> m_childIndexes;
    std::unordered_map<const TTarvinItem*, TNameLookup> m_valueIndexes;
    // Of a wide open node: first position of a name -> later positions of it.
    struct TRepeats {
        int indexed = 0;
        std::unordered_map<int, std::vector<int>> later;
    };
    std::unordered_map<const TTarvinItem*, TRepeats> m_repeats;
    TList<TMarked> m_marked;
    TList<int> m_paths; // the marked nodes' paths, one after another
    TList<TRemovedAt> m_removedChildren;
    TList<TRemovedAt> m_removedValues;
    int m_lastMarked = -1; // of the Mark call under way
};

void TUpdateMerge::Start(bool merging) {
    m_merging = merging;
    m_marking = true;
    m_repeatedName = false;
    m_repeats.clear(); // the tree has grown since
    ClearMarks();
    m_depth = 0;
    TFrame& root = Push();
    root.target = &m_openRoot;
    root.matches.push_back({&m_openRoot, -1, -1});
    root.namesInOrder = root.identsInOrder = merging ? 0 : kKeysCopied;
}

TUpdateMerge::TFrame& TUpdateMerge::Push() {
    if (m_depth == m_frames.size())
        m_frames.emplace_back();
    TFrame& frame = m_frames[m_depth++];
    frame.target = nullptr;
    frame.copy = false;
    frame.matches.clear();
    frame.names.Clear();
    frame.nameLookup = TNameLookup();
    frame.idents.Clear();
    frame.identLookup = TNameLookup();
    frame.missing.clear();
    frame.missingLookup = TNameLookup();
    frame.hint = 0;
    frame.childHint = 0;
    frame.namesInOrder = kKeysCopied;
    frame.identsInOrder = kKeysCopied;
    frame.namedChildren.clear();
    frame.namedValues.clear();
    frame.targetChildren.Clear();
    frame.targetValues.Clear();
    frame.childLookup = m_merging ? &frame.targetChildren : nullptr;
    frame.valueLookup = m_merging ? &frame.targetValues : nullptr;
    return frame;
}

namespace {

// The first entry with that key (a name or an ident). Short lists are
// scanned and get no entry in lookups.
template <class Entry>
int FirstPosition(std::unordered_map<const TTarvinItem*, TNameLookup>& lookups,
                  const TTarvinItem& node, std::span<const Entry> entries, TStr Entry::*key,
                  std::string_view wanted, const CodePage& cp, TNameLookup** cache) {
    const int count = static_cast<int>(entries.size());
    const auto keyAt = [&](int i) { return (entries[static_cast<std::size_t>(i)].*key).View(); };
    if (count <= kLinearLookupLimit)
        return TNameLookup().Find(wanted, count, keyAt, cp);
    TNameLookup* lookup = cache != nullptr ? *cache : nullptr;
    if (lookup == nullptr) {
        lookup = &lookups[&node]; // a map keeps its values where they are
        if (cache != nullptr)
            *cache = lookup;
    }
    return lookup->Find(wanted, count, keyAt, cp);
}

} // namespace

int TUpdateMerge::ChildPosition(const TTarvinItem& node, std::string_view name,
                                TNameLookup** cache) {
    return FirstPosition(m_childIndexes, node, node.Children(), &TTarvinItem::TChildEntry::Name,
                         name, m_cp, cache);
}

int TUpdateMerge::ValuePosition(const TTarvinItem& node, std::string_view ident,
                                TNameLookup** cache) {
    return FirstPosition(m_valueIndexes, node, node.Values(), &TTarvinItem::TValueEntryData::Ident,
                         ident, m_cp, cache);
}

void TUpdateMerge::AppendMatches(TFrame& parent, int match, std::string_view name,
                                 std::vector<TMatch>& out) {
    const TTarvinItem& node = *parent.matches[static_cast<std::size_t>(match)].node;
    const auto children = node.Children();
    const int count = static_cast<int>(children.size());
    const auto add = [&](int i) { out.push_back({children[i].Item.get(), match, i}); };
    if (count <= kLinearLookupLimit) {
        for (int i = 0; i < count; ++i)
            if (m_cp.SameText(children[i].Name.View(), name))
                add(i);
        return;
    }
    // The merge has just looked up its target's children.
    TNameLookup* lookup = nullptr;
    TNameLookup** cache = &node == parent.target ? &parent.childLookup : &lookup;
    const int first = ChildPosition(node, name, cache);
    if (first < 0)
        return;
    add(first);
    if (!(*cache)->Repeats())
        return; // no later child has the name

    TRepeats& repeats = m_repeats[&node];
    for (; repeats.indexed < count; ++repeats.indexed) {
        const int i = repeats.indexed;
        if (const int p = ChildPosition(node, children[i].Name.View()); p != i)
            repeats.later[p].push_back(i);
    }
    if (const auto it = repeats.later.find(first); it != repeats.later.end())
        for (const int i : it->second)
            add(i);
}

void TUpdateMerge::OpenNode(std::string_view name) {
    TFrame& parent = m_frames[m_depth - 1];
    // The merge's lookup comes first: while the base is in order it also
    // says whether the name is new among the base node's children.
    const int j = m_merging && !parent.copy ? TargetPosition(parent, name) : -1;
    bool first = false;
    if (m_marking) {
        if (parent.namesInOrder >= 0 && j == parent.namesInOrder) {
            ++parent.namesInOrder;
            first = true;
        } else {
            if (parent.namesInOrder >= 0)
                EndNamesRun(parent);
            if (parent.namesInOrder == kByPosition) {
                // j is the first of its name: the name is new unless an
                // earlier base child found the same child.
                first = j < 0 || parent.namedChildren[static_cast<std::size_t>(j)] == 0;
                if (j >= 0)
                    parent.namedChildren[static_cast<std::size_t>(j)] = 1;
            } else {
                const TKeys& names = parent.names;
                first = parent.nameLookup.Find(
                            name, names.Count(), [&](int i) { return names[i]; }, m_cp) < 0;
                parent.names.Add(name);
            }
            if (!first && m_merging) {
                // The merge goes on; the marks wait for the second read.
                m_marking = false;
                m_repeatedName = true;
                ClearMarks();
            }
        }
    }
    TFrame& child = Push();
    if (m_merging) {
        TTarvinItem& target = *parent.target;
        child.copy = j < 0;
        child.target = j < 0 ? &target.AppendChild(FromBase(name)) : &target.GetChild(j);
        if (j >= 0)
            PrefetchFrom(target, j);
        else if (m_marking && parent.namesInOrder == kByPosition)
            parent.namedChildren.push_back(1); // the copy, which the base has
    }
    if (m_marking && first) {
        if (m_merging && parent.matches.size() == 1 && parent.matches[0].node == parent.target)
            AppendTargetMatches(parent, j, name, child.matches);
        else
            for (int m = 0; m < static_cast<int>(parent.matches.size()); ++m)
                AppendMatches(parent, m, name, child.matches);
        // Marks against the target alone can read the target's keys.
        if (m_merging && !child.copy && child.matches.size() == 1 &&
            child.matches[0].node == child.target)
            child.namesInOrder = child.identsInOrder = 0;
    }
}

void TUpdateMerge::PrefetchFrom(const TTarvinItem& target, int j) {
    // The open tree is far out of cache, and a base in its order names the
    // target's children one after another, each before its own children:
    // fetch the entries of child j and the next, whose nodes were fetched a
    // child ago, the node of j's first child, and the node after the next.
    const auto children = target.Children();
    const auto fetchEntries = [](const TTarvinItem& node) {
        __builtin_prefetch(node.Values().data());
        __builtin_prefetch(node.Children().data());
    };
    const TTarvinItem& node = *children[static_cast<std::size_t>(j)].Item;
    fetchEntries(node);
    if (const auto below = node.Children(); !below.empty())
        __builtin_prefetch(below.front().Item.get());
    if (static_cast<std::size_t>(j) + 1 < children.size())
        fetchEntries(*children[static_cast<std::size_t>(j) + 1].Item);
    if (static_cast<std::size_t>(j) + 2 < children.size())
        __builtin_prefetch(children[static_cast<std::size_t>(j) + 2].Item.get());
}

int TUpdateMerge::TargetPosition(TFrame& parent, std::string_view name) {
    // A base in the translation's order names the target's next child: with
    // no name repeated among the target's children, that one is the first
    // of its name, and the hash of the name need not be taken.
    int& next = parent.childHint;
    const TTarvinItem& target = *parent.target;
    if (next < target.ChildCount() && parent.childLookup != nullptr &&
        parent.childLookup->Indexed() && !parent.childLookup->Repeats() &&
        m_cp.SameText(target.Children()[static_cast<std::size_t>(next)].Name.View(), name))
        return next++;
    const int j = ChildPosition(target, name, &parent.childLookup);
    if (j >= 0)
        next = j + 1;
    return j;
}

void TUpdateMerge::AppendTargetMatches(TFrame& parent, int j, std::string_view name,
                                       std::vector<TMatch>& out) {
    // A copy made just now holds all the base node will hold, so marks
    // against it find nothing: it is no match.
    if (j < 0 || parent.copy)
        return;
    const auto children = parent.target->Children();
    const int count = static_cast<int>(children.size());
    if (count > kLinearLookupLimit && parent.childLookup->Repeats()) {
        AppendMatches(parent, 0, name, out);
        return;
    }
    // Nothing before j has the name, as the merge's lookup found.
    out.push_back({children[j].Item.get(), 0, j});
    if (count <= kLinearLookupLimit)
        for (int i = j + 1; i < count; ++i)
            if (m_cp.SameText(children[i].Name.View(), name))
                out.push_back({children[i].Item.get(), 0, i});
}

bool TUpdateMerge::FlagRun(const TNameLookup* lookup, int count, std::vector<std::uint8_t>& named,
                           int& run) {
    if (count <= kLinearLookupLimit || lookup == nullptr || !lookup->Indexed() || lookup->Repeats())
        return false;
    named.assign(static_cast<std::size_t>(count), 0);
    std::fill_n(named.begin(), run, 1);
    run = kByPosition;
    return true;
}

void TUpdateMerge::EndNamesRun(TFrame& frame) {
    if (!FlagRun(frame.childLookup, frame.target->ChildCount(), frame.namedChildren,
                 frame.namesInOrder))
        TakeNamesFromTarget(frame);
}

void TUpdateMerge::EndIdentsRun(TFrame& frame) {
    if (!FlagRun(frame.valueLookup, frame.target->ValueCount(), frame.namedValues,
                 frame.identsInOrder))
        TakeIdentsFromTarget(frame);
}

void TUpdateMerge::TakeNamesFromTarget(TFrame& frame) {
    for (int i = 0; i < frame.namesInOrder; ++i)
        frame.names.Add(frame.target->Children()[static_cast<std::size_t>(i)].Name.View());
    frame.namesInOrder = kKeysCopied;
}

void TUpdateMerge::TakeIdentsFromTarget(TFrame& frame) {
    for (int i = 0; i < frame.identsInOrder; ++i)
        frame.idents.Add(frame.target->Values()[static_cast<std::size_t>(i)].Ident.View());
    frame.identsInOrder = kKeysCopied;
}

void TUpdateMerge::Value(std::string_view ident, TStr text) {
    TFrame& frame = m_frames[m_depth - 1];
    if (m_marking) {
        if (const int k = frame.identsInOrder; k >= 0) {
            const auto values = frame.target->Values();
            if (k < static_cast<int>(values.size()) &&
                m_cp.SameText(values[static_cast<std::size_t>(k)].Ident.View(), ident)) {
                ++frame.identsInOrder;
                ++frame.hint; // as ValueAt would, finding it there
                return;
            }
        }
    }
    // A wide target's lookup has taken in all its values once this returns.
    const int p = m_merging ? ValueAt(frame, ident) : -1;
    if (m_marking) {
        if (frame.identsInOrder >= 0)
            EndIdentsRun(frame);
        if (frame.identsInOrder == kByPosition) {
            if (p >= 0)
                frame.namedValues[static_cast<std::size_t>(p)] = 1;
        } else {
            frame.idents.Add(ident);
        }
    }
    if (!m_merging || p >= 0)
        return;
    // An ident the base repeats goes in once, as if each went in on its own.
    auto& missing = frame.missing;
    if (frame.missingLookup.Find(
            ident, static_cast<int>(missing.size()), [&](int k) { return missing[k].Ident.View(); },
            m_cp) >= 0)
        return;
    const std::string_view kept = CutAtNul(text.View());
    missing.push_back({FromBase(ident), FromBase(std::move(text), kept)});
}

void TUpdateMerge::CloseNode() {
    TFrame& frame = m_frames[m_depth - 1];
    if (m_marking)
        for (int m = 0; m < static_cast<int>(frame.matches.size()); ++m)
            Mark(m_depth - 1, m);
    if (m_merging) {
        TTarvinItem& target = *frame.target;
        const int first = target.ValueCount();
        const int added = static_cast<int>(frame.missing.size());
        target.AppendValues(frame.missing);
        frame.missing.clear();
        if (!frame.copy)
            for (int i = 0; i < added; ++i)
                m_lists.AddedValues.Append({&target, first + i});
        if (frame.copy)
            m_lists.AddedItems.Append(frame.target);
    }
    --m_depth;
}

int TUpdateMerge::MarkedNode(std::size_t depth, int match) {
    if (m_lastMarked >= 0)
        return m_lastMarked;
    TTarvinItem* node = m_frames[depth].matches[static_cast<std::size_t>(match)].node;
    const std::size_t start = m_paths.size();
    for (std::size_t d = depth; d > 0; --d) {
        const TMatch& m = m_frames[d].matches[static_cast<std::size_t>(match)];
        m_paths.push_back(m.index);
        match = m.parent;
    }
    std::reverse(m_paths.begin() + static_cast<std::ptrdiff_t>(start), m_paths.end());
    m_marked.push_back({node, start, m_paths.size()});
    m_lastMarked = static_cast<int>(m_marked.size()) - 1;
    return m_lastMarked;
}

void TUpdateMerge::Mark(std::size_t depth, int match) {
    m_lastMarked = -1;
    TFrame& base = m_frames[depth];
    const TTarvinItem& open = *base.matches[static_cast<std::size_t>(match)].node;
    const auto into = [&](TList<TRemovedAt>& list) {
        return [&, this](int i) { list.push_back({MarkedNode(depth, match), i}); };
    };
    MarkLacking(
        open.Children(), &TTarvinItem::TChildEntry::Name, base.namesInOrder, base.names,
        base.nameLookup, base.namedChildren,
        [&](std::string_view name) { return ChildPosition(open, name, &base.childLookup); },
        into(m_removedChildren));
    MarkLacking(
        open.Values(), &TTarvinItem::TValueEntryData::Ident, base.identsInOrder, base.idents,
        base.identLookup, base.namedValues,
        [&](std::string_view ident) { return ValuePosition(open, ident, &base.valueLookup); },
        into(m_removedValues));
}

template <class Entry, class Position, class Remove>
void TUpdateMerge::MarkLacking(std::span<const Entry> entries, TStr Entry::*key, int run,
                               const TKeys& keys, TNameLookup& lookup,
                               const std::vector<std::uint8_t>& named,
                               const Position& targetPosition, const Remove& remove) {
    const int count = static_cast<int>(entries.size());
    if (run == kByPosition) {
        // open is the target, its keys all differ, and named holds a flag for each entry.
        for (int i = 0; i < count; ++i)
            if (named[static_cast<std::size_t>(i)] == 0)
                remove(i);
        return;
    }
    const auto keyAt = [&](int i) { return (entries[static_cast<std::size_t>(i)].*key).View(); };
    if (run >= 0) {
        // open is the target, and the base's entries its first run.
        for (int i = run; i < count; ++i)
            if (targetPosition(keyAt(i)) >= run)
                remove(i);
        return;
    }
    // The entry after the last match, where a file in the same order has
    // it, is tried first.
    const auto baseKey = [&](int k) { return keys[k]; };
    int hint = 0;
    for (int i = 0; i < count; ++i) {
        const std::string_view wanted = keyAt(i);
        if (hint < keys.Count() && m_cp.SameText(keys[hint], wanted))
            ++hint;
        else if (const int p = lookup.Find(wanted, keys.Count(), baseKey, m_cp); p >= 0)
            hint = p + 1;
        else
            remove(i);
    }
}

int TUpdateMerge::ValueAt(TFrame& frame, std::string_view ident) {
    const TTarvinItem& target = *frame.target;
    int& hint = frame.hint;
    if (hint < target.ValueCount() && m_cp.SameText(target.Values()[hint].Ident.View(), ident))
        return hint++;
    const int p = ValuePosition(target, ident, &frame.valueLookup);
    if (p >= 0)
        hint = p + 1;
    return p;
}

void TUpdateMerge::ListRemoved() {
    // A removed child sits at its parent's path and its own index, in the
    // order of a walk that lists it as it reaches it; a node's removed values
    // are listed as the walk leaves the node, after all below it: as if at
    // an index past every child.
    const auto before = [&](const TRemovedAt& a, const TRemovedAt& b) {
        if (a.marked == b.marked)
            return a.index < b.index;
        const TMarked& x = m_marked[static_cast<std::size_t>(a.marked)];
        const TMarked& y = m_marked[static_cast<std::size_t>(b.marked)];
        const auto px = std::span(m_paths).subspan(x.pathStart, x.pathEnd - x.pathStart);
        const auto py = std::span(m_paths).subspan(y.pathStart, y.pathEnd - y.pathStart);
        const std::size_t common = std::min(px.size(), py.size());
        for (std::size_t i = 0; i < common; ++i)
            if (px[i] != py[i])
                return px[i] < py[i];
        // One path holds the other: compare the longer one's next step with
        // the shorter one's own index.
        if (px.size() < py.size())
            return a.index < py[common];
        return px[common] < b.index;
    };
    std::stable_sort(m_removedChildren.begin(), m_removedChildren.end(), before);
    for (const TRemovedAt& at : m_removedChildren)
        m_lists.RemovedItems.Append(
            &m_marked[static_cast<std::size_t>(at.marked)].node->GetChild(at.index));

    // A node's values were marked together and in order: sort the nodes.
    std::vector<TRemovedAt> holders; // each node's first value's position in m_removedValues
    for (std::size_t i = 0; i < m_removedValues.size(); ++i)
        if (i == 0 || m_removedValues[i].marked != m_removedValues[i - 1].marked)
            holders.push_back({m_removedValues[i].marked, static_cast<int>(i)});
    const auto leftLater = [&](const TRemovedAt& a, const TRemovedAt& b) {
        return before({a.marked, INT_MAX}, {b.marked, INT_MAX});
    };
    std::stable_sort(holders.begin(), holders.end(), leftLater);
    for (const TRemovedAt& holder : holders) {
        TTarvinItem* node = m_marked[static_cast<std::size_t>(holder.marked)].node;
        for (auto i = static_cast<std::size_t>(holder.index);
             i < m_removedValues.size() && m_removedValues[i].marked == holder.marked; ++i)
            m_lists.RemovedValues.Append({node, m_removedValues[i].index});
    }
}

// Hands a tree to a sink as a read of its text would.
void ReadTree(const TTarvinItem& root, TLanguageSink& sink) {
    struct Frame {
        const TTarvinItem* node;
        int next;
    };
    auto values = [&](const TTarvinItem& node) {
        for (const auto& value : node.Values())
            sink.Value(value.Ident.View(), TStr::Borrow(value.Text.View()));
    };
    values(root);
    std::vector<Frame> stack{{&root, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next < frame.node->ChildCount()) {
            const auto& child = frame.node->Children()[frame.next++];
            sink.OpenNode(child.Name.View());
            values(*child.Item);
            stack.push_back({child.Item.get(), 0});
        } else {
            sink.CloseNode();
            stack.pop_back();
        }
    }
}

} // namespace

void UpdateTo(const TBaseRead& readBase, TTarvinItem& openRoot, TUpdateLists& lists,
              const CodePage& cp, TBaseLife life) {
    lists.ClearUpdateLists();
    TUpdateMerge merge(openRoot, lists, cp, life);
    merge.Start(true);
    readBase(merge);
    if (merge.NeedsMarkingRead()) {
        merge.Start(false);
        readBase(merge);
    }
    merge.ListRemoved();
}

void UpdateTo(const TTarvinItem& baseRoot, TTarvinItem& openRoot, TUpdateLists& lists,
              const CodePage& cp, TBaseLife life) {
    UpdateTo([&](TLanguageSink& sink) { ReadTree(baseRoot, sink); }, openRoot, lists, cp, life);
}

void PruneRemoved(TTarvinItem& item, TUpdateLists& lists) {
    // Deleting by positions that were valid before any deletion in the same
    // node is what last-to-first deletion amounts to; doing it in one pass per
    // node keeps a node with many removed entries linear.
    if (lists.RemovedItems.empty() && lists.RemovedValues.empty())
        return;
    const TRemovedEntries removed(lists);

    std::vector<TTarvinItem*> takenItems;
    std::vector<TValueEntry> takenValues;
    std::vector<int> doomed;
    std::vector<TTarvinItem*> pending{&item};
    while (!pending.empty()) {
        TTarvinItem* node = pending.back();
        pending.pop_back();

        doomed.clear();
        const auto children = node->Children();
        for (int n = 0; n < static_cast<int>(children.size()); ++n) {
            TTarvinItem* child = children[n].Item.get();
            if (removed.Skips(*child).Whole) {
                doomed.push_back(n);
                takenItems.push_back(child);
            } else {
                pending.push_back(child);
            }
        }
        if (!doomed.empty())
            node->DeleteChildren(doomed);

        doomed.clear();
        for (const int n : removed.Skips(*node).Values) {
            if (n >= node->ValueCount())
                break;
            doomed.push_back(n);
            takenValues.push_back({node, n});
        }
        if (!doomed.empty())
            node->DeleteValues(doomed);
    }
    lists.RemovedItems.RemoveFirstOccurrences(takenItems);
    lists.RemovedValues.RemoveFirstOccurrences(takenValues);
}

} // namespace trvx
