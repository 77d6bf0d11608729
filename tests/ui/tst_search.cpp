// Find Item, Find Value, Find Value Ident and Find Next, driven through the
// find dialog and the keyboard.
#include "support/ScriptedDialogs.h"
#include "support/UiTestSupport.h"

#include "support/MainWindow.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/FindDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <algorithm>

using namespace tarvin;
using namespace tarvin::test;

namespace {

// Displayed order: INFO, OBJECTS, Deep (Filler00-29, Middle > Inner,
// Tail00-29), Plain, frmMain (actOpen, actSave). The file order differs.
QByteArray Fixture() {
    QString deep;
    for (int i = 0; i < 30; ++i)
        deep += QString("    Filler%1 {\n    }\n").arg(i, 2, 10, QChar('0'));
    deep += "    Middle {\n      Inner {\n        Secret = needle\n      }\n    }\n";
    for (int i = 0; i < 30; ++i)
        deep += QString("    Tail%1 {\n    }\n").arg(i, 2, 10, QChar('0'));
    const QString text = QString::fromUtf8("INFO {\n"
                                           "  LangID = 1031\n"
                                           "}\n"
                                           "OBJECTS {\n"
                                           "  Form:frmMain {\n"
                                           "    Caption = Hauptfenster\n"
                                           "    Hint = {\"erste Zeile\"\n"
                                           "            \"zweite Zeile mit Ziel\"\n"
                                           "    }\n"
                                           "    Action:actSave {\n"
                                           "      Caption = Speichern\n"
                                           "      Hint = Dateien ändern und speichern\n"
                                           "    }\n"
                                           "    Action:actOpen {\n"
                                           "      Caption = Öffnen\n"
                                           "    }\n"
                                           "  }\n"
                                           "  Plain {\n"
                                           "    Caption = xabcx\n"
                                           "  }\n"
                                           "  Deep {\n") +
                         deep + "  }\n}\n";
    return Crlf(text.toLatin1()); // cp1252 holds these letters where Latin-1 does
}

// A newer base without Plain and Deep: Update To marks both removed.
const QByteArray kBase = "INFO {\n  LangID = 1031\n}\nOBJECTS {\n  Form:frmMain {\n"
                         "    Caption = Main\n  }\n}\n";

} // namespace

