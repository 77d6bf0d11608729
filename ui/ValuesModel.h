#pragma once

#include "language/CodePage.h"
#include "language/TarvinItem.h"
#include "language/UpdateLists.h"
#include "ui/NodeData.h"

#include <QAbstractTableModel>

#include <vector>

namespace tarvin {

// The rows of the values view: row i shows value i of one node, never sorted.
class TValuesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows the values of item; a row is coloured by state, or when that is
    // usNone by the value's own entry in the lists.
    void Fill(trvx::TTarvinItem& item, TUpdateState state, const trvx::TUpdateLists& lists,
              const trvx::CodePage& codePage);
    void Clear();

    const TValueNodeData* RowData(int row) const;
    const TValueNodeData* RowData(const QModelIndex& index) const {
        return index.isValid() ? RowData(index.row()) : nullptr;
    }
    // Replaces the displayed text of one row (after its value was edited).
    void SetValueText(int row, const QString& text);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<TValueNodeData> m_rows;
};

} // namespace tarvin
