#pragma once

#include <QString>

class QDialog;

namespace tarvin {

// Puts the reference text, read-only and captioned "Reference:", into an
// editor dialog above its "Value:" caption, so the translator sees the
// source while typing; the dialog grows by the pane's height. A null text
// says the reference lacks the value.
void ShowReferencePane(QDialog& dialog, QString text);

} // namespace tarvin
