// The translator's workbench: the reference beside the translation, the way
// through its untranslated texts, the check's findings and undo of edits.
#include "ui/mainwindow/untMain.h"

#include "check/Check.h"
#include "ui/common/Dialogs.h"
#include "ui/common/LineBreakMarks.h"
#include "ui/common/TextCodec.h"
#include "ui/common/WindowAction.h"
#include "ui/mainwindow/EditCommands.h"
#include "ui/models/CheckModel.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/ReferenceText.h"
#include "ui/models/UntranslatedWalk.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/CheckWindow.h"
#include "ui/widgets/FileDrop.h"
#include "ui/widgets/UpdateListWindow.h"

#include <QAction>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QTreeView>
#include <QUndoStack>

namespace tarvin {

namespace {

int FirstSelectedRow(const QTreeView* view) {
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

} // namespace

void TfrmMain::CreateWorkbench() {
    UndoStack = new QUndoStack(this);
    UndoStack->setObjectName(QStringLiteral("UndoStack"));
    actUndo = UndoStack->createUndoAction(this, QStringLiteral("&Undo"));
    actUndo->setObjectName(QStringLiteral("actUndo"));
    actUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actRedo = UndoStack->createRedoAction(this, QStringLiteral("&Redo"));
    actRedo->setObjectName(QStringLiteral("actRedo"));
    actRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));

    actOpenReference =
        NewAction(this, "actOpenReference", "1. File", QStringLiteral("Open &Reference..."));
    actNextUntranslated =
        NewAction(this, "actNextUntranslated", "2. Search", QStringLiteral("Next &Untranslated"),
                  QKeySequence(Qt::CTRL | Qt::Key_N));
    actPreviousUntranslated = NewAction(this, "actPreviousUntranslated", "2. Search",
                                        QStringLiteral("Previous Untranslated"),
                                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    actCheck =
        NewAction(this, "actCheck", "3. Misc", QStringLiteral("&Check"), QKeySequence(Qt::Key_F7));
    Connect(actOpenReference, &TfrmMain::actOpenReferenceExecute);
    Connect(actNextUntranslated, &TfrmMain::actNextUntranslatedExecute);
    Connect(actPreviousUntranslated, &TfrmMain::actPreviousUntranslatedExecute);
    Connect(actCheck, &TfrmMain::actCheckExecute);
    const QList<QAction*> workbench{
        actOpenReference, actNextUntranslated, actPreviousUntranslated, actCheck, actUndo, actRedo};
    addActions(workbench);
    for (TUpdateListWindow* window : {AddedListWindow, RemovedListWindow})
        window->addActions(workbench);

    mnuFile->insertAction(actSave, actOpenReference);
    mnuEdit = new QMenu(QStringLiteral("&Edit"), this);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEdit->addActions({actUndo, actRedo});
    menuBar()->insertMenu(mnuSearch->menuAction(), mnuEdit);
    mnuSearch->addSeparator();
    mnuSearch->addActions({actNextUntranslated, actPreviousUntranslated});
    mnuMisc->addSeparator();
    mnuMisc->addAction(actCheck);

    CheckWindow = new TCheckWindow(this);
    CheckWindow->addActions(actions());
    connect(CheckWindow, &TCheckWindow::Jump, this,
            [this](const trvx::TFinding& finding) { Guarded([&] { JumpToFinding(finding); }); });

    VSView1->setColumnHidden(2, true);
    VSView1->setColumnWidth(2, 200);

    new TFileDrop(this, [this](const QString& file) {
        Guarded([&] {
            if (QuerySaveChanges()) {
                m_openFileName = file;
                OpenFile(file);
            }
        });
    });
}

void TfrmMain::UpdateWorkbenchActions() {
    const bool itemExists = CurrentLanguage.Root().ChildCount() > 0;
    actNextUntranslated->setEnabled(itemExists && HasReference());
    actPreviousUntranslated->setEnabled(itemExists && HasReference());
    actCheck->setEnabled(itemExists);
}

void TfrmMain::DetachWorkbench() {
    CheckWindow->disconnect(this);
    CheckWindow->Model()->Detach();
    UndoStack->clear();
}

bool TfrmMain::HasReference() const {
    return m_reference != nullptr;
}

void TfrmMain::ShowReferenceColumn(bool visible) {
    const bool appearing = visible && VSView1->isColumnHidden(2);
    VSView1->setColumnHidden(2, !visible);
    if (!appearing)
        return;
    // Value and reference share the room, so both are seen at once.
    const int room = VSView1->viewport()->width() - VSView1->columnWidth(0);
    if (room > 160) {
        VSView1->setColumnWidth(1, room / 2);
        VSView1->setColumnWidth(2, room - room / 2);
    }
}

void TfrmMain::WorkbenchTreesReset() {
    // The values rows and the lookup name nodes of the old shape.
    ValuesModel->Clear();
    m_referenceText.reset();
    if (m_reference)
        m_referenceText = std::make_unique<TReferenceText>(
            CurrentLanguage.Root(), m_reference->Root(), CurrentLanguage.GetCodePage());
    ShowReferenceColumn(m_reference != nullptr);
    CheckWindow->Model()->Detach();
    // Unsaved edits stay unsaved when their steps go.
    if (!UndoStack->isClean())
        m_modified = true;
    UndoStack->clear();
}

TValueReference TfrmMain::ValueReferenceOf(int node) {
    if (!m_referenceText)
        return {};
    return {m_referenceText.get(), ReferenceNodeOf(*ContentsModel, *m_referenceText, node),
            &m_reference->GetCodePage()};
}

std::optional<QString> TfrmMain::ReferenceTextOfSelectedValue() const {
    if (!m_reference)
        return std::nullopt;
    // A null text says the reference lacks the value; an empty one that it is empty.
    const auto text = ValuesModel->ReferenceText(FirstSelectedRow(VSView1));
    if (!text)
        return QString();
    QString decoded = DecodeText(*text, m_reference->GetCodePage());
    return decoded.isNull() ? QString(QLatin1String("")) : decoded;
}

void TfrmMain::actOpenReferenceExecute() {
    const std::optional<QString> fileName = AskFileToOpen();
    if (fileName)
        OpenReference(*fileName);
}

void TfrmMain::OpenReference(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix != QLatin1String("trvx") && suffix != QLatin1String("exe"))
        return; // as Open ignores it
    auto reference = std::make_unique<trvx::TTarvin>();
    // A failed load ends here, with the reference open before still open.
    OpenFile(fileName, reference.get());
    ValuesModel->Clear();
    m_referenceText.reset();
    m_reference = std::move(reference);
    m_referenceText = std::make_unique<TReferenceText>(CurrentLanguage.Root(), m_reference->Root(),
                                                       CurrentLanguage.GetCodePage());
    ShowReferenceColumn(true);
    // Show the selected node's values again, now with their reference.
    const int row = FirstSelectedRow(VSView1);
    const QModelIndexList nodes = VSTree1->selectionModel()->selectedRows();
    VSTree1Change(nodes.isEmpty() ? QModelIndex() : nodes.first());
    if (row >= 0 && row < ValuesModel->rowCount())
        RevealNode(VSView1, ValuesModel->index(row, 0));
}

