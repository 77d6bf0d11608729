#include "MainWindow.h"

#include "ScriptedDialogs.h"
#include "UiTestSupport.h"

#include "ui/models/ContentsModel.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/CheckWindow.h"
#include "ui/widgets/FindDialog.h"
#include "ui/widgets/UpdateListWindow.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

namespace tarvin::test {

namespace {

template <class Model> Model* ModelOf(QTreeView* view) {
    auto* model = qobject_cast<Model*>(view->model());
    if (model == nullptr)
        qFatal("%s shows no %s", qPrintable(view->objectName()),
               Model::staticMetaObject.className());
    return model;
}

} // namespace

TMainWindow::TMainWindow(const QStringList& arguments)
    : TfrmMain(arguments), VSTree1(Part<QTreeView>(*this, "VSTree1")),
      VSView1(Part<QTreeView>(*this, "VSView1")), AddedTree(Part<QTreeView>(*this, "AddedTree")),
      RemovedTree(Part<QTreeView>(*this, "RemovedTree")),
      ContentsModel(ModelOf<TContentsModel>(VSTree1)), ValuesModel(ModelOf<TValuesModel>(VSView1)),
      AddedModel(ModelOf<TUpdateModel>(AddedTree)),
      RemovedModel(ModelOf<TUpdateModel>(RemovedTree)),
      AddedListWindow(Part<TUpdateListWindow>(*this, "AddedListWindow")),
      RemovedListWindow(Part<TUpdateListWindow>(*this, "RemovedListWindow")),
      CheckWindow(Part<TCheckWindow>(*this, "CheckWindow")),
      UndoStack(Part<QUndoStack>(*this, "UndoStack")), actOpen(Part<QAction>(*this, "actOpen")),
      actEdit(Part<QAction>(*this, "actEdit")), actSave(Part<QAction>(*this, "actSave")),
      actExit(Part<QAction>(*this, "actExit")),
      actAutoExpand(Part<QAction>(*this, "actAutoExpand")),
      actCollapseAll(Part<QAction>(*this, "actCollapseAll")),
      actExpandAll(Part<QAction>(*this, "actExpandAll")),
      actUpdateTo(Part<QAction>(*this, "actUpdateTo")),
      actSortByType(Part<QAction>(*this, "actSortByType")),
      actSortByIdent(Part<QAction>(*this, "actSortByIdent")),
      actSortDescending(Part<QAction>(*this, "actSortDescending")),
      actFindValue(Part<QAction>(*this, "actFindValue")),
      actFindValueIdent(Part<QAction>(*this, "actFindValueIdent")),
      actFindItem(Part<QAction>(*this, "actFindItem")),
      actFindNext(Part<QAction>(*this, "actFindNext")),
      actOpenReference(Part<QAction>(*this, "actOpenReference")),
      actNextUntranslated(Part<QAction>(*this, "actNextUntranslated")),
      actPreviousUntranslated(Part<QAction>(*this, "actPreviousUntranslated")),
      actCheck(Part<QAction>(*this, "actCheck")), actUndo(Part<QAction>(*this, "actUndo")),
      actRedo(Part<QAction>(*this, "actRedo")), miAddedList(Part<QAction>(*this, "miAddedList")),
      miRemovedList(Part<QAction>(*this, "miRemovedList")), mnuFile(Part<QMenu>(*this, "mnuFile")),
      mnuEdit(Part<QMenu>(*this, "mnuEdit")), mnuSearch(Part<QMenu>(*this, "mnuSearch")),
      mnuMisc(Part<QMenu>(*this, "mnuMisc")), mnuUpdate(Part<QMenu>(*this, "mnuUpdate")),
      mnuSort(Part<QMenu>(*this, "mnuSort")), mnuCodePage(Part<QMenu>(*this, "mnuCodePage")),
      btnEdit(Part<QPushButton>(*this, "btnEdit")), btnOpen(Part<QPushButton>(*this, "btnOpen")),
      btnUpdateTo(Part<QPushButton>(*this, "btnUpdateTo")),
      btnSave(Part<QPushButton>(*this, "btnSave")) {}

TFindDialog* TMainWindow::FindDialog1() const {
    return findChild<TFindDialog*>(QStringLiteral("FindDialog1"));
}

bool TMainWindow::HasMarks() const {
    return AddedModel->rowCount() > 0 || RemovedModel->rowCount() > 0;
}

void TMainWindow::Open(TScriptedDialogs& dialogs, const QString& file) {
    dialogs.OpenAnswers.push_back(file);
    actOpen->trigger();
    QCOMPARE(dialogs.MessageTexts(), QStringList());
    QVERIFY(dialogs.Unexpected.isEmpty());
}

void TMainWindow::UpdateTo(TScriptedDialogs& dialogs, const QString& base) {
    QVERIFY(ShowActive(*this));
    QTRY_VERIFY(actUpdateTo->isEnabled()); // the rules run once the window is idle
    dialogs.OpenAnswers.push_back(base);
    QTest::keyClick(this, Qt::Key_U, Qt::ControlModifier);
}

void TMainWindow::EditValue(int row, const QString& typed) {
    VSView1->selectionModel()->select(ValuesModel->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
    UpdateActions();
    WhenModal([typed](QWidget* modal) {
        QTest::keyClicks(modal->focusWidget(), typed);
        QTest::keyClick(modal, Qt::Key_Return);
    });
    actEdit->trigger();
}

void TMainWindow::SelectNode(const QString& caption) {
    const QModelIndex node = FindRow(*ContentsModel, caption);
    QVERIFY2(node.isValid(), qPrintable(caption));
    RevealNode(VSTree1, node);
}

QString TMainWindow::SelectedCaption() const {
    const QModelIndexList rows = VSTree1->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().data().toString() : QString("<%1>").arg(rows.size());
}

int TMainWindow::SelectedValueRow() const {
    const QModelIndexList rows = VSView1->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1 - int(rows.size());
}

} // namespace tarvin::test
