#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvin {

// Row numbers of the items some list names, found by address. One probe of
// a flat table: a hash map's bucket and node are two cache misses apiece,
// and a large tree asks for a hundred thousand of them.
class TItemNodes {
public:
    explicit TItemNodes(std::size_t count)
        : m_slots(std::bit_ceil(std::max<std::size_t>(count * 2, 16))),
          m_shift(64 - std::countr_zero(m_slots.size())) {}

    void Add(const void* item) { m_slots[Slot(item)].Item = item; }
    // The first node given for a listed item stays; others are ignored.
    void SetNode(const void* item, int node) {
        TSlot& slot = m_slots[Slot(item)];
        if (slot.Item == item && slot.Node == 0)
            slot.Node = node;
    }
    // 0 when item is not listed or has no row.
    int NodeOf(const void* item) const {
        const TSlot& slot = m_slots[Slot(item)];
        return slot.Item == item ? slot.Node : 0;
    }

private:
    struct TSlot {
        const void* Item = nullptr;
        int Node = 0;
    };
    // Where item is, or the free slot where it would go; the table is never
    // more than half full, so a free slot is always found.
    std::size_t Slot(const void* item) const {
        const std::uint64_t h = std::uint64_t(reinterpret_cast<std::uintptr_t>(item));
        std::size_t i = static_cast<std::size_t>((h * 0x9E3779B97F4A7C15ull) >> m_shift);
        while (m_slots[i].Item != item && m_slots[i].Item != nullptr)
            i = (i + 1) & (m_slots.size() - 1);
        return i;
    }

    std::vector<TSlot> m_slots;
    int m_shift;
};

} // namespace tarvin
