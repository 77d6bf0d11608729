#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace tarvin {

// What an open or save dialog is set up with.
struct TFileDialogOptions {
    QStringList Filters;   // display texts such as "Language Files (*.trvx)"; first preselected
    QString DefaultSuffix; // appended to a typed name without extension, no dot
    QString FileName;      // the name the dialog starts with
};

// The open dialog for a language file or a host module, starting at fileName.
TFileDialogOptions OpenDialogOptions(const QString& fileName);

// The one seam through which the windows reach modal dialogs and message
// boxes, so that tests can answer them without a display. The windows ask
// TDialogs::Current(); tests install their own with SetCurrent.
class TDialogs {
public:
    virtual ~TDialogs() = default;

    // The chosen file, or nothing when cancelled.
    virtual std::optional<QString> GetOpenFileName(QWidget* parent,
                                                   const TFileDialogOptions& options) = 0;
    // The chosen file, or nothing when cancelled. Asks nothing about existing
    // files: the caller confirms overwriting through ShowMessage.
    virtual std::optional<QString> GetSaveFileName(QWidget* parent,
                                                   const TFileDialogOptions& options) = 0;
    virtual QMessageBox::StandardButton
    ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                const QString& text, QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) = 0;

    static TDialogs& Current();
    // Installs dialogs (not owned) and returns the previous ones; nullptr
    // brings back the real ones.
    static TDialogs* SetCurrent(TDialogs* dialogs);
};

// The real dialogs of the desktop.
class TQtDialogs : public TDialogs {
public:
    std::optional<QString> GetOpenFileName(QWidget* parent,
                                           const TFileDialogOptions& options) override;
    std::optional<QString> GetSaveFileName(QWidget* parent,
                                           const TFileDialogOptions& options) override;
    QMessageBox::StandardButton ShowMessage(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& caption, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) override;
};

} // namespace tarvin
