#pragma once

#include "ui/editors/EditorDialog.h"

class QComboBox;

namespace tarvin {

// Edits a shortcut text: a list of common shortcuts plus a text field that
// takes any text and completes what is typed from the list.
class TfrmShortcutEditor : public TEditorDialog {
    Q_OBJECT

public:
    explicit TfrmShortcutEditor(QWidget* owner);

    // Selects a list entry and shows its text; 0 is "(None)".
    void SelectEntry(int index);
    // Puts a text into the text field; it selects the entry it equals, if any.
    void SetText(const QString& text);
    // The selected entry, -1 when none is.
    int SelectedIndex() const { return m_selected; }
    // The text the user chose: a completion still offered (its rest selected)
    // was not taken and is left out.
    QString Text() const;
    // Whether "(None)" itself is chosen, not offered as a completion.
    bool NoneChosen() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool PreviewKey(QKeyEvent* event) override;

private:
    bool TypeAhead(const QString& typedChars);
    bool CompletionOffered() const;

    QComboBox* m_combo;
    int m_selected = -1;
    int m_completionStart = -1; // where the offered rest begins, -1 for none
    bool m_completing = false;
};

} // namespace tarvin
