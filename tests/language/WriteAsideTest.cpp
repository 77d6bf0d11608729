#include "format/WriteAside.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <stdexcept>
#include <thread>

namespace trvx {
namespace {

// Leaves out whole nodes and some values, picked at random per node, and
// notes who asked about what.
class TRandomSkips : public TWriteFilter {
public:
    explicit TRandomSkips(unsigned variant) : m_rng(variant) {}
    TSkips Skips(const TTarvinItem& node) const override {
        EXPECT_EQ(std::this_thread::get_id(), m_thread);
        EXPECT_EQ(m_asked.count(&node), 0u) << "asked twice";
        auto& said = m_asked[&node];
        const unsigned pick = m_rng() % 8;
        said.whole = pick == 0;
        if (pick == 1 || pick == 2)
            for (int i = 0; i < node.ValueCount(); ++i)
                if (m_rng() % 2 == 0)
                    said.values.push_back(i);
        return {said.whole, said.values};
    }
    void Forget() { m_asked.clear(); }

private:
    struct TSaid {
        bool whole = false;
        std::vector<int> values;
    };
    mutable std::mt19937 m_rng;
    mutable std::map<const TTarvinItem*, TSaid> m_asked;
    std::thread::id m_thread = std::this_thread::get_id();
};

// Shapes that put range ends everywhere: a wide node of values, a deep
// chain, a huge value, many small nodes, and random trees.
std::vector<TTarvin> Shapes() {
    std::vector<TTarvin> trees(5);
    TTarvinItem& wide = trees[0].Root().AddChild("STRINGS");
    for (int i = 0; i < 300; ++i)
        wide.AddValue("S" + std::to_string(i), i % 7 ? "text" : "two\r\nlines");
    TTarvinItem* deep = &trees[1].Root();
    for (int i = 0; i < 200; ++i) {
        deep = &deep->AddChild("N" + std::to_string(i));
        deep->AddValue("v", " quoted ");
    }
    trees[2].Root().AddChild("A").AddValue("huge", std::string(3'000'000, 'x') + "\"");
    trees[2].Root().AddChild("B");
    for (int i = 0; i < 250; ++i)
        trees[3].Root().AddChild("T" + std::to_string(i)).AddChild("U").AddValue("a", "b");
    std::mt19937 rng(7);
    std::vector<TTarvinItem*> nodes{&trees[4].Root()};
    for (int i = 0; i < 400; ++i) {
        TTarvinItem* parent = nodes[rng() % nodes.size()];
        if (rng() % 2 == 0 && parent != &trees[4].Root())
            parent->AddValue("v" + std::to_string(i), rng() % 5 ? "t" : "{x}");
        else
            nodes.push_back(&parent->AddChild("n" + std::to_string(i)));
    }
    return trees;
}

std::string Written(const TTarvin& tree, const TWriteFilter* skip, std::uint64_t rangeEntries,
                    std::size_t chunk) {
    std::string text;
    TTextSink sink([&](std::string_view bytes) { text += bytes; }, chunk);
    if (rangeEntries == 0)
        WriteItem(tree.Root(), sink, 0, skip);
    else
        WriteAside(tree.Root(), sink, skip, rangeEntries);
    sink.FlushNow();
    return text;
}

TEST(WriteAside, WritesWhatOneThreadWrites) {
    const std::vector<TTarvin> trees = Shapes();
    for (std::size_t shape = 0; shape < trees.size(); ++shape) {
        for (const bool filtered : {false, true}) {
            // The same variant picks the same skips for both writes.
            TRandomSkips skips(static_cast<unsigned>(shape));
            const TWriteFilter* skip = filtered ? &skips : nullptr;
            const std::string expected = Written(trees[shape], skip, 0, 1 << 20);
            for (const std::uint64_t range : {1, 2, 3, 7, 64, 100000}) {
                for (const std::size_t chunk : {1, 100, 1 << 20}) {
                    TRandomSkips again(static_cast<unsigned>(shape));
                    ASSERT_EQ(Written(trees[shape], filtered ? &again : nullptr, range, chunk),
                              expected)
                        << "shape " << shape << " filtered " << filtered << " range " << range
                        << " chunk " << chunk;
                }
            }
        }
    }
}

TEST(WriteAside, AFailingFlushStopsBothThreadsAndKeepsWhatWentOut) {
    const std::vector<TTarvin> trees = Shapes();
    const std::string whole = Written(trees[4], nullptr, 0, 1 << 20);
    for (const int failAt : {0, 1, 5, 40, 100}) {
        std::string text;
        int flushes = 0;
        TTextSink sink(
            [&](std::string_view bytes) {
                if (flushes++ == failAt)
                    throw std::runtime_error("full");
                text += bytes;
            },
            50);
        EXPECT_THROW(WriteAside(trees[4].Root(), sink, nullptr, 3), std::runtime_error) << failAt;
        EXPECT_EQ(flushes, failAt + 1);
        EXPECT_EQ(whole.substr(0, text.size()), text) << failAt;
    }
}

} // namespace
} // namespace trvx
