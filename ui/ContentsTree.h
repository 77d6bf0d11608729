#pragma once

#include <QTreeView>

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

signals:
    void DepthLimitReached();

protected:
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void reset() override;

private:
    void TellLimit();

    bool m_expanding = false;
    bool m_limitTold = false;
};

} // namespace tarvin
