// Ways a translator's work could be saved where nobody finds it, dropped
// without a word, or land on a value he did not pick: each tried as a user
// would, with keys and clicks.
#include "support/ScriptedDialogs.h"
#include "support/UiTestSupport.h"

#include "support/MainWindow.h"
#include "ui/common/Dialogs.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/FindDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

using namespace tarvin;
using namespace tarvin::test;

namespace {

const QByteArray kTree = "N {\n"
                         "  Caption = File\n"
                         "  Items = {\"a\"\n"
                         "           \"b\"\n"
                         "  }\n"
                         "  Shortcut = Strg+Z\n"
                         "}\n";

void Press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(target, key, modifiers);
}

void ClickNode(TMainWindow& w, const QString& caption) {
    const QModelIndex row = FindRow(*w.ContentsModel, caption);
    QVERIFY2(row.isValid(), qPrintable(caption));
    QTest::mouseClick(w.VSTree1->viewport(), Qt::LeftButton, {},
                      w.VSTree1->visualRect(row).center());
}

void ClickValue(TMainWindow& w, int row) {
    QTest::mouseClick(w.VSView1->viewport(), Qt::LeftButton, {},
                      w.VSView1->visualRect(w.ValuesModel->index(row, 1)).center());
    QCOMPARE(w.SelectedValueRow(), row);
}

} // namespace

