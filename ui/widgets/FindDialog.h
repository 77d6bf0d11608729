#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarvin {

// The modeless find dialog: a text, a match-case option and a direction.
// Find Next (its button, or F3 in the dialog) reports what the dialog shows
// and emits Find; the dialog stays open. It keeps its text and options for
// the run, searched or not.
class TFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* owner);

    // Shows the dialog, or brings it to the front when it is open already.
    void Execute();

    // As reported by the last Find Next; at start empty, no match case, down.
    const QString& FindText() const { return m_findText; }
    bool MatchCase() const { return m_matchCase; }
    bool Down() const { return m_down; }

    // The search kind of the find action that opened the dialog last.
    int Tag = 0;

    static constexpr int MaxLength = 255;

signals:
    void Find();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FindNextClicked();

    QLineEdit* m_text;
    QCheckBox* m_matchCaseBox;
    QRadioButton* m_upButton;
    QRadioButton* m_downButton;
    QPushButton* m_findNextButton;
    QPushButton* m_cancelButton;

    QString m_findText;
    bool m_matchCase = false;
    bool m_down = true;
};

} // namespace tarvin
