#include "ui/models/CheckModel.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QStyle>

namespace tarvin {

namespace {

QString Location(const trvx::TFindings& findings, const trvx::TFinding& finding) {
    const QString path = QString::fromStdString(findings.Path(finding));
    const std::string ident = findings.Ident(finding);
    if (ident.empty())
        return path.isEmpty() ? QStringLiteral("/") : path;
    return path + QStringLiteral(" [") + QString::fromStdString(ident) + QStringLiteral("]");
}

QIcon LevelIcon(trvx::TSeverity severity) {
    const QStyle::StandardPixmap pixmap =
        severity == trvx::TSeverity::Error     ? QStyle::SP_MessageBoxCritical
        : severity == trvx::TSeverity::Warning ? QStyle::SP_MessageBoxWarning
                                               : QStyle::SP_MessageBoxInformation;
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace

void TCheckModel::SetFindings(const trvx::TFindings& findings) {
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(findings.size());
    // In words now, while the trees they point into are as checked.
    for (const trvx::TFinding& finding : findings)
        m_rows.push_back({finding, Location(findings, finding),
                          QString::fromStdString(findings.Message(finding)),
                          QString::fromStdString(findings.Text(finding)), false});
    endResetModel();
}

const trvx::TFinding* TCheckModel::Finding(int row) const {
    if (row < 0 || row >= rowCount())
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)].Finding;
}

bool TCheckModel::IsStale(int row) const {
    return row >= 0 && row < rowCount() && m_rows[static_cast<std::size_t>(row)].Stale;
}

void TCheckModel::MarkStale(const trvx::TTarvinItem* item, int valueIndex) {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        TRow& row = m_rows[i];
        if (row.Stale || row.Finding.Item != item || row.Finding.ValueIndex != valueIndex)
            continue;
        row.Stale = true;
        RowChanged(static_cast<int>(i));
    }
}

void TCheckModel::Detach() {
    if (m_rows.empty())
        return;
    for (TRow& row : m_rows) {
        row.Finding.Item = nullptr;
        row.Stale = true;
    }
    emit dataChanged(index(0, 0), index(rowCount() - 1, cmCount - 1));
}

void TCheckModel::RowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, cmCount - 1));
}

int TCheckModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TCheckModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cmCount;
}

QVariant TCheckModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TRow& row = m_rows[static_cast<std::size_t>(index.row())];
    const trvx::TFinding& finding = row.Finding;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case cmLevel:
            return QString::fromLatin1(trvx::SeverityName(finding.Severity));
        case cmLocation:
            return row.Location;
        case cmMessage:
            return row.Message;
        default:
            return {};
        }
    case SortRole:
        return index.column() == cmLevel ? QVariant(static_cast<int>(finding.Severity))
                                         : data(index, Qt::DisplayRole);
    case Qt::DecorationRole:
        return index.column() == cmLevel ? QVariant(LevelIcon(finding.Severity)) : QVariant();
    case Qt::ToolTipRole:
        if (row.Stale)
            return tr("Changed since this check ran; run Check again.");
        // The whole of what a narrow column cuts, with the text it is about.
        if (index.column() == cmLevel)
            return {};
        return row.Text.isEmpty() ? data(index, Qt::DisplayRole)
                                  : QVariant(data(index, Qt::DisplayRole).toString() +
                                             QStringLiteral("\n\n") + row.Text);
    case Qt::FontRole:
        if (row.Stale) {
            QFont font;
            font.setStrikeOut(true);
            return font;
        }
        return {};
    case Qt::ForegroundRole:
        return row.Stale ? QVariant(QColor(Qt::gray)) : QVariant();
    default:
        return {};
    }
}

QVariant TCheckModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case cmLevel:
        return tr("Level");
    case cmLocation:
        return tr("Location");
    case cmMessage:
        return tr("Message");
    default:
        return {};
    }
}

} // namespace tarvin