class TestKeepsWork : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QTemporaryDir m_config;
    QString m_tree;
    QString m_german;
    QString m_english;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid() && m_config.isValid());
        // Where the user's settings would go; nothing may land there.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        m_tree = m_dir.filePath("tree.trvx");
        WriteFile(m_tree, Crlf(kTree));
        m_german = m_dir.filePath("Deutsch.trvx");
        m_english = m_dir.filePath("English-2.trvx");
        QVERIFY(QFile::copy(SourcePath("examples/Deutsch.trvx"), m_german));
        QVERIFY(QFile::copy(SourcePath("examples/English-2.trvx"), m_english));
    }

    // Ctrl+S proposes the open translation's own name in its folder, after
    // any Open; a pattern typed as the name is refused, never written.
    void saveProposesTheOpenFilesOwnName() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_german});
        QVERIFY(ShowActive(w));
        dialogs.SaveAnswers = {m_dir.filePath("*.trvx"), QString()};
        Press(w.VSTree1, Qt::Key_S);
        QCOMPARE(dialogs.SaveRequests.size(), std::size_t(2));
        QCOMPARE(dialogs.SaveRequests[0].FileName, m_german);
        QCOMPARE(dialogs.MessageTexts(),
                 QStringList({"\"*.trvx\" is a pattern, not a file name."}));
        QVERIFY(!QFile::exists(m_dir.filePath("*.trvx")));
        QCOMPARE(w.windowTitle(), QString("Tarvin - Deutsch"));

        dialogs.SaveAnswers = {m_dir.filePath("a.trvx")};
        Press(w.VSTree1, Qt::Key_S);
        dialogs.OpenAnswers = {m_english};
        Press(w.VSTree1, Qt::Key_O);
        dialogs.SaveAnswers = {QString()};
        Press(w.VSTree1, Qt::Key_S);
        QCOMPARE(dialogs.SaveRequests.back().FileName, m_english);

        const QString module = m_dir.filePath("App.exe");
        QVERIFY(QFile::copy(ModuleFixture("example64.exe"), module));
        dialogs.OpenAnswers = {module};
        Press(w.VSTree1, Qt::Key_O);
        dialogs.SaveAnswers = {QString()};
        Press(w.VSTree1, Qt::Key_S);
        QCOMPARE(dialogs.SaveRequests.back().FileName, m_dir.filePath("App.trvx"));
        QVERIFY2(dialogs.Unexpected.isEmpty(), qPrintable(dialogs.Unexpected.join("; ")));
    }

    // Discard before an open that replaces nothing leaves the edit on
    // screen: it is still unsaved, under its own name.
    void discardThatReplacesNothingKeepsTheEditMarked() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_tree});
        QVERIFY(ShowActive(w));
        ClickValue(w, 0);
        WhenModal([](QWidget* modal) {
            QTest::keyClicks(modal->focusWidget(), "Datei");
            QTest::keyClick(modal, Qt::Key_Return);
        });
        Press(w.VSView1, Qt::Key_E);
        QVERIFY(w.IsModified());

        const QString broken = m_dir.filePath("broken.exe");
        WriteFile(broken, "no module at all\r\n");
        dialogs.OpenAnswers = {broken};
        dialogs.MessageAnswers = {QMessageBox::Discard};
        QVERIFY(ShowActive(w));
        Press(w.VSTree1, Qt::Key_O);
        QCOMPARE(dialogs.MessageTexts(), QStringList({"Save changes to tree?"}));
        QCOMPARE(w.Language().Root().GetChild(0).GetValue(0), std::string("Datei"));
        QCOMPARE(w.windowTitle(), QString("Tarvin - tree"));
        QVERIFY(w.IsModified());
    }

    // OK on a value as it was, and Update To from a base that adds and
    // removes nothing, change nothing that a save would write.
    void okWithoutAChangeIsNoChange_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("String Editor") << 0;
        QTest::newRow("Items Editor") << 1;
        QTest::newRow("Shortcut Editor") << 2;
    }
    void okWithoutAChangeIsNoChange() {
        QFETCH(int, row);
        TScriptedDialogs dialogs;
        TMainWindow w({m_tree});
        QVERIFY(ShowActive(w));
        ClickValue(w, row);
        const std::string before = w.Language().Root().GetChild(0).GetValue(row);
        bool opened = false;
        WhenModal([&](QWidget* modal) {
            opened = true;
            QTest::keyClick(modal, Qt::Key_Return);
        });
        Press(w.VSView1, Qt::Key_E);
        QVERIFY(opened);
        QCOMPARE(w.Language().Root().GetChild(0).GetValue(row), before);
        QVERIFY(!w.IsModified());

        dialogs.OpenAnswers = {m_tree};
        Press(w.VSTree1, Qt::Key_U);
        QCOMPARE(w.AddedModel->rowCount() + w.RemovedModel->rowCount(), 0);
        QVERIFY(!w.IsModified());
        QVERIFY2(dialogs.Unexpected.isEmpty(), qPrintable(dialogs.Unexpected.join("; ")));
    }

    // A shortcut text is kept as it came unless the user types another; a
    // typed text the shortcut table cannot read is refused, naming it, with
    // the dialog still open. Only "(None)" or an empty box clears.
    void shortcutTextsAreKeptOrRefused_data() {
        QTest::addColumn<QString>("typed"); // null: OK without typing
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("untouched") << QString() << QString() << QByteArray("Strg+Z");
        QTest::newRow("another layout's name") << "Strg+S"
                                               << "Strg+S" << QByteArray("Strg+Z");
        QTest::newRow("a letter of no key") << "Ctrl+\u00C4"
                                            << "Ctrl+\u00C4" << QByteArray("Strg+Z");
        QTest::newRow("a trailing blank") << "Ctrl+A "
                                          << "Ctrl+A " << QByteArray("Strg+Z");
        QTest::newRow("a completion not taken") << "Ctrl+"
                                                << "Ctrl+" << QByteArray("Strg+Z");
        QTest::newRow("a readable text") << "ctrl+b" << QString() << QByteArray("ctrl+b");
        QTest::newRow("(None)") << "(None)" << QString() << QByteArray();
        QTest::newRow("an empty box") << "" << QString() << QByteArray();
    }
    void shortcutTextsAreKeptOrRefused() {
        QFETCH(QString, typed);
        QFETCH(QString, refused);
        QFETCH(QByteArray, stored);
        TScriptedDialogs dialogs;
        TMainWindow w({m_tree});
        QVERIFY(ShowActive(w));
        ClickValue(w, 2);
        bool stayedOpen = false;
        WhenModal([&](QWidget* modal) {
            QWidget* field = modal->focusWidget();
            if (!typed.isNull())
                QTest::keyClick(field, Qt::Key_Delete); // the text arrives selected
            for (QChar c : typed)
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            QTest::keyClick(modal, Qt::Key_Return);
            stayedOpen = QApplication::activeModalWidget() == modal;
        });
        Press(w.VSView1, Qt::Key_E);
        QCOMPARE(QByteArray::fromStdString(w.Language().Root().GetChild(0).GetValue(2)), stored);
        QCOMPARE(stayedOpen, !refused.isEmpty());
        if (!refused.isEmpty()) {
            QCOMPARE(dialogs.Messages.size(), std::size_t(1));
            QVERIFY2(dialogs.Messages[0].Text.startsWith("\"" + refused + "\" is not a shortcut."),
                     qPrintable(dialogs.Messages[0].Text));
        } else {
            QCOMPARE(dialogs.Messages.size(), std::size_t(0));
        }
        QCOMPARE(w.IsModified(), stored != "Strg+Z");
    }

    // With AutoExpand, a click that collapses the branch above must still
    // select the row clicked, not the one the collapse slides under the pointer.
    void aClickSelectsTheClickedNode() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_german});
        w.resize(580, 700);
        QVERIFY(ShowActive(w));
        QVERIFY(w.AutoExpand());
        ClickNode(w, "OBJECTS");
        ClickNode(w, "frmMain");
        QVERIFY(w.VSTree1->isExpanded(FindRow(*w.ContentsModel, "frmMain")));
        ClickNode(w, "frmOptions");
        QCOMPARE(w.SelectedCaption(), QString("frmOptions"));
        QCOMPARE(w.VSTree1->currentIndex().data().toString(), QString("frmOptions"));
    }

    // An option's accelerator followed at once by Enter searches with the
    // option the dialog shows, and F3 in the dialog searches as its button.
    void findUsesWhatTheDialogShows() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_german});
        QVERIFY(ShowActive(w));
        Press(w.VSTree1, Qt::Key_C); // Find Item
        TFindDialog* dialog = w.FindDialog1();
        QVERIFY(dialog && QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
        QTest::keyClicks(dialog->findChild<QLineEdit*>("FindText"), "frmOptions");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(dialog->findChild<QCheckBox*>("MatchCase")->isChecked());
        QVERIFY(dialog->findChild<QRadioButton*>("Up")->isChecked());
        // Upwards from the first node: there is nothing before it.
        QCOMPARE(dialogs.MessageTexts(), QStringList({"Item \"frmOptions\" not found."}));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
        QCOMPARE(w.SelectedCaption(), QString("frmOptions"));
        QVERIFY2(dialogs.Unexpected.isEmpty(), qPrintable(dialogs.Unexpected.join("; ")));
    }

    // The file dialog keeps its state for the run only; and a pattern typed
    // as the name filters the list instead of closing the dialog.
    void fileDialogLeavesNoSettingsAndFiltersPatterns() {
        TQtDialogs real;
        bool stayedOpen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name);
            name->setText("*.trvx");
            QTest::keyClick(name, Qt::Key_Return);
            stayedOpen = dialog->isVisible();
            QCOMPARE(dialog->selectedNameFilter(), QString("*.trvx"));
            dialog->reject();
        });
        const auto chosen = real.GetSaveFileName(
            nullptr, {{"Language Files (*.trvx)"}, "trvx", m_dir.filePath("Deutsch.trvx")});
        QVERIFY(!chosen);
        QVERIFY(stayedOpen);
        QCOMPARE(QDir(m_config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    // The first column of the values list moves by dragging its header too.
    void valuesColumnsMoveByDragging() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_tree});
        QVERIFY(ShowActive(w));
        QHeaderView* header = w.VSView1->header();
        QWidget* target = header->viewport();
        const int y = header->height() / 2;
        const QPoint from(header->sectionViewportPosition(0) + 20, y);
        const QPoint to(header->sectionViewportPosition(1) + header->sectionSize(1) - 10, y);
        QTest::mousePress(target, Qt::LeftButton, {}, from);
        for (int x = from.x(); x <= to.x(); x += 10) {
            QMouseEvent move(QEvent::MouseMove, QPointF(x, y), target->mapToGlobal(QPointF(x, y)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &move);
        }
        QTest::mouseRelease(target, Qt::LeftButton, {}, to);
        QCOMPARE(header->visualIndex(0), 1);
    }

    // Alt+S opens the Search menu at the first press.
    void altSOpensTheSearchMenu() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_tree});
        QVERIFY(ShowActive(w));
        Press(w.VSTree1, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(w.mnuSearch->isVisible());
        w.mnuSearch->close();
        QVERIFY(dialogs.SaveRequests.empty());
    }

    // A save keeps the expanded branches and the selected node and value.
    void saveKeepsTheTranslatorsPlace() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_german});
        QVERIFY(ShowActive(w));
        ClickNode(w, "OBJECTS");
        ClickNode(w, "frmOptions");
        ClickNode(w, "tabGeneral");
        ClickNode(w, "chkAutoSave");
        ClickValue(w, 1);
        dialogs.SaveAnswers = {m_dir.filePath("place.trvx")};
        Press(w.VSView1, Qt::Key_S);
        QCOMPARE(w.windowTitle(), QString("Tarvin - place"));
        for (const char* branch : {"OBJECTS", "frmOptions", "tabGeneral"})
            QVERIFY2(w.VSTree1->isExpanded(FindRow(*w.ContentsModel, branch)), branch);
        QCOMPARE(w.SelectedCaption(), QString("chkAutoSave"));
        QCOMPARE(w.SelectedValueRow(), 1);
        QVERIFY2(dialogs.Unexpected.isEmpty(), qPrintable(dialogs.Unexpected.join("; ")));
    }
};

QTEST_MAIN(TestKeepsWork)
#include "tst_keepswork.moc"