void TfrmMain::actNextUntranslatedExecute() {
    GoToUntranslated(true);
}

void TfrmMain::actPreviousUntranslatedExecute() {
    GoToUntranslated(false);
}

void TfrmMain::GoToUntranslated(bool down) {
    if (!m_referenceText)
        return;
    const QModelIndexList nodes = VSTree1->selectionModel()->selectedRows();
    const TValuePosition from{nodes.isEmpty() ? 0 : ContentsModel->NodeOf(nodes.first()),
                              nodes.isEmpty() ? -1 : FirstSelectedRow(VSView1)};
    const std::optional<TValuePosition> found =
        FindUntranslated(*ContentsModel, *m_referenceText, from, down);
    if (!found) {
        TDialogs::Current().ShowMessage(this, QMessageBox::NoIcon, QStringLiteral("Tarvin"),
                                        QStringLiteral("Untranslated value not found."));
        return;
    }
    RevealNode(VSTree1, ContentsModel->IndexOfNode(found->Node));
    RevealNode(VSView1, ValuesModel->index(found->ValueIndex, 0));
}

void TfrmMain::actCheckExecute() {
    CheckWindow->Model()->SetFindings(trvx::CheckLanguage(CurrentLanguage, m_reference.get()));
    CheckWindow->UpdateSummary();
    if (!CheckWindow->isVisible() && !m_checkWindowPlaced) {
        // Below the main window, where it hides neither tree.
        CheckWindow->move(frameGeometry().left(), frameGeometry().bottom() + 1);
        m_checkWindowPlaced = true;
    }
    CheckWindow->show();
    CheckWindow->raise();
}

void TfrmMain::JumpToFinding(const trvx::TFinding& finding) {
    // A finding of a tree since rebuilt names no node any more.
    if (finding.Item == nullptr)
        return;
    const QModelIndex node = ContentsModel->IndexOfItem(finding.Item);
    if (!node.isValid())
        return;
    RevealNode(VSTree1, node);
    if (finding.ValueIndex >= 0)
        RevealNode(VSView1, ValuesModel->index(finding.ValueIndex, 0));
}

void TfrmMain::PushValueEdit(trvx::TTarvinItem& item, int index, std::string before,
                             std::string after) {
    if (before == after)
        return;
    const QString text = QStringLiteral("Edit %1").arg(
        MarkLineBreaks(DecodeText(item.GetValueIdent(index), CurrentLanguage.GetCodePage())));
    UndoStack->push(new TValueEditCommand(text, item, index, std::move(before), std::move(after),
                                          [this](trvx::TTarvinItem& changed, int at, bool again) {
                                              ValueStored(changed, at, again);
                                          }));
}

void TfrmMain::ValueStored(trvx::TTarvinItem& item, int index, bool again) {
    CheckWindow->Model()->MarkStale(&item, index);
    // Undo and redo show where they changed something.
    if (again) {
        RevealNode(VSTree1, ContentsModel->IndexOfItem(&item));
        RevealNode(VSView1, ValuesModel->index(index, 0));
    }
    const TValueNodeData* row = ValuesModel->RowData(index);
    if (row != nullptr && row->Item == &item)
        ValuesModel->RefreshRow(index);
}

} // namespace tarvin
