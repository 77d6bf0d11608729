#include "language/UpdateLists.h"

#include <algorithm>

namespace trvx {

// Placeholder implementation; the indexed one comes with the merge.
void TUpdateLists::ClearUpdateLists() {
    AddedItems.clear();
    RemovedItems.clear();
    FreeValueEntries(RemovedValues);
    FreeValueEntries(AddedValues);
}

bool TUpdateLists::IsEmpty() const {
    return AddedItems.empty() && RemovedItems.empty() && AddedValues.empty() &&
           RemovedValues.empty();
}

void TUpdateLists::FreeValueEntries(std::vector<TValueEntry>& list) {
    list.clear();
}

int TUpdateLists::FindValueEntry(const std::vector<TValueEntry>& list, const TTarvinItem* item,
                                 int valueIndex) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].Item == item && list[i].ValueIndex == valueIndex)
            return static_cast<int>(i);
    return -1;
}

bool TUpdateLists::IsAddedItem(const TTarvinItem* item) const {
    return std::find(AddedItems.begin(), AddedItems.end(), item) != AddedItems.end();
}
bool TUpdateLists::IsRemovedItem(const TTarvinItem* item) const {
    return std::find(RemovedItems.begin(), RemovedItems.end(), item) != RemovedItems.end();
}
bool TUpdateLists::IsAddedValue(const TTarvinItem* item, int valueIndex) const {
    return FindValueEntry(AddedValues, item, valueIndex) >= 0;
}
bool TUpdateLists::IsRemovedValue(const TTarvinItem* item, int valueIndex) const {
    return FindValueEntry(RemovedValues, item, valueIndex) >= 0;
}

} // namespace trvx
