#pragma once

#include "encoding/CodePage.h"
#include "tree/HugePages.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace trvx {

// Below this many entries a plain scan beats hashing; above it, lookups go
// through an index so a wide list costs linear time instead of quadratic.
inline constexpr int kLinearLookupLimit = 8;

// The position of the first entry of a growing list whose name equals a
// given one with letter case folded by a code page: what IndexOfChild and
// IndexOfValue answer, in constant time. The list is read through a callback
// and may have grown since the last lookup: new entries are taken in first.
class TFirstPositionIndex {
public:
    // nameAt(i) gives the name of entry i for i < count.
    template <class NameAt>
    int Find(std::string_view name, int count, const NameAt& nameAt, const CodePage& cp) {
        if (m_indexed < count)
            CatchUp(count, nameAt, cp);
        if (m_slots.empty())
            return -1;
        const std::uint32_t hash = Hash(name, cp);
        for (std::size_t s = hash & Mask();; s = (s + 1) & Mask()) {
            const TSlot& slot = m_slots[s];
            if (slot.position < 0)
                return -1;
            if (slot.hash == hash && cp.SameText(nameAt(slot.position), name))
                return slot.position;
        }
    }

    // Whether the entries taken in so far repeat a name.
    bool Repeats() const { return m_repeats; }
    int Indexed() const { return m_indexed; }

    // Forgets every entry, for another list; a small table is kept for it.
    void Clear() {
        if (m_indexed == 0)
            return;
        if (m_slots.size() > kKeptSlots)
            m_slots = {};
        else
            std::fill(m_slots.begin(), m_slots.end(), TSlot{});
        m_used = 0;
        m_indexed = 0;
        m_repeats = false;
    }

private:
    struct TSlot {
        int position = -1;
        std::uint32_t hash = 0;
    };

    static std::uint32_t Hash(std::string_view name, const CodePage& cp) {
        // A double-byte page folds whole characters, never a lone byte.
        if (cp.IsDoubleByte())
            return HashFolded(cp.Upper(name), CodePage::Get(1252));
        return HashFolded(name, cp);
    }
    static std::uint32_t HashFolded(std::string_view name, const CodePage& cp) {
        std::uint64_t h = 0xcbf29ce484222325ull; // FNV-1a over the folded bytes
        for (char c : name) {
            h ^= cp.Upper(static_cast<unsigned char>(c));
            h *= 0x100000001b3ull;
        }
        return static_cast<std::uint32_t>(h ^ (h >> 32));
    }

    static constexpr std::size_t kKeptSlots = 64;

    std::size_t Mask() const { return m_slots.size() - 1; }

    // Takes in entries m_indexed..count-1. A wide list mostly misses the
    // cache, so each block's slots are fetched before any is written.
    template <class NameAt> void CatchUp(int count, const NameAt& nameAt, const CodePage& cp) {
        Reserve(static_cast<std::size_t>(count));
        constexpr int kBlock = 16;
        std::uint32_t hashes[kBlock];
        while (m_indexed < count) {
            const int n = std::min(kBlock, count - m_indexed);
            for (int k = 0; k < n; ++k) {
                hashes[k] = Hash(nameAt(m_indexed + k), cp);
                __builtin_prefetch(&m_slots[hashes[k] & Mask()]);
            }
            for (int k = 0; k < n; ++k)
                Insert(m_indexed + k, hashes[k], nameAt(m_indexed + k), nameAt, cp);
            m_indexed += n;
        }
    }

    template <class NameAt>
    void Insert(int position, std::uint32_t hash, std::string_view name, const NameAt& nameAt,
                const CodePage& cp) {
        if ((m_used + 1) * 2 > m_slots.size())
            Grow();
        std::size_t s = hash & Mask();
        for (; m_slots[s].position >= 0; s = (s + 1) & Mask())
            if (m_slots[s].hash == hash && cp.SameText(nameAt(m_slots[s].position), name)) {
                m_repeats = true;
                return; // an earlier entry holds this name: it stays the first
            }
        m_slots[s] = {position, hash};
        ++m_used;
    }

    // Room for count entries at most half full, so a first build never rehashes.
    void Reserve(std::size_t count) {
        std::size_t size = m_slots.empty() ? 16 : m_slots.size();
        while (count * 2 > size)
            size *= 2;
        if (size != m_slots.size())
            Rehash(size);
    }

    void Grow() { Rehash(m_slots.empty() ? 16 : m_slots.size() * 2); }

    void Rehash(std::size_t size) {
        const auto old = std::move(m_slots);
        m_slots.assign(size, TSlot{});
        for (const TSlot& slot : old) {
            if (slot.position < 0)
                continue;
            std::size_t s = slot.hash & Mask();
            while (m_slots[s].position >= 0)
                s = (s + 1) & Mask();
            m_slots[s] = slot;
        }
    }

    // Open addressing, size a power of two; a wide list's table is megabytes.
    std::vector<TSlot, THugeListAllocator<TSlot>> m_slots;
    std::size_t m_used = 0;
    int m_indexed = 0;
    bool m_repeats = false;
};

// The same answer for lists looked up now and then: a short list is scanned,
// a long one gets its index on the first lookup.
class TNameLookup {
public:
    template <class NameAt>
    int Find(std::string_view name, int count, const NameAt& nameAt, const CodePage& cp) {
        if (count <= kLinearLookupLimit) {
            for (int i = 0; i < count; ++i)
                if (cp.SameText(nameAt(i), name))
                    return i;
            return -1;
        }
        if (!m_index)
            m_index = std::make_unique<TFirstPositionIndex>();
        return m_index->Find(name, count, nameAt, cp);
    }
    // For a list wider than kLinearLookupLimit: whether what the last Find
    // took in repeats a name.
    bool Repeats() const { return m_index && m_index->Repeats(); }
    // Whether a Find has taken in a list wider than kLinearLookupLimit.
    bool Indexed() const { return m_index && m_index->Indexed() > 0; }
    // Forgets the list, keeping a small index for the next one.
    void Clear() {
        if (m_index)
            m_index->Clear();
    }

private:
    std::unique_ptr<TFirstPositionIndex> m_index;
};

} // namespace trvx
