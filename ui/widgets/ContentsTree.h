#pragma once

#include <QTreeView>

#include <functional>
#include <vector>

namespace tarvin {

// The contents tree's view: a tree view that also draws dotted connecting
// lines between siblings and to their parents, top level included.
//
// Qt lays out expanded rows by recursion on their depth, and a few ten
// thousand levels overflow the stack: rows deeper than kDeepestExpanded
// levels are never expanded, however asked, and DepthLimitReached says so,
// once for each model reset (AutoExpand would otherwise say it each time a
// row at the limit is selected).
class TContentsTree : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kDeepestExpanded = 1000;

    explicit TContentsTree(QWidget* parent = nullptr);

    // Every row below parent (all rows for none), laid out once at the end.
    void ExpandBelow(const QModelIndex& parent);
    // The ancestors of index, laid out once; false when index lies too deep
    // to be shown, its ancestors then expanded as far as allowed.
    bool ExpandAncestors(const QModelIndex& index);

    // Runs action at once, or when the mouse press now being handled is
    // done. The view selects the row under the pointer after it has made the
    // pressed row current: rows expanded or collapsed in between would slide
    // another row under the pointer.
    void AfterPress(std::function<void()> action);

signals:
    void DepthLimitReached();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void reset() override;

private:
    void TellLimit();

    bool m_expanding = false;
    bool m_limitTold = false;
    bool m_pressing = false;
    std::vector<std::function<void()>> m_afterPress;
};

} // namespace tarvin
