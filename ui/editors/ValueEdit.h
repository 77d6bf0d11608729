#pragma once

#include "encoding/CodePage.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace tarvin {

// The user's text as the file's 8-bit text. Fails, with a message naming
// the first character the code page cannot hold, rather than storing a
// substitute for it.
struct TEncodedText {
    std::string Bytes;
    QString Error; // empty on success
};
TEncodedText EncodeValueText(const trvx::CodePage& codePage, const QString& text);

// The outcome of one accepted edit. Either Error is set, and nothing may be
// stored, or Text is the new value (8-bit, CR LF line breaks).
struct TValueEditResult {
    std::string Text;
    QString Error;
};

// Edits the value text with the dialog its ident calls for: creates the
// dialog with owner as parent, fills it, shows it modally, reads it on OK
// and frees it. nullopt when the user cancelled. A reference text, when
// given, is shown read-only above the edit box. A value too long for a
// dialog is refused with an Error, without a dialog.
std::optional<TValueEditResult> RunValueEditor(QWidget* owner, const trvx::CodePage& codePage,
                                               std::string_view ident, std::string_view text,
                                               const std::optional<QString>& reference = {});

} // namespace tarvin
