#include "ui/models/ValuesModel.h"

#include "ui/common/LineBreakMarks.h"
#include "ui/common/TextCodec.h"
#include "ui/common/ViewColors.h"
#include "ui/common/ViewRules.h"
#include "ui/models/ReferenceText.h"

#include <QColor>
#include <QFont>

#include <algorithm>

namespace tarvin {

void TValuesModel::Fill(trvx::TTarvinItem& item, TUpdateState state,
                        const trvx::TUpdateLists& lists, const trvx::CodePage& codePage,
                        const TValueReference& reference) {
    std::vector<TValueNodeData> rows;
    rows.reserve(static_cast<std::size_t>(item.ValueCount()));
    for (int i = 0; i < item.ValueCount(); ++i) {
        TValueNodeData row;
        row.Item = &item;
        row.State = state;
        if (row.State == usNone) {
            if (lists.IsRemovedValue(&item, i))
                row.State = usRemoved;
            else if (lists.IsAddedValue(&item, i))
                row.State = usAdded;
        }
        rows.push_back(row);
    }
    beginResetModel();
    m_rows = std::move(rows);
    m_codePage = &codePage;
    m_reference = reference;
    m_references.clear();
    if (m_reference.Lookup != nullptr) {
        m_references.reserve(m_rows.size());
        for (int i = 0; i < static_cast<int>(m_rows.size()); ++i)
            m_references.push_back(ReferenceCell(i));
    }
    endResetModel();
}

void TValuesModel::Clear() {
    beginResetModel();
    m_rows.clear();
    m_references.clear();
    m_reference = {};
    endResetModel();
}

TValuesModel::TReferenceCell TValuesModel::ReferenceCell(int row) const {
    const TValueNodeData& data = m_rows[static_cast<std::size_t>(row)];
    const std::string_view ident = data.Item->GetValueIdent(row);
    TReferenceCell cell;
    cell.Text = m_reference.Lookup->TextOf(m_reference.Node, ident);
    cell.Untranslated =
        m_reference.Lookup->IsUntranslated(ident, data.Item->ValueText(row), cell.Text);
    return cell;
}

std::optional<std::string_view> TValuesModel::ReferenceText(int row) const {
    if (row < 0 || row >= static_cast<int>(m_references.size()))
        return std::nullopt;
    return m_references[static_cast<std::size_t>(row)].Text;
}

bool TValuesModel::IsUntranslated(int row) const {
    return row >= 0 && row < static_cast<int>(m_references.size()) &&
           m_references[static_cast<std::size_t>(row)].Untranslated;
}

void TValuesModel::RefreshRow(int row) {
    if (RowData(row) == nullptr)
        return;
    if (row < static_cast<int>(m_references.size()))
        m_references[static_cast<std::size_t>(row)] = ReferenceCell(row);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

const TValueNodeData* TValuesModel::RowData(int row) const {
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)];
}

int TValuesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TValuesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant TValuesModel::data(const QModelIndex& index, int role) const {
    const TValueNodeData* row = RowData(index);
    if (row == nullptr)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 0)
            return MarkLineBreaks(ShownText(row->Item->GetValueIdent(index.row()), *m_codePage));
        if (index.column() == 1)
            return DisplayValue(row->Item->ValueText(index.row()), *m_codePage);
        if (index.column() == 2) {
            const auto text = ReferenceText(index.row());
            return text ? DisplayValue(*text, *m_reference.CodePage) : QVariant();
        }
        return {};
    case Qt::ToolTipRole:
        return ToolTip(*row, index.row(), index.column());
    // An untranslated text keeps the row's background, which tells what
    // Update To did.
    case Qt::FontRole:
        if (IsUntranslated(index.row())) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        return {};
    case Qt::ForegroundRole:
        return IsUntranslated(index.row()) ? QVariant(QColor(Qt::gray)) : QVariant();
    case Qt::BackgroundRole:
        return StateBrush(row->State);
    default:
        return {};
    }
}

QVariant TValuesModel::ToolTip(const TValueNodeData& row, int rowIndex, int column) const {
    // Where the row cuts a text: its length; where it marks line breaks: the
    // whole text, while it is short enough to show in a tooltip.
    const auto whole = [](std::string_view text, const trvx::CodePage& codePage) -> QVariant {
        const std::size_t firstLine = std::min(text.size(), text.find('\r'));
        if (firstLine > kShownChars || text.size() > kWholeTipChars)
            return CutTextTip(std::max(firstLine, text.size()));
        if (text.find_first_of("\r\n") == std::string_view::npos)
            return {};
        return DecodeText(text, codePage).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    if (row.Item == nullptr)
        return {};
    switch (column) {
    case 0:
        return whole(row.Item->GetValueIdent(rowIndex), *m_codePage);
    case 1:
        return whole(row.Item->ValueText(rowIndex), *m_codePage);
    case 2: {
        const auto text = ReferenceText(rowIndex);
        return text ? whole(*text, *m_reference.CodePage) : QVariant();
    }
    default:
        return {};
    }
}

QVariant TValuesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == 0)
        return QStringLiteral("Ident");
    if (section == 1)
        return QStringLiteral("Value");
    if (section == 2)
        return QStringLiteral("Reference");
    return {};
}

Qt::ItemFlags TValuesModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace tarvin
