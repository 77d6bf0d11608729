// Opening and saving the translation.
#include "ui/mainwindow/untMain.h"

#include "document/OpenFile.h"
#include "tree/Errors.h"
#include "ui/common/Dialogs.h"
#include "update/RemovedEntries.h"
#include "update/UpdateMerge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarvin {

namespace {

std::string FileNameBytes(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

// The readers leave the tree untouched when they fail with one of these.
bool TreeLeftUnchanged(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const trvx::EFOpenError&) {
        return true;
    } catch (const trvx::EResNotFound&) {
        return true;
    } catch (...) {
        return false;
    }
}

// A name with a wildcard is a filter the user typed, never a file to write.
bool IsFileNamePattern(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    return name.contains(u'*') || name.contains(u'?');
}

bool WouldLoad(const QString& fileName) {
    const std::string name = FileNameBytes(fileName);
    const std::string_view ext = trvx::FileExtension(name);
    return trvx::SameTextAscii(ext, ".trvx") || trvx::SameTextAscii(ext, ".exe");
}

} // namespace

void TfrmMain::OpenFile(const QString& fileName, trvx::TTarvin* target) {
    trvx::TTarvin& into = target != nullptr ? *target : CurrentLanguage;
    const bool intoCurrent = &into == &CurrentLanguage;
    trvx::TOpenResult result{};
    try {
        result = trvx::LoadByExtension(into, FileNameBytes(fileName));
    } catch (...) {
        if (intoCurrent && !TreeLeftUnchanged(std::current_exception())) {
            // The reader had begun to replace the tree: the marks and rows
            // name nodes that are gone. Show what the tree holds now.
            UpdateLists.ClearUpdateLists();
            SetModified(false);
            try {
                RebuildTrees();
            } catch (...) {
                // RebuildTrees emptied the views; the load's error is the one to show.
            }
        }
        throw;
    }
    if (result == trvx::TOpenResult::Ignored || !intoCurrent)
        return;
    // Nothing replaced the tree: unsaved edits are still on screen, so the
    // caption and the modified mark must go on naming them.
    if (result == trvx::TOpenResult::NotAModule && IsModified())
        return;
    UpdateCaption(fileName);
    UpdateLists.ClearUpdateLists();
    SetModified(false);
    RebuildTrees();
}

std::optional<QString> TfrmMain::AskFileToOpen() {
    return TDialogs::Current().GetOpenFileName(this, OpenDialogOptions(m_openFileName));
}

void TfrmMain::actOpenExecute() {
    const std::optional<QString> fileName = AskFileToOpen();
    if (!fileName)
        return;
    m_openFileName = *fileName;
    if (WouldLoad(*fileName) && !QuerySaveChanges())
        return;
    OpenFile(*fileName);
}

void TfrmMain::actSaveExecute() {
    TFileDialogOptions options{
        {QStringLiteral("Language Files (*.trvx)")}, QStringLiteral("trvx"), SaveProposal()};
    std::optional<QString> fileName;
    for (;;) {
        fileName = TDialogs::Current().GetSaveFileName(this, options);
        if (!fileName)
            return;
        if (IsFileNamePattern(*fileName)) {
            TDialogs::Current().ShowMessage(this, QMessageBox::Warning, QStringLiteral("Tarvin"),
                                            QStringLiteral("\"%1\" is a pattern, not a file name.")
                                                .arg(QFileInfo(*fileName).fileName()));
            continue;
        }
        if (!QFileInfo::exists(*fileName))
            break;
        const auto answer = TDialogs::Current().ShowMessage(
            this, QMessageBox::Warning, QStringLiteral("Confirm Save As"),
            QStringLiteral("%1 already exists.\nDo you want to replace it?")
                .arg(QFileInfo(*fileName).fileName()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes)
            break;
        options.FileName = *fileName;
    }
    m_openFileName = *fileName;
    SaveTo(*fileName);
}

QString TfrmMain::SaveProposal() const {
    // The open translation's own name as a language file, in its folder: a
    // module App.exe proposes App.trvx.
    if (m_fileName.isEmpty())
        return {};
    const QFileInfo open(m_fileName);
    return open.dir().filePath(open.completeBaseName() + QStringLiteral(".trvx"));
}

void TfrmMain::SaveTo(const QString& fileName) {
    // Nothing is deleted before the file is written: a failed write leaves
    // the tree, the marks and the views as they were.
    {
        const trvx::TRemovedEntries removed(UpdateLists);
        CurrentLanguage.SaveToFile(FileNameBytes(fileName), &removed);
    }
    UpdateCaption(fileName);
    const TTreePlace place = TreePlace();
    try {
        trvx::PruneRemoved(CurrentLanguage.Root(), UpdateLists);
    } catch (...) {
        UpdateLists.ClearUpdateLists();
        RebuildTrees();
        throw;
    }
    UpdateLists.ClearUpdateLists();
    SetModified(false);
    RebuildTrees();
    RestoreTreePlace(place);
}

bool TfrmMain::QuerySaveChanges() {
    if (!IsModified())
        return true;
    const QString name =
        m_fileName.isEmpty() ? QStringLiteral("Untitled") : DocumentName(m_fileName);
    const auto answer = TDialogs::Current().ShowMessage(
        this, QMessageBox::Question, QStringLiteral("Tarvin"),
        QStringLiteral("Save changes to %1?").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Discard)
        return true;
    if (answer != QMessageBox::Save)
        return false;
    actSaveExecute();
    return !IsModified();
}

} // namespace tarvin
