#pragma once

#include "ui/editors/EditorDialog.h"

#include <QStringList>

class QTableWidget;
class QHeaderView;
class QShowEvent;

namespace tarvin {

// Edits the lines of a list one by one in a grid: a fixed column of row
// numbers and one editable column. Lines can be changed but not added,
// removed or moved, so a list keeps its number of lines.
class TfrmItemsEditor : public TEditorDialog {
    Q_OBJECT

public:
    explicit TfrmItemsEditor(QWidget* owner);

    // One row per line.
    void SetLines(const QStringList& lines);
    QStringList Lines() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool PreviewKey(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The fixed column that numbers the rows.
    QHeaderView* NumberColumn() const;
    void FormShow();
    void GridResize();
    void ShowEditorAt(int row, int previousRow);

    QTableWidget* m_grid;
};

} // namespace tarvin
