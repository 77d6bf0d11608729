#include "ui/mainwindow/ExchangeActions.h"

#include "exchange/Exchange.h"
#include "format/FileIO.h"
#include "ui/common/Dialogs.h"
#include "ui/mainwindow/untMain.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QUndoStack>

namespace tarvin {

namespace {

using namespace trvx::exchange;

std::string LocalName(const QString& fileName) {
    return fileName.toLocal8Bit().toStdString();
}

// The reference the sources come from, when the user wants one; false when cancelled.
bool ChooseReference(TfrmMain& window, trvx::TTarvin& reference, bool& chosen) {
    TDialogs& dialogs = TDialogs::Current();
    const auto answer = dialogs.ShowMessage(
        &window, QMessageBox::Question, QStringLiteral("Export"),
        QStringLiteral("Take the source texts from a reference file, such as the English "
                       "original?\n\nWithout one, each unit's source is the translation's own "
                       "text."),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    chosen = answer == QMessageBox::Yes;
    if (!chosen)
        return true;
    const auto name = dialogs.GetOpenFileName(
        &window,
        {{QStringLiteral("Language Files (*.trvx)"), QStringLiteral("Executable Files (*.exe)")},
         QStringLiteral("trvx"),
         {}});
    if (!name)
        return false;
    window.OpenFile(*name, &reference);
    return true;
}

void ExportExecute(TfrmMain& window) {
    trvx::TTarvin reference;
    bool withReference = false;
    if (!ChooseReference(window, reference, withReference))
        return;
    TDialogs& dialogs = TDialogs::Current();
    const auto name = dialogs.GetSaveFileName(
        &window, {{QStringLiteral("XLIFF 1.2 (*.xlf)"), QStringLiteral("gettext PO (*.po)")},
                  QStringLiteral("xlf"),
                  {}});
    if (!name)
        return;
    const auto format = FormatOfFileName(LocalName(*name));
    if (!format)
        throw EExchangeError(LocalName(*name) + ": give the file the extension .xlf or .po");
    if (QFileInfo::exists(*name) &&
        dialogs.ShowMessage(&window, QMessageBox::Warning, QStringLiteral("Export"),
                            QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                .arg(QFileInfo(*name).fileName()),
                            QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::No) != QMessageBox::Yes)
        return;
    TExportOptions options;
    options.Format = *format;
    options.Original = LocalName(QFileInfo(*name).completeBaseName() + QStringLiteral(".trvx"));
    trvx::SaveFileAtomically(LocalName(*name), [&](const trvx::WriteBytes& write) {
        ExportExchange(window.Language(), withReference ? &reference : nullptr, options, write);
    });
}

void ImportExecute(TfrmMain& window) {
    TDialogs& dialogs = TDialogs::Current();
    const auto name = dialogs.GetOpenFileName(
        &window, {{QStringLiteral("XLIFF and PO Files (*.xlf *.xliff *.po)"),
                   QStringLiteral("All Files (*.*)")},
                  {},
                  {}});
    if (!name)
        return;
    const auto document = ReadExchangeFile(LocalName(*name));
    const TImportPlan plan = PlanImport(window.Language(), document->Units(), false);
    if (!plan.Warnings.empty()) {
        QString text = QStringLiteral("These lists change their number of lines; the host pairs "
                                      "the lines by position:\n");
        for (const std::string& warning : plan.Warnings)
            text += QStringLiteral("\n") + QString::fromStdString(warning);
        text += QStringLiteral("\n\nImport anyway?");
        if (dialogs.ShowMessage(&window, QMessageBox::Warning, QStringLiteral("Import"), text,
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) != QMessageBox::Yes)
            return;
    }
    // One undo step for the whole import; the stack tells that it is unsaved.
    if (!plan.Changes.empty()) {
        auto* undo = window.findChild<QUndoStack*>(QStringLiteral("UndoStack"));
        undo->beginMacro(QStringLiteral("Import %1").arg(QFileInfo(*name).fileName()));
        for (const TImportChange& change : plan.Changes)
            window.PushValueEdit(*change.Node, change.Index, change.Node->GetValue(change.Index),
                                 change.Text);
        undo->endMacro();
    }
    dialogs.ShowMessage(
        &window, QMessageBox::Information, QStringLiteral("Import"),
        QStringLiteral("%1 of %2 units changed a value.").arg(plan.Changes.size()).arg(plan.Units));
}

} // namespace

void InstallExchangeActions(TfrmMain& window) {
    auto* actExport = new QAction(QStringLiteral("E&xport..."), &window);
    auto* actImport = new QAction(QStringLiteral("&Import..."), &window);
    actExport->setObjectName(QStringLiteral("actExport"));
    actImport->setObjectName(QStringLiteral("actImport"));
    for (QAction* action : {actExport, actImport})
        action->setProperty("Category", QStringLiteral("1. File"));
    QObject::connect(actExport, &QAction::triggered, &window,
                     [&window] { window.Guarded([&] { ExportExecute(window); }); });
    QObject::connect(actImport, &QAction::triggered, &window,
                     [&window] { window.Guarded([&] { ImportExecute(window); }); });

    // After "Update To...", before the separator that sets off "Exit".
    auto* mnuFile = window.findChild<QMenu*>(QStringLiteral("mnuFile"));
    const QList<QAction*> items = mnuFile->actions();
    const qsizetype at = items.indexOf(window.findChild<QAction*>(QStringLiteral("actUpdateTo")));
    QAction* before = at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
    mnuFile->insertActions(before, {actExport, actImport});
    // Both need a translation; the menu is the only way to them.
    QObject::connect(mnuFile, &QMenu::aboutToShow, &window, [&window, actExport, actImport] {
        const bool itemExists = window.Language().Root().ChildCount() > 0;
        actExport->setEnabled(itemExists);
        actImport->setEnabled(itemExists);
    });
}

} // namespace tarvin
