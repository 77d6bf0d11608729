#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QKeyEvent;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace tarvin {

// The frame the three value editors share: a sizeable tool window with a
// close box only, centred on the screen, holding a header (icon, bold title,
// description, underlined "Value:"), the editor's own control and OK/Cancel
// at the bottom right. It also gives the editors a form-level key preview:
// the keys of the watched controls reach PreviewKey before the control.
class TEditorDialog : public QDialog {
    Q_OBJECT

public:
    struct TLook {
        QString Caption;
        int Height;
        QString IconPath;
        QString Description;
    };

    TEditorDialog(QWidget* owner, const TLook& look);

    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // Asked before OK closes the dialog: a non-empty answer is shown as a
    // warning and the dialog stays open, so the user can mend what he typed.
    void SetAcceptCheck(std::function<QString()> check) { m_acceptCheck = std::move(check); }
    void done(int result) override;

protected:
    // The editor's control goes between header and buttons; stretch says
    // whether it takes the spare height.
    void SetEditorControl(QWidget* control, bool stretch);
    // A hint at the bottom left, level with the buttons.
    void SetHint(const QString& text);
    // Keys of this control now pass PreviewKey first.
    void WatchKeys(QWidget* control);
    // Escape cancels and Enter presses OK; true when the key was taken.
    virtual bool PreviewKey(QKeyEvent* event);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QVBoxLayout* m_body = nullptr;
    QWidget* m_bottom = nullptr;
    QLabel* m_hint = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    std::function<QString()> m_acceptCheck;
};

// An icon of the resources drawn at 32 x 32; empty when it is missing.
QPixmap DialogIcon(const QString& path, qreal devicePixelRatio);

} // namespace tarvin
