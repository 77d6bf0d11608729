#include "update/RemovedEntries.h"

namespace trvx {

TRemovedEntries::TRemovedEntries(const TUpdateLists& lists)
    : m_lists(lists), m_items(lists.RemovedItems.size()), m_valueNodes(lists.RemovedValues.size()) {
    for (const TTarvinItem* removed : lists.RemovedItems)
        m_items.Insert(removed);
    for (const TValueEntry& removed : lists.RemovedValues)
        m_valueNodes.Insert(removed.Item);
}

} // namespace trvx
