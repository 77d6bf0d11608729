// Searches that find nothing over a generated translation of 1,000,000
// values: the walk and the match test alone, over the file's pre-order.

#include "bench/SearchTree.h"
#include "document/Tarvin.h"
#include "editing/SearchWalk.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace trvx;

constexpr int kValues = 1'000'000;

// The nodes in pre-order, numbered from 1.
class TPreOrder final : public TSearchOrder {
public:
    explicit TPreOrder(const TTarvinItem& root) {
        std::vector<std::pair<const TTarvinItem*, std::string_view>> pending;
        for (auto it = root.Children().rbegin(); it != root.Children().rend(); ++it)
            pending.emplace_back(it->Item.get(), it->Name.View());
        while (!pending.empty()) {
            auto [item, name] = pending.back();
            pending.pop_back();
            m_nodes.emplace_back(item, name);
            for (auto it = item->Children().rbegin(); it != item->Children().rend(); ++it)
                pending.emplace_back(it->Item.get(), it->Name.View());
        }
    }
    int NextNode(int node) const override { return node < Count() ? node + 1 : 0; }
    int PreviousNode(int node) const override { return node - 1; }
    const TTarvinItem& Item(int node) const override { return *At(node).first; }
    std::string_view Caption(int node) const override { return At(node).second; }
    int Count() const { return static_cast<int>(m_nodes.size()); }

private:
    const std::pair<const TTarvinItem*, std::string_view>& At(int node) const {
        return m_nodes[static_cast<std::size_t>(node - 1)];
    }
    std::vector<std::pair<const TTarvinItem*, std::string_view>> m_nodes;
};

struct TFixture {
    TTarvin Language;
    std::unique_ptr<TPreOrder> Order;
    TFixture() {
        Language.LoadFromText(bench::MakeSearchText(kValues));
        Order = std::make_unique<TPreOrder>(Language.Root());
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
