#pragma once

#include "encoding/CodePage.h"
#include "tree/TarvinItem.h"
#include "ui/common/NodeData.h"
#include "update/UpdateLists.h"

#include <QAbstractTableModel>

#include <optional>
#include <string_view>
#include <vector>

namespace tarvin {

class TReferenceText;

// Where the rows of one node find their reference texts; Lookup is null
// while no reference is open.
struct TValueReference {
    TReferenceText* Lookup = nullptr;
    const trvx::TTarvinItem* Node = nullptr;  // the node's counterpart, null when none
    const trvx::CodePage* CodePage = nullptr; // the reference's own
};

// The rows of the values view: row i shows value i of one node, never sorted.
class TValuesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows the values of item; a row is coloured by state, or when that is
    // usNone by the value's own entry in the lists.
    void Fill(trvx::TTarvinItem& item, TUpdateState state, const trvx::TUpdateLists& lists,
              const trvx::CodePage& codePage, const TValueReference& reference = {});
    void Clear();

    // The reference text of a row, when the reference has the value.
    std::optional<std::string_view> ReferenceText(int row) const;
    bool IsUntranslated(int row) const;

    const TValueNodeData* RowData(int row) const;
    const TValueNodeData* RowData(const QModelIndex& index) const {
        return index.isValid() ? RowData(index.row()) : nullptr;
    }
    // Shows the row's value, and what the reference says of it, as the node
    // now holds it.
    void RefreshRow(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct TReferenceCell {
        std::optional<std::string_view> Text;
        bool Untranslated = false;
    };
    TReferenceCell ReferenceCell(int row) const;
    QVariant ToolTip(const TValueNodeData& row, int rowIndex, int column) const;

    std::vector<TValueNodeData> m_rows;
    std::vector<TReferenceCell> m_references; // parallel to m_rows while a reference is open
    TValueReference m_reference;
    const trvx::CodePage* m_codePage = &trvx::CodePage::Default();
};

} // namespace tarvin
