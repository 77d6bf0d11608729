#include "update/EntryCounts.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace trvx {
namespace {

// Hashes that crowd entries into few probe runs, so erasing has to move
// entries back across runs that wrap around the end of the block.
struct TFewHomes {
    std::size_t operator()(int e) const { return static_cast<std::size_t>(e % 3); }
};
struct TOneHome {
    std::size_t operator()(int) const { return 42; }
};

template <class Hash> void AgreesWithAMap(unsigned start, int range) {
    std::mt19937 rng(start);
    TEntryCounts<int, Hash> counts;
    std::map<int, int> expected;
    for (int step = 0; step < 20000; ++step) {
        const int e = static_cast<int>(rng() % static_cast<unsigned>(range));
        if (rng() % 3 != 0) {
            counts.Increment(e);
            ++expected[e];
        } else {
            auto it = expected.find(e);
            const bool had = it != expected.end();
            ASSERT_EQ(counts.Decrement(e), had) << "step " << step;
            if (had && --it->second == 0)
                expected.erase(it);
        }
        if (step % 97 == 0) {
            for (int k = 0; k < range; ++k) {
                ASSERT_EQ(counts.Contains(k), expected.contains(k)) << "step " << step;
            }
        }
    }
    counts.Clear();
    for (int k = 0; k < range; ++k) {
        EXPECT_FALSE(counts.Contains(k));
    }
}

TEST(EntryCounts, AgreesWithAMapUnderAnyHash) {
    AgreesWithAMap<std::hash<int>>(1, 300);
    AgreesWithAMap<TFewHomes>(2, 200);
    AgreesWithAMap<TOneHome>(3, 60);
}

TEST(EntryCounts, AnEntryStaysUntilEveryOccurrenceIsGone) {
    TEntryCounts<const int*, std::hash<const int*>> counts;
    const int a = 0, b = 0;
    EXPECT_FALSE(counts.Decrement(&a)); // nothing there yet
    counts.Increment(&a);
    counts.Increment(&a);
    counts.Increment(&b);
    EXPECT_TRUE(counts.Decrement(&a));
    EXPECT_TRUE(counts.Contains(&a));
    EXPECT_TRUE(counts.Decrement(&a));
    EXPECT_FALSE(counts.Contains(&a));
    EXPECT_FALSE(counts.Decrement(&a));
    EXPECT_TRUE(counts.Contains(&b));
}

} // namespace
} // namespace trvx
