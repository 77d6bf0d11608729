// The core in-process: reading and writing a language text, a name lookup
// in a very wide node, and the code-page conversions the views run on
// every text they show.

#include "bench/SearchTree.h"
#include "document/Tarvin.h"
#include "encoding/CodePage.h"
#include "format/Writer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

using namespace trvx;

const std::string& Corpus(int values) {
    static std::map<int, std::string> cache;
    std::string& text = cache[values];
    if (text.empty())
        text = bench::MakeSearchText(values);
    return text;
}

// A STRINGS section whose texts all need their quotes undone on reading.
const std::string& QuotedCorpus() {
    static const std::string text = [] {
        std::string t = "STRINGS {\r\n";
        for (int i = 0; i < 200'000; ++i)
            t += "  SQuote" + std::to_string(i) + " = \"Datei \"\"" + std::to_string(i) +
                 "\"\" wurde ge\xE4ndert \"\r\n";
        return t + "}\r\n";
    }();
    return text;
}

// Loads text into one tree again and again, as reopening a file does.
void TimeLoads(benchmark::State& state, const std::string& text) {
    TTarvin tree;
    for (auto _ : state) {
        tree.LoadFromText(text);
        benchmark::DoNotOptimize(tree.Root().ChildCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_LoadFromText(benchmark::State& state) {
    TimeLoads(state, Corpus(static_cast<int>(state.range(0))));
}

void BM_LoadQuoted(benchmark::State& state) {
    TimeLoads(state, QuotedCorpus());
}

void BM_SaveToText(benchmark::State& state) {
    TTarvin tree;
    tree.LoadFromText(Corpus(static_cast<int>(state.range(0))));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string out = tree.SaveToText();
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// Names differ from the one asked for in letter case only at their end, so
// every comparison runs the whole name through the code page's folding.
void BM_IndexOfChild(benchmark::State& state) {
    constexpr int kChildren = 100'000;
    TTarvinItem node;
    for (int i = 0; i < kChildren; ++i)
        node.AddChild("Button:btnSchaltfl\xE4" + std::string("che") + std::to_string(i));
    const CodePage& cp = CodePage::Get(1252);
    const bool miss = state.range(0) != 0;
    const std::string wanted = miss ? "BUTTON:BTNSCHALTFL\xC4"
                                      "CHEX"
                                    : "BUTTON:BTNSCHALTFL\xC4"
                                      "CHE" +
                                          std::to_string(kChildren - 1);
    int found = 0;
    for (auto _ : state) {
        found = node.IndexOfChild(wanted, cp);
        benchmark::DoNotOptimize(found);
    }
    if (found != (miss ? -1 : kChildren - 1))
        state.SkipWithError("wrong child found");
    state.SetItemsProcessed(state.iterations() * kChildren);
}

// About 1 MB of cp1252 text with the letters a German translation has.
const std::string& AnsiText() {
    static const std::string text = [] {
        std::string t;
        while (t.size() < (std::size_t{1} << 20))
            t += "\xD6"
                 "ffnet die Datei f\xFCr \xC4nderungen an Gr\xF6\xDF"
                 "e und Ma\xDF. ";
        return t;
    }();
    return text;
}

void BM_ToUtf8(benchmark::State& state) {
    const CodePage& cp = CodePage::Get(1252);
    for (auto _ : state)
        benchmark::DoNotOptimize(cp.ToUtf8(AnsiText()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * AnsiText().size()));
}

void BM_FromUtf8(benchmark::State& state) {
    const CodePage& cp = CodePage::Get(1252);
    const std::string utf8 = cp.ToUtf8(AnsiText());
    std::string out;
    for (auto _ : state) {
        out.clear();
        if (!cp.FromUtf8(utf8, out))
            state.SkipWithError("a letter did not encode");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
}

void BM_Upper(benchmark::State& state) {
    const CodePage& cp = CodePage::Get(1252);
    for (auto _ : state)
        benchmark::DoNotOptimize(cp.Upper(AnsiText()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * AnsiText().size()));
}

// One value line of 64 MB up to 1 GB, read and written: its cost and the
// memory beside it stay linear in its size (the writer sends it in slices).
void BM_HugeValueLine(benchmark::State& state) {
    const std::size_t size = static_cast<std::size_t>(state.range(0)) << 20;
    std::string text = "N {\r\n  v = " + std::string(size, 'x') + "\r\n}\r\n";
    for (std::size_t i = 16; i < size; i += 9)
        text[i] = ' ';
    TTarvin tree;
    std::size_t largestFlush = 0;
    for (auto _ : state) {
        tree.LoadFromText(text);
        TTextSink sink(
            [&](std::string_view bytes) { largestFlush = std::max(largestFlush, bytes.size()); });
        WriteTree(tree.Root(), sink);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["largest_flush_MB"] = static_cast<double>(largestFlush) / (1 << 20);
}

BENCHMARK(BM_LoadFromText)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadQuoted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveToText)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexOfChild)->ArgName("miss")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ToUtf8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FromUtf8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Upper)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HugeValueLine)->Arg(64)->Arg(1024)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
