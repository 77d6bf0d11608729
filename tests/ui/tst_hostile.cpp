// Files an attacker or an unlucky user may open: a tree deeper than the view
// can lay out, names and texts of megabytes, a pipe in place of a file. The
// window must neither crash nor freeze, and unsaved work stays.
#include "support/ScriptedDialogs.h"
#include "support/UiTestSupport.h"

#include "support/MainWindow.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/ContentsTree.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <sys/stat.h>

using namespace tarvin;
using namespace tarvin::test;

class TestHostile : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    void Open(TMainWindow& w, TScriptedDialogs& dialogs, const QString& name) {
        dialogs.OpenAnswers.push_back(m_dir.filePath(name));
        w.actOpen->trigger();
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // The view lays expanded rows out by recursion: 35,000 levels overflowed
    // its stack on Expand All. Every way to expand stops at the deepest
    // level it survives and says so; Find still selects the deepest row.
    void deepTreeExpandsOnlyAsDeepAsTheViewSurvives() {
        constexpr int kLevels = 35000;
        WriteFile(m_dir.filePath("deep.trvx"),
                  QByteArray("a {\r\n").repeated(kLevels) + QByteArray("}\r\n").repeated(kLevels));
        TScriptedDialogs dialogs;
        TMainWindow w;
        w.show();
        Open(w, dialogs, "deep.trvx");

        QModelIndex deepest;
        std::vector<QModelIndex> chain;
        for (QModelIndex row = w.ContentsModel->index(0, 0); row.isValid();
             row = w.ContentsModel->index(0, 0, row))
            chain.push_back(deepest = row);
        QCOMPARE(int(chain.size()), kLevels);
        const int limit = TContentsTree::kDeepestExpanded;

        auto check = [&](const char* how) {
            QVERIFY2(w.VSTree1->isExpanded(chain[limit - 1]), how);
            QVERIFY2(!w.VSTree1->isExpanded(chain[limit]), how);
            w.VSTree1->collapseAll();
        };
        w.UpdateActions();
        w.actExpandAll->trigger();
        check("Expand All");
        QVERIFY(dialogs.MessageTexts().value(0).startsWith("Rows deeper than 1000 levels"));
        w.VSTree1->setCurrentIndex(chain[0]);
        QTest::keyClick(w.VSTree1, Qt::Key_Asterisk);
        check("the * key");
        w.RevealNode(w.VSTree1, deepest);
        QCOMPARE(w.VSTree1->selectionModel()->selectedRows().value(0), deepest);
        check("Find");
        // Expanding a row at the limit by hand is undone at once.
        w.RevealNode(w.VSTree1, chain[limit]);
        w.VSTree1->expand(chain[limit]);
        check("a click");
        // Said once for the file, not at every row AutoExpand meets.
        QCOMPARE(dialogs.MessageTexts().size(), 1);
    }

    // A row shows a bounded prefix and "…", its tooltip the full length; an
    // editor is not opened on megabytes.
    void hugeNamesAndTextsShowABoundedPrefix() {
        const QByteArray name(4 << 20, 'N');
        const QByteArray value(4 << 20, 'v');
        WriteFile(m_dir.filePath("huge.trvx"),
                  name + " {\r\n  " + name + " = " + value + "\r\n}\r\n");
        TScriptedDialogs dialogs;
        TMainWindow w;
        w.show();
        Open(w, dialogs, "huge.trvx");
        QVERIFY(dialogs.MessageTexts().isEmpty());

        const QModelIndex node = w.ContentsModel->index(0, 0);
        for (const QModelIndex& index :
             {node, w.ValuesModel->index(0, 0), w.ValuesModel->index(0, 1)}) {
            const QString shown = index.data().toString();
            QVERIFY(shown.size() <= 501);
            QVERIFY(shown.endsWith(QChar(0x2026)));
            QVERIFY(index.data(Qt::ToolTipRole).toString().contains(QLocale().toString(4 << 20)));
        }
        QVERIFY(!w.ContentsModel->index(0, 0).data(Qt::ToolTipRole).isNull());

        w.UpdateActions();
        w.actEdit->trigger();
        QVERIFY(dialogs.MessageTexts().value(0).contains("too many to edit in a dialog"));
        QVERIFY(dialogs.Unexpected.isEmpty()); // no editor was shown
        QVERIFY(!w.IsModified());
    }

    // Opening a pipe blocks until someone writes to it: it is refused at
    // once, also as the base of Update To, whose unsaved edits stay.
    void pipesAreRefusedWithoutBlocking() {
        const QString fifo = m_dir.filePath("pipe.trvx");
        QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        WriteFile(m_dir.filePath("small.trvx"), Crlf("A {\n  Caption = x\n}\n"));
        TScriptedDialogs dialogs;
        TMainWindow w;
        w.show();
        Open(w, dialogs, "small.trvx");
        Open(w, dialogs, "pipe.trvx");
        w.SetModified(true);
        dialogs.OpenAnswers.push_back(fifo);
        w.UpdateActions();
        w.actUpdateTo->trigger();
        const QString refused = "Cannot open file \"" + fifo + "\". It is a named pipe, not a file";
        QCOMPARE(dialogs.MessageTexts(), QStringList({refused, refused}));
        QVERIFY(w.IsModified());
        QCOMPARE(w.windowTitle(), QString("Tarvin - small"));
        QCOMPARE(Outline(*w.ContentsModel), QStringList{"A"});
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
