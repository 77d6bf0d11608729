// The rules behind the views that need no widgets: caption, icons and
// captions of nodes, sibling order, display of values, update-list order.
#include "encoding/CodePage.h"
#include "ui/common/TextCodec.h"
#include "ui/common/ViewRules.h"

#include <QTest>

using namespace tarvin;

namespace {

TContentsNodeData Node(std::string_view name, const TControlPrefixes& prefixes) {
    const TNodeLook look = NodeLook(name, prefixes);
    TContentsNodeData d;
    d.Caption = look.Caption;
    d.ImageIndex = look.ImageIndex;
    d.SelectedIndex = look.SelectedIndex;
    return d;
}

TUpdateNodeData Row(std::string caption, int image) {
    TUpdateNodeData row;
    row.Caption = std::move(caption);
    row.ImageIndex = image;
    return row;
}

} // namespace

class TestViewRules : public QObject {
    Q_OBJECT
private slots:
    void caption_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("caption");
        QTest::newRow("windows path") << "C:\\data\\de.trvx"
                                      << "Tarvin - de";
        QTest::newRow("posix path") << "/home/t/Deutsch.trvx"
                                    << "Tarvin - Deutsch";
        QTest::newRow("two dots") << "/x/a.b.trvx"
                                  << "Tarvin - a.b";
        QTest::newRow("no dot") << "/x/data"
                                << "Tarvin - data";
        QTest::newRow("dot in folder only") << "/x.y/data"
                                            << "Tarvin - data";
        QTest::newRow("module") << "App.EXE"
                                << "Tarvin - App";
    }
    void caption() {
        QFETCH(QString, fileName);
        QFETCH(QString, caption);
        QCOMPARE(CaptionForFileName(fileName), caption);
    }

    void prefixPositions() {
        const TControlPrefixes prefixes;
        const QStringList expected = {
            "Action:", "Button:", "CheckBox:", "ComboBox:",    "Edit:", "Form:",   "GroupBox:",
            "Label:",  "List:",   "Menu:",     "RadioButton:", "Tab:",  "Toolbar:"};
        QCOMPARE(prefixes.Count(), int(expected.size()));
        for (int i = 0; i < prefixes.Count(); ++i) {
            QCOMPARE(QString::fromLatin1(prefixes[i].data(), qsizetype(prefixes[i].size())),
                     expected[i]);
            QCOMPARE(prefixes.IndexOf(expected[i].toUpper().toStdString()), i);
        }
        QCOMPARE(prefixes.IndexOf("Foo:"), -1);
        QCOMPARE(prefixes.IndexOf("Action"), -1);
    }

    void nodeLook_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("caption");
        QTest::addColumn<int>("image");
        QTest::addColumn<int>("selected");
        QTest::newRow("action") << QByteArray("Action:actOpen") << QByteArray("actOpen") << 2 << 2;
        QTest::newRow("other case")
            << QByteArray("action:actOpen") << QByteArray("actOpen") << 2 << 2;
        QTest::newRow("unknown prefix") << QByteArray("Foo:Bar") << QByteArray("Bar") << 1 << 1;
        QTest::newRow("first colon")
            << QByteArray("Menu:File:Open") << QByteArray("File:Open") << 11 << 11;
        QTest::newRow("plain") << QByteArray("MainForm") << QByteArray("MainForm") << 0 << 1;
        QTest::newRow("toolbar") << QByteArray("Toolbar:tb") << QByteArray("tb") << 14 << 14;
        QTest::newRow("empty caption") << QByteArray("Edit:") << QByteArray("") << 6 << 6;
    }
    void nodeLook() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, caption);
        QFETCH(int, image);
        QFETCH(int, selected);
        const TControlPrefixes prefixes;
        const std::string bytes = name.toStdString(); // the look borrows from it
        const TNodeLook look = NodeLook(bytes, prefixes);
        QCOMPARE(QByteArray(look.Caption.data(), qsizetype(look.Caption.size())), caption);
        QCOMPARE(look.ImageIndex, image);
        QCOMPARE(look.SelectedIndex, selected);
    }

    void siblingOrder() {
        const TControlPrefixes prefixes;
        std::vector<TContentsNodeData> nodes;
        for (const char* name : {"Form:B", "Plain", "Action:Z", "Form:a", "Foo:X"})
            nodes.push_back(Node(name, prefixes));
        std::stable_sort(nodes.begin(), nodes.end(), [](const auto& a, const auto& b) {
            return CompareContentsNodes(a, b) < 0;
        });
        QStringList order;
        for (const auto& n : nodes)
            order << QString::fromLatin1(n.Caption.data(), qsizetype(n.Caption.size()));
        QCOMPARE(order, QStringList({"Plain", "X", "Z", "a", "B"}));
    }

    void compareTextAscii_data() {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("ascii case") << QByteArray("abc") << QByteArray("ABC") << 0;
        QTest::newRow("prefix first") << QByteArray("ab") << QByteArray("abc") << -1;
        QTest::newRow("underscore after letters") << QByteArray("_a") << QByteArray("Z") << 1;
        // Only ASCII folds: a-umlaut (0xE4) and A-umlaut (0xC4) differ.
        QTest::newRow("umlauts unfolded") << QByteArray("\xE4") << QByteArray("\xC4") << 1;
        QTest::newRow("bytes unsigned") << QByteArray("\x80") << QByteArray("z") << 1;
        QTest::newRow("zero byte after a prefix")
            << QByteArray("a", 1) << QByteArray("a\0", 2) << -1;
        QTest::newRow("zero bytes") << QByteArray("a\0b", 3) << QByteArray("a\0\0", 3) << 1;
        QTest::newRow("past seven bytes")
            << QByteArray("Action:actB") << QByteArray("action:actA") << 1;
        QTest::newRow("seven and eight") << QByteArray("Form:ab") << QByteArray("FORM:ABc") << -1;
        QTest::newRow("short before long") << QByteArray("Menu") << QByteArray("Menu:mnu") << -1;
        QTest::newRow("zero byte past seven")
            << QByteArray("Action:actAusB") << QByteArray("Action:actAus\0", 14) << 1;
        QTest::newRow("past fourteen bytes")
            << QByteArray("Action:actAusschneidenB") << QByteArray("action:actausschneidenA") << 1;
    }
    void compareTextAscii() {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(int, sign);
        const int c = CompareTextAscii(a.toStdString(), b.toStdString());
        QCOMPARE((c > 0) - (c < 0), sign);
        const int r = CompareTextAscii(b.toStdString(), a.toStdString());
        QCOMPARE((r > 0) - (r < 0), -sign);
        // The sort key agrees wherever it decides.
        const auto ka = CaptionSortKey(a.toStdString()), kb = CaptionSortKey(b.toStdString());
        if (ka != kb)
            QCOMPARE(ka < kb ? -1 : 1, sign);
        else
            QVERIFY(a.size() >= 14 || sign == 0);
    }

    void displayValue_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one line") << QByteArray("Hallo") << QString("Hallo");
        QTest::newRow("two lines") << QByteArray("a\r\nb") << QString::fromUtf16(u"a \u00BB");
        QTest::newRow("lone cr") << QByteArray("a\rb") << QString::fromUtf16(u"a \u00BB");
        QTest::newRow("lone lf is no break") << QByteArray("a\nb") << QString("a\nb");
        QTest::newRow("ends with break") << QByteArray("x\r\n") << QString::fromUtf16(u"x \u00BB");
        QTest::newRow("empty") << QByteArray("") << QString("");
        QTest::newRow("umlaut") << QByteArray("\xC4nderung")
                                << QString::fromUtf16(u"\u00C4nderung");
    }
    void displayValue() {
        QFETCH(QByteArray, text);
        QFETCH(QString, shown);
        QCOMPARE(DisplayValue(text.toStdString(), trvx::CodePage::Get(1252)), shown);
    }

    void decodeByCodePage() {
        QCOMPARE(DecodeText("\xCF\xF0\xE8\xE2\xE5\xF2", trvx::CodePage::Get(1251)),
                 QString::fromUtf16(u"\u041F\u0440\u0438\u0432\u0435\u0442"));
        QCOMPARE(DecodeText("\x80", trvx::CodePage::Get(1252)), QString::fromUtf16(u"\u20AC"));
        std::string bytes;
        QVERIFY(EncodeText(QString::fromUtf16(u"\u041F\u0440\u0438"), trvx::CodePage::Get(1251),
                           bytes));
        QCOMPARE(bytes, std::string("\xCF\xF0\xE8"));
        char32_t bad = 0;
        QVERIFY(
            !EncodeText(QString::fromUtf16(u"a\u041Fb"), trvx::CodePage::Get(1252), bytes, &bad));
        QCOMPARE(bad, U'\u041F');
    }

    void valueRowImage_data() {
        QTest::addColumn<QByteArray>("ident");
        QTest::addColumn<int>("image");
        QTest::newRow("Shortcut") << QByteArray("Shortcut") << 17;
        QTest::newRow("shortcut") << QByteArray("shortcut") << 15;
        QTest::newRow("Items") << QByteArray("Items") << 16;
        QTest::newRow("Strings") << QByteArray("Strings") << 16;
        QTest::newRow("ITEMS") << QByteArray("ITEMS") << 15;
        QTest::newRow("Lines") << QByteArray("Lines") << 15;
        QTest::newRow("Caption") << QByteArray("Caption") << 15;
    }
    void valueRowImage() {
        QFETCH(QByteArray, ident);
        QFETCH(int, image);
        QCOMPARE(ValueRowImageIndex(ident.toStdString()), image);
    }

    void updateOrder_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QList<int>>("order");
        // rows: 0 "b" item(7), 1 "Value: Caption"(15), 2 "A" item(7),
        //       3 "Value: Shortcut"(17), 4 "a" item(0), 5 "value: caption"(15)
        QTest::newRow("type ascending") << int(sbType) << false << QList<int>{4, 0, 2, 1, 5, 3};
        QTest::newRow("type descending, ties kept")
            << int(sbType) << true << QList<int>{3, 1, 5, 0, 2, 4};
        QTest::newRow("ident ascending") << int(sbIdent) << false << QList<int>{2, 4, 0, 1, 5, 3};
        QTest::newRow("ident descending, ties kept")
            << int(sbIdent) << true << QList<int>{3, 1, 5, 0, 2, 4};
    }
    void updateOrder() {
        QFETCH(int, key);
        QFETCH(bool, descending);
        QFETCH(QList<int>, order);
        const std::vector<TUpdateNodeData> rows = {Row("b", 7), Row("Value: Caption", 15),
                                                   Row("A", 7), Row("Value: Shortcut", 17),
                                                   Row("a", 0), Row("value: caption", 15)};
        const std::vector<int> got = SortedUpdateOrder(rows, TUpdateSortKey(key), descending);
        QCOMPARE(QList<int>(got.begin(), got.end()), order);
    }
};

QTEST_GUILESS_MAIN(TestViewRules)
#include "tst_viewrules.moc"
