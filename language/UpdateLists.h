#pragma once

#include "language/TarvinItem.h"

#include <vector>

namespace trvx {

// A value of the open tree, named by its node and its position there.
struct TValueEntry {
    TTarvinItem* Item = nullptr;
    int ValueIndex = 0;
};

// What the last Update To added to the open tree and what the newer base no
// longer has. The lists refer to nodes of the open tree without owning them;
// they are emptied by every open and save and refilled by Update To.
class TUpdateLists {
public:
    std::vector<TTarvinItem*> AddedItems;
    std::vector<TTarvinItem*> RemovedItems;
    std::vector<TValueEntry> AddedValues;
    std::vector<TValueEntry> RemovedValues;

    void ClearUpdateLists();
    bool IsEmpty() const;

    static void FreeValueEntries(std::vector<TValueEntry>& list);
    // Position of the first entry with that node (by identity) and index; -1 if none.
    static int FindValueEntry(const std::vector<TValueEntry>& list, const TTarvinItem* item,
                              int valueIndex);

    // Fast membership tests for views that colour every row.
    bool IsAddedItem(const TTarvinItem* item) const;
    bool IsRemovedItem(const TTarvinItem* item) const;
    bool IsAddedValue(const TTarvinItem* item, int valueIndex) const;
    bool IsRemovedValue(const TTarvinItem* item, int valueIndex) const;
};

} // namespace trvx
