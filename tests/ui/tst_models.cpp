// The three models behind the trees, checked by QAbstractItemModelTester.
#include "support/UiTestSupport.h"

#include "document/Tarvin.h"
#include "ui/common/Icons.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/ItemFilter.h"
#include "ui/models/ItemNodes.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/ValuesModel.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QTest>

#include <random>

using namespace tarvin;
using namespace tarvin::test;

namespace {

const char* const kTree = R"(A {
  Form:B {
    x = 1
  }
  Plain {
    Edit:e {
    }
    Button:b {
    }
  }
  Action:Z {
  }
  Form:a {
  }
  Foo:X {
  }
}
Menu:m {
  v0 = zero
  v1 = {"one"
        "two"
  }
}
)";

trvx::TTarvinItem* ItemAt(trvx::TTarvin& t, std::initializer_list<int> path) {
    trvx::TTarvinItem* item = &t.Root();
    for (int i : path)
        item = &item->GetChild(i);
    return item;
}

} // namespace

class TestModels : public QObject {
    Q_OBJECT
private slots:
    void contentsOrderAndTraversal() {
        trvx::TTarvin tree;
        tree.LoadFromText(Crlf(kTree).toStdString());
        const TImageList images;
        const TControlPrefixes prefixes;
        TContentsModel model(images);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        trvx::TUpdateLists lists;
        model.Rebuild(tree.Root(), lists, prefixes, tree.GetCodePage());

        const QStringList outline = {"A",   "  Plain", "    e", "    b", "  X",
                                     "  Z", "  a",     "  B",   "m"};
        // Plain (icon 0) first; inside it Button (3) before Edit (6).
        QStringList expected = outline;
        expected[2] = "    b";
        expected[3] = "    e";
        QCOMPARE(Outline(model), expected);

        // Pre-order over the displayed order, forward and back, without any view.
        QStringList forward;
        int last = 0;
        for (int n = model.FirstNode(); n != 0; n = model.NextNode(n)) {
            forward << QString::fromLatin1(model.NodeData(n).Caption.data(),
                                           qsizetype(model.NodeData(n).Caption.size()));
            last = n;
        }
        QCOMPARE(forward, QStringList({"A", "Plain", "b", "e", "X", "Z", "a", "B", "m"}));
        QStringList backward;
        for (int n = last; n != 0; n = model.PreviousNode(n))
            backward.prepend(QString::fromLatin1(model.NodeData(n).Caption.data(),
                                                 qsizetype(model.NodeData(n).Caption.size())));
        QCOMPARE(backward, forward);

        // Every node's row is found from its item, and the index round-trips.
        for (int n = 1; n <= model.NodeCount(); ++n) {
            QCOMPARE(model.NodeOfItem(model.NodeData(n).Item), n);
            QCOMPARE(model.NodeOf(model.IndexOfNode(n)), n);
        }
        trvx::TTarvinItem stranger;
        QCOMPARE(model.NodeOfItem(&stranger), 0);
        QVERIFY(!model.IndexOfItem(&stranger).isValid());
        // Nodes are numbered in the file's order.
        QCOMPARE(model.NodeData(2).Item, ItemAt(tree, {0, 0}));
    }

    void contentsStatesInherit() {
        trvx::TTarvin tree;
        tree.LoadFromText(Crlf(kTree).toStdString());
        const TImageList images;
        TContentsModel model(images);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        trvx::TUpdateLists lists;
        Append(lists.AddedItems, ItemAt(tree, {0, 1})); // Plain and what is below it
        Append(lists.RemovedItems, ItemAt(tree, {1}));  // m
        model.Rebuild(tree.Root(), lists, TControlPrefixes(), tree.GetCodePage());
        auto stateOf = [&](const QString& caption) {
            return model.NodeData(FindRow(model, caption))->State;
        };
        QCOMPARE(stateOf("A"), usNone);
        QCOMPARE(stateOf("Plain"), usAdded);
        QCOMPARE(stateOf("e"), usAdded);
        QCOMPARE(stateOf("b"), usAdded);
        QCOMPARE(stateOf("X"), usNone);
        QCOMPARE(stateOf("m"), usRemoved);
        std::vector<int> marked;
        for (int n = 1; n <= model.NodeCount(); ++n)
            if (model.NodeData(n).State != usNone)
                marked.push_back(n);
        QCOMPARE(marked.size(), 4u);
        QVERIFY(model.MarkedNodes() == marked);
        QCOMPARE(FindRow(model, "Plain").data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(0xE0, 0xFF, 0xE0));
        QCOMPARE(FindRow(model, "m").data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(0xFF, 0xE0, 0xE0));
        QVERIFY(!FindRow(model, "A").data(Qt::BackgroundRole).isValid());
    }

