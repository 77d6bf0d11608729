// Update To from the File menu, and the Added and Removed lists.
#include "support/ScriptedDialogs.h"
#include "support/UiTestSupport.h"

#include "document/Tarvin.h"
#include "support/MainWindow.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/UpdateListWindow.h"
#include "update/UpdateMerge.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace tarvin;
using namespace tarvin::test;

namespace {

const QByteArray kTranslation = R"(Root {
  Keep {
    Caption = Behalten
    Old = alt
  }
  Dropped {
    Child {
      v = 1
    }
    w = 2
  }
  Other {
  }
}
)";

const QByteArray kBase = R"(Root {
  Keep {
    Caption = Keep
    Shortcut = Ctrl+K
    Items = {"a"
             "b"
    }
  }
  New {
    Sub {
      s = 1
    }
    n = 2
  }
  Other {
    shortcut = x
    Lines = y
  }
}
)";

std::string Bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

class TestUpdate : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_translation;
    QString m_base;

    void Click(QTreeView* view, int row) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
    }
    static QString Selected(QTreeView* view) {
        const QModelIndexList rows = view->selectionModel()->selectedRows();
        return rows.isEmpty() ? QString() : rows.first().data().toString();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_translation = m_dir.filePath("translation.trvx");
        m_base = m_dir.filePath("base.trvx");
        WriteFile(m_translation, Crlf(kTranslation));
        WriteFile(m_base, Crlf(kBase));
    }

    void listsShowWhatTheUpdateDid() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        w.Open(dialogs, m_translation);
        w.UpdateTo(dialogs, m_base);
        QCOMPARE(dialogs.MessageTexts(), QStringList());
        QVERIFY(w.IsModified());
        QCOMPARE(w.windowTitle(), QString("Tarvin - translation")); // the base names nothing
        QVERIFY(!w.AddedListWindow->isVisible());                   // shown only on request

        // By type, ascending: node rows, then plain values, lists, shortcuts;
        // ties in the order the rows were made.
        QCOMPARE(ColumnTexts(*w.AddedModel),
                 QStringList({"New", "Sub", "Value: shortcut", "Value: Lines", "Value: Items",
                              "Value: Shortcut"}));
        QList<int> icons;
        for (int r = 0; r < w.AddedModel->rowCount(); ++r)
            icons << w.AddedModel->RowData(r)->ImageIndex;
        QCOMPARE(icons, QList<int>({0, 0, 15, 15, 16, 17}));
        // A dropped node brings every node below it, but no value rows.
        QCOMPARE(ColumnTexts(*w.RemovedModel), QStringList({"Dropped", "Child", "Value: Old"}));

        auto state = [&](const QString& caption) {
            return w.ContentsModel->NodeData(FindRow(*w.ContentsModel, caption))->State;
        };
        QCOMPARE(state("New"), usAdded);
        QCOMPARE(state("Sub"), usAdded);
        QCOMPARE(state("Dropped"), usRemoved);
        QCOMPARE(state("Child"), usRemoved);
        QCOMPARE(state("Keep"), usNone);

        w.RevealNode(w.VSTree1, FindRow(*w.ContentsModel, "Keep"));
        QCOMPARE(ColumnTexts(*w.ValuesModel), QStringList({"Caption", "Old", "Shortcut", "Items"}));
        QList<int> states;
        for (int r = 0; r < w.ValuesModel->rowCount(); ++r)
            states << w.ValuesModel->RowData(r)->State;
        QCOMPARE(states, QList<int>({usNone, usRemoved, usAdded, usAdded}));
        // Below a removed node every value is removed too.
        w.RevealNode(w.VSTree1, FindRow(*w.ContentsModel, "Child"));
        QCOMPARE(w.ValuesModel->RowData(0)->State, usRemoved);
    }

    void sortingIsStableBothWays() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        w.Open(dialogs, m_translation);
        w.UpdateTo(dialogs, m_base);
        w.actSortDescending->trigger();
        QCOMPARE(ColumnTexts(*w.AddedModel),
                 QStringList({"Value: Shortcut", "Value: Items", "Value: shortcut", "Value: Lines",
                              "New", "Sub"}));
        w.actSortByIdent->trigger(); // descending by ident; the shortcut tie keeps its order
        QCOMPARE(ColumnTexts(*w.AddedModel),
                 QStringList({"Value: Shortcut", "Value: shortcut", "Value: Lines", "Value: Items",
                              "Sub", "New"}));
        QVERIFY(w.actSortByIdent->isChecked() && !w.actSortByType->isChecked());

        // The key did not change: no sort at all.
        QSignalSpy layout(w.AddedModel, &QAbstractItemModel::layoutChanged);
        w.actSortByIdent->trigger();
        QCOMPARE(layout.size(), 0);
        QVERIFY(w.actSortByIdent->isChecked());

        w.actSortDescending->trigger();
        QCOMPARE(ColumnTexts(*w.AddedModel),
                 QStringList({"New", "Sub", "Value: Items", "Value: Lines", "Value: Shortcut",
                              "Value: shortcut"}));
        // The setting holds for the next rebuild.
        w.SetModified(false);
        w.Open(dialogs, m_translation);
        w.UpdateTo(dialogs, m_base);
        QCOMPARE(ColumnTexts(*w.AddedModel).first(), QString("New"));
        QCOMPARE(ColumnTexts(*w.AddedModel).at(2), QString("Value: Items"));
    }

    void rowsJumpToTheirNodeAndValue() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        QVERIFY(ShowActive(w));
        w.Open(dialogs, m_translation);
        w.UpdateTo(dialogs, m_base);
        w.miAddedList->trigger();
        QVERIFY(w.AddedListWindow->isVisible());
        w.VSTree1->setAnimated(false);

        Click(w.AddedTree, 4); // Value: Items
        QCOMPARE(Selected(w.VSTree1), QString("Keep"));
        QCOMPARE(ColumnTexts(*w.ValuesModel).size(), 4);
        QCOMPARE(w.VSView1->selectionModel()->selectedRows().value(0).row(), 3);

        Click(w.AddedTree, 1); // Sub, inside the collapsed New
        QCOMPARE(Selected(w.VSTree1), QString("Sub"));
        QVERIFY(w.VSTree1->isExpanded(FindRow(*w.ContentsModel, "New")));
        QCOMPARE(ColumnTexts(*w.ValuesModel), QStringList({"s"}));

        // Clicking the row that is already selected jumps again.
        w.RevealNode(w.VSTree1, FindRow(*w.ContentsModel, "Root"));
        Click(w.AddedTree, 1);
        QTRY_COMPARE(Selected(w.VSTree1), QString("Sub"));
    }

    void saveEmptiesTheListsAndMatchesTheCommandLine() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        const QString translation = SourcePath("examples/Deutsch.trvx");
        const QString base = SourcePath("examples/English-2.trvx");
        w.Open(dialogs, translation);
        w.UpdateTo(dialogs, base);
        QVERIFY(w.AddedModel->rowCount() > 0);
        QVERIFY(w.RemovedModel->rowCount() > 0);
        const QString gui = m_dir.filePath("gui.trvx");
        dialogs.SaveAnswers.push_back(gui);
        w.actSave->trigger();
        QCOMPARE(dialogs.MessageTexts(), QStringList());
        QCOMPARE(w.AddedModel->rowCount(), 0);
        QCOMPARE(w.RemovedModel->rowCount(), 0);
        QVERIFY(!w.IsModified());

        const QString cli = m_dir.filePath("cli.trvx");
        QProcess trvx;
        trvx.start(QStringLiteral(TARVIN_TRVX_BIN), {"update", translation, base, "-o", cli});
        QVERIFY(trvx.waitForFinished(60000));
        QCOMPARE(trvx.exitCode(), 0);
        QCOMPARE(ReadFile(gui), ReadFile(cli));

        // The same from the core in-process: load, merge, prune, save.
        trvx::TTarvin t, b;
        t.LoadFromFile(Bytes(translation));
        b.LoadFromFile(Bytes(base));
        trvx::TUpdateLists lists;
        trvx::UpdateTo(b.Root(), t.Root(), lists, t.GetCodePage());
        trvx::PruneRemoved(t.Root(), lists);
        const QString core = m_dir.filePath("core.trvx");
        t.SaveToFile(Bytes(core));
        QCOMPARE(ReadFile(gui), ReadFile(core));
    }

    void hostExecutableServesAsBase() {
        TScriptedDialogs dialogs;
        // The module carries the example as its text.
        const QString module = m_dir.filePath("Base.EXE");
        QVERIFY(QFile::copy(ModuleFixture("example64.exe"), module));
        QByteArray results[2];
        int i = 0;
        for (const QString& base : {SourcePath("examples/Deutsch.trvx"), module}) {
            TMainWindow w;
            w.Open(dialogs, m_translation);
            w.UpdateTo(dialogs, base);
            QVERIFY(w.AddedModel->rowCount() > 0);
            const QString out = m_dir.filePath(QString("out%1.trvx").arg(i));
            dialogs.SaveAnswers.push_back(out);
            w.actSave->trigger();
            results[i++] = ReadFile(out);
        }
        QCOMPARE(dialogs.MessageTexts(), QStringList());
        QVERIFY(!results[0].isEmpty());
        QCOMPARE(results[1], results[0]);
    }

    void failedUpdateChangesNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << "missing.trvx" << QByteArray() << "Cannot open file \"";
        QTest::newRow("module without resource")
            << "nores.exe" << ReadFile(ModuleFixture("others.exe")) << "Resource Tarvin not found";
        QTest::newRow("malformed base")
            << "surplus.trvx" << Crlf("A {\n}\n}\nB {\n}\n") << "List index out of bounds (-1)";
    }
    void failedUpdateChangesNothing() {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString path = m_dir.filePath(file);
        if (!content.isNull())
            WriteFile(path, content);
        TScriptedDialogs dialogs;
        TMainWindow w;
        w.Open(dialogs, m_translation);
        w.UpdateTo(dialogs, m_base);
        w.SetModified(false);
        const QByteArray text = QByteArray::fromStdString(w.Language().SaveToText());
        const QStringList outline = Outline(*w.ContentsModel);
        const QStringList added = ColumnTexts(*w.AddedModel);
        const QStringList removed = ColumnTexts(*w.RemovedModel);

        w.UpdateTo(dialogs, path);
        QCOMPARE(dialogs.Messages.size(), size_t(1));
        QVERIFY2(dialogs.Messages[0].Text.startsWith(message),
                 qPrintable(dialogs.Messages[0].Text));
        QCOMPARE(QByteArray::fromStdString(w.Language().SaveToText()), text);
        QCOMPARE(Outline(*w.ContentsModel), outline);
        QCOMPARE(ColumnTexts(*w.AddedModel), added);
        QCOMPARE(ColumnTexts(*w.RemovedModel), removed);
        QVERIFY(!w.IsModified());
    }

    void cancelledUpdateChangesNothing() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        w.Open(dialogs, m_translation);
        w.UpdateTo(dialogs, QString());
        QCOMPARE(dialogs.OpenRequests.size(), size_t(2));
        QVERIFY(!w.HasMarks());
        QVERIFY(!w.IsModified());
        QVERIFY(dialogs.Messages.empty());
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
