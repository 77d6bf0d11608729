#include "language/UpdateMerge.h"

namespace trvx {

// Placeholder until the merge lands.
void UpdateTo(const TTarvinItem&, TTarvinItem&, TUpdateLists& lists, const CodePage&) {
    lists.ClearUpdateLists();
}

void PruneRemoved(TTarvinItem&, TUpdateLists&) {}

} // namespace trvx
