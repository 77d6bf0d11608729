#include "ScriptedDialogs.h"

namespace tarvin::test {

TScriptedDialogs::TScriptedDialogs() : m_previous(TDialogs::SetCurrent(this)) {}

TScriptedDialogs::~TScriptedDialogs() {
    TDialogs::SetCurrent(m_previous);
}

std::optional<QString> TScriptedDialogs::GetOpenFileName(QWidget*,
                                                         const TFileDialogOptions& options) {
    OpenRequests.push_back(options);
    if (OpenAnswers.empty()) {
        Unexpected << QStringLiteral("open dialog");
        return std::nullopt;
    }
    const QString answer = OpenAnswers.front();
    OpenAnswers.pop_front();
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

std::optional<QString> TScriptedDialogs::GetSaveFileName(QWidget*,
                                                         const TFileDialogOptions& options) {
    SaveRequests.push_back(options);
    if (SaveAnswers.empty()) {
        Unexpected << QStringLiteral("save dialog");
        return std::nullopt;
    }
    const QString answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

QMessageBox::StandardButton TScriptedDialogs::ShowMessage(QWidget*, QMessageBox::Icon icon,
                                                          const QString& caption,
                                                          const QString& text,
                                                          QMessageBox::StandardButtons buttons,
                                                          QMessageBox::StandardButton) {
    Messages.push_back({icon, caption, text, buttons});
    if (MessageAnswers.empty()) {
        if (buttons != QMessageBox::Ok)
            Unexpected << QStringLiteral("question: ") + text;
        return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Cancel;
    }
    const auto answer = MessageAnswers.front();
    MessageAnswers.pop_front();
    return answer;
}

QStringList TScriptedDialogs::MessageTexts() const {
    QStringList texts;
    for (const TMessage& m : Messages)
        texts << m.Text;
    return texts;
}

} // namespace tarvin::test
