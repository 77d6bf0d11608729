#pragma once

#include "language/CodePage.h"
#include "language/TarvinItem.h"
#include "language/UpdateLists.h"

namespace trvx {

// Update To on the language trees: empties lists, copies into openRoot what
// baseRoot has and it lacks (MergeAdded), then records what baseRoot lacks
// (MarkRemoved). Names and idents match as IndexOfChild / IndexOfValue do,
// letter case folded by cp (the open translation's code page).
void UpdateTo(const TTarvinItem& baseRoot, TTarvinItem& openRoot, TUpdateLists& lists,
              const CodePage& cp);

// Deletes, in and below item, the nodes and values the lists mark removed,
// last to first so the positions still to visit stay valid.
void PruneRemoved(TTarvinItem& item, TUpdateLists& lists);

} // namespace trvx
