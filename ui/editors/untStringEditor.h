#pragma once

#include "ui/editors/EditorDialog.h"

class QPlainTextEdit;

namespace tarvin {

// Edits a plain text of any number of lines. Enter (with or without Ctrl)
// confirms, Shift+Enter breaks the line, Escape cancels.
class TfrmStringEditor : public TEditorDialog {
    Q_OBJECT

public:
    explicit TfrmStringEditor(QWidget* owner);

    // Replaces the whole content and selects it, so typing replaces the value.
    // Lines may be broken by CR LF, a lone CR or a lone LF.
    void SetText(const QString& text);
    // The whole content, every line break as CR LF.
    QString Text() const;
    int LineCount() const;
    QString FirstLine() const;

protected:
    bool PreviewKey(QKeyEvent* event) override;

private:
    QPlainTextEdit* m_memo;
};

} // namespace tarvin
