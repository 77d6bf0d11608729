// The search over node captions, value texts and value idents.
#include "ui/mainwindow/untMain.h"

#include "ui/common/Dialogs.h"
#include "ui/common/TextCodec.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/FindDialog.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTreeView>

#include <optional>
#include <string>

namespace tarvin {

namespace {

// The contents tree's rows in the order it shows them, by node number, so a
// walk over many nodes builds no model indexes.
class TContentsOrder final : public trvx::TSearchOrder {
public:
    explicit TContentsOrder(const TContentsModel& model) : m_model(model) {}
    int NextNode(int node) const override { return m_model.NextNode(node); }
    int PreviousNode(int node) const override { return m_model.PreviousNode(node); }
    const trvx::TTarvinItem& Item(int node) const override { return *m_model.NodeData(node).Item; }
    std::string_view Caption(int node) const override { return m_model.NodeData(node).Caption; }

private:
    const TContentsModel& m_model;
};

int FirstSelectedRow(const QTreeView* view) {
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString KindWord(TSearchKind kind) {
    switch (kind) {
    case skValue:
        return QStringLiteral("Value");
    case skValueIdent:
        return QStringLiteral("Value Ident");
    case skItem:
        break;
    }
    return QStringLiteral("Item");
}

} // namespace

TFindDialog& TfrmMain::FindDialog() {
    if (FindDialog1 == nullptr) {
        FindDialog1 = new TFindDialog(this);
        FindDialog1->setObjectName(QStringLiteral("FindDialog1"));
        connect(FindDialog1, &TFindDialog::Find, this,
                [this] { Guarded([this] { FindDialog1Find(); }); });
    }
    return *FindDialog1;
}

void TfrmMain::actFindExecute(QAction* sender) {
    TFindDialog& dialog = FindDialog();
    dialog.Tag = sender->data().toInt();
    dialog.Execute();
}

void TfrmMain::FindDialog1Find() {
    const TFindDialog& dialog = FindDialog();
    SearchState.Kind = dialog.Tag == skValue        ? skValue
                       : dialog.Tag == skValueIdent ? skValueIdent
                                                    : skItem;
    const QModelIndexList nodes = VSTree1->selectionModel()->selectedRows();
    SearchState.Node = nodes.isEmpty() ? 0 : ContentsModel->NodeOf(nodes.first());
    SearchState.ValueIndex = FirstSelectedRow(VSView1);
    SearchState.Down = dialog.Down();
    SearchState.IgnoreCase = !dialog.MatchCase();
    SearchState.Text = dialog.FindText();
    FindNextMatch();
}

void TfrmMain::FindNextMatch() {
    // A text the file's code page cannot hold is in none of its strings.
    std::optional<trvx::TSearchMatch> match;
    std::string text;
    if (EncodeText(SearchState.Text, DisplayCodePage(), text)) {
        const trvx::TSearchRequest request{SearchState.Kind, text,
                                           SearchState.Down, SearchState.IgnoreCase,
                                           SearchState.Node, SearchState.ValueIndex};
        match = trvx::FindNextMatch(TContentsOrder(*ContentsModel), request, DisplayCodePage());
    }
    if (!match) {
        QWidget* parent = FindDialog1 != nullptr && FindDialog1->isActiveWindow()
                              ? static_cast<QWidget*>(FindDialog1)
                              : this;
        TDialogs::Current().ShowMessage(parent, QMessageBox::NoIcon, QStringLiteral("Tarvin"),
                                        KindWord(SearchState.Kind) + QStringLiteral(" \"") +
                                            SearchState.Text + QStringLiteral("\" not found."));
        return;
    }

    SearchState.Node = match->Node;
    // Selecting another node refills the values view.
    RevealNode(VSTree1, ContentsModel->IndexOfNode(match->Node));
    if (SearchState.Kind == skItem)
        return;
    SearchState.ValueIndex = match->ValueIndex;
    RevealNode(VSView1, ValuesModel->index(match->ValueIndex, 0));
}

void TfrmMain::actFindNextExecute() {
    FindDialog1Find();
}

bool TfrmMain::actFindNextUpdate() const {
    return !SearchState.Text.isEmpty();
}

} // namespace tarvin
