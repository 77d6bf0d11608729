#include "ui/common/Dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

#include <utility>

namespace tarvin {

namespace {

TQtDialogs& QtDialogs() {
    static TQtDialogs dialogs;
    return dialogs;
}

TDialogs* g_current = nullptr;

// The file dialog keeps its last folder and its view in the user's settings,
// but this program keeps nothing between runs (and a stale folder there once
// froze every later dialog): its state goes to a folder of this run only.
void KeepFileDialogStateForTheRun() {
    static QTemporaryDir runSettings;
    static const bool redirected = [] {
        const QString path =
            runSettings.isValid() ? runSettings.path() : QStringLiteral("/dev/null/tarvin");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
        return true;
    }();
    (void)redirected;
}

// A name typed with a wildcard filters the list, as in the platform's own
// dialogs; only a plain name closes the dialog.
class TFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = field ? field->text().trimmed() : QString();
        if (typed.contains(u'*') || typed.contains(u'?')) {
            QStringList filters = nameFilters();
            filters.removeAll(typed);
            filters.prepend(typed);
            setNameFilters(filters);
            selectNameFilter(typed);
            return;
        }
        QFileDialog::accept();
    }
};

std::optional<QString> RunFileDialog(QWidget* parent, const TFileDialogOptions& options,
                                     QFileDialog::AcceptMode mode) {
    KeepFileDialogStateForTheRun();
    TFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    // The open dialog does not require the typed name to exist either.
    dialog.setFileMode(QFileDialog::AnyFile);
    // Overwriting is confirmed by the caller, where tests can answer it.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilters(options.Filters);
    if (!options.Filters.isEmpty())
        dialog.selectNameFilter(options.Filters.first());
    dialog.setDefaultSuffix(options.DefaultSuffix);
    if (!options.FileName.isEmpty())
        dialog.selectFile(options.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace

TDialogs& TDialogs::Current() {
    return g_current ? *g_current : QtDialogs();
}

TDialogs* TDialogs::SetCurrent(TDialogs* dialogs) {
    return std::exchange(g_current, dialogs);
}

std::optional<QString> TQtDialogs::GetOpenFileName(QWidget* parent,
                                                   const TFileDialogOptions& options) {
    return RunFileDialog(parent, options, QFileDialog::AcceptOpen);
}

std::optional<QString> TQtDialogs::GetSaveFileName(QWidget* parent,
                                                   const TFileDialogOptions& options) {
    return RunFileDialog(parent, options, QFileDialog::AcceptSave);
}

QMessageBox::StandardButton TQtDialogs::ShowMessage(QWidget* parent, QMessageBox::Icon icon,
                                                    const QString& caption, const QString& text,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

TFileDialogOptions OpenDialogOptions(const QString& fileName) {
    return {{QStringLiteral("Language Files (*.trvx)"), QStringLiteral("Executable Files (*.exe)"),
             QStringLiteral("All Files (*.*)")},
            QStringLiteral("trvx"),
            fileName};
}

} // namespace tarvin
