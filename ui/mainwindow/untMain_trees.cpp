// The contents tree and the values view: rebuilding, selection, revealing.
#include "ui/mainwindow/untMain.h"

#include "ui/common/Dialogs.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/ContentsTree.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeView>

#include <utility>
#include <vector>

namespace tarvin {

void TfrmMain::ConnectViews() {
    connect(VSTree1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        Guarded([this] {
            const QModelIndexList selected = VSTree1->selectionModel()->selectedRows();
            VSTree1Change(selected.isEmpty() ? QModelIndex() : selected.first());
        });
    });
    connect(VSTree1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TfrmMain::OnContentsCurrentChanged);
    connect(VSTree1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { mnuMisc->exec(VSTree1->viewport()->mapToGlobal(pos)); });
    VSView1->viewport()->installEventFilter(this);
    connect(static_cast<TContentsTree*>(VSTree1), &TContentsTree::DepthLimitReached, this, [this] {
        TDialogs::Current().ShowMessage(
            this, QMessageBox::Information, QStringLiteral("Tarvin"),
            QStringLiteral("Rows deeper than %1 levels are left collapsed: the view cannot show "
                           "them. Find still selects them and shows their values.")
                .arg(TContentsTree::kDeepestExpanded));
    });

    for (QTreeView* list : {AddedTree, RemovedTree}) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, list] {
            Guarded([this, list] {
                const QModelIndexList selected = list->selectionModel()->selectedRows();
                UpdateTreeChange(list, selected.isEmpty() ? QModelIndex() : selected.first());
            });
        });
        list->viewport()->installEventFilter(this);
    }
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == VSView1->viewport() && type == QEvent::MouseButtonDblClick) {
        Guarded([this] { VSView1DblClick(); });
        return true;
    }
    for (QTreeView* list : {AddedTree, RemovedTree}) {
        const bool click =
            (type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        if (watched == list->viewport() && click) {
            // After the view has handled the press, so the clicked row is selected.
            QMetaObject::invokeMethod(
                this, [this, list] { Guarded([this, list] { UpdateTreeClick(list); }); },
                Qt::QueuedConnection);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::VSView1DblClick() {
    // Through the action, so that its rule decides first.
    UpdateActions();
    actEdit->trigger();
}

void TfrmMain::RebuildTrees() {
    m_codePage = &CurrentLanguage.GetCodePage();
    WorkbenchTreesReset();
    // Rows of both lists point at contents rows: they go first.
    AddedModel->Clear();
    RemovedModel->Clear();
    try {
        ContentsModel->Rebuild(CurrentLanguage.Root(), UpdateLists, ControlPrefixes, *m_codePage);
        FillUpdateTrees();
        SortUpdateTrees();
    } catch (...) {
        // The views must never keep rows the tree no longer backs.
        AddedModel->Clear();
        RemovedModel->Clear();
        ContentsModel->Clear();
        VSTree1Change({});
        throw;
    }
    // The reset dropped the selection without telling: do it now.
    VSTree1Change({});
    if (const QModelIndex first = ContentsModel->index(0, 0); first.isValid())
        RevealNode(VSTree1, first);
}

TfrmMain::TTreePlace TfrmMain::TreePlace() const {
    TTreePlace place;
    // Only expanded rows are descended into: the walk is as long as what shows.
    std::vector<QModelIndex> pending;
    for (int row = ContentsModel->rowCount() - 1; row >= 0; --row)
        pending.push_back(ContentsModel->index(row, 0));
    while (!pending.empty()) {
        const QModelIndex index = pending.back();
        pending.pop_back();
        if (!VSTree1->isExpanded(index))
            continue;
        place.Expanded.push_back(ContentsModel->NodeData(index)->Item);
        for (int row = ContentsModel->rowCount(index) - 1; row >= 0; --row)
            pending.push_back(ContentsModel->index(row, 0, index));
    }
    const QModelIndexList nodes = VSTree1->selectionModel()->selectedRows();
    if (const TContentsNodeData* node =
            nodes.isEmpty() ? nullptr : ContentsModel->NodeData(nodes.first())) {
        place.Selected = node->Item;
        place.ValueCount = ValuesModel->rowCount();
        const QModelIndexList values = VSView1->selectionModel()->selectedRows();
        place.ValueRow = values.isEmpty() ? -1 : values.first().row();
    }
    return place;
}

void TfrmMain::RestoreTreePlace(const TTreePlace& place) {
    for (const trvx::TTarvinItem* item : place.Expanded)
        if (const QModelIndex index = ContentsModel->IndexOfItem(item); index.isValid())
            VSTree1->expand(index);
    const QModelIndex selected = ContentsModel->IndexOfItem(place.Selected);
    if (!selected.isValid())
        return;
    RevealNode(VSTree1, selected);
    // The keyboard goes on from there too; the branches are as they were.
    const bool autoExpand = std::exchange(m_autoExpand, false);
    VSTree1->selectionModel()->setCurrentIndex(selected, QItemSelectionModel::NoUpdate);
    m_autoExpand = autoExpand;
    // A value row stands for the same value only if none went before it.
    if (place.ValueRow >= 0 && ValuesModel->rowCount() == place.ValueCount)
        RevealNode(VSView1, ValuesModel->index(place.ValueRow, 0));
}

void TfrmMain::ChangeCodePage(int id) {
    CurrentLanguage.SetCodePageOverride(id);
    m_codePage = &CurrentLanguage.GetCodePage();
    ContentsModel->SetCodePage(*m_codePage);
    AddedModel->SetCodePage(*m_codePage);
    RemovedModel->SetCodePage(*m_codePage);
    // The values view holds decoded rows: fill it again, on the same row.
    const QModelIndexList nodes = VSTree1->selectionModel()->selectedRows();
    const QModelIndexList rows = VSView1->selectionModel()->selectedRows();
    VSTree1Change(nodes.isEmpty() ? QModelIndex() : nodes.first());
    if (!rows.isEmpty() && rows.first().row() < ValuesModel->rowCount())
        RevealNode(VSView1, ValuesModel->index(rows.first().row(), 0));
}

void TfrmMain::VSTree1Change(const QModelIndex& node) {
    const TContentsNodeData* nodeData = ContentsModel->NodeData(node);
    if (nodeData == nullptr) {
        ValuesModel->Clear();
        return;
    }
    ValuesModel->Fill(*nodeData->Item, nodeData->State, UpdateLists, *m_codePage,
                      ValueReferenceOf(ContentsModel->NodeOf(node)));
    if (ValuesModel->rowCount() > 0)
        VSView1->selectionModel()->select(ValuesModel->index(0, 0),
                                          QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
}

void TfrmMain::RevealNode(QTreeView* tree, const QModelIndex& index) {
    if (!index.isValid())
        return;
    // Only the contents tree has rows below others.
    QModelIndex shown = index;
    if (auto* contents = qobject_cast<TContentsTree*>(tree); contents && index.parent().isValid()) {
        if (!contents->ExpandAncestors(index)) {
            // Selected all the same, so its values show; the view shows
            // the deepest row it may.
            while (shown.parent().isValid() && !tree->isExpanded(shown.parent()))
                shown = shown.parent();
        }
    }
    tree->selectionModel()->select(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QRect rect = tree->visualRect(shown);
    const QRect view = tree->viewport()->rect();
    if (rect.top() < view.top() || rect.bottom() > view.bottom()) {
        QScrollBar* horizontal = tree->horizontalScrollBar();
        const int x = horizontal->value();
        tree->scrollTo(shown, QAbstractItemView::PositionAtCenter);
        horizontal->setValue(x);
    }
}

void TfrmMain::OnContentsCurrentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (!m_autoExpand)
        return;
    static_cast<TContentsTree*>(VSTree1)->AfterPress([this,
                                                      current = QPersistentModelIndex(current),
                                                      previous = QPersistentModelIndex(previous)] {
        if (previous.isValid() && current.isValid() && previous.parent() == current.parent() &&
            VSTree1->isExpanded(previous))
            VSTree1->collapse(previous);
        if (current.isValid())
            VSTree1->expand(current);
    });
}

void TfrmMain::actAutoExpandExecute() {
    m_autoExpand = !m_autoExpand;
    actAutoExpand->setChecked(m_autoExpand);
}

void TfrmMain::actExpandAllExecute() {
    static_cast<TContentsTree*>(VSTree1)->ExpandBelow({});
}

void TfrmMain::actCollapseAllExecute() {
    VSTree1->collapseAll();
}

} // namespace tarvin
