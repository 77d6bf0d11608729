#pragma once

#include "ui/common/Dialogs.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace tarvin::test {

// Answers the windows' dialogs from a script and records what they asked.
// Installed for its lifetime. A question nobody scripted is recorded in
// Unexpected and answered with Cancel / no file.
class TScriptedDialogs : public TDialogs {
public:
    struct TMessage {
        QMessageBox::Icon Icon;
        QString Caption;
        QString Text;
        QMessageBox::StandardButtons Buttons;
    };

    TScriptedDialogs();
    ~TScriptedDialogs() override;

    std::deque<QString> OpenAnswers; // a null QString: Cancel
    std::deque<QString> SaveAnswers;
    std::deque<QMessageBox::StandardButton> MessageAnswers; // default: the first button

    std::vector<TFileDialogOptions> OpenRequests;
    std::vector<TFileDialogOptions> SaveRequests;
    std::vector<TMessage> Messages;
    QStringList Unexpected;

    std::optional<QString> GetOpenFileName(QWidget* parent,
                                           const TFileDialogOptions& options) override;
    std::optional<QString> GetSaveFileName(QWidget* parent,
                                           const TFileDialogOptions& options) override;
    QMessageBox::StandardButton ShowMessage(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& caption, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) override;

    // The texts of the messages shown so far.
    QStringList MessageTexts() const;

private:
    TDialogs* m_previous;
};

} // namespace tarvin::test
