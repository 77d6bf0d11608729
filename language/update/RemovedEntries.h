#pragma once

#include "format/Writer.h"
#include "update/UpdateLists.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace trvx {

// Node addresses, for the test every node of a tree goes through when
// pruning or writing: open addressing in one block costs little next to the walk.
class TNodeSet {
public:
    explicit TNodeSet(std::size_t count) : m_slots(std::bit_ceil(count * 2 + 2), nullptr) {}
    void Insert(const TTarvinItem* node) {
        std::size_t s = Slot(node);
        while (m_slots[s] != nullptr && m_slots[s] != node)
            s = (s + 1) & Mask();
        m_slots[s] = node;
        m_empty = false;
    }
    bool Contains(const TTarvinItem* node) const {
        if (m_empty)
            return false;
        for (std::size_t s = Slot(node); m_slots[s] != nullptr; s = (s + 1) & Mask())
            if (m_slots[s] == node)
                return true;
        return false;
    }

private:
    std::size_t Mask() const { return m_slots.size() - 1; }
    std::size_t Slot(const TTarvinItem* node) const {
        std::uint64_t x = reinterpret_cast<std::uintptr_t>(node);
        x = (x ^ (x >> 31)) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(x >> 32) & Mask();
    }

    std::vector<const TTarvinItem*> m_slots;
    bool m_empty = true;
};

// What the lists mark removed, as a write skips it: a tree written through
// this is what it holds after PruneRemoved, without pruning or copying it.
// The lists must not change while this is in use.
class TRemovedEntries : public TWriteFilter {
public:
    explicit TRemovedEntries(const TUpdateLists& lists);

    bool SkipsItem(const TTarvinItem& item) const override { return m_items.Contains(&item); }
    bool SkipsValuesOf(const TTarvinItem& node) const override {
        return m_valueNodes.Contains(&node);
    }
    bool SkipsValue(const TTarvinItem& node, int index) const override {
        return m_lists.IsRemovedValue(&node, index);
    }

private:
    const TUpdateLists& m_lists;
    TNodeSet m_items;
    TNodeSet m_valueNodes; // nodes with any removed value
};

} // namespace trvx
