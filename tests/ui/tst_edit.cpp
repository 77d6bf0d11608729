// The edit dispatch in the main window: the selected value goes to the editor
// that suits its ident, and only OK changes the tree, the row and the
// unsaved-changes mark.
#include "support/MainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/UiTestSupport.h"
#include "ui/editors/untItemsEditor.h"
#include "ui/editors/untShortcutEditor.h"
#include "ui/editors/untStringEditor.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/ValuesModel.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <functional>

using namespace tarvin;
using namespace tarvin::test;

namespace {

const QByteArray kTree = "N {\n"
                         "  Caption = File\n"
                         "  Items = {\"a\"\n"
                         "           \"b\"\n"
                         "  }\n"
                         "  Shortcut = Ctrl+F\n"
                         "  Lines = {\"one\"\n"
                         "           \"two\"\n"
                         "  }\n"
                         "}\n";

// Selects a row as a click would; Edit follows once the window is idle.
void SelectValueRow(TMainWindow& w, int row) {
    w.VSView1->selectionModel()->select(w.ValuesModel->index(row, 0),
                                        QItemSelectionModel::ClearAndSelect |
                                            QItemSelectionModel::Rows);
    QTRY_VERIFY(w.actEdit->isEnabled());
}

} // namespace

class TestEdit : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_file;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_file = m_dir.filePath("edit.trvx");
        WriteFile(m_file, Crlf(kTree));
    }

    void dispatchByIdent_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("dialogClass");
        QTest::newRow("Caption") << 0 << "tarvin::TfrmStringEditor";
        QTest::newRow("Items") << 1 << "tarvin::TfrmItemsEditor";
        QTest::newRow("Shortcut") << 2 << "tarvin::TfrmShortcutEditor";
        QTest::newRow("Lines is a string") << 3 << "tarvin::TfrmStringEditor";
    }
    void dispatchByIdent() {
        QFETCH(int, row);
        QFETCH(QString, dialogClass);
        TScriptedDialogs dialogs;
        TMainWindow w({m_file});
        SelectValueRow(w, row);
        QString seen;
        WhenModal([&](QWidget* modal) { seen = modal->metaObject()->className(); });
        w.actEdit->trigger();
        QCOMPARE(seen, dialogClass);
        QVERIFY(!w.IsModified()); // cancelled
    }

    void okStoresTheTextAndTheRowShowsIt() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_file});
        const trvx::TTarvinItem& node = w.Language().Root().GetChild(0);
        SelectValueRow(w, 0);
        WhenModal([](QWidget* modal) {
            QTest::keyClicks(modal->focusWidget(), "Datei");
            QTest::keyClick(modal->focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
            QTest::keyClicks(modal->focusWidget(), "zwei");
            QTest::keyClick(modal, Qt::Key_Return);
        });
        w.actEdit->trigger();
        QCOMPARE(node.GetValue(0), std::string("Datei\r\nzwei"));
        QCOMPARE(w.ValuesModel->index(0, 1).data().toString(), QString::fromUtf8("Datei \u00BB"));
        QVERIFY(w.IsModified());
        // Nothing else changed.
        QCOMPARE(node.GetValue(1), std::string("a\r\nb"));
        QCOMPARE(node.ValueCount(), 4);
    }

    void cancelChangesNothing() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_file});
        SelectValueRow(w, 2);
        WhenModal([](QWidget* modal) { QTest::keyClicks(modal->focusWidget(), "Hello"); });
        w.actEdit->trigger();
        QCOMPARE(w.Language().Root().GetChild(0).GetValue(2), std::string("Ctrl+F"));
        QCOMPARE(w.ValuesModel->index(2, 1).data().toString(), QString("Ctrl+F"));
        QVERIFY(!w.IsModified());
    }

    void removedRowWarnsThenEdits() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_file});
        const QString base = m_dir.filePath("base.trvx");
        WriteFile(base, Crlf("Other {\n}\n")); // has no N: N is marked removed
        w.UpdateTo(dialogs, base);
        QCOMPARE(w.SelectedCaption(), QString("N"));
        SelectValueRow(w, 0);
        WhenModal([](QWidget* modal) {
            QTest::keyClicks(modal->focusWidget(), "X");
            QTest::keyClick(modal, Qt::Key_Return);
        });
        w.actEdit->trigger();
        QCOMPARE(dialogs.MessageTexts(),
                 QStringList({"This item was removed from the original file in the update"}));
        QCOMPARE(dialogs.Messages.front().Caption, QString("Removed Item"));
        QCOMPARE(dialogs.Messages.front().Icon, QMessageBox::Information);
        QCOMPARE(w.Language().Root().GetChild(0).GetValue(0), std::string("X"));
        QCOMPARE(w.ValuesModel->RowData(0)->State, usRemoved);
    }

    // What the code page cannot hold is refused while the dialog is still
    // open, so the typed text can be mended instead of being lost.
    void unencodableTextIsRefusedAndTheDialogStays() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_file});
        SelectValueRow(w, 0);
        bool stayedOpen = false;
        WhenModal([&](QWidget* modal) {
            QTest::sendKeyEvent(QTest::Click, modal->focusWidget(), Qt::Key_unknown,
                                QString::fromUtf8("\u0416"), Qt::NoModifier);
            QTest::keyClick(modal, Qt::Key_Return);
            stayedOpen = QApplication::activeModalWidget() == modal;
        });
        w.actEdit->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(w.Language().Root().GetChild(0).GetValue(0), std::string("File"));
        QCOMPARE(dialogs.Messages.size(), std::size_t(1));
        QVERIFY(dialogs.Messages.front().Text.contains(QString::fromUtf8("\u0416")));
        QVERIFY(!w.IsModified());

        WhenModal([](QWidget* modal) {
            QTest::keyClicks(modal->focusWidget(), "Datei");
            QTest::sendKeyEvent(QTest::Click, modal->focusWidget(), Qt::Key_unknown,
                                QString::fromUtf8("\u0416"), Qt::NoModifier);
            QTest::keyClick(modal->focusWidget(), Qt::Key_Backspace);
            QTest::keyClick(modal, Qt::Key_Return);
        });
        w.actEdit->trigger();
        QCOMPARE(w.Language().Root().GetChild(0).GetValue(0), std::string("Datei"));
        QCOMPARE(dialogs.Messages.size(), std::size_t(1));
    }

    void doubleClickWithoutRowDoesNothing() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_file});
        w.VSView1->selectionModel()->clearSelection();
        // The double-click alone: a press before it would select a row.
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(1, 1),
                                w.VSView1->viewport()->mapToGlobal(QPointF(1, 1)), Qt::LeftButton,
                                Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.VSView1->viewport(), &doubleClick);
        QVERIFY(dialogs.Messages.empty());
        QVERIFY(!w.IsModified());
    }
};

QTEST_MAIN(TestEdit)
#include "tst_edit.moc"
