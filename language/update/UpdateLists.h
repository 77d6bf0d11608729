#pragma once

#include "tree/TarvinItem.h"
#include "update/EntryCounts.h"

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <vector>

namespace trvx {

// A value of the open tree, named by its node and its position there.
struct TValueEntry {
    TTarvinItem* Item = nullptr;
    int ValueIndex = 0;

    friend bool operator==(const TValueEntry&, const TValueEntry&) = default;
};

struct TValueEntryHash {
    std::size_t operator()(const TValueEntry& e) const noexcept {
        return std::hash<const void*>()(e.Item) ^
               (static_cast<std::size_t>(static_cast<unsigned>(e.ValueIndex)) *
                std::size_t{0x9E3779B97F4A7C15});
    }
};

// An ordered list, appended at the end, that also answers "is this entry in
// it" at once: the views ask that for every row they paint. The entries are
// counted on the first such question after appending, not as they come: a
// merge appends tens of thousands that trvx never asks about. So the first
// question after an append writes: ask from one thread, or answer one
// question before others ask at once.
template <class Entry, class Hash = std::hash<Entry>> class TUpdateList {
public:
    using const_iterator = typename std::vector<Entry>::const_iterator;

    void Append(const Entry& entry) { m_entries.push_back(entry); }
    void Clear() {
        m_entries.clear();
        m_counts.Clear();
        m_counted = 0;
    }
    bool Contains(const Entry& entry) const {
        CountAppended();
        return m_counts.Contains(entry);
    }

    // Takes out the first occurrence of each entry of doomed (as often as it
    // is named there); the others keep their order.
    void RemoveFirstOccurrences(const std::vector<Entry>& doomed) {
        if (doomed.empty())
            return;
        CountAppended();
        TEntryCounts<Entry, Hash> pending;
        for (const Entry& e : doomed)
            pending.Increment(e);
        std::size_t kept = 0;
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (pending.Decrement(m_entries[i])) {
                m_counts.Decrement(m_entries[i]);
                continue;
            }
            m_entries[kept++] = m_entries[i];
        }
        m_entries.resize(kept);
        m_counted = kept;
    }

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const Entry& operator[](std::size_t i) const { return m_entries[i]; }
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }
    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    void CountAppended() const {
        for (; m_counted < m_entries.size(); ++m_counted)
            m_counts.Increment(m_entries[m_counted]);
    }

    std::vector<Entry> m_entries;
    mutable TEntryCounts<Entry, Hash> m_counts; // of m_entries[0, m_counted)
    mutable std::size_t m_counted = 0;
};

using TItemList = TUpdateList<TTarvinItem*>;
using TValueList = TUpdateList<TValueEntry, TValueEntryHash>;

// What the last Update To added to the open tree and what the newer base no
// longer has. The lists refer to nodes of the open tree without owning them;
// they are emptied by every open and save and refilled by Update To.
class TUpdateLists {
public:
    TItemList AddedItems;
    TItemList RemovedItems;
    TValueList AddedValues;
    TValueList RemovedValues;

    void ClearUpdateLists();
    bool IsEmpty() const;

    static void FreeValueEntries(TValueList& list);
    // Position of the first entry with that node (by identity) and index; -1 if none.
    static int FindValueEntry(const TValueList& list, const TTarvinItem* item, int valueIndex);

    // Fast membership tests for views that colour every row.
    bool IsAddedItem(const TTarvinItem* item) const;
    bool IsRemovedItem(const TTarvinItem* item) const;
    bool IsAddedValue(const TTarvinItem* item, int valueIndex) const;
    bool IsRemovedValue(const TTarvinItem* item, int valueIndex) const;
};

} // namespace trvx
