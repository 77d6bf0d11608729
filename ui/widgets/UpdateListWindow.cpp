#include "ui/widgets/UpdateListWindow.h"

#include <QShowEvent>
#include <QTreeView>
#include <QVBoxLayout>

namespace tarvin {

TUpdateListWindow::TUpdateListWindow(const QString& title, QWidget* owner)
    : QWidget(owner, Qt::Tool), m_tree(new QTreeView(this)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    resize(140, 260);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TUpdateListWindow::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        m_neverShown = false;
    QWidget::showEvent(event);
    emit VisibilityChanged(true);
}

void TUpdateListWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit VisibilityChanged(false);
}

} // namespace tarvin
