// The edit dispatch: the selected value goes to the editor that suits its ident.
#include "ui/Dialogs.h"
#include "ui/ValueEdit.h"
#include "ui/ValuesModel.h"
#include "ui/untMain.h"

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
    const std::optional<TValueEditResult> result =
        RunValueEditor(this, CurrentLanguage.GetCodePage(), ident, text);
    if (!result)
        return;
    if (!result->Error.isEmpty()) {
        TDialogs::Current().ShowMessage(this, QMessageBox::Warning, QStringLiteral("Tarvin"),
                                        result->Error);
        return;
    }
    StoreEditedValue(*item, index, *result);
}

void TfrmMain::StoreEditedValue(trvx::TTarvinItem& item, int index, const TValueEditResult& edit) {
    // OK on the text as it was is no edit: nothing to store or to save.
    if (item.ValueText(index) == edit.Text)
        return;
    item.SetValue(index, edit.Text);
    ValuesModel->SetValueText(index, edit.Display);
    // An edit is work that must not be lost without asking.
    SetModified(true);
}

} // namespace tarvin
