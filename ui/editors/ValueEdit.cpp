#include "ui/editors/ValueEdit.h"

#include "ui/common/TextCodec.h"
#include "ui/editors/ReferencePane.h"

#include "editing/Shortcut.h"
#include "editing/ValueKind.h"
#include "ui/editors/untItemsEditor.h"
#include "ui/editors/untShortcutEditor.h"
#include "ui/editors/untStringEditor.h"

#include <memory>
#include <utility>

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
    if (typed == DecodeText(original, codePage)) {
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
    return result;
}

// What one edit works on.
struct TEditRequest {
    QWidget* Owner;
    const trvx::CodePage& CodePage;
    const std::optional<QString>& Reference;
    std::string_view Text;
};

// Shows an editor until OK: read turns the dialog's content into the value
// to store, and the one read that lets OK close the dialog is the result.
template <class Dialog, class Fill, class Read>
std::optional<TValueEditResult> RunEditor(const TEditRequest& request, Fill fill, Read read) {
    auto dialog = std::make_unique<Dialog>(request.Owner);
    if (request.Reference)
        ShowReferencePane(*dialog, *request.Reference);
    fill(*dialog);
    TValueEditResult result;
    dialog->SetAcceptCheck([&] {
        result = read(std::as_const(*dialog));
        return result.Error;
    });
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return result;
}

std::optional<TValueEditResult> EditShortcut(const TEditRequest& r) {
    const trvx::CodePage& codePage = r.CodePage;
    const std::string_view text = r.Text;
    return RunEditor<TfrmShortcutEditor>(
        r,
        [&](TfrmShortcutEditor& dialog) {
            if (text.empty())
                dialog.SelectEntry(0);
            else
                dialog.SetText(DecodeText(text, codePage));
        },
        // Kept as typed: "ctrl+a" stays "ctrl+a".
        [&](const TfrmShortcutEditor& dialog) { return ChosenShortcut(dialog, codePage, text); });
}

std::optional<TValueEditResult> EditItems(const TEditRequest& r) {
    const trvx::CodePage& codePage = r.CodePage;
    const std::string_view text = r.Text;
    return RunEditor<TfrmItemsEditor>(
        r,
        [&](TfrmItemsEditor& dialog) {
            QStringList rows;
            for (const std::string& line : trvx::SplitItemLines(text))
                rows << DecodeText(line, codePage);
            dialog.SetLines(rows);
        },
        [&](const TfrmItemsEditor& dialog) {
            std::vector<std::string> lines;
            for (const QString& row : dialog.Lines()) {
                TEncodedText line = EncodeValueText(codePage, row);
                if (!line.Error.isEmpty())
                    return Refused(line.Error);
                lines.push_back(std::move(line.Bytes));
            }
            TValueEditResult result;
            result.Text = trvx::JoinItemLines(lines);
            return result;
        });
}

std::optional<TValueEditResult> EditString(const TEditRequest& r) {
    const trvx::CodePage& codePage = r.CodePage;
    const std::string_view text = r.Text;
    return RunEditor<TfrmStringEditor>(
        r, [&](TfrmStringEditor& dialog) { dialog.SetText(DecodeText(text, codePage)); },
        [&](const TfrmStringEditor& dialog) {
            TEncodedText typed = EncodeValueText(codePage, dialog.Text());
            TValueEditResult result;
            result.Text = std::move(typed.Bytes);
            result.Error = std::move(typed.Error);
            return result;
        });
}

} // namespace

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
    const TEditRequest request{owner, codePage, reference, text};
    switch (trvx::ValueKindOfIdent(ident)) {
    case trvx::vkShortcut:
        return EditShortcut(request);
    case trvx::vkItems:
        return EditItems(request);
    case trvx::vkString:
        break;
    }
    return EditString(request);
}

} // namespace tarvin
