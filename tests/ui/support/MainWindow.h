#pragma once

#include "ui/mainwindow/untMain.h"

#include <QStringList>

class QAction;
class QMenu;
class QPushButton;
class QTreeView;
class QUndoStack;

namespace tarvin {
class TCheckWindow;
class TContentsModel;
class TFindDialog;
class TUpdateListWindow;
class TUpdateModel;
class TValuesModel;
} // namespace tarvin

namespace tarvin::test {

class TScriptedDialogs;

// The main window as a test drives it: its views, actions, menus and buttons
// found by their object names, as a user reaches them, not by its fields.
class TMainWindow : public TfrmMain {
public:
    explicit TMainWindow(const QStringList& arguments = {});

    QTreeView* const VSTree1;
    QTreeView* const VSView1;
    QTreeView* const AddedTree;
    QTreeView* const RemovedTree;
    TContentsModel* const ContentsModel;
    TValuesModel* const ValuesModel;
    TUpdateModel* const AddedModel;
    TUpdateModel* const RemovedModel;
    TUpdateListWindow* const AddedListWindow;
    TUpdateListWindow* const RemovedListWindow;
    TCheckWindow* const CheckWindow;
    QUndoStack* const UndoStack;

    QAction* const actOpen;
    QAction* const actEdit;
    QAction* const actSave;
    QAction* const actExit;
    QAction* const actAutoExpand;
    QAction* const actCollapseAll;
    QAction* const actExpandAll;
    QAction* const actUpdateTo;
    QAction* const actSortByType;
    QAction* const actSortByIdent;
    QAction* const actSortDescending;
    QAction* const actFindValue;
    QAction* const actFindValueIdent;
    QAction* const actFindItem;
    QAction* const actFindNext;
    QAction* const actOpenReference;
    QAction* const actNextUntranslated;
    QAction* const actPreviousUntranslated;
    QAction* const actCheck;
    QAction* const actUndo;
    QAction* const actRedo;
    QAction* const miAddedList;
    QAction* const miRemovedList;

    QMenu* const mnuFile;
    QMenu* const mnuEdit;
    QMenu* const mnuSearch;
    QMenu* const mnuMisc;
    QMenu* const mnuUpdate;
    QMenu* const mnuSort;
    QMenu* const mnuCodePage;

    QPushButton* const btnEdit;
    QPushButton* const btnOpen;
    QPushButton* const btnUpdateTo;
    QPushButton* const btnSave;

    // The find dialog once a find action opened it, else null.
    TFindDialog* FindDialog1() const;
    // Whether the last Update To left marks: rows in the Added or Removed list.
    bool HasMarks() const;

    // Opens file through File > Open as a user does; no message may follow.
    void Open(TScriptedDialogs& dialogs, const QString& file);
    // Update To base with its key, once the window's rules allow it.
    void UpdateTo(TScriptedDialogs& dialogs, const QString& base);
    // Edits the selected node's value in this row as a user does: the
    // editor gets typed at its cursor, then OK.
    void EditValue(int row, const QString& typed);
    // Selects the first node with this caption, searched in pre-order.
    void SelectNode(const QString& caption);
    // The one selected node's caption, or "<n>" for n selected nodes.
    QString SelectedCaption() const;
    // The one selected value's row, or -1 - n for n selected values.
    int SelectedValueRow() const;
};

} // namespace tarvin::test
