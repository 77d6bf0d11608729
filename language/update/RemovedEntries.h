#pragma once

#include "format/Writer.h"
#include "update/UpdateLists.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace trvx {

// What the lists mark removed, as a write skips it: a tree written through
// this is what it holds after PruneRemoved, without pruning or copying it.
// The lists must not change while this is in use, and it serves one write
// at a time.
class TRemovedEntries : public TWriteFilter {
public:
    explicit TRemovedEntries(const TUpdateLists& lists);

    TSkips Skips(const TTarvinItem& node) const override;

private:
    struct TNode {
        const TTarvinItem* node = nullptr;
        bool whole = false;
        std::uint32_t begin = 0; // its removed values' positions in m_values
        std::uint32_t end = 0;
    };

    // By address. A tree's nodes mostly lie in the order a write walks them,
    // so each lookup starts where the last one ended and stays in cache,
    // where a hash table missed it for every node.
    std::vector<TNode> m_nodes;
    std::vector<int> m_values;
    mutable std::size_t m_next = 0; // where the last lookup ended
};

} // namespace trvx
