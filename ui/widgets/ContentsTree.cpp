#include "ui/widgets/ContentsTree.h"

#include <QKeyEvent>
#include <QPainter>

#include <utility>
#include <vector>

namespace tarvin {

namespace {

int Depth(QModelIndex index) {
    int depth = 0;
    for (index = index.parent(); index.isValid(); index = index.parent())
        ++depth;
    return depth;
}

} // namespace

TContentsTree::TContentsTree(QWidget* parent) : QTreeView(parent) {
    // However a row got expanded (a click, a key, AutoExpand): never too deep.
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (!m_expanding && Depth(index) >= kDeepestExpanded) {
            collapse(index);
            TellLimit();
        }
    });
}

void TContentsTree::ExpandBelow(const QModelIndex& parent) {
    // With a layout pending, expanding only records the row: one layout
    // follows for all of them, level by level, instead of one per row.
    scheduleDelayedItemsLayout();
    m_expanding = true;
    bool limited = false;
    std::vector<QModelIndex> level{parent};
    for (int depth = parent.isValid() ? Depth(parent) : -1; !level.empty(); ++depth) {
        std::vector<QModelIndex> next;
        for (const QModelIndex& row : level) {
            if (!model()->hasChildren(row))
                continue;
            if (depth >= kDeepestExpanded) {
                limited = true;
                continue;
            }
            if (row.isValid())
                expand(row);
            for (int i = 0, n = model()->rowCount(row); i < n; ++i)
                next.push_back(model()->index(i, 0, row));
        }
        level = std::move(next);
    }
    m_expanding = false;
    executeDelayedItemsLayout();
    if (limited)
        TellLimit();
}

bool TContentsTree::ExpandAncestors(const QModelIndex& index) {
    std::vector<QModelIndex> ancestors;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        ancestors.push_back(p);
    const std::size_t allowed = std::min<std::size_t>(ancestors.size(), kDeepestExpanded);
    // Innermost first: a row whose parent is collapsed is only recorded, and
    // the outermost one lays out the whole chain in one pass.
    for (std::size_t i = ancestors.size() - allowed; i < ancestors.size(); ++i)
        expand(ancestors[i]);
    if (allowed == ancestors.size())
        return true;
    TellLimit();
    return false;
}

void TContentsTree::TellLimit() {
    if (!m_limitTold)
        emit DepthLimitReached();
    m_limitTold = true;
}

void TContentsTree::reset() {
    m_limitTold = false;
    QTreeView::reset();
}

void TContentsTree::keyPressEvent(QKeyEvent* event) {
    // "*" expands all below the current row; the view's own way recurses.
    if (event->key() == Qt::Key_Asterisk && currentIndex().isValid()) {
        ExpandBelow(currentIndex());
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TContentsTree::AfterPress(std::function<void()> action) {
    if (m_pressing)
        m_afterPress.push_back(std::move(action));
    else
        action();
}

void TContentsTree::mousePressEvent(QMouseEvent* event) {
    m_pressing = true;
    QTreeView::mousePressEvent(event);
    m_pressing = false;
    for (const auto& action : std::exchange(m_afterPress, {}))
        action();
}

void TContentsTree::drawBranches(QPainter* painter, const QRect& rect,
                                 const QModelIndex& index) const {
    QTreeView::drawBranches(painter, rect, index);
    if (isRightToLeft())
        return; // lines are drawn for left-to-right layouts only
    const int indent = indentation();
    const int midY = rect.top() + rect.height() / 2;
    const int column = rect.right() + 1 - indent; // this row's own branch column
    const int cx = column + indent / 2;
    // Leaves room for the expand button of a row with children.
    const int gap = model()->hasChildren(index) ? 6 : 0;

    painter->save();
    QPen pen(palette().color(QPalette::Mid));
    pen.setStyle(Qt::DotLine);
    painter->setPen(pen);
    const bool hasNext = index.sibling(index.row() + 1, 0).isValid();
    const bool hasPrevious = index.row() > 0 || index.parent().isValid();
    if (hasPrevious)
        painter->drawLine(cx, rect.top(), cx, midY - gap);
    if (hasNext)
        painter->drawLine(cx, midY + gap, cx, rect.bottom());
    painter->drawLine(cx + gap, midY, column + indent - 2, midY);
    int x = cx - indent;
    for (QModelIndex a = index.parent(); a.isValid() && x > rect.left(); a = a.parent()) {
        if (a.sibling(a.row() + 1, 0).isValid())
            painter->drawLine(x, rect.top(), x, rect.bottom());
        x -= indent;
    }
    painter->restore();
}

} // namespace tarvin
