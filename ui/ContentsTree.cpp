#include "ui/ContentsTree.h"

#include <QPainter>

#include <utility>

namespace tarvin {

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
