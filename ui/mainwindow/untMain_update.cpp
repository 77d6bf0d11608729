// Update To and the Added and Removed lists.
#include "ui/mainwindow/untMain.h"

#include "ui/common/Dialogs.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/UpdateRows.h"
#include "ui/models/ValuesModel.h"
#include "update/UpdateMerge.h"

#include <QItemSelectionModel>
#include <QTreeView>

namespace tarvin {

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
    TUpdateRows rows = UpdateListRows(*ContentsModel, UpdateLists);
    AddedModel->SetRows(std::move(rows.Added), *m_codePage);
    RemovedModel->SetRows(std::move(rows.Removed), *m_codePage);
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
