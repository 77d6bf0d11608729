#include "ui/ValueEdit.h"

#include "ui/ReferencePane.h"
#include "ui/TextCodec.h"

#include "editing/Shortcut.h"
#include "editing/ValueKind.h"
#include "ui/untItemsEditor.h"
#include "ui/untShortcutEditor.h"
#include "ui/untStringEditor.h"

#include <memory>

namespace tarvin {

namespace {

QString CharacterName(char32_t ch) {
    const QString code =
        QStringLiteral("U+%1").arg(static_cast<uint>(ch), 4, 16, QLatin1Char('0')).toUpper();
    const bool printable = QChar::isPrint(ch) && !QChar::isSurrogate(ch);
    if (!printable)
        return code;
    return QStringLiteral("\"%1\" (%2)").arg(QString::fromUcs4(&ch, 1), code);
}

// The mark goes in as a character, never through the code page, which
// need not hold "»" at 0xBB.
QString FirstLineWithMark(const trvx::CodePage& codePage, std::string_view firstLine) {
    return DecodeValueText(codePage, firstLine) + QStringLiteral(" \u00BB");
}

TValueEditResult Refused(QString error) {
    TValueEditResult result;
    result.Error = std::move(error);
    return result;
}

// What OK on the shortcut editor stores: "(None)" or an empty box clears,
// the text as it came is kept byte for byte, and a typed text must be one
// the shortcut table reads. Error says why a text is refused.
TValueEditResult ChosenShortcut(const TfrmShortcutEditor& dialog, const trvx::CodePage& codePage,
                                std::string_view original) {
    TValueEditResult result;
    const QString typed = dialog.Text();
    if (dialog.NoneChosen() || typed.isEmpty())
        return result;
    if (typed == DecodeValueText(codePage, original)) {
        result.Text = original;
    } else {
        TEncodedText bytes = EncodeValueText(codePage, typed);
        if (!bytes.Error.isEmpty())
            return Refused(bytes.Error);
        if (trvx::ShortcutFromText(bytes.Bytes) == 0)
            return Refused(QObject::tr("\"%1\" is not a shortcut. Choose \"(None)\" or empty "
                                       "the box to remove the shortcut.")
                               .arg(typed));
        result.Text = std::move(bytes.Bytes);
    }
    result.Display = DecodeValueText(codePage, result.Text);
    return result;
}

std::optional<TValueEditResult> EditShortcut(QWidget* owner, const trvx::CodePage& codePage,
                                             const std::optional<QString>& reference,
                                             std::string_view text) {
    auto dialog = std::make_unique<TfrmShortcutEditor>(owner);
    if (reference)
        ShowReferencePane(*dialog, *reference);
    if (text.empty())
        dialog->SelectEntry(0);
    else
        dialog->SetText(DecodeValueText(codePage, text));
    dialog->SetAcceptCheck([&] { return ChosenShortcut(*dialog, codePage, text).Error; });
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    // Kept as typed: "ctrl+a" stays "ctrl+a".
    return ChosenShortcut(*dialog, codePage, text);
}

std::optional<TValueEditResult> EditItems(QWidget* owner, const trvx::CodePage& codePage,
                                          const std::optional<QString>& reference,
                                          std::string_view text) {
    auto dialog = std::make_unique<TfrmItemsEditor>(owner);
    if (reference)
        ShowReferencePane(*dialog, *reference);
    QStringList rows;
    for (const std::string& line : trvx::SplitItemLines(text))
        rows << DecodeValueText(codePage, line);
    dialog->SetLines(rows);
    dialog->SetAcceptCheck([&] {
        for (const QString& row : dialog->Lines())
            if (QString error = EncodeValueText(codePage, row).Error; !error.isEmpty())
                return error;
        return QString();
    });
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;

    std::vector<std::string> lines;
    for (const QString& row : dialog->Lines()) {
        TEncodedText line = EncodeValueText(codePage, row);
        if (!line.Error.isEmpty())
            return Refused(line.Error);
        lines.push_back(std::move(line.Bytes));
    }
    TValueEditResult result;
    result.Text = trvx::JoinItemLines(lines);
    result.Display = lines.size() <= 1 ? DecodeValueText(codePage, result.Text)
                                       : FirstLineWithMark(codePage, lines.front());
    return result;
}

std::optional<TValueEditResult> EditString(QWidget* owner, const trvx::CodePage& codePage,
                                           const std::optional<QString>& reference,
                                           std::string_view text) {
    auto dialog = std::make_unique<TfrmStringEditor>(owner);
    if (reference)
        ShowReferencePane(*dialog, *reference);
    dialog->SetText(DecodeValueText(codePage, text));
    dialog->SetAcceptCheck([&] { return EncodeValueText(codePage, dialog->Text()).Error; });
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;

    TEncodedText typed = EncodeValueText(codePage, dialog->Text());
    if (!typed.Error.isEmpty())
        return Refused(typed.Error);
    TValueEditResult result;
    result.Text = std::move(typed.Bytes);
    // Every break the box gives is CR LF: the first line ends at the first CR.
    const std::size_t cr = result.Text.find('\r');
    result.Display = cr == std::string::npos
                         ? DecodeValueText(codePage, result.Text)
                         : FirstLineWithMark(codePage, std::string_view(result.Text).substr(0, cr));
    return result;
}

} // namespace

QString DecodeValueText(const trvx::CodePage& codePage, std::string_view bytes) {
    return DecodeText(bytes, codePage);
}

TEncodedText EncodeValueText(const trvx::CodePage& codePage, const QString& text) {
    TEncodedText result;
    char32_t bad = 0;
    if (!EncodeText(text, codePage, result.Bytes, &bad)) {
        result.Bytes.clear();
        result.Error =
            QObject::tr("The character %1 cannot be stored in this file's code page (%2).")
                .arg(CharacterName(bad), QString::fromStdString(codePage.Name()));
    }
    return result;
}

std::optional<TValueEditResult> RunValueEditor(QWidget* owner, const trvx::CodePage& codePage,
                                               std::string_view ident, std::string_view text,
                                               const std::optional<QString>& reference) {
    // An edit box lays its text out whole: megabytes would freeze the
    // window, and no text of a host comes near this.
    constexpr std::size_t kEditableChars = std::size_t{1} << 20;
    if (text.size() > kEditableChars)
        return Refused(QObject::tr("This value has %L1 characters, too many to edit in a dialog "
                                   "(at most %L2).")
                           .arg(text.size())
                           .arg(kEditableChars));
    switch (trvx::ValueKindOfIdent(ident)) {
    case trvx::vkShortcut:
        return EditShortcut(owner, codePage, reference, text);
    case trvx::vkItems:
        return EditItems(owner, codePage, reference, text);
    case trvx::vkString:
        break;
    }
    return EditString(owner, codePage, reference, text);
}

} // namespace tarvin
