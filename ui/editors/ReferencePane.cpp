#include "ui/editors/ReferencePane.h"

#include <QBoxLayout>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <algorithm>

namespace tarvin {

namespace {

constexpr int kMaxLines = 4;

} // namespace

void ShowReferencePane(QDialog& dialog, QString text) {
    if (!text.isNull())
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto* valueCaption = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    QWidget* header = valueCaption ? valueCaption->parentWidget() : nullptr;
    auto* layout = header ? qobject_cast<QBoxLayout*>(header->layout()) : nullptr;
    if (layout == nullptr)
        return;

    auto* caption = new QLabel(QObject::tr("Reference:"), header);
    caption->setObjectName(QStringLiteral("ReferenceCaption"));
    caption->setTextFormat(Qt::PlainText);
    caption->setFont(valueCaption->font());
    auto* box = new QPlainTextEdit(header);
    box->setObjectName(QStringLiteral("ReferenceText"));
    box->setReadOnly(true);
    box->setTabChangesFocus(true);
    box->setFocusPolicy(Qt::ClickFocus); // Tab keeps going between the editor's own controls
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setPlainText(text);
    if (text.isNull())
        box->setPlaceholderText(QObject::tr("(not in the reference)"));
    box->setBackgroundRole(QPalette::Window);
    const int lines = std::clamp(static_cast<int>(text.count(u'\n')) + 1, 1, kMaxLines);
    const QFontMetrics metrics(box->font());
    constexpr int kSlack = 6; // what the layout of the document adds beyond its lines
    const int height = lines * metrics.lineSpacing() + 2 * box->frameWidth() +
                       static_cast<int>(2 * box->document()->documentMargin()) + kSlack +
                       (lines == kMaxLines || metrics.horizontalAdvance(text) > 260
                            ? box->horizontalScrollBar()->sizeHint().height()
                            : 0);
    box->setFixedHeight(height);

    const int at = layout->indexOf(valueCaption);
    layout->insertWidget(at, caption);
    layout->insertWidget(at + 1, box);
    dialog.resize(dialog.width(), dialog.height() + height + caption->sizeHint().height() + 8);
}

} // namespace tarvin
