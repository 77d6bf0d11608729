// Opening and saving from the File menu, with the dialogs answered by script.
#include "support/ScriptedDialogs.h"
#include "support/UiTestSupport.h"

#include "support/MainWindow.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/ValuesModel.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace tarvin;
using namespace tarvin::test;

namespace {

const QByteArray kSmall = R"(Root {
  Keep {
    v0 = a
    v1 = b
    v2 = c
    v3 = d
    v4 = e
  }
  Gone {
    Below {
      x = 1
    }
  }
}
)";

// The newer base of small: it has no v1, v3 and Gone, and adds Fresh, so
// that a save after Update To writes Keep without them and Fresh after it.
const QByteArray kSmallBase = R"(Root {
  Keep {
    v0 = a
    v2 = c
    v4 = e
  }
  Fresh {
    y = 2
  }
}
)";

// Every row of the contents tree and both lists has no colour.
bool NoColouredRows(const TMainWindow& w) {
    for (int n = 1; n <= w.ContentsModel->NodeCount(); ++n)
        if (w.ContentsModel->NodeData(n).State != usNone)
            return false;
    return w.AddedModel->rowCount() == 0 && w.RemovedModel->rowCount() == 0;
}

} // namespace

class TestOpenSave : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_small;

    // Update To small's newer base: v1 and v3 of Keep and the node Gone are
    // marked removed, the node Fresh added.
    void MarkSmall(TMainWindow& w, TScriptedDialogs& dialogs) {
        w.UpdateTo(dialogs, m_dir.filePath("small-base.trvx"));
        QCOMPARE(dialogs.MessageTexts(), QStringList());
        QVERIFY(w.HasMarks());
    }

    void OpenSmall(TMainWindow& w, TScriptedDialogs& dialogs) {
        dialogs.OpenAnswers.push_back(m_small);
        w.actOpen->trigger();
        QCOMPARE(w.windowTitle(), QString("Tarvin - small"));
        QVERIFY(!w.IsModified());
        QTRY_VERIFY(w.actSave->isEnabled()); // the rules run once the window is idle
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_small = m_dir.filePath("small.trvx");
        WriteFile(m_small, Crlf(kSmall));
        WriteFile(m_dir.filePath("DE.TRVX"), Crlf("Upper {\n  v = 1\n}\n"));
        WriteFile(m_dir.filePath("small-base.trvx"), Crlf(kSmallBase));
        QVERIFY(QFile::copy(ModuleFixture("example64.exe"), m_dir.filePath("App.EXE")));
        QVERIFY(QFile::copy(ModuleFixture("others.exe"), m_dir.filePath("noresource.exe")));
        WriteFile(m_dir.filePath("broken.exe"), "this is no module");
        QVERIFY(QFile::copy(ModuleFixture("library.dll"), m_dir.filePath("plugin.dll")));
        WriteFile(m_dir.filePath("notes.txt"), Crlf("Notes {\n}\n"));
        WriteFile(m_dir.filePath("surplus.trvx"), Crlf("A {\n}\n}\nB {\n}\n"));
    }

    void openByExtension_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("firstRow");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("marksKept");
        QTest::newRow("extension in capitals") << "DE.TRVX"
                                               << "Tarvin - DE"
                                               << "Upper"
                                               << "" << false;
        QTest::newRow("host module") << "App.EXE"
                                     << "Tarvin - App"
                                     << "INFO"
                                     << "" << false;
        QTest::newRow("no module: only caption and marks") << "broken.exe"
                                                           << "Tarvin - broken"
                                                           << "Root"
                                                           << "" << false;
        QTest::newRow("library ignored") << "plugin.dll"
                                         << "Tarvin - small"
                                         << "Root"
                                         << "" << true;
        QTest::newRow("text ignored") << "notes.txt"
                                      << "Tarvin - small"
                                      << "Root"
                                      << "" << true;
        QTest::newRow("missing file") << "gone.trvx"
                                      << "Tarvin - small"
                                      << "Root"
                                      << "Cannot open file \"" << true;
        QTest::newRow("module without resource") << "noresource.exe"
                                                 << "Tarvin - small"
                                                 << "Root"
                                                 << "Resource Tarvin not found" << true;
    }
    void openByExtension() {
        QFETCH(QString, file);
        QFETCH(QString, caption);
        QFETCH(QString, firstRow);
        QFETCH(QString, message);
        QFETCH(bool, marksKept);
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        MarkSmall(w, dialogs);
        w.SetModified(false);

        dialogs.OpenAnswers.push_back(m_dir.filePath(file));
        w.actOpen->trigger();
        QCOMPARE(w.windowTitle(), caption);
        QCOMPARE(w.ContentsModel->index(0, 0).data().toString(), firstRow);
        if (message.isEmpty()) {
            QCOMPARE(dialogs.MessageTexts(), QStringList());
        } else {
            QCOMPARE(dialogs.Messages.size(), size_t(1));
            QVERIFY2(dialogs.Messages[0].Text.startsWith(message),
                     qPrintable(dialogs.Messages[0].Text));
        }
        QCOMPARE(!NoColouredRows(w), marksKept);
        QCOMPARE(w.HasMarks(), marksKept);
        QVERIFY(dialogs.Unexpected.isEmpty());
    }

    void cancelChangesNothing() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        MarkSmall(w, dialogs);
        const QStringList before = Outline(*w.ContentsModel);
        dialogs.OpenAnswers.push_back(QString());
        w.actOpen->trigger();
        dialogs.SaveAnswers.push_back(QString());
        w.actSave->trigger();
        QCOMPARE(Outline(*w.ContentsModel), before);
        QCOMPARE(w.windowTitle(), QString("Tarvin - small"));
        QVERIFY(!NoColouredRows(w));
        QVERIFY(dialogs.Messages.empty());
        QVERIFY(w.IsModified());
    }

    void dialogSettings() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        const TFileDialogOptions open = dialogs.OpenRequests.at(0);
        QCOMPARE(open.Filters, QStringList({"Language Files (*.trvx)", "Executable Files (*.exe)",
                                            "All Files (*.*)"}));
        QCOMPARE(open.FileName, QString());
        QCOMPARE(open.DefaultSuffix, QString("trvx"));

        const QString saved = m_dir.filePath("b.trvx");
        QFile::remove(saved);
        dialogs.SaveAnswers.push_back(saved);
        w.actSave->trigger();
        const TFileDialogOptions save = dialogs.SaveRequests.at(0);
        QCOMPARE(save.Filters, QStringList({"Language Files (*.trvx)"}));
        QCOMPARE(save.FileName, m_dir.filePath("small.trvx")); // the open file's own name
        QCOMPARE(w.windowTitle(), QString("Tarvin - b"));

        dialogs.OpenAnswers.push_back(QString());
        w.actOpen->trigger();
        QCOMPARE(dialogs.OpenRequests.back().FileName, saved);
        dialogs.SaveAnswers.push_back(QString());
        w.actSave->trigger();
        QCOMPARE(dialogs.SaveRequests.back().FileName, saved);
    }

    void saveWithoutUpdateWritesTheTree() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        const QString saved = m_dir.filePath("same.trvx");
        QFile::remove(saved);
        dialogs.SaveAnswers.push_back(saved);
        w.actSave->trigger();
        QCOMPARE(ReadFile(saved), Crlf(kSmall));
        QVERIFY(dialogs.Messages.empty());
    }

    void saveAfterUpdatePrunes() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        MarkSmall(w, dialogs);
        QCOMPARE(ColumnTexts(*w.RemovedModel).size(), 4); // Gone, Below, v1, v3
        const QString saved = m_dir.filePath("pruned.trvx");
        QFile::remove(saved);
        dialogs.SaveAnswers.push_back(saved);
        w.actSave->trigger();
        QCOMPARE(dialogs.MessageTexts(), QStringList());
        QCOMPARE(ReadFile(saved), Crlf(R"(Root {
  Keep {
    v0 = a
    v2 = c
    v4 = e
  }
  Fresh {
    y = 2
  }
}
)"));
        QVERIFY(!w.HasMarks());
        QVERIFY(NoColouredRows(w));
        QCOMPARE(Outline(*w.ContentsModel), QStringList({"Root", "  Fresh", "  Keep"}));
        QVERIFY(!w.IsModified());
        QCOMPARE(w.windowTitle(), QString("Tarvin - pruned"));
    }

    void overwriteIsConfirmed() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        const QString existing = m_dir.filePath("existing.trvx");
        WriteFile(existing, "old");
        // No: the dialog comes back with the name; then Cancel.
        dialogs.SaveAnswers = {existing, QString()};
        dialogs.MessageAnswers = {QMessageBox::No};
        w.actSave->trigger();
        QCOMPARE(dialogs.SaveRequests.size(), size_t(2));
        QCOMPARE(dialogs.SaveRequests[1].FileName, existing);
        QCOMPARE(dialogs.Messages.at(0).Text,
                 QString("existing.trvx already exists.\nDo you want to replace it?"));
        QCOMPARE(ReadFile(existing), QByteArray("old"));
        QCOMPARE(w.windowTitle(), QString("Tarvin - small"));
        // Yes: written.
        dialogs.SaveAnswers = {existing};
        dialogs.MessageAnswers = {QMessageBox::Yes};
        w.actSave->trigger();
        QCOMPARE(ReadFile(existing), Crlf(kSmall));
        QVERIFY(dialogs.Unexpected.isEmpty());
    }

    void failedSaveLosesNothing() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        MarkSmall(w, dialogs);
        const QStringList outline = Outline(*w.ContentsModel);
        const QStringList removedRows = ColumnTexts(*w.RemovedModel);
        const QStringList addedRows = ColumnTexts(*w.AddedModel);
        const QString bad = m_dir.filePath("no/such/folder/x.trvx");
        dialogs.SaveAnswers.push_back(bad);
        w.actSave->trigger();
        QCOMPARE(dialogs.Messages.size(), size_t(1));
        QVERIFY2(dialogs.Messages[0].Text.startsWith("Cannot create file \""),
                 qPrintable(dialogs.Messages[0].Text));
        QVERIFY(!QFile::exists(bad));
        QCOMPARE(Outline(*w.ContentsModel), outline);
        QCOMPARE(ColumnTexts(*w.RemovedModel), removedRows);
        QCOMPARE(ColumnTexts(*w.AddedModel), addedRows);
        QCOMPARE(w.Language().Root().GetChild(0).GetChild(0).ValueCount(), 5);
        QVERIFY(w.IsModified());
        QCOMPARE(w.windowTitle(), QString("Tarvin - small"));

        // The translator saves elsewhere, and the save prunes as usual.
        const QString good = m_dir.filePath("elsewhere.trvx");
        QFile::remove(good);
        dialogs.SaveAnswers.push_back(good);
        w.actSave->trigger();
        QCOMPARE(dialogs.Messages.size(), size_t(1));
        QVERIFY(ReadFile(good).contains("v4 = e") && !ReadFile(good).contains("Gone"));
        QVERIFY(NoColouredRows(w));
    }

    void failedLoadShowsWhatTheTreeHolds() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        MarkSmall(w, dialogs);
        w.SetModified(false);
        dialogs.OpenAnswers.push_back(m_dir.filePath("surplus.trvx"));
        w.actOpen->trigger();
        QCOMPARE(dialogs.MessageTexts(), QStringList({"List index out of bounds (-1)"}));
        // The reader kept what it read before the surplus brace; the views show
        // exactly that, and no row or mark names a node of the old tree.
        QCOMPARE(Outline(*w.ContentsModel), QStringList({"A"}));
        QVERIFY(!w.HasMarks());
        QVERIFY(NoColouredRows(w));
        QCOMPARE(static_cast<const trvx::TTarvinItem*>(w.ContentsModel->NodeData(1).Item),
                 &w.Language().Root().GetChild(0));
        QCOMPARE(w.windowTitle(), QString("Tarvin - small"));
    }

    void unsavedChangesAreAskedFor() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        w.SetModified(true); // as an edit leaves it
        const QString other = m_dir.filePath("DE.TRVX");

        // Cancel: nothing is opened.
        dialogs.OpenAnswers.push_back(other);
        dialogs.MessageAnswers = {QMessageBox::Cancel};
        w.actOpen->trigger();
        QCOMPARE(dialogs.Messages.at(0).Text, QString("Save changes to small?"));
        QCOMPARE(dialogs.Messages.at(0).Buttons,
                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(w.windowTitle(), QString("Tarvin - small"));
        QVERIFY(w.IsModified());

        // An ignored extension replaces nothing, so nothing is asked.
        dialogs.OpenAnswers.push_back(m_dir.filePath("notes.txt"));
        w.actOpen->trigger();
        QCOMPARE(dialogs.Messages.size(), size_t(1));

        // Save: the save path runs, then the file is opened.
        const QString saved = m_dir.filePath("asked.trvx");
        QFile::remove(saved);
        dialogs.OpenAnswers.push_back(other);
        dialogs.MessageAnswers = {QMessageBox::Save};
        dialogs.SaveAnswers.push_back(saved);
        w.actOpen->trigger();
        QCOMPARE(ReadFile(saved), Crlf(kSmall));
        QCOMPARE(w.windowTitle(), QString("Tarvin - DE"));
        QVERIFY(!w.IsModified());

        // Save, but the save dialog is cancelled: the open stops too.
        w.SetModified(true);
        dialogs.OpenAnswers.push_back(m_small);
        dialogs.MessageAnswers = {QMessageBox::Save};
        dialogs.SaveAnswers.push_back(QString());
        w.actOpen->trigger();
        QCOMPARE(w.windowTitle(), QString("Tarvin - DE"));

        // Discard: opened without saving.
        dialogs.OpenAnswers.push_back(m_small);
        dialogs.MessageAnswers = {QMessageBox::Discard};
        w.actOpen->trigger();
        QCOMPARE(w.windowTitle(), QString("Tarvin - small"));
        QVERIFY(!w.IsModified());
        QVERIFY(dialogs.Unexpected.isEmpty());
    }

    void closingAsksToo() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        QVERIFY(ShowActive(w));
        w.SetModified(true);
        dialogs.MessageAnswers = {QMessageBox::Cancel};
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        dialogs.MessageAnswers = {QMessageBox::Discard};
        QVERIFY(w.close());
        QCOMPARE(dialogs.Messages.size(), size_t(2));

        TMainWindow unchanged;
        OpenSmall(unchanged, dialogs);
        QVERIFY(ShowActive(unchanged));
        QVERIFY(unchanged.close());
        QCOMPARE(dialogs.Messages.size(), size_t(2));
    }
};

QTEST_MAIN(TestOpenSave)
#include "tst_opensave.moc"