class TestSearch : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_file;

    // Opens the find dialog with a find action's shortcut, types the text,
    // sets the options and presses Find Next.
    static void Find(TMainWindow& w, Qt::Key key, const QString& text, bool matchCase = false,
                     bool down = true) {
        QVERIFY(ShowActive(w));
        w.UpdateActions();
        QTest::keyClick(w.VSTree1, key, Qt::ControlModifier);
        TFindDialog* dialog = w.FindDialog1();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
        auto* edit = dialog->findChild<QLineEdit*>("FindText");
        QTRY_VERIFY(edit->hasFocus());
        // The text was selected: typing replaces it. Letters beyond ASCII
        // come the way an input method delivers them.
        if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
            QTest::keyClicks(edit, text);
        } else {
            QInputMethodEvent input;
            input.setCommitString(text);
            QCoreApplication::sendEvent(edit, &input);
        }
        QCOMPARE(edit->text(), text);
        auto* box = dialog->findChild<QCheckBox*>("MatchCase");
        if (box->isChecked() != matchCase)
            QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QRadioButton*>(down ? "Down" : "Up"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>("FindNext"), Qt::LeftButton);
    }

    static void PressF3(TMainWindow& w) {
        QVERIFY(ShowActive(w));
        w.UpdateActions();
        QTest::keyClick(w.VSTree1, Qt::Key_F3);
    }

    static void Select(TMainWindow& w, const QString& caption, int valueRow) {
        w.RevealNode(w.VSTree1, FindRow(*w.ContentsModel, caption));
        QCOMPARE(w.SelectedCaption(), caption);
        if (valueRow >= 0) {
            QTest::mouseClick(w.VSView1->viewport(), Qt::LeftButton, {},
                              w.VSView1->visualRect(w.ValuesModel->index(valueRow, 1)).center());
        } else if (w.SelectedValueRow() >= 0) {
            // Ctrl+click takes the selection off the row.
            QTest::mouseClick(
                w.VSView1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                w.VSView1->visualRect(w.ValuesModel->index(w.SelectedValueRow(), 1)).center());
        }
        QCOMPARE(w.SelectedValueRow(), valueRow);
    }

    void Open(TMainWindow& w) {
        TScriptedDialogs dialogs;
        dialogs.OpenAnswers.push_back(m_file);
        w.actOpen->trigger();
        QVERIFY(dialogs.Unexpected.isEmpty());
        QVERIFY(dialogs.Messages.empty());
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_file = m_dir.filePath("search.trvx");
        WriteFile(m_file, Fixture());
    }

    void findNextDisabledBeforeTheFirstSearch() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        Open(w);
        QTRY_VERIFY(w.actFindItem->isEnabled());
        QVERIFY(!w.actFindNext->isEnabled());
        QVERIFY(w.FindDialog1() == nullptr || !w.FindDialog1()->isVisible());
        PressF3(w);
        QVERIFY(dialogs.Messages.empty());
        QCOMPARE(w.SelectedCaption(), QString("INFO"));
    }

    void dialogLooksAndKeepsItsState() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        Open(w);
        QVERIFY(ShowActive(w));
        w.UpdateActions();
        // Ctrl+C is Find Item, not a copy command.
        QTest::keyClick(w.VSTree1, Qt::Key_C, Qt::ControlModifier);
        TFindDialog* dialog = w.FindDialog1();
        QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
        QCOMPARE(dialog->Tag, int(skItem));
        QCOMPARE(dialog->windowTitle(), QString("Find"));
        auto* edit = dialog->findChild<QLineEdit*>("FindText");
        auto* findNext = dialog->findChild<QPushButton*>("FindNext");
        QCOMPARE(edit->maxLength(), 255);
        QVERIFY(!dialog->findChild<QCheckBox*>("MatchCase")->isChecked());
        QVERIFY(dialog->findChild<QRadioButton*>("Down")->isChecked());
        QVERIFY(findNext->isDefault());
        QCOMPARE(findNext->text().remove('&'), QString("Find Next"));
        QCOMPARE(dialog->findChild<QPushButton*>("Cancel")->text(), QString("Cancel"));
        QVERIFY(!findNext->isEnabled());
        QTest::keyClicks(edit, "x");
        QVERIFY(findNext->isEnabled());
        QTest::keyClick(edit, Qt::Key_Backspace);
        QVERIFY(!findNext->isEnabled());
        QTest::keyClick(edit, Qt::Key_Return); // nothing to find: nothing happens
        QVERIFY(dialogs.Messages.empty());
        w.UpdateActions();
        QVERIFY(!w.actFindNext->isEnabled());

        // Another find action brings the same dialog forward with its own kind.
        QVERIFY(ShowActive(w));
        QTest::keyClick(w.VSView1, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(w.FindDialog1(), dialog);
        QCOMPARE(dialog->Tag, int(skValueIdent));
        QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
        QVERIFY(ShowActive(w));
        QTest::keyClick(w.VSTree1, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(dialog->Tag, int(skValue));

        // Enter runs Find Next; the dialog stays open with its text.
        QTest::keyClicks(edit, "Ziel");
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QCOMPARE(w.SelectedCaption(), QString("frmMain"));
        QCOMPARE(w.SelectedValueRow(), 1);
        w.UpdateActions();
        QVERIFY(w.actFindNext->isEnabled()); // F3 can repeat it

        // A reopened dialog keeps the text typed, searched or not.
        QTest::keyClicks(edit, "XYZ");
        QTest::mouseClick(dialog->findChild<QPushButton*>("Cancel"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(ShowActive(w));
        QTest::keyClick(w.VSTree1, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("ZielXYZ"));
        QCOMPARE(edit->selectedText(), QString("ZielXYZ"));
        QVERIFY(dialogs.Messages.empty());
    }

    // Each row: the find action's key, the selection before, the dialog's
    // text and options, and the selection after (or the message).
    void scenarios_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("node");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("down");
        QTest::addColumn<QString>("foundNode");
        QTest::addColumn<int>("foundRow");
        QTest::addColumn<QString>("message");
        const int item = Qt::Key_C, value = Qt::Key_F, ident = Qt::Key_I;
        const QString none;
        auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
        row("item: selected node not tested") << item << "frmMain" << 0 << "frmMain" << false
                                              << true << none << 0 << "Item \"frmMain\" not found.";
        row("item: up skips it too") << item << "frmMain" << 0 << "frmMain" << false << false
                                     << none << 0 << "Item \"frmMain\" not found.";
        row("item: down") << item << "INFO" << 0 << "FRM" << false << true << "frmMain" << 0
                          << none;
        row("item: up") << item << "actOpen" << 0 << "MAIN" << false << false << "frmMain" << 0
                        << none;
        row("item: no prefix in captions") << item << "INFO" << 0 << "Form:" << false << true
                                           << none << 0 << "Item \"Form:\" not found.";
        row("item: no wrap at the end") << item << "actSave" << 0 << "INFO" << false << true << none
                                        << 0 << "Item \"INFO\" not found.";
        row("item: no wrap at the start") << item << "INFO" << 0 << "actSave" << false << false
                                          << none << 0 << "Item \"actSave\" not found.";
        row("value: sorted order")
            << ident << "OBJECTS" << -1 << "Caption" << false << true << "Plain" << 0 << none;
        row("value: match case off")
            << value << "INFO" << 0 << "ABC" << false << true << "Plain" << 0 << none;
        row("value: match case on") << value << "INFO" << 0 << "ABC" << true << true << none << 0
                                    << "Value \"ABC\" not found.";
        row("value: non-ASCII, case off") << value << "INFO" << 0 << QString::fromUtf8("ÄNDERN")
                                          << false << true << "actSave" << 1 << none;
        row("value: non-ASCII, case on")
            << value << "INFO" << 0 << QString::fromUtf8("ÄNDERN") << true << true << none << 0
            << QString::fromUtf8("Value \"ÄNDERN\" not found.");
        row("value: non-ASCII, same case") << value << "INFO" << 0 << QString::fromUtf8("ändern")
                                           << true << true << "actSave" << 1 << none;
        row("value: second line") << value << "INFO" << 0 << "ziel" << false << true << "frmMain"
                                  << 1 << none;
        row("value: after the selected row")
            << value << "frmMain" << 0 << "e" << false << true << "frmMain" << 1 << none;
        row("value: selected row skipped")
            << value << "frmMain" << 1 << "Hauptfenster" << false << true << none << 0
            << "Value \"Hauptfenster\" not found.";
        row("value: no row, from the first") << value << "frmMain" << -1 << "Hauptfenster" << false
                                             << true << "frmMain" << 0 << none;
        row("value: up, no row, skips the node")
            << value << "actOpen" << -1 << QString::fromUtf8("Öffnen") << false << false << none
            << 0 << QString::fromUtf8("Value \"Öffnen\" not found.");
        row("value: up scans the previous node from its end")
            << value << "actOpen" << -1 << "e" << false << false << "frmMain" << 1 << none;
        row("value: up from row 0 goes to the previous node")
            << value << "actSave" << 0 << "e" << false << false << "actOpen" << 0 << none;
        row("value: up within the node")
            << value << "actSave" << 1 << "e" << false << false << "actSave" << 0 << none;
        row("ident: case on") << ident << "INFO" << 0 << "hint" << true << true << none << 0
                              << "Value Ident \"hint\" not found.";
        row("ident: case off") << ident << "INFO" << 0 << "hint" << false << true << "frmMain" << 1
                               << none;
        row("value: text the code page cannot hold")
            << value << "INFO" << 0 << QString::fromUtf8("Привет") << false << true << none << 0
            << QString::fromUtf8("Value \"Привет\" not found.");
    }

    void scenarios() {
        QFETCH(int, key);
        QFETCH(QString, node);
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, down);
        QFETCH(QString, foundNode);
        QFETCH(int, foundRow);
        QFETCH(QString, message);
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        Open(w);
        Select(w, node, row);
        Find(w, Qt::Key(key), text, matchCase, down);
        if (QTest::currentTestFailed())
            return;
        if (foundNode.isEmpty()) {
            QCOMPARE(dialogs.Messages.size(), size_t(1));
            const auto& m = dialogs.Messages.front();
            QCOMPARE(m.Text, message);
            QCOMPARE(m.Caption, QString("Tarvin"));
            QCOMPARE(m.Icon, QMessageBox::NoIcon);
            QCOMPARE(m.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            // A failed search leaves the selection where it was.
            QCOMPARE(w.SelectedCaption(), node);
            QCOMPARE(w.SelectedValueRow(), row);
            return;
        }
        QVERIFY2(dialogs.Messages.empty(), qPrintable(dialogs.MessageTexts().join('|')));
        QCOMPARE(w.SelectedCaption(), foundNode);
        if (key != Qt::Key_C) {
            QCOMPARE(w.SelectedValueRow(), foundRow);
        }
        QVERIFY(w.FindDialog1()->isVisible());
    }

    void collapsedBranchIsRevealedAndCentred() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        Open(w);
        w.actCollapseAll->trigger();
        const QModelIndex inner = FindRow(*w.ContentsModel, "Inner");
        QVERIFY(!w.VSTree1->isExpanded(inner.parent()));
        const QModelIndex focus = w.VSTree1->currentIndex();
        Find(w, Qt::Key_F, "NEEDLE");
        QVERIFY(dialogs.Messages.empty());
        QCOMPARE(w.SelectedCaption(), QString("Inner"));
        QCOMPARE(w.SelectedValueRow(), 0);
        for (QModelIndex p = inner.parent(); p.isValid(); p = p.parent())
            QVERIFY2(w.VSTree1->isExpanded(p), qPrintable(p.data().toString()));
        QCOMPARE(w.VSTree1->currentIndex(), focus); // the focus mark stays
        const QRect rect = w.VSTree1->visualRect(inner);
        const QRect view = w.VSTree1->viewport()->rect();
        QVERIFY(view.contains(rect.topLeft()) && view.bottom() >= rect.bottom());
        QVERIFY2(qAbs(rect.center().y() - view.center().y()) <= rect.height(),
                 qPrintable(QString("row at %1, view middle %2")
                                .arg(rect.center().y())
                                .arg(view.center().y())));
    }

    void findNextRepeatsFromTheCurrentSelection() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        Open(w);
        Select(w, "OBJECTS", -1);
        Find(w, Qt::Key_C, "a");
        QCOMPARE(w.SelectedCaption(), QString("Tail00"));
        // F3 works with the dialog closed too, and follows the user's own
        // moves: from Tail29 the next caption with an "a" is Plain.
        w.FindDialog1()->close();
        PressF3(w);
        QCOMPARE(w.SelectedCaption(), QString("Tail01"));
        Select(w, "Tail29", -1);
        PressF3(w);
        QCOMPARE(w.SelectedCaption(), QString("Plain"));
        PressF3(w);
        QCOMPARE(w.SelectedCaption(), QString("frmMain"));
        PressF3(w);
        QCOMPARE(w.SelectedCaption(), QString("actOpen"));
        PressF3(w);
        QCOMPARE(w.SelectedCaption(), QString("actSave"));
        QVERIFY(dialogs.Messages.empty());
        PressF3(w);
        QCOMPARE(dialogs.MessageTexts(), QStringList({"Item \"a\" not found."}));
        QCOMPARE(w.SelectedCaption(), QString("actSave"));
        QVERIFY(w.actFindNext->isEnabled()); // closing the dialog does not disable it

        // F3 repeats the kind of the find action chosen last.
        Select(w, "INFO", -1);
        Find(w, Qt::Key_F, "Speichern");
        QCOMPARE(w.SelectedCaption(), QString("actSave"));
        QCOMPARE(w.SelectedValueRow(), 0);
        PressF3(w);
        QCOMPARE(w.SelectedValueRow(), 1);
        QCOMPARE(dialogs.Messages.size(), size_t(1));
    }

    void removedEntriesAreFound() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        Open(w);
        const QString base = m_dir.filePath("base.trvx");
        WriteFile(base, Crlf(kBase));
        dialogs.OpenAnswers.push_back(base);
        QTRY_VERIFY(w.actUpdateTo->isEnabled());
        w.actUpdateTo->trigger();
        QVERIFY(dialogs.Unexpected.isEmpty() && dialogs.OpenAnswers.empty());
        const QModelIndex plain = FindRow(*w.ContentsModel, "Plain");
        QCOMPARE(w.ContentsModel->NodeData(plain)->State, usRemoved);
        QVERIFY(w.RemovedModel->rowCount() > 0);

        Select(w, "INFO", 0);
        Find(w, Qt::Key_C, "plain");
        QCOMPARE(w.SelectedCaption(), QString("Plain"));
        Find(w, Qt::Key_F, "needle", false, false);
        QCOMPARE(w.SelectedCaption(), QString("Inner"));
        QCOMPARE(w.SelectedValueRow(), 0);
        Find(w, Qt::Key_F, "needle", false, true); // its own row is skipped; no wrap
        QCOMPARE(dialogs.MessageTexts(), QStringList({"Value \"needle\" not found."}));
        Select(w, "OBJECTS", -1);
        PressF3(w);
        QCOMPARE(w.SelectedCaption(), QString("Inner"));
        QCOMPARE(w.SelectedValueRow(), 0);
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
