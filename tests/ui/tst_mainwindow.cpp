// The main window as a user meets it: start-up, actions and their rules,
// menus, keys, the contents tree and the values view.
#include "support/ScriptedDialogs.h"
#include "support/UiTestSupport.h"

#include "support/MainWindow.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/UpdateListWindow.h"

#include <QAction>
#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace tarvin;
using namespace tarvin::test;

namespace {

const QByteArray kSmall = R"(Root {
  Form:B {
  }
  Plain {
    Caption = Hallo
    Hint = {"first"
            "second"
    }
  }
  Action:Z {
  }
  Form:a {
  }
  Foo:X {
  }
  Empty {
    Child {
    }
  }
}
Other {
  A {
    A1 {
    }
  }
  B {
    B1 {
    }
  }
  C = 1
}
)";

QPoint RowCenter(QTreeView* view, const QModelIndex& index) {
    return view->visualRect(index).center();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_small;

    // Opens the small fixture through the File menu, as a user would.
    void OpenSmall(TMainWindow& w, TScriptedDialogs& dialogs) {
        dialogs.OpenAnswers.push_back(m_small);
        w.actOpen->trigger();
        QVERIFY(dialogs.Unexpected.isEmpty());
        QCOMPARE(w.windowTitle(), QString("Tarvin - small"));
        QTRY_VERIFY(w.actSave->isEnabled()); // the rules run once the window is idle
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_small = m_dir.filePath("small.trvx");
        WriteFile(m_small, Crlf(kSmall));
    }

    void startUpState() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        QCOMPARE(w.windowTitle(), QString("Tarvin"));
        QCOMPARE(w.size(), QSize(580, 380));
        QCOMPARE(w.ContentsModel->rowCount(), 0);
        QCOMPARE(w.ValuesModel->rowCount(), 0);
        // The rules run when the application becomes idle.
        QTRY_VERIFY(!w.actSave->isEnabled());
        for (QAction* off :
             {w.actEdit, w.actSave, w.actUpdateTo, w.actFindValue, w.actFindValueIdent,
              w.actFindItem, w.actExpandAll, w.actCollapseAll, w.actFindNext})
            QVERIFY2(!off->isEnabled(), qPrintable(off->text()));
        for (QAction* on : {w.actOpen, w.actAutoExpand, w.actSortByType, w.actSortByIdent,
                            w.actSortDescending, w.actExit})
            QVERIFY2(on->isEnabled(), qPrintable(on->text()));
        QVERIFY(w.actAutoExpand->isChecked());
        QVERIFY(w.actSortByType->isChecked());
        QVERIFY(!w.actSortByIdent->isChecked());
        QVERIFY(!w.actSortDescending->isChecked());
        QVERIFY(!w.btnEdit->isEnabled());
        QVERIFY(w.btnOpen->isEnabled());
        QVERIFY(w.btnEdit->isDefault());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.btnOpen));
        QVERIFY(!w.AddedListWindow->isVisible());
        QVERIFY(!w.RemovedListWindow->isVisible());
        QVERIFY(!w.miAddedList->isChecked());
        QCOMPARE(w.VSView1->columnWidth(0), 80);
        QCOMPARE(w.VSView1->columnWidth(1), 272);
        QVERIFY(w.VSView1->header()->sectionsMovable());
        QVERIFY(w.VSTree1->isHeaderHidden());
        QCOMPARE(w.btnEdit->height(), 25);
        QVERIFY(w.btnEdit->x() < w.btnOpen->x() && w.btnOpen->x() < w.btnUpdateTo->x() &&
                w.btnUpdateTo->x() < w.btnSave->x());
        QCOMPARE(w.btnSave->text(), QString("&Save..."));
        QVERIFY(dialogs.Messages.empty());
    }

    void actionTable_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("open") << "actOpen"
                              << "&Open..."
                              << "1. File"
                              << "Ctrl+O";
        QTest::newRow("edit") << "actEdit"
                              << "&Edit"
                              << "1. File"
                              << "Ctrl+E";
        QTest::newRow("save") << "actSave"
                              << "&Save..."
                              << "1. File"
                              << "Ctrl+S";
        QTest::newRow("exit") << "actExit"
                              << "&Exit"
                              << "1. File"
                              << "Alt+F4";
        QTest::newRow("autoexpand") << "actAutoExpand"
                                    << "AutoExpand"
                                    << "3. Misc"
                                    << "";
        QTest::newRow("collapse") << "actCollapseAll"
                                  << "Collapse All"
                                  << "3. Misc"
                                  << "";
        QTest::newRow("expand") << "actExpandAll"
                                << "Expand All"
                                << "3. Misc"
                                << "";
        QTest::newRow("update") << "actUpdateTo"
                                << "Update To..."
                                << "1. File"
                                << "Ctrl+U";
        QTest::newRow("bytype") << "actSortByType"
                                << "Sort by &Type"
                                << "4. Update"
                                << "";
        QTest::newRow("byident") << "actSortByIdent"
                                 << "Sort by &Ident"
                                 << "4. Update"
                                 << "";
        QTest::newRow("descending") << "actSortDescending"
                                    << "&Descending"
                                    << "4. Update"
                                    << "";
        QTest::newRow("findvalue") << "actFindValue"
                                   << "Find &Value"
                                   << "2. Search"
                                   << "Ctrl+F";
        QTest::newRow("findident") << "actFindValueIdent"
                                   << "Find Value I&dent"
                                   << "2. Search"
                                   << "Ctrl+I";
        QTest::newRow("finditem") << "actFindItem"
                                  << "Find &Item"
                                  << "2. Search"
                                  << "Ctrl+C";
        QTest::newRow("findnext") << "actFindNext"
                                  << "Find &Next"
                                  << "2. Search"
                                  << "F3";
    }
    void actionTable() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, category);
        QFETCH(QString, shortcut);
        TScriptedDialogs dialogs;
        TMainWindow w;
        const std::map<QString, QAction*> actions = {{"actOpen", w.actOpen},
                                                     {"actEdit", w.actEdit},
                                                     {"actSave", w.actSave},
                                                     {"actExit", w.actExit},
                                                     {"actAutoExpand", w.actAutoExpand},
                                                     {"actCollapseAll", w.actCollapseAll},
                                                     {"actExpandAll", w.actExpandAll},
                                                     {"actUpdateTo", w.actUpdateTo},
                                                     {"actSortByType", w.actSortByType},
                                                     {"actSortByIdent", w.actSortByIdent},
                                                     {"actSortDescending", w.actSortDescending},
                                                     {"actFindValue", w.actFindValue},
                                                     {"actFindValueIdent", w.actFindValueIdent},
                                                     {"actFindItem", w.actFindItem},
                                                     {"actFindNext", w.actFindNext}};
        QAction* action = actions.at(name);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->property("Category").toString(), category);
        QCOMPARE(action->shortcut().toString(), shortcut);
    }

    void menus() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QCOMPARE(MenuCaptions(w.mnuFile),
                 QStringList({"&Open...", "Open &Reference...", "&Save...", "---", "Update To...",
                              "E&xport...", "&Import...", "---", "&Exit"}));
        QCOMPARE(MenuCaptions(w.mnuSearch),
                 QStringList({"Find &Value", "Find Value I&dent", "Find &Item", "---", "Find &Next",
                              "---", "Next &Untranslated", "Previous Untranslated"}));
        QCOMPARE(MenuCaptions(w.mnuMisc),
                 QStringList({"AutoExpand", "---", "Expand All", "Collapse All", "---", "Code page",
                              "---", "&Check"}));
        QCOMPARE(MenuCaptions(w.mnuUpdate),
                 QStringList({"&Added List", "&Removed List", "---", "&Sort"}));
        QCOMPARE(MenuCaptions(w.mnuSort),
                 QStringList({"Sort by &Type", "Sort by &Ident", "---", "&Descending"}));
        QStringList bar;
        for (QAction* a : w.menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, QStringList({"&File", "&Edit", "&Search", "&Misc", "&Update"}));
        QCOMPARE(w.actFindItem->data().toInt(), 0);
        QCOMPARE(w.actFindValue->data().toInt(), 1);
        QCOMPARE(w.actFindValueIdent->data().toInt(), 2);
    }

    void commandLineOpensFirstArgument() {
        TScriptedDialogs dialogs;
        const QString other = m_dir.filePath("other.trvx");
        WriteFile(other, Crlf("Z {\n}\n"));
        TMainWindow w({m_small, other});
        QCOMPARE(w.windowTitle(), QString("Tarvin - small"));
        QCOMPARE(ColumnTexts(*w.ContentsModel), QStringList({"Other", "Root"}));
        // The first top-level row is selected and its values are shown.
        const QModelIndexList selected = w.VSTree1->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().data().toString(), QString("Other"));
        QCOMPARE(ColumnTexts(*w.ValuesModel, 0), QStringList({"C"}));
        QVERIFY(w.VSView1->selectionModel()->isRowSelected(0, {}));
        QVERIFY(!w.IsModified());
        QVERIFY(dialogs.Messages.empty());
    }

    // The page in use is checked; a pick redraws every view on the same
    // rows, and Automatic goes back to the one LangID implies.
    void codePageMenuAndOption() {
        TScriptedDialogs dialogs;
        const QString russian = m_dir.filePath("ru.trvx");
        WriteFile(russian, Crlf("INFO {\n LangID = 1049\n}\nS {\n a = \xCF\xF0\xE8\n b = 1\n}\n"));
        TMainWindow w({russian});
        auto* menu = w.mnuCodePage;
        QVERIFY(menu != nullptr);
        auto page = [&](const char* name) { return menu->findChild<QAction*>(name); };
        auto checked = [&] {
            QStringList names;
            for (QAction* a : menu->actions())
                if (a->isChecked())
                    names << a->objectName();
            return names;
        };
        emit menu->aboutToShow();
        QCOMPARE(checked(), QStringList({"actCodePageAutomatic", "actCodePage1251"}));
        w.SelectNode("S");
        w.VSView1->selectionModel()->select(w.ValuesModel->index(1, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
        QCOMPARE(w.ValuesModel->index(0, 1).data().toString(), QString::fromUtf8("При"));

        page("actCodePage1253")->trigger();
        emit menu->aboutToShow();
        QCOMPARE(checked(), QStringList({"actCodePage1253"}));
        QCOMPARE(w.DisplayCodePage().Id(), 1253);
        QCOMPARE(w.ValuesModel->index(0, 1).data().toString(), QString::fromUtf8("Οπθ"));
        QVERIFY(w.VSView1->selectionModel()->isRowSelected(1, {}));

        page("actCodePageAutomatic")->trigger();
        QCOMPARE(w.DisplayCodePage().Id(), 1251);

        TMainWindow chosen({"--codepage", "932", russian});
        QCOMPARE(chosen.DisplayCodePage().Id(), 932);
        QCOMPARE(chosen.windowTitle(), QString("Tarvin - ru"));
        QVERIFY(dialogs.Messages.empty());
        TMainWindow wrong({"--codepage=437", russian});
        QCOMPARE(dialogs.MessageTexts(),
                 QStringList({"Code page \"437\" is not supported; use one of 874, 932, 936, "
                              "949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, "
                              "1258."}));
        QCOMPARE(wrong.DisplayCodePage().Id(), 1251);
    }

    void commandLineUnreadableFile() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_dir.filePath("missing.trvx")});
        QCOMPARE(dialogs.Messages.size(), size_t(1));
        QCOMPARE(dialogs.Messages[0].Icon, QMessageBox::Critical);
        QCOMPARE(dialogs.Messages[0].Caption, QString("Tarvin"));
        QVERIFY2(dialogs.Messages[0].Text.startsWith("Cannot open file \""),
                 qPrintable(dialogs.Messages[0].Text));
        QCOMPARE(w.windowTitle(), QString("Tarvin"));
        QCOMPARE(w.ContentsModel->rowCount(), 0);
        QVERIFY(ShowActive(w));
    }

    void rootWithoutChildren() {
        TScriptedDialogs dialogs;
        const QString empty = m_dir.filePath("empty.trvx");
        WriteFile(empty, "");
        TMainWindow w({empty});
        QVERIFY(ShowActive(w));
        QCOMPARE(w.windowTitle(), QString("Tarvin - empty"));
        QTRY_VERIFY(w.actOpen->isEnabled());
        w.UpdateActions();
        for (QAction* off : {w.actSave, w.actUpdateTo, w.actFindValue, w.actFindValueIdent,
                             w.actFindItem, w.actExpandAll, w.actCollapseAll, w.actEdit})
            QVERIFY2(!off->isEnabled(), qPrintable(off->text()));
    }

    void ctrlCRunsFindItemEverywhere() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_small});
        QVERIFY(ShowActive(w));
        QTRY_VERIFY(w.actFindItem->isEnabled());
        QSignalSpy findItem(w.actFindItem, &QAction::triggered);
        int expected = 0;
        for (QWidget* target : std::initializer_list<QWidget*>{w.VSTree1, w.VSView1, w.btnOpen,
                                                               w.btnEdit, w.VSView1->header()}) {
            target->setFocus();
            QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
            QVERIFY2(findItem.size() == ++expected, target->metaObject()->className());
        }
        // Disabled, it ignores its shortcut.
        QSignalSpy findNext(w.actFindNext, &QAction::triggered);
        QTest::keyClick(w.VSTree1, Qt::Key_F3);
        QCOMPARE(findNext.size(), 0);
    }

    void doubleClickAndEnterRunEdit() {
        TScriptedDialogs dialogs;
        TMainWindow w({m_small});
        QVERIFY(ShowActive(w));
        QSignalSpy edit(w.actEdit, &QAction::triggered);
        // Whatever editor an edit opens is cancelled: only the triggering counts here.
        QTimer cancelEditors;
        connect(&cancelEditors, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        cancelEditors.start(20);

        // "Root" holds the values Caption and Hint.
        w.RevealNode(w.VSTree1, FindRow(*w.ContentsModel, "Plain"));
        QCOMPARE(ColumnTexts(*w.ValuesModel, 1),
                 QStringList({"Hallo", QString::fromUtf16(u"first \u00BB")}));
        const QPoint row = RowCenter(w.VSView1, w.ValuesModel->index(1, 0));
        QTest::mouseClick(w.VSView1->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(w.VSView1->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(edit.size(), 1);

        w.VSView1->setFocus();
        QTest::keyClick(w.VSView1, Qt::Key_Return);
        QCOMPARE(edit.size(), 2);
        QTest::keyClick(w.VSTree1, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(edit.size(), 3);

        // A focused button takes Enter for itself.
        w.btnOpen->setFocus();
        dialogs.OpenAnswers.push_back(QString());
        QTest::keyClick(w.btnOpen, Qt::Key_Return);
        QCOMPARE(dialogs.OpenRequests.size(), size_t(1));
        QCOMPARE(edit.size(), 3);

        // A node without values: nothing selected, so neither does anything.
        w.RevealNode(w.VSTree1, FindRow(*w.ContentsModel, "Z"));
        QCOMPARE(w.ValuesModel->rowCount(), 0);
        QTest::mouseDClick(w.VSView1->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(edit.size(), 3);
        w.UpdateActions();
        QVERIFY(!w.actEdit->isEnabled());
    }

    void iconsOrderAndDisplay() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        const QModelIndex root = FindRow(*w.ContentsModel, "Root");
        QStringList children;
        QList<int> icons;
        for (int r = 0; r < w.ContentsModel->rowCount(root); ++r) {
            const QModelIndex child = w.ContentsModel->index(r, 0, root);
            children << child.data().toString();
            icons << w.ContentsModel->NodeData(child)->ImageIndex;
        }
        QCOMPARE(children, QStringList({"Empty", "Plain", "X", "Z", "a", "B"}));
        QCOMPARE(icons, QList<int>({0, 0, 1, 2, 7, 7}));
        QCOMPARE(w.ContentsModel->NodeData(FindRow(*w.ContentsModel, "Plain"))->SelectedIndex, 1);
        QVERIFY(
            !FindRow(*w.ContentsModel, "Plain").data(Qt::DecorationRole).value<QIcon>().isNull());
    }

    void coloursFollowTheMarks() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        // The base adds Empty, and Child below it, and no longer has Plain's Hint.
        const QByteArray empty = "  Empty {\n    Child {\n    }\n  }\n";
        const QByteArray hint = "    Hint = {\"first\"\n            \"second\"\n    }\n";
        QVERIFY(kSmall.contains(empty) && kSmall.contains(hint));
        WriteFile(m_dir.filePath("marks.trvx"), Crlf(QByteArray(kSmall).replace(empty, "")));
        WriteFile(m_dir.filePath("marks-base.trvx"), Crlf(QByteArray(kSmall).replace(hint, "")));
        w.Open(dialogs, m_dir.filePath("marks.trvx"));
        w.UpdateTo(dialogs, m_dir.filePath("marks-base.trvx"));
        auto background = [](const QModelIndex& i) {
            return i.data(Qt::BackgroundRole).value<QBrush>().color();
        };
        const QColor green(0xE0, 0xFF, 0xE0), red(0xFF, 0xE0, 0xE0);
        QCOMPARE(background(FindRow(*w.ContentsModel, "Empty")), green);
        QCOMPARE(background(FindRow(*w.ContentsModel, "Child")), green);
        QVERIFY(!FindRow(*w.ContentsModel, "Plain").data(Qt::BackgroundRole).isValid());

        w.VSTree1->setAnimated(false); // a running animation swallows clicks
        w.VSTree1->expand(FindRow(*w.ContentsModel, "Root"));
        QTest::mouseClick(w.VSTree1->viewport(), Qt::LeftButton, {},
                          RowCenter(w.VSTree1, FindRow(*w.ContentsModel, "Plain")));
        QCOMPARE(w.ValuesModel->rowCount(), 2);
        QVERIFY(!w.ValuesModel->index(0, 0).data(Qt::BackgroundRole).isValid());
        QCOMPARE(background(w.ValuesModel->index(1, 0)), red); // the whole row
        QCOMPARE(background(w.ValuesModel->index(1, 1)), red);
        QCOMPARE(ColumnTexts(*w.RemovedModel), QStringList({"Value: Hint"}));
        QCOMPARE(ColumnTexts(*w.AddedModel), QStringList({"Empty", "Child"}));
    }

    void autoExpandWithArrowKeys() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        QVERIFY(ShowActive(w));
        w.VSTree1->setFocus();
        const QModelIndex other = FindRow(*w.ContentsModel, "Other");
        const QModelIndex a = FindRow(*w.ContentsModel, "A");
        const QModelIndex b = FindRow(*w.ContentsModel, "B");
        w.VSTree1->setAnimated(false); // a running animation swallows clicks
        w.VSTree1->collapseAll();
        w.VSTree1->expand(other);
        QTest::mouseClick(w.VSTree1->viewport(), Qt::LeftButton, {}, RowCenter(w.VSTree1, b));
        QVERIFY(w.VSTree1->isExpanded(b));
        QVERIFY(!w.VSTree1->isExpanded(a));

        QTest::keyClick(w.VSTree1, Qt::Key_Up); // B -> A, its sibling
        QCOMPARE(w.VSTree1->currentIndex(), a);
        QVERIFY(w.VSTree1->isExpanded(a));
        QVERIFY(!w.VSTree1->isExpanded(b));

        // Off: moving the focus expands and collapses nothing.
        w.actAutoExpand->trigger();
        QVERIFY(!w.actAutoExpand->isChecked());
        QVERIFY(!w.AutoExpand());
        QTest::keyClick(w.VSTree1, Qt::Key_Down); // A -> A1
        QTest::keyClick(w.VSTree1, Qt::Key_Down); // A1 -> B
        QCOMPARE(w.VSTree1->currentIndex(), b);
        QVERIFY(w.VSTree1->isExpanded(a));
        QVERIFY(!w.VSTree1->isExpanded(b));

        w.actAutoExpand->trigger();
        QVERIFY(w.actAutoExpand->isChecked());
        QTRY_VERIFY(w.actAutoExpand->isChecked());
    }

    void expandAndCollapseAll() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        OpenSmall(w, dialogs);
        QTRY_VERIFY(w.actExpandAll->isEnabled());
        w.actExpandAll->trigger();
        QVERIFY(w.VSTree1->isExpanded(FindRow(*w.ContentsModel, "Empty")));
        QVERIFY(w.VSTree1->isExpanded(FindRow(*w.ContentsModel, "B1").parent()));
        // Leaves keep no expanded state, yet every one of them is laid out.
        for (const char* leaf : {"Child", "A1", "B1", "Plain"})
            QVERIFY2(w.VSTree1->visualRect(FindRow(*w.ContentsModel, leaf)).isValid(), leaf);
        w.actCollapseAll->trigger();
        QVERIFY(!w.VSTree1->isExpanded(FindRow(*w.ContentsModel, "Root")));
    }

    void revealCentresWithoutMovingFocus() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QByteArray text = "Top {\n";
        for (int i = 0; i < 200; ++i)
            text += "  N" + QByteArray::number(1000 + i) + " {\n  }\n";
        text += "}\n";
        const QString many = m_dir.filePath("many.trvx");
        WriteFile(many, Crlf(text));
        dialogs.OpenAnswers.push_back(many);
        w.actOpen->trigger();
        QVERIFY(ShowActive(w));
        w.VSTree1->collapseAll();
        const QModelIndex current = w.VSTree1->currentIndex();
        const QModelIndex target = FindRow(*w.ContentsModel, "N1150");
        w.RevealNode(w.VSTree1, target);
        QVERIFY(w.VSTree1->isExpanded(target.parent()));
        QCOMPARE(w.VSTree1->selectionModel()->selectedRows(), QModelIndexList({target}));
        QCOMPARE(w.VSTree1->currentIndex(), current);
        const QRect rect = w.VSTree1->visualRect(target);
        const int middle = w.VSTree1->viewport()->height() / 2;
        QVERIFY2(std::abs(rect.center().y() - middle) <= rect.height(),
                 qPrintable(QString("%1 vs %2").arg(rect.center().y()).arg(middle)));
    }

    void toolWindowsFollowTheirMenuItems() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        w.miAddedList->trigger();
        QVERIFY(w.AddedListWindow->isVisible());
        QVERIFY(w.miAddedList->isChecked());
        QVERIFY(w.AddedListWindow->isWindow());
        QCOMPARE(w.AddedListWindow->size(), QSize(140, 260));
        w.miRemovedList->trigger();
        QVERIFY(w.RemovedListWindow->isVisible());
        // Beside the Added List: its width plus the two borders of a frame.
        QCOMPARE(w.RemovedListWindow->y(), w.AddedListWindow->y());
        const int gap = w.RemovedListWindow->x() - w.AddedListWindow->width();
        QVERIFY2(gap >= 0 && gap <= 24 && gap % 2 == 0, qPrintable(QString::number(gap)));
        w.RemovedListWindow->close(); // its own close box
        QVERIFY(!w.miRemovedList->isChecked());
        w.miAddedList->trigger();
        QVERIFY(!w.AddedListWindow->isVisible());
    }

    void errorsAreShownAndTheWindowGoesOn() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        dialogs.OpenAnswers.push_back(m_dir.filePath("nowhere.trvx"));
        QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dialogs.Messages.size(), size_t(1));
        QCOMPARE(dialogs.Messages[0].Icon, QMessageBox::Critical);
        QVERIFY(dialogs.Messages[0].Text.contains("nowhere.trvx"));
        QCOMPARE(w.windowTitle(), QString("Tarvin"));
        OpenSmall(w, dialogs);
        QCOMPARE(w.ContentsModel->rowCount(), 2);
    }

    void exitClosesTheWindow() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        w.actExit->trigger();
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
