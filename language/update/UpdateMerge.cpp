#include "update/UpdateMerge.h"

#include "tree/FirstPositionIndex.h"
#include "update/RemovedEntries.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace trvx {

namespace {

// The merge steps of Update To. Each gives exactly what the plain recursive
// merge with linear lookups gives (first match by folded name, copy order,
// list orders), but walks with explicit stacks, so depth is bounded only by
// memory, and looks names up through indexes kept per node.
class TUpdateMerge {
public:
    TUpdateMerge(TUpdateLists& lists, const CodePage& cp, TBaseLife life)
        : m_lists(lists), m_cp(cp), m_borrow(life == TBaseLife::OutlivesOpen) {}

    // Copies into open what base has and open lacks; values of a node are
    // merged after all of its descendants.
    void MergeAdded(const TTarvinItem& base, TTarvinItem& open);
    // Appends a copy of source named name to parent. Every node of the copy
    // goes to AddedItems after its descendants; no value is recorded.
    void CopyNewItem(std::string_view name, const TTarvinItem& source, TTarvinItem& parent);
    // Appends to target the values whose idents it lacks, in source order;
    // with record set, each gets an AddedValues entry after the loop.
    void CopyMissingValues(const TTarvinItem& source, TTarvinItem& target, bool record);
    // Records what open has and base lacks; nothing below a removed node.
    void MarkRemoved(const TTarvinItem& base, TTarvinItem& open);

    // Indexes of nodes that will not be looked up again can go.
    void DropIndexes() {
        m_childIndexes.clear();
        m_valueIndexes.clear();
    }

private:
    int ChildPosition(const TTarvinItem& node, std::string_view name);
    int ValuePosition(const TTarvinItem& node, std::string_view ident);
    TStr FromBase(std::string_view text) const {
        return m_borrow ? TStr::Borrow(text) : TStr(text);
    }

