// Update To and the Added and Removed lists.
#include "ui/mainwindow/untMain.h"

#include "ui/common/Dialogs.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/ItemFilter.h"
#include "ui/models/ItemNodes.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/ValuesModel.h"
#include "update/UpdateMerge.h"

#include <QItemSelectionModel>
#include <QTreeView>

#include <vector>

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

void TfrmMain::actUpdateToExecute() {
    const std::optional<QString> fileName = AskFileToOpen();
    if (!fileName)
        return;
    m_openFileName = *fileName;
    auto base = std::make_unique<trvx::TTarvin>();
    // A failed load ends here: the translation, its marks and the views stay.
    OpenFile(*fileName, base.get());
    // The marks are what a save would write differently: a base that adds
    // and removes nothing changes nothing, unless it drops earlier marks.
    const bool hadMarks = !UpdateLists.IsEmpty();
    try {
        trvx::UpdateTo(base->Root(), CurrentLanguage.Root(), UpdateLists,
                       CurrentLanguage.GetCodePage());
    } catch (...) {
        SetModified(true); // part of the base may have been copied in
        throw;
    }
    if (hadMarks || !UpdateLists.IsEmpty())
        SetModified(true);
    // The newer base is what the translator now translates from.
    if (!m_reference)
        m_reference = std::move(base);
    RebuildTrees();
}

void TfrmMain::FillUpdateTrees() {
    std::vector<TUpdateNodeData> added;
    std::vector<TUpdateNodeData> removed;
    // Node rows in the order the nodes were filled: the file's pre-order.
    for (const int node : ContentsModel->MarkedNodes()) {
        const TContentsNodeData& d = ContentsModel->NodeData(node);
        TUpdateNodeData row;
        row.Kind = ukItem;
        row.Caption = std::string(d.Caption);
        row.ContentsNode = node;
        row.ValueIndex = 0;
        row.ImageIndex = d.ImageIndex;
        (d.State == usAdded ? added : removed).push_back(std::move(row));
    }
    // The rows of only the nodes the entries name, found in one pass: the
    // entries are few, the rows may be a million.
    const std::size_t entries = UpdateLists.AddedValues.size() + UpdateLists.RemovedValues.size();
    TItemNodes nodeOf(entries);
    TItemFilter named(entries);
    for (const auto* list : {&UpdateLists.AddedValues, &UpdateLists.RemovedValues})
        for (const trvx::TValueEntry& entry : *list) {
            nodeOf.Add(entry.Item);
            named.Add(entry.Item);
        }
    for (int node = 1; entries > 0 && node <= ContentsModel->NodeCount(); ++node)
        if (const trvx::TTarvinItem* item = ContentsModel->NodeData(node).Item;
            named.MayContain(item))
            nodeOf.SetNode(item, node);
    AddValueEntryRows(UpdateLists.AddedValues, nodeOf, added);
    AddValueEntryRows(UpdateLists.RemovedValues, nodeOf, removed);
    AddedModel->SetRows(std::move(added), *m_codePage);
    RemovedModel->SetRows(std::move(removed), *m_codePage);
}

void TfrmMain::SortUpdateTrees() {
    const bool descending = actSortDescending->isChecked();
    AddedModel->Sort(m_sortKey, descending);
    RemovedModel->Sort(m_sortKey, descending);
}

void TfrmMain::actSortByTypeExecute() {
    const TUpdateSortKey key = actSortByType->isChecked() ? sbType : sbIdent;
    if (key == m_sortKey)
        return;
    m_sortKey = key;
    SortUpdateTrees();
}

void TfrmMain::actSortDescendingExecute() {
    SortUpdateTrees();
}

void TfrmMain::UpdateTreeChange(QTreeView* tree, const QModelIndex& row) {
    const auto* model = static_cast<const TUpdateModel*>(tree->model());
    const TUpdateNodeData* rowData = model->RowData(row);
    if (rowData == nullptr)
        return;
    RevealNode(VSTree1, ContentsModel->IndexOfNode(rowData->ContentsNode));
    if (rowData->Kind == ukItem)
        return;
    RevealNode(VSView1, ValuesModel->index(rowData->ValueIndex, 0));
}

void TfrmMain::UpdateTreeClick(QTreeView* tree) {
    const QModelIndexList selected = tree->selectionModel()->selectedRows();
    if (!selected.isEmpty())
        UpdateTreeChange(tree, selected.first());
}

} // namespace tarvin
