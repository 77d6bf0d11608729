// The editor's start as a user meets it, instrumented for bench/run.sh:
//
//   tarvin_start_bench FILE [--update NEWBASE] [--search TEXT] [--expand]
//   tarvin_start_bench FILE --reference REFERENCE
//
// Opens FILE from the command line as Tarvin does, and at the first idle
// moment checks that the first node is selected and its values are shown,
// then exits at once (the whole process is timed from outside, so nothing
// is freed on the way out). With --update it first runs Update To with
// NEWBASE and times it and the RebuildTrees after it; with --search it runs
// a value search for TEXT from the first node, which should find nothing.
// With --reference it opens REFERENCE as the reference first, then FILE,
// and times that open to the first values shown beside their reference
// ("open_with_reference") and a Next Untranslated from the first node.
// With --expand it times Expand All and then Collapse All on the contents,
// each with the paint that follows it.
// Figures go to standard output as "name milliseconds" lines.

#include "bench/ui/WindowParts.h"
#include "ui/common/Dialogs.h"
#include "ui/mainwindow/untMain.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QItemSelectionModel>
#include <QTreeView>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

using namespace tarvin;
using TClock = std::chrono::steady_clock;

// Answers the open dialog with one file and counts the messages instead of
// showing them.
class TScriptedDialogs : public TDialogs {
public:
    QString OpenName;
    int Messages = 0;
    std::optional<QString> GetOpenFileName(QWidget*, const TFileDialogOptions&) override {
        return OpenName;
    }
    std::optional<QString> GetSaveFileName(QWidget*, const TFileDialogOptions&) override {
        return std::nullopt;
    }
    QMessageBox::StandardButton ShowMessage(QWidget*, QMessageBox::Icon, const QString&,
                                            const QString& text, QMessageBox::StandardButtons,
                                            QMessageBox::StandardButton) override {
        ++Messages;
        LastMessage = text;
        return QMessageBox::Ok;
    }
    QString LastMessage;
};

double Millis(TClock::time_point from) {
    return std::chrono::duration<double, std::milli>(TClock::now() - from).count();
}

bool ValuesShown(const TfrmMain& w) {
    return !bench::Part<QTreeView>(w, "VSTree1")->selectionModel()->selectedRows().isEmpty() &&
           bench::Part<QTreeView>(w, "VSView1")->model()->rowCount() > 0;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "tarvin_start_bench: %s\n", what);
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    const TClock::time_point start = TClock::now();
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    if (args.isEmpty())
        Fail("usage: tarvin_start_bench FILE [--update NEWBASE] [--search TEXT] "
             "[--expand] [--reference REFERENCE]");
    const QString file = args.first();
    QString update, search, reference;
    bool expand = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& option = args[i];
        if (option == QLatin1String("--expand")) {
            expand = true;
            continue;
        }
        if (i + 1 == args.size())
            Fail("an option lacks its value");
        const QString& value = args[++i];
        if (option == QLatin1String("--update"))
            update = value;
        else if (option == QLatin1String("--search"))
            search = value;
        else if (option == QLatin1String("--reference"))
            reference = value;
        else
            Fail("unknown option");
    }

    TScriptedDialogs dialogs;
    TDialogs::SetCurrent(&dialogs);
    TfrmMain w(reference.isEmpty() ? QStringList{file} : QStringList{});
    TClock::time_point opened = start;
    if (!reference.isEmpty()) {
        w.OpenReference(reference);
        opened = TClock::now();
        w.OpenFile(file);
    }
    w.show();

    QObject::connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &app, [&] {
            static bool done = false;
            if (done)
                return;
            done = true;
            if (dialogs.Messages > 0 || !ValuesShown(w))
                Fail("the first node's values are not shown");
            std::printf("start %.1f\n", Millis(start));
            w.UpdateActions(); // the actions' states, whether or not idle time set them yet
            if (!reference.isEmpty()) {
                std::printf("open_with_reference %.1f\n", Millis(opened));
                if (bench::Part<QTreeView>(w, "VSView1")->model()->columnCount() < 3 ||
                    !w.HasReference())
                    Fail("the reference is not shown");
                const TClock::time_point t = TClock::now();
                bench::Part<QAction>(w, "actNextUntranslated")->trigger();
                std::printf("next_untranslated %.1f\n", Millis(t));
            }
            if (!update.isEmpty()) {
                dialogs.OpenName = update;
                const TClock::time_point t = TClock::now();
                bench::Part<QAction>(w, "actUpdateTo")->trigger();
                std::printf("update_to %.1f\n", Millis(t));
                const TClock::time_point r = TClock::now();
                w.RebuildTrees();
                std::printf("rebuild_trees %.1f\n", Millis(r));
                if (dialogs.Messages > 0 || !ValuesShown(w))
                    Fail("Update To failed");
            }
            if (!search.isEmpty()) {
                // From the first node, down, letter case ignored.
                QAbstractButton* findNext = bench::PrepareSearch(w, "actFindValue", search, true);
                const TClock::time_point t = TClock::now();
                findNext->click();
                std::printf("search %.1f\n", Millis(t));
                if (dialogs.Messages != 1)
                    Fail("the search found something");
            }
            if (expand) {
                const TClock::time_point e = TClock::now();
                bench::Part<QAction>(w, "actExpandAll")->trigger();
                bench::Part<QTreeView>(w, "VSTree1")->repaint();
                std::printf("expand_all %.1f\n", Millis(e));
                const TClock::time_point c = TClock::now();
                bench::Part<QAction>(w, "actCollapseAll")->trigger();
                bench::Part<QTreeView>(w, "VSTree1")->repaint();
                std::printf("collapse_all %.1f\n", Millis(c));
            }
            std::fflush(stdout);
            std::_Exit(0);
        });
    return QApplication::exec();
}