    // The filter may let strangers through, but never turns a member away,
    // and at the sizes of a large update it still keeps most strangers out.
    void itemTablesKeepEveryMember() {
        for (const int count : {0, 1, 7, 1000, 60000}) {
            const std::vector<int> items(static_cast<std::size_t>(count) * 3);
            TItemFilter filter(static_cast<std::size_t>(count));
            TItemNodes nodes(static_cast<std::size_t>(count));
            for (int i = 0; i < count; ++i) {
                filter.Add(&items[static_cast<std::size_t>(i) * 3]);
                nodes.Add(&items[static_cast<std::size_t>(i) * 3]);
            }
            // Every item is offered twice: the first node given must stay.
            for (int pass = 0; pass < 2; ++pass)
                for (int i = 0; i < count * 3; ++i)
                    nodes.SetNode(&items[static_cast<std::size_t>(i)], i + 1 + pass);
            int passed = 0;
            for (int i = 0; i < count * 3; ++i) {
                const bool member = i % 3 == 0;
                const bool may = filter.MayContain(&items[static_cast<std::size_t>(i)]);
                QVERIFY2(may || !member, qPrintable(QString::number(i)));
                passed += may && !member;
                QCOMPARE(nodes.NodeOf(&items[static_cast<std::size_t>(i)]), member ? i + 1 : 0);
            }
            QVERIFY2(passed <= count * 2 / 20, qPrintable(QString::number(passed)));
        }
    }

    void deepTreeNeedsNoRecursion() {
        const int depth = 300000;
        QByteArray text;
        text.reserve(depth * 8);
        for (int i = 0; i < depth; ++i)
            text += "n {\r\n";
        for (int i = 0; i < depth; ++i)
            text += "}\r\n";
        trvx::TTarvin tree;
        tree.LoadFromText(text.toStdString());
        const TImageList images;
        TContentsModel model(images);
        model.Rebuild(tree.Root(), trvx::TUpdateLists(), TControlPrefixes(), tree.GetCodePage());
        QCOMPARE(model.NodeCount(), depth);
        int count = 0, last = 0;
        for (int n = model.FirstNode(); n != 0; n = model.NextNode(n), ++count)
            last = n;
        QCOMPARE(count, depth);
        QCOMPARE(model.PreviousNode(model.FirstNode()), 0);
        QCOMPARE(model.ParentNode(last), model.PreviousNode(last));
        model.Clear();
        QCOMPARE(model.rowCount(), 0);
    }

