#pragma once

#include <QWidget>

class QLabel;
class QModelIndex;
class QSortFilterProxyModel;
class QTreeView;

namespace trvx {
struct TFinding;
}

namespace tarvin {

class TCheckModel;

// The floating tool window that lists the findings of the last check,
// sortable by any column. A click or Enter on a row asks to go there.
class TCheckWindow : public QWidget {
    Q_OBJECT
public:
    explicit TCheckWindow(QWidget* owner);
    TCheckModel* Model() const { return m_model; }
    QTreeView* Tree() const { return m_tree; }
    // Shows the counts of the findings now in the model.
    void UpdateSummary();
    // The finding of a row of the view, or null.
    const trvx::TFinding* FindingAt(const QModelIndex& viewIndex) const;

signals:
    void Jump(const trvx::TFinding& finding);

private:
    void Activated(const QModelIndex& viewIndex);

    TCheckModel* m_model;
    QSortFilterProxyModel* m_sorted;
    QTreeView* m_tree;
    QLabel* m_summary;
};

} // namespace tarvin
