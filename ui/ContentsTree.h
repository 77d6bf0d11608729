#pragma once

#include <QTreeView>

#include <functional>
#include <vector>

namespace tarvin {

// The contents tree's view: a tree view that also draws dotted connecting
// lines between siblings and to their parents, top level included.
class TContentsTree : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;

    // Runs action at once, or when the mouse press now being handled is
    // done. The view selects the row under the pointer after it has made the
    // pressed row current: rows expanded or collapsed in between would slide
    // another row under the pointer.
    void AfterPress(std::function<void()> action);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

private:
    bool m_pressing = false;
    std::vector<std::function<void()>> m_afterPress;
};

} // namespace tarvin
