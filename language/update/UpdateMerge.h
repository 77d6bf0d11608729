#pragma once

#include "encoding/CodePage.h"
#include "tree/TarvinItem.h"
#include "update/UpdateLists.h"

namespace trvx {

// Update To on the language trees: empties lists, copies into openRoot what
// baseRoot has and it lacks (MergeAdded), then records what baseRoot lacks
// (MarkRemoved). Names and idents match as IndexOfChild / IndexOfValue do,
// letter case folded by cp (the open translation's code page). The two trees
// must be distinct; baseRoot is only read and may be freed afterwards.
void UpdateTo(const TTarvinItem& baseRoot, TTarvinItem& openRoot, TUpdateLists& lists,
              const CodePage& cp);

// Deletes, in and below item, the nodes and values the lists mark removed,
// and takes their entries out of the lists. A removed node goes whole; what
// the lists name below it is left to ClearUpdateLists. The result is that of
// deleting each node's entries from the last to the first.
void PruneRemoved(TTarvinItem& item, TUpdateLists& lists);

} // namespace trvx