    TUpdateLists& m_lists;
    const CodePage& m_cp;
    const bool m_borrow;
    // Nodes only grow during the merge, so an index stays valid and takes in
    // appended entries on its next lookup.
    std::unordered_map<const TTarvinItem*, TFirstPositionIndex> m_childIndexes;
    std::unordered_map<const TTarvinItem*, TFirstPositionIndex> m_valueIndexes;
    std::vector<TTarvinItem::TValueEntryData> m_missing; // a buffer of CopyMissingValues
};

int TUpdateMerge::ChildPosition(const TTarvinItem& node, std::string_view name) {
    const int count = node.ChildCount();
    if (count <= kLinearLookupLimit)
        return node.IndexOfChild(name, m_cp);
    const auto children = node.Children();
    return m_childIndexes[&node].Find(
        name, count, [&](int i) { return children[i].Name.View(); }, m_cp);
}

int TUpdateMerge::ValuePosition(const TTarvinItem& node, std::string_view ident) {
    const int count = node.ValueCount();
    if (count <= kLinearLookupLimit)
        return node.IndexOfValue(ident, m_cp);
    const auto values = node.Values();
    return m_valueIndexes[&node].Find(
        ident, count, [&](int i) { return values[i].Ident.View(); }, m_cp);
}

void TUpdateMerge::MergeAdded(const TTarvinItem& base, TTarvinItem& open) {
    struct Frame {
        const TTarvinItem* base;
        TTarvinItem* open;
        int next;
    };
    std::vector<Frame> stack{{&base, &open, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next < frame.base->ChildCount()) {
            const auto& child = frame.base->Children()[frame.next++];
            const int j = ChildPosition(*frame.open, child.Name.View());
            if (j < 0) {
                CopyNewItem(child.Name.View(), *child.Item, *frame.open);
            } else {
                TTarvinItem& match = frame.open->GetChild(j);
                stack.push_back({child.Item.get(), &match, 0});
            }
        } else {
            CopyMissingValues(*frame.base, *frame.open, true);
            stack.pop_back();
        }
    }
}

void TUpdateMerge::CopyNewItem(std::string_view name, const TTarvinItem& source,
                               TTarvinItem& parent) {
    struct Frame {
        const TTarvinItem* source;
        TTarvinItem* copy;
        int next;
    };
    std::vector<Frame> stack{{&source, &parent.AppendChild(FromBase(name)), 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next < frame.source->ChildCount()) {
            const auto& child = frame.source->Children()[frame.next++];
            TTarvinItem& copy = frame.copy->AppendChild(FromBase(child.Name.View()));
            stack.push_back({child.Item.get(), &copy, 0});
        } else {
            CopyMissingValues(*frame.source, *frame.copy, false);
            m_lists.AddedItems.Append(frame.copy);
            stack.pop_back();
        }
    }
}

void TUpdateMerge::CopyMissingValues(const TTarvinItem& source, TTarvinItem& target, bool record) {
    // The missing values go in as one batch, so the target's list grows by
    // one exact allocation rather than doubling in its tree's arena. An
    // ident the source repeats goes in once, as if each went in on its own.
    m_missing.clear();
    TNameLookup missing;
    // Only whether the target has an ident matters here, so the entry after
    // the last match, where a file in the same order has it, is tried first.
    int hint = 0;
    for (const auto& value : source.Values()) {
        const std::string_view ident = value.Ident.View();
        if (hint < target.ValueCount() &&
            m_cp.SameText(target.Values()[hint].Ident.View(), ident)) {
            ++hint;
            continue;
        }
        if (const int p = ValuePosition(target, ident); p >= 0) {
            hint = p + 1;
            continue;
        }
        const int count = static_cast<int>(m_missing.size());
        if (missing.Find(
                ident, count, [&](int k) { return m_missing[k].Ident.View(); }, m_cp) >= 0)
            continue;
        m_missing.push_back({FromBase(ident), FromBase(CutAtNul(value.Text.View()))});
    }
    const int first = target.ValueCount();
    const int added = static_cast<int>(m_missing.size());
    target.AppendValues(m_missing);
    if (record)
        for (int i = 0; i < added; ++i)
            m_lists.AddedValues.Append({&target, first + i});
}

void TUpdateMerge::MarkRemoved(const TTarvinItem& base, TTarvinItem& open) {
    struct Frame {
        const TTarvinItem* base;
        TTarvinItem* open;
        int next;
    };
    std::vector<Frame> stack{{&base, &open, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next < frame.open->ChildCount()) {
            const int i = frame.next++;
            TTarvinItem& child = frame.open->GetChild(i);
            const int j = ChildPosition(*frame.base, frame.open->GetChildName(i));
            if (j < 0)
                m_lists.RemovedItems.Append(&child);
            else
                stack.push_back({&frame.base->GetChild(j), &child, 0});
        } else {
            TTarvinItem& node = *frame.open;
            const TTarvinItem& baseNode = *frame.base;
            stack.pop_back();
            const auto values = node.Values();
            const auto baseValues = baseNode.Values();
            int hint = 0; // as in CopyMissingValues
            for (int i = 0; i < static_cast<int>(values.size()); ++i) {
                const std::string_view ident = values[i].Ident.View();
                if (hint < static_cast<int>(baseValues.size()) &&
                    m_cp.SameText(baseValues[hint].Ident.View(), ident)) {
                    ++hint;
                } else if (const int p = ValuePosition(baseNode, ident); p >= 0) {
                    hint = p + 1;
                } else {
                    m_lists.RemovedValues.Append({&node, i});
                }
            }
        }
    }
}

} // namespace

void UpdateTo(const TTarvinItem& baseRoot, TTarvinItem& openRoot, TUpdateLists& lists,
              const CodePage& cp, TBaseLife life) {
    lists.ClearUpdateLists();
    TUpdateMerge merge(lists, cp, life);
    merge.MergeAdded(baseRoot, openRoot);
    merge.DropIndexes();
    merge.MarkRemoved(baseRoot, openRoot);
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
            if (removed.SkipsItem(*child)) {
                doomed.push_back(n);
                takenItems.push_back(child);
            } else {
                pending.push_back(child);
            }
        }
        if (!doomed.empty())
            node->DeleteChildren(doomed);

        if (!removed.SkipsValuesOf(*node))
            continue;
        doomed.clear();
        for (int n = 0; n < node->ValueCount(); ++n) {
            if (removed.SkipsValue(*node, n)) {
                doomed.push_back(n);
                takenValues.push_back({node, n});
            }
        }
        if (!doomed.empty())
            node->DeleteValues(doomed);
    }
    lists.RemovedItems.RemoveFirstOccurrences(takenItems);
    lists.RemovedValues.RemoveFirstOccurrences(takenValues);
}

} // namespace trvx
