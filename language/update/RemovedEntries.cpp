#include "update/RemovedEntries.h"

#include <algorithm>

namespace trvx {

TRemovedEntries::TRemovedEntries(const TUpdateLists& lists) {
    const std::size_t count = lists.RemovedItems.size() + lists.RemovedValues.size();
    if (count == 0)
        return;
    m_empty = false;
    m_slots.resize(std::bit_ceil(count * 2 + 2));
    const std::size_t seenBits = std::bit_ceil(count * 16 + 64);
    m_seen.resize(seenBits / 64);
    m_seenMask = seenBits - 1;

    for (const TTarvinItem* removed : lists.RemovedItems)
        Add(removed).whole = true;
    // Each node's positions go together: counted, placed, then put in order.
    for (const TValueEntry& removed : lists.RemovedValues)
        if (removed.ValueIndex >= 0)
            ++Add(removed.Item).end;
    std::uint32_t next = 0;
    for (TNode& slot : m_slots) {
        const std::uint32_t size = slot.end;
        slot.begin = slot.end = next;
        next += size;
    }
    m_values.resize(next);
    for (const TValueEntry& removed : lists.RemovedValues)
        if (removed.ValueIndex >= 0)
            m_values[m_slots[*SlotOf(removed.Item)].end++] = removed.ValueIndex;
    for (TNode& slot : m_slots) {
        const auto first = m_values.begin() + slot.begin;
        const auto last = m_values.begin() + slot.end;
        if (std::adjacent_find(first, last, std::greater_equal<int>()) == last)
            continue; // the usual case: the lists name a node's values in order
        std::sort(first, last);
        slot.end = static_cast<std::uint32_t>(std::unique(first, last) - m_values.begin());
    }
}

TRemovedEntries::TNode& TRemovedEntries::Add(const TTarvinItem* node) {
    const std::uint64_t hash = Hash(node);
    const std::uint64_t bit = hash & m_seenMask;
    m_seen[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    std::size_t s = Home(hash);
    while (m_slots[s].node != nullptr && m_slots[s].node != node)
        s = (s + 1) & (m_slots.size() - 1);
    m_slots[s].node = node;
    return m_slots[s];
}

std::optional<std::size_t> TRemovedEntries::SlotOf(const TTarvinItem* node) const {
    const std::uint64_t hash = Hash(node);
    if (m_empty || !MaybeHeld(hash))
        return std::nullopt;
    for (std::size_t s = Home(hash); m_slots[s].node != nullptr; s = (s + 1) & (m_slots.size() - 1))
        if (m_slots[s].node == node)
            return s;
    return std::nullopt;
}

TSkips TRemovedEntries::Skips(const TTarvinItem& node) const {
    const auto slot = SlotOf(&node);
    if (!slot)
        return {};
    const TNode& held = m_slots[*slot];
    return {held.whole, std::span(m_values).subspan(held.begin, held.end - held.begin)};
}

} // namespace trvx
