#include "ui/widgets/CheckWindow.h"

#include "ui/models/CheckModel.h"

#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace tarvin {

TCheckWindow::TCheckWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool), m_model(new TCheckModel(this)),
      m_sorted(new QSortFilterProxyModel(this)), m_tree(new QTreeView(this)),
      m_summary(new QLabel(this)) {
    setObjectName(QStringLiteral("CheckWindow"));
    setWindowTitle(tr("Check"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_summary->setContentsMargins(4, 2, 4, 0);
    layout->addWidget(m_summary);
    layout->addWidget(m_tree, 1);
    resize(720, 240);

    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(TCheckModel::SortRole);
    m_tree->setModel(m_sorted);
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(-1, Qt::AscendingOrder); // the check's own order until asked
    m_tree->header()->setSectionsMovable(true);
    m_tree->setColumnWidth(TCheckModel::cmLevel, 80);
    m_tree->setColumnWidth(TCheckModel::cmLocation, 280);
    // A path's end names the node; its start is the same for many rows.
    m_tree->setTextElideMode(Qt::ElideMiddle);

    connect(m_tree, &QAbstractItemView::clicked, this, &TCheckWindow::Activated);
    connect(m_tree, &QAbstractItemView::activated, this, &TCheckWindow::Activated);
}

void TCheckWindow::UpdateSummary() {
    int counts[3] = {};
    for (int row = 0; row < m_model->rowCount(); ++row)
        ++counts[static_cast<int>(m_model->Finding(row)->Severity)];
    m_summary->setText(
        m_model->rowCount() == 0
            ? tr("No findings.")
            : tr("%1 errors, %2 warnings, %3 info").arg(counts[0]).arg(counts[1]).arg(counts[2]));
}

const trvx::TFinding* TCheckWindow::FindingAt(const QModelIndex& viewIndex) const {
    if (!viewIndex.isValid())
        return nullptr;
    return m_model->Finding(m_sorted->mapToSource(viewIndex).row());
}

void TCheckWindow::Activated(const QModelIndex& viewIndex) {
    if (const trvx::TFinding* finding = FindingAt(viewIndex))
        emit Jump(*finding);
}

} // namespace tarvin
