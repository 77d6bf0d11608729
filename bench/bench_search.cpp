// Searches that find nothing over a generated translation of 1,000,000
// values: the walk and the match test alone, over the file's pre-order.

#include "bench/SearchTree.h"
#include "document/Tarvin.h"
#include "editing/SearchWalk.h"
#include "tests/support/FileOrder.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace trvx;

constexpr int kValues = 1'000'000;

struct TFixture {
    TTarvin Language;
    std::unique_ptr<test::TFileOrder> Order;
    TFixture() {
        Language.LoadFromText(bench::MakeSearchText(kValues));
        Order = std::make_unique<test::TFileOrder>(Language.Root());
    }
};

const TFixture& Fixture() {
    static const TFixture fixture;
    return fixture;
}

// Args: kind, ignore case, text (0: a word, 1: one letter, 2: a long phrase).
void BM_SearchNotFound(benchmark::State& state) {
    const TFixture& f = Fixture();
    static const std::string texts[] = {"Nirgendwo", "q",
                                        "Beschriftung f\xFCr Schaltfl\xE4"
                                        "che 12x"};
    TSearchRequest request;
    request.Kind = static_cast<TSearchKind>(state.range(0));
    request.IgnoreCase = state.range(1) != 0;
    request.Text = texts[state.range(2)];
    request.Node = 1;
    const CodePage& cp = f.Language.GetCodePage();
    for (auto _ : state) {
        auto match = FindNextMatch(*f.Order, request, cp);
        benchmark::DoNotOptimize(match);
        if (match)
            state.SkipWithError("found something");
    }
    state.counters["nodes"] = f.Order->Count();
}

BENCHMARK(BM_SearchNotFound)
    ->ArgNames({"kind", "ignoreCase", "text"})
    ->Args({skValue, 1, 0})
    ->Args({skValue, 0, 0})
    ->Args({skValue, 1, 1})
    ->Args({skValue, 1, 2})
    ->Args({skValueIdent, 1, 0})
    ->Args({skItem, 1, 0})
    ->Unit(benchmark::kMillisecond);

} // namespace
