#include "ui/ValuesModel.h"

#include "ui/TextCodec.h"
#include "ui/ViewColors.h"
#include "ui/ViewRules.h"

#include <algorithm>

namespace tarvin {

void TValuesModel::Fill(trvx::TTarvinItem& item, TUpdateState state,
                        const trvx::TUpdateLists& lists, const trvx::CodePage& codePage) {
    std::vector<TValueNodeData> rows;
    rows.reserve(static_cast<std::size_t>(item.ValueCount()));
    for (int i = 0; i < item.ValueCount(); ++i) {
        TValueNodeData row;
        row.Ident = ShownText(item.GetValueIdent(i), codePage);
        row.Item = &item;
        row.State = state;
        if (row.State == usNone) {
            if (lists.IsRemovedValue(&item, i))
                row.State = usRemoved;
            else if (lists.IsAddedValue(&item, i))
                row.State = usAdded;
        }
        row.Value = DisplayValue(item.ValueText(i), codePage);
        rows.push_back(std::move(row));
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void TValuesModel::Clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

const TValueNodeData* TValuesModel::RowData(int row) const {
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)];
}

void TValuesModel::SetValueText(int row, const QString& text) {
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    m_rows[static_cast<std::size_t>(row)].Value = ShownText(text);
    emit dataChanged(index(row, 1), index(row, 1), {Qt::DisplayRole});
}

int TValuesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TValuesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant TValuesModel::data(const QModelIndex& index, int role) const {
    const TValueNodeData* row = RowData(index);
    if (row == nullptr)
        return {};
    if (role == Qt::DisplayRole) {
        if (index.column() == 0)
            return row->Ident;
        if (index.column() == 1)
            return row->Value;
        return {};
    }
    if (role == Qt::BackgroundRole)
        return StateBrush(row->State);
    if (role == Qt::ToolTipRole && row->Item && index.column() < 2) {
        // The length of what was cut: the ident, or the value's first line.
        const int value = index.row();
        std::string_view text =
            index.column() == 0 ? row->Item->GetValueIdent(value) : row->Item->ValueText(value);
        return CutTextTip(std::min(text.size(), text.find('\r')));
    }
    return {};
}

QVariant TValuesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == 0)
        return QStringLiteral("Ident");
    if (section == 1)
        return QStringLiteral("Value");
    return {};
}

Qt::ItemFlags TValuesModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace tarvin
