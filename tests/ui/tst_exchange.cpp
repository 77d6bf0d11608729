// Export and Import in the File menu: the open translation to XLIFF or PO and back.
#include "support/ScriptedDialogs.h"
#include "support/UiTestSupport.h"

#include "support/MainWindow.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/ValuesModel.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include <pugixml.hpp>

using namespace tarvin;
using namespace tarvin::test;

namespace {

const QByteArray kTranslation = "INFO {\n  LangID = 1031\n}\nN {\n  Caption = Alt\n"
                                "  Items = {\"a\"\n             \"b\"\n  }\n}\n";
const QByteArray kReference =
    "N {\n  Caption = Old\n  Items = {\"a\"\n             \"b\"\n  }\n}\n";

QByteArray Xliff(const QByteArray& units) {
    return "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\"><file><body>\n" + units +
           "</body></file></xliff>\n";
}

QByteArray Unit(const QByteArray& id, const QByteArray& target) {
    return "<trans-unit id=\"" + id + "\"><source>s</source><target>" + target +
           "</target></trans-unit>\n";
}

} // namespace

class TestExchange : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString Path(const QString& name) { return m_dir.filePath(name); }
    QAction* Action(TMainWindow& w, const char* name) {
        return w.findChild<QAction*>(QString::fromLatin1(name));
    }
    void Open(TMainWindow& w, TScriptedDialogs& dialogs) {
        WriteFile(Path("de.trvx"), Crlf(kTranslation));
        dialogs.OpenAnswers.push_back(Path("de.trvx"));
        w.actOpen->trigger();
        QCOMPARE(dialogs.MessageTexts(), QStringList());
    }

private slots:
    void exportWritesTheOpenTranslationWithTheReferenceAsSource() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        Open(w, dialogs);
        WriteFile(Path("en.trvx"), Crlf(kReference));
        dialogs.MessageAnswers.push_back(QMessageBox::Yes); // take sources from a reference
        dialogs.OpenAnswers.push_back(Path("en.trvx"));
        dialogs.SaveAnswers.push_back(Path("out.xlf"));
        Action(w, "actExport")->trigger();
        QCOMPARE(dialogs.Unexpected, QStringList());
        const QByteArray xliff = ReadFile(Path("out.xlf"));
        pugi::xml_document doc;
        QVERIFY(doc.load_buffer(xliff.constData(), static_cast<std::size_t>(xliff.size())));
        const pugi::xml_node unit = doc.select_node("//trans-unit[@id='N/Caption']").node();
        QVERIFY(unit);
        QCOMPARE(QString(unit.child_value("source")), QString("Old"));
        QCOMPARE(QString(unit.child_value("target")), QString("Alt"));
        QVERIFY(!w.IsModified());
    }

    // Changed targets land in the tree and mark it modified; a list whose
    // line count changes asks first; a refusal changes nothing.
    void importSetsChangedValuesOrNothing() {
        TScriptedDialogs dialogs;
        TMainWindow w;
        Open(w, dialogs);
        QAction* actImport = Action(w, "actImport");
        QVERIFY(actImport);

        WriteFile(Path("bad.xlf"), Xliff(Unit("N/Caption", "Neu") + Unit("N/Hint", "x")));
        dialogs.OpenAnswers.push_back(Path("bad.xlf"));
        actImport->trigger();
        QCOMPARE(dialogs.MessageTexts(),
                 QStringList({"unit \"N/Hint\": the translation has no such value"}));
        QVERIFY(!w.IsModified());

        dialogs.Messages.clear();
        WriteFile(Path("lines.xlf"), Xliff(Unit("N/Caption", "Neu") + Unit("N/Items", "a")));
        dialogs.OpenAnswers.push_back(Path("lines.xlf"));
        dialogs.MessageAnswers.push_back(QMessageBox::No);
        actImport->trigger();
        QCOMPARE(dialogs.Messages.size(), size_t(1));
        QVERIFY(dialogs.Messages[0].Text.contains("the list had 2 lines and now has 1"));
        QVERIFY(!w.IsModified());

        dialogs.Messages.clear();
        WriteFile(Path("good.xlf"), Xliff(Unit("N/Caption", "Neu")));
        dialogs.OpenAnswers.push_back(Path("good.xlf"));
        w.RevealNode(w.VSTree1, FindRow(*w.ContentsModel, "N"));
        actImport->trigger();
        QCOMPARE(dialogs.MessageTexts(), QStringList({"1 of 1 units changed a value."}));
        QVERIFY(w.IsModified());
        QCOMPARE(w.Language().Root().GetChild(1).GetValue(0), std::string("Neu"));
        QCOMPARE(ColumnTexts(*w.ValuesModel, 1).value(0), QString("Neu"));
        // The whole import is one undo step, and undoing it leaves nothing unsaved.
        w.UndoStack->undo();
        QVERIFY(w.Language().Root().GetChild(1).GetValue(0) != "Neu");
        QVERIFY(!w.IsModified());
    }
};

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
