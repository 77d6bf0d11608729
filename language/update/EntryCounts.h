#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace trvx {

// How often each entry occurs, in one open-addressed block. An Update To of
// a large file puts tens of thousands of entries into its lists and tests
// every node and value against them; a node-based map spends that time on
// allocations and cache misses.
template <class Entry, class Hash> class TEntryCounts {
public:
    void Clear() {
        m_slots.clear();
        m_used = 0;
    }
    bool Contains(const Entry& entry) const { return m_used != 0 && Find(entry) >= 0; }

    void Increment(const Entry& entry) {
        if ((m_used + 1) * 2 > m_slots.size())
            Grow();
        std::size_t s = Home(entry);
        while (m_slots[s].count != 0 && !(m_slots[s].entry == entry))
            s = Next(s);
        if (m_slots[s].count++ == 0) {
            m_slots[s].entry = entry;
            ++m_used;
        }
    }

    // One occurrence fewer; the entry goes at zero. False if it had none.
    bool Decrement(const Entry& entry) {
        const std::ptrdiff_t s = m_used != 0 ? Find(entry) : -1;
        if (s < 0)
            return false;
        if (--m_slots[static_cast<std::size_t>(s)].count == 0)
            Erase(static_cast<std::size_t>(s));
        return true;
    }

private:
    struct TSlot {
        Entry entry{};
        int count = 0; // 0: empty
    };

    std::size_t Home(const Entry& entry) const {
        // Pointer hashes leave the low bits alike: mix before masking.
        std::uint64_t h = Hash()(entry);
        h = (h ^ (h >> 33)) * 0xFF51AFD7ED558CCDull;
        return static_cast<std::size_t>(h ^ (h >> 33)) & (m_slots.size() - 1);
    }
    std::size_t Next(std::size_t s) const { return (s + 1) & (m_slots.size() - 1); }

    std::ptrdiff_t Find(const Entry& entry) const {
        for (std::size_t s = Home(entry); m_slots[s].count != 0; s = Next(s))
            if (m_slots[s].entry == entry)
                return static_cast<std::ptrdiff_t>(s);
        return -1;
    }

    // Moves later slots of the same probe run back, so no tombstones pile up.
    void Erase(std::size_t hole) {
        for (std::size_t s = Next(hole); m_slots[s].count != 0; s = Next(s)) {
            const std::size_t home = Home(m_slots[s].entry);
            // The slot may fill the hole unless its home lies cyclically in (hole, s].
            const bool stays = hole < s ? (hole < home && home <= s) : (hole < home || home <= s);
            if (!stays) {
                m_slots[hole] = m_slots[s];
                hole = s;
            }
        }
        m_slots[hole] = TSlot{};
        --m_used;
    }

    void Grow() {
        std::vector<TSlot> old = std::move(m_slots);
        m_slots.assign(std::max<std::size_t>(16, std::bit_ceil(old.size() * 2)), TSlot{});
        m_used = 0;
        for (const TSlot& slot : old) {
            if (slot.count == 0)
                continue;
            std::size_t s = Home(slot.entry);
            while (m_slots[s].count != 0)
                s = Next(s);
            m_slots[s] = slot;
            ++m_used;
        }
    }

    std::vector<TSlot> m_slots;
    std::size_t m_used = 0;
};

} // namespace trvx
