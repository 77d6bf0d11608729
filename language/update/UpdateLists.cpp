#include "update/UpdateLists.h"

namespace trvx {

void TUpdateLists::ClearUpdateLists() {
    AddedItems.Clear();
    RemovedItems.Clear();
    FreeValueEntries(RemovedValues);
    FreeValueEntries(AddedValues);
}

bool TUpdateLists::IsEmpty() const {
    return AddedItems.empty() && RemovedItems.empty() && AddedValues.empty() &&
           RemovedValues.empty();
}

void TUpdateLists::FreeValueEntries(TValueList& list) {
    list.Clear();
}

int TUpdateLists::FindValueEntry(const TValueList& list, const TTarvinItem* item, int valueIndex) {
    // Membership first: most callers ask about values that are in no list.
    const TValueEntry wanted{const_cast<TTarvinItem*>(item), valueIndex};
    if (!list.Contains(wanted))
        return -1;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == wanted)
            return static_cast<int>(i);
    return -1;
}

bool TUpdateLists::IsAddedItem(const TTarvinItem* item) const {
    return AddedItems.Contains(const_cast<TTarvinItem*>(item));
}

bool TUpdateLists::IsRemovedItem(const TTarvinItem* item) const {
    return RemovedItems.Contains(const_cast<TTarvinItem*>(item));
}

bool TUpdateLists::IsAddedValue(const TTarvinItem* item, int valueIndex) const {
    return AddedValues.Contains({const_cast<TTarvinItem*>(item), valueIndex});
}

bool TUpdateLists::IsRemovedValue(const TTarvinItem* item, int valueIndex) const {
    return RemovedValues.Contains({const_cast<TTarvinItem*>(item), valueIndex});
}

} // namespace trvx
