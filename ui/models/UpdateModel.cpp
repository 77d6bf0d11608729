#include "ui/models/UpdateModel.h"

#include "ui/common/Icons.h"
#include "ui/common/LineBreakMarks.h"
#include "ui/common/TextCodec.h"

namespace tarvin {

TUpdateModel::TUpdateModel(const TImageList& images, QObject* parent)
    : QAbstractTableModel(parent), m_images(images) {}

void TUpdateModel::SetRows(std::vector<TUpdateNodeData> rows, const trvx::CodePage& codePage) {
    beginResetModel();
    m_codePage = &codePage;
    m_rows = std::move(rows);
    endResetModel();
}

void TUpdateModel::SetCodePage(const trvx::CodePage& codePage) {
    m_codePage = &codePage;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void TUpdateModel::Sort(TUpdateSortKey key, bool descending) {
    if (m_rows.size() < 2)
        return;
    const std::vector<int> order = SortedUpdateOrder(m_rows, key, descending);
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    std::vector<TUpdateNodeData> sorted;
    sorted.reserve(m_rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newRowOf[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
        sorted.push_back(std::move(m_rows[static_cast<std::size_t>(order[i])]));
    }
    m_rows = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.push_back(
            index.isValid()
                ? createIndex(newRowOf[static_cast<std::size_t>(index.row())], index.column())
                : QModelIndex());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const TUpdateNodeData* TUpdateModel::RowData(int row) const {
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)];
}

int TUpdateModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TUpdateModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant TUpdateModel::data(const QModelIndex& index, int role) const {
    const TUpdateNodeData* row = RowData(index);
    if (row == nullptr || index.column() != 0)
        return {};
    if (role == Qt::DisplayRole)
        return MarkLineBreaks(ShownText(row->Caption, *m_codePage));
    if (role == Qt::ToolTipRole)
        return CaptionTip(row->Caption, *m_codePage);
    if (role == Qt::DecorationRole)
        return m_images.Icon(row->ImageIndex);
    return {};
}

Qt::ItemFlags TUpdateModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace tarvin