    // Halves built at once must give the rows one thread gives, whatever
    // the shape, the marks and the names that tie on their first bytes.
    void twoHalvesBuildTheSameRows() {
        const char* const names[] = {"Action:actAusschneidenLang1",
                                     "action:ACTausschneidenlang2",
                                     "Form:frm",
                                     "Menu:m",
                                     "Plain",
                                     "Button:b",
                                     "Edit:e",
                                     "x:y"};
        std::minstd_rand draw(7);
        const TImageList images;
        for (int shape = 0; shape < 12; ++shape) {
            trvx::TTarvin tree;
            trvx::TUpdateLists lists;
            std::vector<trvx::TTarvinItem*> items{&tree.Root()};
            const int size = 20 + shape * 40;
            for (int i = 0; i < size; ++i) {
                // Every third shape grows deep chains, the others wide nodes.
                const std::size_t last = items.size() - 1;
                const std::size_t pick = shape % 3 == 0
                                             ? last - std::min<std::size_t>(last, draw() % 2)
                                             : draw() % items.size();
                trvx::TTarvinItem& child = items[pick]->AddChild(names[draw() % 8]);
                items.push_back(&child);
                if (draw() % 9 == 0)
                    Append(draw() % 2 ? lists.AddedItems : lists.RemovedItems, &child);
            }
            TContentsModel one(images), two(images);
            two.SetSplitFrom(1);
            one.Rebuild(tree.Root(), lists, TControlPrefixes(), tree.GetCodePage());
            two.Rebuild(tree.Root(), lists, TControlPrefixes(), tree.GetCodePage());
            QCOMPARE(two.NodeCount(), one.NodeCount());
            QVERIFY(two.MarkedNodes() == one.MarkedNodes());
            for (int n = 0; n <= one.NodeCount(); ++n) {
                const TContentsNodeData &a = one.NodeData(n), &b = two.NodeData(n);
                QVERIFY2(a.Item == b.Item && a.Caption == b.Caption && a.State == b.State &&
                             a.ImageIndex == b.ImageIndex && a.SelectedIndex == b.SelectedIndex,
                         qPrintable(QString::number(n)));
                QCOMPARE(two.NextNode(n), one.NextNode(n));
                if (n > 0) {
                    QCOMPARE(two.ParentNode(n), one.ParentNode(n));
                    QCOMPARE(two.IndexOfNode(n).row(), one.IndexOfNode(n).row());
                    QCOMPARE(two.rowCount(two.IndexOfNode(n)), one.rowCount(one.IndexOfNode(n)));
                }
            }
        }
    }

    void valuesRows() {
        trvx::TTarvin tree;
        tree.LoadFromText(Crlf(kTree).toStdString());
        TValuesModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        trvx::TUpdateLists lists;
        trvx::TTarvinItem* m = ItemAt(tree, {1});
        Append(lists.RemovedValues, trvx::TValueEntry{m, 1});
        model.Fill(*m, usNone, lists, tree.GetCodePage());
        QCOMPARE(ColumnTexts(model, 0), QStringList({"v0", "v1"}));
        QCOMPARE(ColumnTexts(model, 1), QStringList({"zero", QString::fromUtf16(u"one \u00BB")}));
        QCOMPARE(model.RowData(0)->State, usNone);
        QCOMPARE(model.RowData(1)->State, usRemoved);
        QCOMPARE(model.RowData(1)->Item, m);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Ident"));
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("Value"));

        // A row below an added node takes the node's state whatever its entry says.
        model.Fill(*m, usAdded, lists, tree.GetCodePage());
        QCOMPARE(model.RowData(1)->State, usAdded);

        QVERIFY(model.RowData(2) == nullptr);
    }

    void updateSortKeepsSelection() {
        const TImageList images;
        TUpdateModel model(images);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        std::vector<TUpdateNodeData> rows(3);
        rows[0].Caption = "Value: Shortcut";
        rows[0].ImageIndex = 17;
        rows[1].Caption = "b";
        rows[1].ImageIndex = 7;
        rows[2].Caption = "Value: Items";
        rows[2].ImageIndex = 16;
        model.SetRows(rows, trvx::CodePage::Get(1252));
        QItemSelectionModel selection(&model);
        selection.select(model.index(0, 0), QItemSelectionModel::ClearAndSelect);
        model.Sort(sbType, false);
        QCOMPARE(ColumnTexts(model), QStringList({"b", "Value: Items", "Value: Shortcut"}));
        QCOMPARE(selection.selectedIndexes().value(0).row(), 2);
        model.Sort(sbIdent, true);
        QCOMPARE(ColumnTexts(model), QStringList({"Value: Shortcut", "Value: Items", "b"}));
        QCOMPARE(selection.selectedIndexes().value(0).row(), 0);
        QVERIFY(!model.index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    }
};

QTEST_MAIN(TestModels)
#include "tst_models.moc"
