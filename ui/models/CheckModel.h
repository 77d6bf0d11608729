#pragma once

#include "check/Check.h"

#include <QAbstractTableModel>

#include <vector>

namespace tarvin {

// The findings of one check run: level, location, message. A finding whose
// value was edited since, or whose node may be gone, is stale: still shown,
// struck out, and no longer leads anywhere once its node may be gone.
class TCheckModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { cmLevel = 0, cmLocation = 1, cmMessage = 2, cmCount = 3 };
    // What sorting compares: the level by severity, the rest by text.
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void SetFindings(const trvx::TFindings& findings);
    const trvx::TFinding* Finding(int row) const;
    bool IsStale(int row) const;

    // The value changed after the check ran.
    void MarkStale(const trvx::TTarvinItem* item, int valueIndex);
    // The tree's shape changed: no finding may lead to its node any more.
    void Detach();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct TRow {
        trvx::TFinding Finding;
        QString Location, Message, Text;
        bool Stale = false;
    };
    void RowChanged(int row);

    std::vector<TRow> m_rows;
};

} // namespace tarvin
