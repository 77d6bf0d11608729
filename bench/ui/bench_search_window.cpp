// A search that finds nothing, as the main window runs it, over a generated
// translation of 1,000,000 values shown in the contents tree; and Next
// Untranslated over the same values beside a reference that differs in
// every text, so it walks them all.

#include "bench/SearchTree.h"
#include "ui/Dialogs.h"
#include "ui/untMain.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

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

// The search text with every translated word in English: no value is left
// untranslated. Words of equal length, replaced in place, keep this linear.
std::string EnglishOf(std::string text) {
    const std::pair<std::string_view, std::string_view> words[] = {{"Beschriftung", "Caption text"},
                                                                   {"ffnet den", "Opens the"},
                                                                   {"zweite Zeile", "second line."},
                                                                   {"Eintrag", "Entry #"},
                                                                   {"Meldung", "Message"}};
    for (const auto& [german, english] : words)
        for (std::size_t at = text.find(german); at != std::string::npos;
             at = text.find(german, at + german.size()))
            text.replace(at, german.size(), english);
    return text;
}

TfrmMain& WindowWithReference() {
    static std::unique_ptr<TfrmMain> window = [] {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("reference.trvx"));
        QFile file(name);
        const std::string text = EnglishOf(trvx::bench::MakeSearchText(1'000'000));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(text.data(), static_cast<qint64>(text.size())) !=
                static_cast<qint64>(text.size()))
            std::abort();
        file.close();
        auto w = std::make_unique<TfrmMain>();
        w->CurrentLanguage.LoadFromText(trvx::bench::MakeSearchText(1'000'000));
        w->RebuildTrees();
        w->OpenReference(name);
        return w;
    }();
    return *window;
}

// Arg: 1 for the first step after opening (the pairs of nodes not yet
// known), 0 for one after that.
void BM_NextUntranslatedNotFound(benchmark::State& state) {
    TSilentDialogs dialogs;
    TDialogs* previous = TDialogs::SetCurrent(&dialogs);
    TfrmMain& w = WindowWithReference();
    for (auto _ : state) {
        if (state.range(0) != 0) {
            state.PauseTiming();
            w.RebuildTrees(); // forgets the pairs, as opening a file does
            state.ResumeTiming();
        }
        w.actNextUntranslatedExecute();
    }
    if (dialogs.Messages != static_cast<int>(state.iterations()))
        state.SkipWithError("Next Untranslated found something");
    TDialogs::SetCurrent(previous);
}

BENCHMARK(BM_NextUntranslatedNotFound)
    ->ArgNames({"cold"})
    ->Arg(1)
    ->Arg(0)
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
