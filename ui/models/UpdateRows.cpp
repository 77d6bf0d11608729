#include "ui/models/UpdateRows.h"

#include "ui/common/ViewRules.h"
#include "ui/models/ItemFilter.h"
#include "ui/models/ItemNodes.h"

namespace tarvin {

namespace {

// A value row for each entry whose node has a row in the contents tree.
// nodeOf gives the entries' nodes their rows (0: no row).
template <class ValueList>
void AddValueEntryRows(const ValueList& list, const TItemNodes& nodeOf,
                       std::vector<TUpdateNodeData>& rows) {
    // Each entry leads to its node, then the node's value, then the ident's
    // bytes: three places apart in a large tree. They are asked for a few
    // entries ahead, in that order, so the misses overlap.
    const auto value = [&list](std::size_t i) -> const trvx::TTarvinItem::TValueEntryData* {
        const trvx::TValueEntry& entry = list[i];
        const auto values = entry.Item->Values();
        return entry.ValueIndex >= 0 && std::size_t(entry.ValueIndex) < values.size()
                   ? &values[std::size_t(entry.ValueIndex)]
                   : nullptr;
    };
    constexpr std::size_t kAhead = 4;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i + 3 * kAhead < list.size())
            __builtin_prefetch(list[i + 3 * kAhead].Item);
        if (i + 2 * kAhead < list.size())
            if (const auto* v = value(i + 2 * kAhead))
                __builtin_prefetch(v);
        if (i + kAhead < list.size())
            if (const auto* v = value(i + kAhead))
                __builtin_prefetch(v->Ident.View().data());
        const int node = nodeOf.NodeOf(list[i].Item);
        const auto* v = value(i);
        if (node == 0 || v == nullptr)
            continue;
        const std::string_view ident = v->Ident.View();
        TUpdateNodeData row;
        row.Kind = ukValue;
        row.ContentsNode = node;
        row.ValueIndex = list[i].ValueIndex;
        row.ImageIndex = ValueRowImageIndex(ident);
        row.Caption = "Value: ";
        row.Caption += ident;
        rows.push_back(std::move(row));
    }
}

} // namespace

TUpdateRows UpdateListRows(const TContentsModel& contents, const trvx::TUpdateLists& lists) {
    TUpdateRows rows;
    // Node rows in the order the nodes were filled: the file's pre-order.
    for (const int node : contents.MarkedNodes()) {
        const TContentsNodeData& d = contents.NodeData(node);
        TUpdateNodeData row;
        row.Kind = ukItem;
        row.Caption = std::string(d.Caption);
        row.ContentsNode = node;
        row.ValueIndex = 0;
        row.ImageIndex = d.ImageIndex;
        (d.State == usAdded ? rows.Added : rows.Removed).push_back(std::move(row));
    }
    // The rows of only the nodes the entries name, found in one pass: the
    // entries are few, the rows may be a million.
    const std::size_t entries = lists.AddedValues.size() + lists.RemovedValues.size();
    TItemNodes nodeOf(entries);
    TItemFilter named(entries);
    for (const auto* list : {&lists.AddedValues, &lists.RemovedValues})
        for (const trvx::TValueEntry& entry : *list) {
            nodeOf.Add(entry.Item);
            named.Add(entry.Item);
        }
    for (int node = 1; entries > 0 && node <= contents.NodeCount(); ++node)
        if (const trvx::TTarvinItem* item = contents.NodeData(node).Item; named.MayContain(item))
            nodeOf.SetNode(item, node);
    AddValueEntryRows(lists.AddedValues, nodeOf, rows.Added);
    AddValueEntryRows(lists.RemovedValues, nodeOf, rows.Removed);
    return rows;
}

} // namespace tarvin
