#pragma once

#include "format/Writer.h"
#include "update/UpdateLists.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace trvx {

// What the lists mark removed, as a write skips it: a tree written through
// this is what it holds after PruneRemoved, without pruning or copying it.
// The lists must not change while this is in use.
class TRemovedEntries : public TWriteFilter {
public:
    explicit TRemovedEntries(const TUpdateLists& lists);

    TSkips Skips(const TTarvinItem& node) const override;

private:
    struct TNode {
        const TTarvinItem* node = nullptr; // nullptr: a free slot
        bool whole = false;
        std::uint32_t begin = 0; // its removed values' positions in m_values
        std::uint32_t end = 0;
    };

    static std::uint64_t Hash(const TTarvinItem* node) {
        std::uint64_t x = reinterpret_cast<std::uintptr_t>(node);
        x = (x ^ (x >> 31)) * 0x9E3779B97F4A7C15ull;
        return x >> 24;
    }
    std::size_t Home(std::uint64_t hash) const { return (hash >> 8) & (m_slots.size() - 1); }
    bool MaybeHeld(std::uint64_t hash) const {
        const std::uint64_t bit = hash & m_seenMask;
        return (m_seen[bit >> 6] >> (bit & 63)) & 1;
    }
    TNode& Add(const TTarvinItem* node);
    // The node's slot; none if it is held by no list.
    std::optional<std::size_t> SlotOf(const TTarvinItem* node) const;

    // Open addressing in one block: every node a write reaches is asked for.
    std::vector<TNode> m_slots;
    // A bit per hash, set for every node held: most nodes are in no list,
    // and this answers them from a block small enough to stay in cache.
    std::vector<std::uint64_t> m_seen;
    std::uint64_t m_seenMask = 0;
    std::vector<int> m_values;
    bool m_empty = true;
};

} // namespace trvx
