#pragma once

#include "document/Tarvin.h"
#include "editing/SearchWalk.h"
#include "ui/common/Icons.h"
#include "ui/common/ViewRules.h"
#include "update/UpdateLists.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPushButton;
class QTreeView;
class QUndoStack;

namespace trvx {
struct TFinding;
}

namespace tarvin {

class TCheckWindow;
class TContentsModel;
class TFindDialog;
class TPaintBox;
class TReferenceText;
class TUpdateListWindow;
class TUpdateModel;
class TValuesModel;
struct TValueReference;

// What a search looks at: the tag of the find action that started it.
using trvx::skItem;
using trvx::skValue;
using trvx::skValueIdent;
using trvx::TSearchKind;

// The last search; Text stays empty until the first search ran.
struct TSearchState {
    TSearchKind Kind = skItem;
    QString Text;
    int Node = 0; // contents-model node number, 0 for none
    bool Down = true;
    bool IgnoreCase = true;
    int ValueIndex = -1;
};

// The editor's main window. It owns, for the whole run, the open translation,
// the marks of the last Update To and the views over them.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // arguments: the command line without the program's name; the first one
    // is opened at once, the others are ignored.
    explicit TfrmMain(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The open translation, for what works on it from outside the window.
    const trvx::TTarvin& Language() const { return CurrentLanguage; }

    // Loads fileName into target, or into CurrentLanguage (then caption,
    // marks and views follow) when target is null. By extension: ".trvx",
    // ".exe"; any other is ignored. Errors travel on to the caller.
    void OpenFile(const QString& fileName, trvx::TTarvin* target = nullptr);
    // Selects index alone (the keyboard focus mark stays), expands its
    // ancestors and centres it when it lies out of view.
    void RevealNode(QTreeView* tree, const QModelIndex& index);
    // Whether the translation has changes that were not saved.
    void SetModified(bool modified);
    bool IsModified() const;
    // The idle-time update rules; they also run whenever the application
    // becomes idle.
    void UpdateActions();
    // The code page names and texts of the open translation are shown in.
    const trvx::CodePage& DisplayCodePage() const { return *m_codePage; }
    bool AutoExpand() const { return m_autoExpand; }

    // Runs a handler; an exception leaving it is shown by the error handler.
    void Guarded(const std::function<void()>& handler);

    // Replaces every row of the contents tree and both update lists from
    // CurrentLanguage and UpdateLists, then selects the first node.
    void RebuildTrees();

    // Opens fileName (a ".trvx" or ".exe") as the reference, replacing any.
    void OpenReference(const QString& fileName);
    bool HasReference() const;
    // Stores an accepted edit as one undo step; an unchanged text is none.
    void PushValueEdit(trvx::TTarvinItem& item, int index, std::string before, std::string after);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateCaption(const QString& fileName);
    // Runs UpdateActions once the events now pending are handled, for event
    // loops that never block.
    void ScheduleUpdateActions();
    // Reads the translation in another code page for the rest of the run (0:
    // the one its LangID or the locale implies) and redraws every view.
    void ChangeCodePage(int id);
    // The one error handler: shows the current exception's text.
    void ShowCurrentException();

    trvx::TTarvin CurrentLanguage;
    trvx::TUpdateLists UpdateLists;
    const TControlPrefixes ControlPrefixes;
    const TImageList Images;

    // The open dialog, starting where the last Open or Update To was.
    std::optional<QString> AskFileToOpen();

    // Action handlers.
    void actOpenExecute();
    void actSaveExecute();
    void actEditExecute();
    void actUpdateToExecute();
    void actAutoExpandExecute();
    void actExpandAllExecute();
    void actCollapseAllExecute();
    void actSortByTypeExecute();
    void actSortDescendingExecute();
    void actFindExecute(QAction* sender);
    void actFindNextExecute();
    void FindDialog1Find();
    void FindNextMatch();
    bool actFindNextUpdate() const;
    // The find dialog, made on first use.
    TFindDialog& FindDialog();

    // View handlers.
    void VSTree1Change(const QModelIndex& node);
    void VSView1DblClick();
    void UpdateTreeChange(QTreeView* tree, const QModelIndex& row);
    void UpdateTreeClick(QTreeView* tree);
    void SortUpdateTrees();
    void PaintBox1Paint(TPaintBox* sender);

    // Views and their models.
    QTreeView* VSTree1 = nullptr;
    QTreeView* VSView1 = nullptr;
    QTreeView* AddedTree = nullptr;
    QTreeView* RemovedTree = nullptr;
    TContentsModel* ContentsModel = nullptr;
    TValuesModel* ValuesModel = nullptr;
    TUpdateModel* AddedModel = nullptr;
    TUpdateModel* RemovedModel = nullptr;
    TUpdateListWindow* AddedListWindow = nullptr;
    TUpdateListWindow* RemovedListWindow = nullptr;

    // Actions, in the order of the action list.
    QAction* actOpen = nullptr;
    QAction* actEdit = nullptr;
    QAction* actSave = nullptr;
    QAction* actExit = nullptr;
    QAction* actAutoExpand = nullptr;
    QAction* actCollapseAll = nullptr;
    QAction* actExpandAll = nullptr;
    QAction* actUpdateTo = nullptr;
    QAction* actSortByType = nullptr;
    QAction* actSortByIdent = nullptr;
    QAction* actSortDescending = nullptr;
    QAction* actFindValue = nullptr;
    QAction* actFindValueIdent = nullptr;
    QAction* actFindItem = nullptr;
    QAction* actFindNext = nullptr;
    // The "&Added List" and "&Removed List" items of the Update menu.
    QAction* miAddedList = nullptr;
    QAction* miRemovedList = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuSearch = nullptr;
    QMenu* mnuMisc = nullptr;
    QMenu* mnuUpdate = nullptr;
    QMenu* mnuSort = nullptr;
    QMenu* mnuCodePage = nullptr;

    QPushButton* btnEdit = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnUpdateTo = nullptr;
    QPushButton* btnSave = nullptr;

    // The search's state and dialog; they belong to the search.
    TSearchState SearchState;
    TFindDialog* FindDialog1 = nullptr;

    // The translator's workbench: a reference beside the translation, the
    // untranslated texts, the check's findings and undo of value edits.
    void actOpenReferenceExecute();
    void actNextUntranslatedExecute();
    void actPreviousUntranslatedExecute();
    void actCheckExecute();
    QAction* actOpenReference = nullptr;
    QAction* actNextUntranslated = nullptr;
    QAction* actPreviousUntranslated = nullptr;
    QAction* actCheck = nullptr;
    QAction* actUndo = nullptr;
    QAction* actRedo = nullptr;
    QMenu* mnuEdit = nullptr;
    QUndoStack* UndoStack = nullptr;
    TCheckWindow* CheckWindow = nullptr;

    void CreateActions();
    void CreateMenus();
    void CreateLayout();
    void CreateToolWindows();
    void CreateWorkbench();
    void UpdateWorkbenchActions();
    // Before the rows are rebuilt: what points into the old shape goes.
    void WorkbenchTreesReset();
    void ShowReferenceColumn(bool visible);
    void DetachWorkbench();
    TValueReference ValueReferenceOf(int node);
    std::optional<QString> ReferenceTextOfSelectedValue() const;
    void GoToUntranslated(bool down);
    void JumpToFinding(const trvx::TFinding& finding);
    void ValueStored(trvx::TTarvinItem& item, int index, bool again);
    void ConnectViews();
    void Connect(QAction* action, void (TfrmMain::*handler)());
    void SetUpdateListVisible(TUpdateListWindow* window, bool visible);
    void PlaceRemovedList();
    void OnContentsCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void FillUpdateTrees();
    // Where the translator is in the contents tree: the expanded nodes, the
    // selected one and its selected value, by tree node. A rebuild over the
    // same nodes brings it back; the nodes are compared, never followed.
    struct TTreePlace {
        std::vector<const trvx::TTarvinItem*> Expanded;
        const trvx::TTarvinItem* Selected = nullptr;
        int ValueCount = 0;
        int ValueRow = -1;
    };
    TTreePlace TreePlace() const;
    void RestoreTreePlace(const TTreePlace& place);
    // Asks "Save changes to NAME?" when there are unsaved changes; false
    // when the user cancels or the save did not happen.
    bool QuerySaveChanges();
    // Writes CurrentLanguage without what the marks remove, then removes it
    // from the tree; on failure nothing has changed.
    void SaveTo(const QString& fileName);
    // The name the save dialog starts with.
    QString SaveProposal() const;

    const trvx::CodePage* m_codePage = &trvx::CodePage::Default();
    bool m_modified = false;
    bool m_autoExpand = true;
    bool m_updatePending = false;
    QString m_fileName;     // the file the caption names
    QString m_openFileName; // the name the open dialog proposes
    TUpdateSortKey m_sortKey = sbType;
    std::unique_ptr<trvx::TTarvin> m_reference;
    std::unique_ptr<TReferenceText> m_referenceText;
    bool m_checkWindowPlaced = false;
};

} // namespace tarvin
