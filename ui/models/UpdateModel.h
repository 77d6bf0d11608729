#pragma once

#include "encoding/CodePage.h"
#include "ui/common/NodeData.h"
#include "ui/common/ViewRules.h"

#include <QAbstractTableModel>

#include <vector>

namespace tarvin {

class TImageList;

// The flat rows of the Added or the Removed list.
class TUpdateModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TUpdateModel(const TImageList& images, QObject* parent = nullptr);

    void SetRows(std::vector<TUpdateNodeData> rows, const trvx::CodePage& codePage);
    void Clear() { SetRows({}, *m_codePage); }
    // Shows the same rows through another code page.
    void SetCodePage(const trvx::CodePage& codePage);
    // Stable in both directions; the selected row stays selected.
    void Sort(TUpdateSortKey key, bool descending);

    const TUpdateNodeData* RowData(int row) const;
    const TUpdateNodeData* RowData(const QModelIndex& index) const {
        return index.isValid() ? RowData(index.row()) : nullptr;
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const TImageList& m_images;
    const trvx::CodePage* m_codePage = &trvx::CodePage::Default();
    std::vector<TUpdateNodeData> m_rows;
};

} // namespace tarvin
