#pragma once

#include <QTreeView>

namespace tarvin {

// The contents tree's view: a tree view that also draws dotted connecting
// lines between siblings and to their parents, top level included.
class TContentsTree : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;

protected:
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
};

} // namespace tarvin
