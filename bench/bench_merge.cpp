// Update To on generated language files: loading both files against the
// indexed merge, the linear-scan reference on sizes where it finishes, and
// pruning. Sizes are values per file.

#include "document/Tarvin.h"
#include "tests/language/UpdateMergeReference.h"
#include "update/UpdateMerge.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

using namespace trvx;

// A translation and a newer base in the shape of real language data: forms
// of controls with a few values each, and one wide STRINGS section that
// holds a fifth of the values. About 1% of the controls and strings differ
// each way; one name in 50 differs only in letter case.
std::string MakeText(int values, bool newer) {
    const int strings = values / 5;
    const int controls = (values - strings) / 4;
    const int forms = std::max(1, controls / 100);
    std::string text;
    text.reserve(static_cast<std::size_t>(values) * 40);
    text += "INFO {\r\n  LangID = " + std::string(newer ? "1033" : "1031") + "\r\n}\r\n";
    text += "OBJECTS {\r\n";
    int control = 0;
    for (int f = 0; f < forms; ++f) {
        text += "  Form:frm" + std::to_string(f) + " {\r\n";
        for (int c = 0; c < controls / forms; ++c, ++control) {
            if ((newer && control % 97 == 3) || (!newer && control % 89 == 5))
                continue; // dropped from the base, or new in it
            const bool upper = newer && control % 50 == 7;
            text += std::string("    ") + (upper ? "BUTTON:BTN" : "Button:btn") +
                    std::to_string(control) + " {\r\n";
            text += "      Caption = " + std::string(newer ? "Caption " : "Beschriftung ") +
                    std::to_string(control) + "\r\n";
            text += "      Hint = " + std::string(newer ? "Hint " : "Hinweis ") +
                    std::to_string(control) + "\r\n";
            text += "      Shortcut = Ctrl+" + std::to_string(control % 10) + "\r\n";
            text += std::string("      ") + (upper ? "LINES" : "Lines") + " = x\r\n";
            text += "    }\r\n";
        }
        text += "  }\r\n";
    }
    text += "}\r\nSTRINGS {\r\n";
    for (int s = 0; s < strings; ++s) {
        if ((newer && s % 101 == 1) || (!newer && s % 103 == 2))
            continue;
        text += "  SMessage" + std::to_string(s) + " = " + (newer ? "Message " : "Meldung ") +
                std::to_string(s) + "\r\n";
    }
    text += "}\r\n";
    return text;
}

// One node with n children and n values, half of them shared.
std::string MakeWide(int n, bool newer) {
    std::string text = "Wide {\r\n";
    const int offset = newer ? n / 2 : 0;
    for (int i = offset; i < offset + n; ++i)
        text += "  V" + std::to_string(i) + " = v\r\n";
    for (int i = offset; i < offset + n; ++i)
        text += "  Node" + std::to_string(i) + " {\r\n  }\r\n";
    return text + "}\r\n";
}

using Pair = std::pair<std::string, std::string>;

const Pair& Texts(int values, bool wide) {
    static std::map<std::pair<int, bool>, Pair> cache;
    auto& pair = cache[{values, wide}];
    if (pair.first.empty())
        pair = wide ? Pair{MakeWide(values, false), MakeWide(values, true)}
                    : Pair{MakeText(values, false), MakeText(values, true)};
    return pair;
}

void BM_LoadBoth(benchmark::State& state) {
    const Pair& texts = Texts(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        TTarvin translation, base;
        translation.LoadFromText(texts.first);
        base.LoadFromText(texts.second);
        benchmark::DoNotOptimize(base.Root().ChildCount());
    }
}

template <bool Reference> void RunUpdate(benchmark::State& state, bool wide) {
    const Pair& texts = Texts(static_cast<int>(state.range(0)), wide);
    TTarvin base;
    base.LoadFromText(texts.second);
    const CodePage& cp = CodePage::Get(1252);
    std::size_t recorded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto translation = std::make_unique<TTarvin>();
        translation->LoadFromText(texts.first);
        state.ResumeTiming();
        if constexpr (Reference) {
            reference::TLists lists;
            reference::UpdateTo(base.Root(), translation->Root(), lists, cp);
            recorded = lists.AddedItems.size() + lists.RemovedItems.size() +
                       lists.AddedValues.size() + lists.RemovedValues.size();
        } else {
            TUpdateLists lists;
            UpdateTo(base.Root(), translation->Root(), lists, cp);
            recorded = lists.AddedItems.size() + lists.RemovedItems.size() +
                       lists.AddedValues.size() + lists.RemovedValues.size();
        }
        state.PauseTiming();
        translation.reset();
        state.ResumeTiming();
    }
    state.counters["entries"] = static_cast<double>(recorded);
}

void BM_UpdateTo(benchmark::State& state) {
    RunUpdate<false>(state, false);
}
void BM_UpdateToLinearReference(benchmark::State& state) {
    RunUpdate<true>(state, false);
}
void BM_UpdateToWideNode(benchmark::State& state) {
    RunUpdate<false>(state, true);
}
void BM_UpdateToWideNodeLinearReference(benchmark::State& state) {
    RunUpdate<true>(state, true);
}

void BM_PruneRemoved(benchmark::State& state) {
    const Pair& texts = Texts(static_cast<int>(state.range(0)), false);
    TTarvin base;
    base.LoadFromText(texts.second);
    for (auto _ : state) {
        state.PauseTiming();
        auto translation = std::make_unique<TTarvin>();
        translation->LoadFromText(texts.first);
        TUpdateLists lists;
        UpdateTo(base.Root(), translation->Root(), lists, CodePage::Get(1252));
        state.ResumeTiming();
        PruneRemoved(translation->Root(), lists);
        state.PauseTiming();
        translation.reset();
        state.ResumeTiming();
    }
}

constexpr int kMillion = 1000000;

BENCHMARK(BM_LoadBoth)->Arg(100000)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateTo)->Arg(100000)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateToLinearReference)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PruneRemoved)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateToWideNode)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateToWideNodeLinearReference)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
