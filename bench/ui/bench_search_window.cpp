// A search that finds nothing, as the main window runs it, over a generated
// translation of 1,000,000 values shown in the contents tree.

#include "bench/SearchTree.h"
#include "ui/Dialogs.h"
#include "ui/untMain.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using namespace tarvin;

// Counts the not-found messages instead of showing them.
class TSilentDialogs : public TDialogs {
public:
    int Messages = 0;
    std::optional<QString> GetOpenFileName(QWidget*, const TFileDialogOptions&) override {
        return std::nullopt;
    }
    std::optional<QString> GetSaveFileName(QWidget*, const TFileDialogOptions&) override {
        return std::nullopt;
    }
    QMessageBox::StandardButton ShowMessage(QWidget*, QMessageBox::Icon, const QString&,
                                            const QString&, QMessageBox::StandardButtons,
                                            QMessageBox::StandardButton) override {
        ++Messages;
        return QMessageBox::Ok;
    }
    int ExecDialog(QDialog&) override { return 0; }
};

TfrmMain& Window() {
    static std::unique_ptr<TfrmMain> window = [] {
        auto w = std::make_unique<TfrmMain>();
        w->CurrentLanguage.LoadFromText(trvx::bench::MakeSearchText(1'000'000));
        w->RebuildTrees();
        return w;
    }();
    return *window;
}

// Args: kind, ignore case.
void BM_WindowSearchNotFound(benchmark::State& state) {
    TSilentDialogs dialogs;
    TDialogs* previous = TDialogs::SetCurrent(&dialogs);
    TfrmMain& w = Window();
    for (auto _ : state) {
        // From the first node, as after opening the file.
        w.SearchState.Kind = static_cast<TSearchKind>(state.range(0));
        w.SearchState.Text = QStringLiteral("Nirgendwo");
        w.SearchState.Node = 1;
        w.SearchState.ValueIndex = 0;
        w.SearchState.Down = true;
        w.SearchState.IgnoreCase = state.range(1) != 0;
        w.FindNextMatch();
    }
    if (dialogs.Messages != static_cast<int>(state.iterations()))
        state.SkipWithError("a search found something");
    TDialogs::SetCurrent(previous);
}

BENCHMARK(BM_WindowSearchNotFound)
    ->ArgNames({"kind", "ignoreCase"})
    ->Args({trvx::skValue, 1})
    ->Args({trvx::skValue, 0})
    ->Args({trvx::skValueIdent, 1})
    ->Args({trvx::skItem, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
