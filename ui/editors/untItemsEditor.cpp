#include "ui/editors/untItemsEditor.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

namespace tarvin {

namespace {

constexpr int kRowHeight = 21;
constexpr int kNumberPadding = 4;

// The fixed column: the row numbers on button face, no grid lines.
class TRowNumberHeader : public QHeaderView {
public:
    explicit TRowNumberHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        painter->fillRect(rect, palette().button());
        painter->setPen(palette().buttonText().color());
        const QString text = model()->headerData(logicalIndex, orientation()).toString();
        painter->drawText(rect.adjusted(kNumberPadding / 2, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter, text);
    }
};

// The data column: a line below each row, and an editor that hands every
// keystroke to the cell at once and lets the dialog see keys first.
class TCellDelegate : public QStyledItemDelegate {
public:
    using KeyHandler = std::function<bool(QKeyEvent*)>;

    TCellDelegate(QObject* parent, KeyHandler keys)
        : QStyledItemDelegate(parent), m_keys(std::move(keys)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        connect(editor, &QLineEdit::textEdited, this, [this, editor](const QString& text) {
            // A cell is one line: a pasted line break must not add lines.
            static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
            if (text.contains(lineBreak)) {
                const int cursor = editor->cursorPosition();
                QString oneLine = text;
                oneLine.replace(lineBreak, QStringLiteral(" "));
                editor->setText(oneLine);
                editor->setCursorPosition(qMin(cursor, static_cast<int>(oneLine.size())));
            }
            emit const_cast<TCellDelegate*>(this)->commitData(editor);
        });
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* edit = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (edit->text() != text)
            edit->setText(text);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }

protected:
    bool eventFilter(QObject* editor, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && m_keys(static_cast<QKeyEvent*>(event)))
            return true;
        return QStyledItemDelegate::eventFilter(editor, event);
    }

private:
    KeyHandler m_keys;
};

} // namespace

TfrmItemsEditor::TfrmItemsEditor(QWidget* owner)
    : TEditorDialog(owner, {tr("Items Editor"), 280, QStringLiteral(":/icons/strings.svg"),
                            tr("Use the editor below to modify the items:")}) {
    m_grid = new QTableWidget(2, 1, this);
    m_grid->setObjectName("StringGrid1");
    m_grid->setVerticalHeader(new TRowNumberHeader(m_grid));
    m_grid->horizontalHeader()->hide();
    m_grid->setCornerButtonEnabled(false);
    m_grid->setShowGrid(false);
    m_grid->setWordWrap(false);
    m_grid->setTabKeyNavigation(false);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setDragDropMode(QAbstractItemView::NoDragDrop);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_grid->setItemDelegate(
        new TCellDelegate(m_grid, [this](QKeyEvent* event) { return PreviewKey(event); }));

    QHeaderView* numbers = m_grid->verticalHeader();
    numbers->setSectionResizeMode(QHeaderView::Fixed);
    numbers->setMinimumSectionSize(1);
    numbers->setDefaultSectionSize(kRowHeight);
    numbers->setSectionsClickable(false);
    numbers->setHighlightSections(false);

    SetEditorControl(m_grid, true);
    WatchKeys(m_grid);
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                ShowEditorAt(current.row(), previous.row());
            });

    setTabOrder(m_grid, OkButton());
    setTabOrder(OkButton(), CancelButton());
    m_grid->setFocus();
}

QHeaderView* TfrmItemsEditor::NumberColumn() const {
    return m_grid->verticalHeader();
}

void TfrmItemsEditor::SetLines(const QStringList& lines) {
    const int current = m_grid->currentRow();
    if (current >= 0)
        m_grid->closePersistentEditor(m_grid->item(current, 0));
    m_grid->setRowCount(static_cast<int>(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        auto* item = new QTableWidgetItem(lines[row]);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        m_grid->setItem(row, 0, item);
    }
    if (!lines.isEmpty()) {
        m_grid->setCurrentCell(0, 0);
        ShowEditorAt(0, -1);
    }
}

QStringList TfrmItemsEditor::Lines() const {
    QStringList lines;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QTableWidgetItem* item = m_grid->item(row, 0);
        lines << (item ? item->text() : QString());
    }
    return lines;
}

void TfrmItemsEditor::showEvent(QShowEvent* event) {
    FormShow();
    TEditorDialog::showEvent(event);
}

void TfrmItemsEditor::FormShow() {
    // The grid numbers its rows from 1 by itself; labels set one by one
    // took half a minute for a list of 200,000 lines.
    const QFontMetrics metrics(NumberColumn()->font());
    NumberColumn()->setFixedWidth(metrics.horizontalAdvance(QString::number(m_grid->rowCount())) +
                                  kNumberPadding);
    GridResize();
}

void TfrmItemsEditor::GridResize() {
    m_grid->setColumnWidth(0, m_grid->viewport()->width());
}

void TfrmItemsEditor::ShowEditorAt(int row, int previousRow) {
    const bool hadFocus = m_grid->hasFocus() || m_grid->isAncestorOf(focusWidget());
    if (previousRow >= 0 && previousRow != row)
        m_grid->closePersistentEditor(m_grid->item(previousRow, 0));
    QTableWidgetItem* item = row >= 0 ? m_grid->item(row, 0) : nullptr;
    if (!item)
        return;
    m_grid->openPersistentEditor(item);
    auto* editor = qobject_cast<QLineEdit*>(m_grid->indexWidget(m_grid->indexFromItem(item)));
    if (!editor)
        return;
    editor->selectAll();
    if (hadFocus)
        editor->setFocus(Qt::OtherFocusReason);
}

bool TfrmItemsEditor::PreviewKey(QKeyEvent* event) {
    // Tab leaves the grid instead of moving between cells.
    if (event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier)) {
        OkButton()->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (event->key() == Qt::Key_Backtab ||
        (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier))) {
        CancelButton()->setFocus(Qt::BacktabFocusReason);
        return true;
    }
    return TEditorDialog::PreviewKey(event);
}

bool TfrmItemsEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid->viewport() && event->type() == QEvent::Resize) {
        GridResize();
    } else if (watched == m_grid && event->type() == QEvent::FocusIn) {
        // The cell editor is always open; the grid's focus belongs to it.
        if (QWidget* editor = m_grid->indexWidget(m_grid->currentIndex()))
            editor->setFocus(static_cast<QFocusEvent*>(event)->reason());
    }
    return TEditorDialog::eventFilter(watched, event);
}

} // namespace tarvin
