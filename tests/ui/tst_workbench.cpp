// The translator's workbench: the reference beside the translation, the way
// through the untranslated texts, the check window, undo and dropped files.
#include "support/MainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/UiTestSupport.h"
#include "ui/models/CheckModel.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/ReferenceText.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/CheckWindow.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>
#include <QUrl>
#include <QtTest>

#include <functional>

using namespace tarvin;
using namespace tarvin::test;

namespace {

// Shown order: Plain, Save (Action:), Main (Form:) with Ok below it.
const QByteArray kTranslation = "Form:Main {\n"
                                "  Caption = Fenster\n"
                                "  Hint = Open the file\n"
                                "  Shortcut = Ctrl+O\n"
                                "  Extra = Nur hier\n"
                                "  Button:Ok {\n"
                                "    Caption = Cancel\n"
                                "  }\n"
                                "}\n"
                                "Action:Save {\n"
                                "  Caption = Save\n"
                                "}\n"
                                "Plain {\n"
                                "  Caption = Ok\n"
                                "  Version = 1.0\n"
                                "}\n";
// Names and idents in other letter case still pair, as Update To pairs them.
const QByteArray kReference = "form:main {\n"
                              "  Caption = Window\n"
                              "  Hint = Open the file\n"
                              "  Shortcut = Ctrl+O\n"
                              "  Button:Ok {\n"
                              "    Caption = Cancel\n"
                              "  }\n"
                              "}\n"
                              "Action:Save {\n"
                              "  caption = Save\n"
                              "}\n"
                              "Plain {\n"
                              "  Caption = Ok\n"
                              "  Version = 1.0\n"
                              "}\n";

// "node caption/ident" of the selected value.
QString SelectedValue(const TMainWindow& w) {
    const QModelIndexList nodes = w.VSTree1->selectionModel()->selectedRows();
    const QModelIndexList values = w.VSView1->selectionModel()->selectedRows();
    if (nodes.isEmpty() || values.isEmpty())
        return {};
    return nodes.first().data().toString() + "/" + values.first().data().toString();
}

bool SendDrop(TMainWindow& w, const QString& file) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    return drop.isAccepted();
}

} // namespace

