#include "ui/editors/untShortcutEditor.h"

#include "editing/Shortcut.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tarvin {

namespace {

constexpr int kVisibleEntries = 16;

bool IsTypedText(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!c.isPrint())
            return false;
    return true;
}

} // namespace

TfrmShortcutEditor::TfrmShortcutEditor(QWidget* owner)
    : TEditorDialog(owner, {tr("Shortcut Editor"), 146, QStringLiteral(":/icons/shortcut.svg"),
                            tr("Use the editor below to modify the current shortcut:")}) {
    m_combo = new QComboBox(this);
    m_combo->setObjectName("ComboBox1");
    m_combo->setEditable(true);
    // Completion is our own; Qt's completer and insertion would add entries
    // or rewrite the typed case.
    m_combo->setCompleter(nullptr);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setMaxVisibleItems(kVisibleEntries);
    {
        const QSignalBlocker block(m_combo);
        for (const std::string& entry : trvx::ShortcutEditorEntries())
            m_combo->addItem(
                QString::fromLatin1(entry.data(), static_cast<qsizetype>(entry.size())));
        m_combo->setCurrentIndex(-1);
    }
    SetEditorControl(m_combo, false);
    WatchKeys(m_combo);
    WatchKeys(m_combo->lineEdit());

    connect(m_combo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_completing) {
            m_selected = index;
            m_completionStart = -1;
        }
    });
    connect(m_combo->lineEdit(), &QLineEdit::textEdited, this, [this] {
        if (!m_completing) {
            m_selected = -1;
            m_completionStart = -1;
        }
    });

    setTabOrder(m_combo, OkButton());
    setTabOrder(OkButton(), CancelButton());
    m_combo->setFocus();
}

void TfrmShortcutEditor::SelectEntry(int index) {
    m_combo->setCurrentIndex(index);
    m_selected = m_combo->currentIndex();
    m_completionStart = -1;
}

void TfrmShortcutEditor::SetText(const QString& text) {
    const int index = m_combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        SelectEntry(index);
        return;
    }
    m_combo->setCurrentIndex(-1);
    m_combo->lineEdit()->setText(text);
    m_selected = -1;
    m_completionStart = -1;
}

bool TfrmShortcutEditor::CompletionOffered() const {
    const QLineEdit* field = m_combo->lineEdit();
    return m_completionStart >= 0 && field->hasSelectedText() &&
           field->selectionStart() == m_completionStart &&
           field->selectionEnd() == field->text().size();
}

QString TfrmShortcutEditor::Text() const {
    const QString text = m_combo->lineEdit()->text();
    return CompletionOffered() ? text.left(m_completionStart) : text;
}

bool TfrmShortcutEditor::NoneChosen() const {
    return m_selected == 0 && !CompletionOffered();
}

void TfrmShortcutEditor::showEvent(QShowEvent* event) {
    TEditorDialog::showEvent(event);
    // As the platform's own drop-down boxes do: the text arrives selected,
    // so the first key typed replaces it.
    m_combo->lineEdit()->selectAll();
}

bool TfrmShortcutEditor::PreviewKey(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        m_combo->lineEdit()->backspace();
        m_selected = -1;
        m_completionStart = -1;
        return true;
    }
    if (IsTypedText(event) && TypeAhead(event->text()))
        return true;
    return TEditorDialog::PreviewKey(event);
}

// Completes the text typed so far from the first entry it begins, ignoring
// case. The typed part keeps its case and the completed rest is selected,
// so the next character replaces it. False leaves the key to the field.
bool TfrmShortcutEditor::TypeAhead(const QString& typedChars) {
    QLineEdit* field = m_combo->lineEdit();
    const QString text = field->text();
    const int start = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    const int length = static_cast<int>(field->selectedText().size());
    const QString typed = text.left(start) + typedChars + text.mid(start + length);
    if (start + typedChars.size() != typed.size())
        return false;
    for (int index = 0; index < m_combo->count(); ++index) {
        const QString entry = m_combo->itemText(index);
        if (!entry.startsWith(typed, Qt::CaseInsensitive))
            continue;
        m_completing = true;
        m_combo->setCurrentIndex(index);
        field->setText(typed + entry.mid(typed.size()));
        field->setSelection(static_cast<int>(typed.size()),
                            static_cast<int>(entry.size() - typed.size()));
        m_completing = false;
        m_selected = index;
        m_completionStart = entry.size() > typed.size() ? static_cast<int>(typed.size()) : -1;
        return true;
    }
    return false;
}

} // namespace tarvin
