// A search that finds nothing, as the main window runs it, over a generated
// translation of 1,000,000 values shown in the contents tree; and Next
// Untranslated over the same values beside a reference that differs in
// every text, so it walks them all.

#include "bench/SearchTree.h"
#include "bench/ui/WindowParts.h"
#include "ui/common/Dialogs.h"
#include "ui/mainwindow/untMain.h"

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

void WriteText(const QString& name, const std::string& text) {
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()))
        std::abort();
}

// A window that opened the generated text from a file, as a user opens one.
std::unique_ptr<TfrmMain> OpenWindow(const QString& name, const std::string& text) {
    WriteText(name, text);
    return std::make_unique<TfrmMain>(QStringList{name});
}

TfrmMain& Window() {
    static std::unique_ptr<TfrmMain> window = [] {
        QTemporaryDir dir;
        return OpenWindow(dir.filePath(QStringLiteral("search.trvx")),
                          trvx::bench::MakeSearchText(1'000'000));
    }();
    return *window;
}

const char* FindAction(int kind) {
    return kind == trvx::skValue        ? "actFindValue"
           : kind == trvx::skValueIdent ? "actFindValueIdent"
                                        : "actFindItem";
}

// Args: kind, ignore case.
void BM_WindowSearchNotFound(benchmark::State& state) {
    TSilentDialogs dialogs;
    TDialogs* previous = TDialogs::SetCurrent(&dialogs);
    TfrmMain& w = Window();
    w.UpdateActions(); // as the idle moment after opening does
    // From the first node, as after opening the file: a search that finds
    // nothing leaves the selection there.
    QAbstractButton* findNext =
        bench::PrepareSearch(w, FindAction(static_cast<int>(state.range(0))),
                             QStringLiteral("Nirgendwo"), state.range(1) != 0);
    for (auto _ : state)
        findNext->click();
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
        WriteText(name, EnglishOf(trvx::bench::MakeSearchText(1'000'000)));
        auto w = OpenWindow(dir.filePath(QStringLiteral("search.trvx")),
                            trvx::bench::MakeSearchText(1'000'000));
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
    QAction* nextUntranslated = bench::Part<QAction>(w, "actNextUntranslated");
    w.UpdateActions(); // as the idle moment after opening does
    for (auto _ : state) {
        if (state.range(0) != 0) {
            state.PauseTiming();
            w.RebuildTrees(); // forgets the pairs, as opening a file does
            w.UpdateActions();
            state.ResumeTiming();
        }
        nextUntranslated->trigger();
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
