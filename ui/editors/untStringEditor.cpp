#include "ui/editors/untStringEditor.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace tarvin {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

TfrmStringEditor::TfrmStringEditor(QWidget* owner)
    : TEditorDialog(owner, {tr("String Editor"), 180, QStringLiteral(":/icons/string.svg"),
                            tr("Use the editor below to modify the current string:")}) {
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName("Memo1");
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setTabChangesFocus(true);
    SetEditorControl(m_memo, true);
    SetHint(tr("Shift + Enter => Enter"));
    WatchKeys(m_memo);

    setTabOrder(OkButton(), CancelButton());
    setTabOrder(CancelButton(), m_memo);
    m_memo->setFocus();
}

void TfrmStringEditor::SetText(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString lines = text;
    lines.replace(lineBreak, QStringLiteral("\n"));
    m_memo->setPlainText(lines);
    m_memo->selectAll();
}

QString TfrmStringEditor::Text() const {
    // The raw text keeps no-break spaces, which the plain-text export would
    // turn into blanks; breaks come as paragraph or line separators.
    QString text = m_memo->document()->toRawText();
    QString out;
    out.reserve(text.size() + m_memo->document()->blockCount());
    for (QChar c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n')
            out += kCrLf;
        else
            out += c;
    }
    return out;
}

int TfrmStringEditor::LineCount() const {
    return static_cast<int>(Text().count(kCrLf)) + 1;
}

QString TfrmStringEditor::FirstLine() const {
    QString text = Text();
    return text.left(text.indexOf(kCrLf));
}

bool TfrmStringEditor::PreviewKey(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ShiftModifier)) {
        // A real paragraph break, not the soft line separator the text box
        // would insert for Shift+Enter.
        m_memo->textCursor().insertBlock();
        m_memo->ensureCursorVisible();
        return true;
    }
    return TEditorDialog::PreviewKey(event);
}

} // namespace tarvin