class TestWorkbench : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_translation;
    QString m_reference;

    // The translation open with the reference beside it.
    void OpenBoth(TScriptedDialogs& dialogs, TMainWindow& w) {
        dialogs.OpenAnswers.push_back(m_reference);
        w.actOpenReference->trigger();
        QVERIFY(dialogs.Unexpected.isEmpty());
        QVERIFY(w.HasReference());
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_translation = m_dir.filePath("Deutsch.trvx");
        m_reference = m_dir.filePath("English.trvx");
        WriteFile(m_translation, Crlf(kTranslation));
        WriteFile(m_reference, Crlf(kReference));
    }

    // Pairs as Update To does: the first of equal names, letter case folded.
    void referenceLookupPairsAsUpdateToDoes() {
        trvx::TTarvin translation;
        trvx::TTarvin reference;
        translation.LoadFromText("A {\r\n  B {\r\n    X = 1\r\n  }\r\n}\r\nGone {\r\n"
                                 "  Sub {\r\n  }\r\n}\r\n");
        reference.LoadFromText("a {\r\n  b {\r\n    x = first\r\n    X = second\r\n  }\r\n"
                               "  B {\r\n    X = later twin\r\n  }\r\n}\r\n");
        TReferenceText lookup(translation.Root(), reference.Root(), translation.GetCodePage());
        const trvx::TTarvinItem& a = translation.Root().GetChild(0);
        const trvx::TTarvinItem& gone = translation.Root().GetChild(1);
        const std::vector<const trvx::TTarvinItem*> toB{&a, &a.GetChild(0)};
        QCOMPARE(lookup.TextOf(lookup.NodeFor(toB), "X"), std::optional<std::string_view>("first"));
        QCOMPARE(lookup.TextOf(lookup.NodeFor(toB), "Y"), std::optional<std::string_view>());
        const std::vector<const trvx::TTarvinItem*> toSub{&gone, &gone.GetChild(0)};
        QCOMPARE(lookup.NodeFor(toSub), nullptr);
        // A path that is not the tree's own leads nowhere.
        const std::vector<const trvx::TTarvinItem*> bogus{&a.GetChild(0)};
        QCOMPARE(lookup.NodeFor(bogus), nullptr);
    }

    void referenceColumnShowsTheMatchingTextAndHidesWithoutOne() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_translation});
        QVERIFY(w.VSView1->isColumnHidden(2));
        OpenBoth(dialogs, w);
        QVERIFY(!w.VSView1->isColumnHidden(2));
        QCOMPARE(w.ValuesModel->headerData(2, Qt::Horizontal).toString(), QString("Reference"));
        w.SelectNode("Main");
        QCOMPARE(ColumnTexts(*w.ValuesModel, 2),
                 QStringList({"Window", "Open the file", "Ctrl+O", ""}));
        w.SelectNode("Save");
        QCOMPARE(ColumnTexts(*w.ValuesModel, 2), QStringList({"Save"}));

        // Without a reference open, the base of an Update To becomes it.
        TMainWindow u({m_translation});
        dialogs.OpenAnswers.push_back(m_reference);
        u.UpdateActions();
        u.actUpdateTo->trigger();
        QVERIFY(u.HasReference());
        QVERIFY(!u.VSView1->isColumnHidden(2));
        u.SelectNode("Main");
        QCOMPARE(ColumnTexts(*u.ValuesModel, 2).first(), QString("Window"));
    }

    void untranslatedStepsInShownOrderUntilNotFound() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_translation});
        OpenBoth(dialogs, w);
        QVERIFY(ShowActive(w));
        // Same text and holding a word: italic, and the row keeps its background.
        QVERIFY(
            w.ValuesModel->data(w.ValuesModel->index(0, 1), Qt::FontRole).value<QFont>().italic());
        QVERIFY(!w.ValuesModel->IsUntranslated(1)); // "1.0" holds no word
        w.VSView1->selectionModel()->clearSelection();

        QStringList seen;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
            seen << SelectedValue(w);
        }
        // The shortcut is no language; the last step finds nothing and stays.
        QCOMPARE(seen, QStringList({"Plain/Caption", "Save/Caption", "Main/Hint", "Ok/Caption",
                                    "Ok/Caption"}));
        QCOMPARE(dialogs.MessageTexts(), QStringList({"Untranslated value not found."}));
        QCOMPARE(dialogs.Messages.front().Icon, QMessageBox::NoIcon);
        QVERIFY(w.VSTree1->isExpanded(FindRow(*w.ContentsModel, "Main")));

        QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(SelectedValue(w), QString("Main/Hint"));
    }

    void checkWindowJumpsAndMarksEditedFindingsStale() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_translation});
        OpenBoth(dialogs, w);
        QVERIFY(ShowActive(w));
        QTest::keyClick(&w, Qt::Key_F7);
        QVERIFY(w.CheckWindow->isVisible());
        QTreeView* view = w.CheckWindow->Tree();
        QModelIndex hint;
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const QModelIndex at = view->model()->index(row, TCheckModel::cmLocation);
            if (at.data().toString() == "Form:Main [Hint]")
                hint = at;
        }
        QVERIFY(hint.isValid());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(hint).center());
        QCOMPARE(SelectedValue(w), QString("Main/Hint"));

        const int source = [&] {
            for (int row = 0; row < w.CheckWindow->Model()->rowCount(); ++row)
                if (w.CheckWindow->FindingAt(view->model()->index(hint.row(), 0)) ==
                    w.CheckWindow->Model()->Finding(row))
                    return row;
            return -1;
        }();
        QVERIFY(!w.CheckWindow->Model()->IsStale(source));
        w.EditValue(1, "Datei oeffnen");
        QVERIFY(w.CheckWindow->Model()->IsStale(source));
    }

    void undoAndRedoFollowTheEditsAndTheModifiedMark() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_translation});
        OpenBoth(dialogs, w);
        QVERIFY(ShowActive(w));
        w.SelectNode("Main");
        const trvx::TTarvinItem& main = w.Language().Root().GetChild(0);
        const auto edit = [&](int row, const QString& typed, QString* reference = nullptr) {
            w.VSView1->selectionModel()->select(w.ValuesModel->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect |
                                                    QItemSelectionModel::Rows);
            WhenModal([=](QWidget* modal) {
                if (reference)
                    *reference = modal->findChild<QPlainTextEdit*>("ReferenceText")->toPlainText();
                if (!typed.isEmpty())
                    QTest::keyClicks(modal->focusWidget(), typed);
                QTest::keyClick(modal, Qt::Key_Return);
            });
            w.actEdit->trigger();
        };
        QString reference;
        edit(0, "Hauptfenster", &reference);
        QCOMPARE(reference, QString("Window"));
        edit(1, "Datei oeffnen");
        edit(1, ""); // OK without a change is no step
        QCOMPARE(w.UndoStack->count(), 2);
        QVERIFY(w.IsModified());
        QVERIFY(!w.ValuesModel->IsUntranslated(1));

        QVERIFY(ShowActive(w)); // back from the editors
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(main.GetValue(1), std::string("Open the file"));
        QVERIFY(w.ValuesModel->IsUntranslated(1));
        QVERIFY(w.IsModified());
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(main.GetValue(0), std::string("Fenster"));
        QCOMPARE(ColumnTexts(*w.ValuesModel, 1).first(), QString("Fenster"));
        QVERIFY(!w.IsModified()); // back where it was opened

        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(main.GetValue(0), std::string("Hauptfenster"));
        QVERIFY(w.IsModified());

        // Save prunes and clears the stack: nothing to undo, nothing unsaved.
        dialogs.SaveAnswers.push_back(m_dir.filePath("saved.trvx"));
        w.actSave->trigger();
        QCOMPARE(w.UndoStack->count(), 0);
        QVERIFY(!w.IsModified());
    }

    // Stray text from the line above is read into the next ident: the row
    // shows the break instead of cutting the ident there.
    void lineBreaksInIdentsAreMarked() {
        TScriptedDialogs dialogs;
        const QString file = m_dir.filePath("stray.trvx");
        WriteFile(file, Crlf("N {\n  Hint = one\n  two\n  Shortcut = Ctrl+A\n}\n"));
        TMainWindow w({file});
        const QModelIndex ident = w.ValuesModel->index(1, 0);
        QCOMPARE(ident.data().toString(), QString::fromUtf8("two\u21B5  Shortcut"));
        QCOMPARE(ident.data(Qt::ToolTipRole).toString(), QString("two\n  Shortcut"));
    }

    void droppedFileOpensThroughTheUnsavedChangesPrompt() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_translation});
        w.EditValue(0, "Neu");
        QVERIFY(w.IsModified());

        QVERIFY(!SendDrop(w, m_dir.filePath("notes.txt")));
        dialogs.MessageAnswers = {QMessageBox::Cancel};
        QVERIFY(SendDrop(w, m_reference));
        QTRY_COMPARE(dialogs.Messages.size(), std::size_t(1));
        QCOMPARE(dialogs.Messages.front().Text, QString("Save changes to Deutsch?"));
        QCOMPARE(w.windowTitle(), QString("Tarvin - Deutsch"));

        dialogs.MessageAnswers = {QMessageBox::Discard};
        QVERIFY(SendDrop(w, m_reference));
        QTRY_COMPARE(w.windowTitle(), QString("Tarvin - English"));
        QVERIFY(!w.IsModified());
    }
};

QTEST_MAIN(TestWorkbench)
#include "tst_workbench.moc"
