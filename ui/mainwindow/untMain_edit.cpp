// The edit dispatch: the selected value goes to the editor that suits its ident.
#include "ui/common/Dialogs.h"
#include "ui/editors/ValueEdit.h"
#include "ui/mainwindow/untMain.h"
#include "ui/models/ValuesModel.h"

#include <QItemSelectionModel>
#include <QTreeView>

namespace tarvin {

void TfrmMain::actEditExecute() {
    const QModelIndexList selected =
        VSView1->selectionModel() ? VSView1->selectionModel()->selectedRows() : QModelIndexList();
    if (selected.isEmpty())
        return;
    const int index = selected.first().row();
    const TValueNodeData* row = ValuesModel->RowData(index);
    if (!row || !row->Item)
        return;
    trvx::TTarvinItem* item = row->Item;
    if (row->State == usRemoved)
        TDialogs::Current().ShowMessage(this, QMessageBox::Information,
                                        QStringLiteral("Removed Item"),
                                        QStringLiteral("This item was removed from the original "
                                                       "file in the update"));

    const std::string ident(item->GetValueIdent(index));
    const std::string text = item->GetValue(index);
    const std::optional<TValueEditResult> result = RunValueEditor(
        this, CurrentLanguage.GetCodePage(), ident, text, ReferenceTextOfSelectedValue());
    if (!result)
        return;
    if (!result->Error.isEmpty()) {
        TDialogs::Current().ShowMessage(this, QMessageBox::Warning, QStringLiteral("Tarvin"),
                                        result->Error);
        return;
    }
    // One undo step; the stack's clean mark tells whether it is unsaved work.
    PushValueEdit(*item, index, text, result->Text);
}

} // namespace tarvin
