#pragma once

#include "encoding/CodePage.h"
#include "format/LanguageSink.h"
#include "tree/TarvinItem.h"
#include "update/UpdateLists.h"

#include <functional>

namespace trvx {

// Whether the base tree stays until the open tree is gone: what is copied
// from it can then borrow its strings instead of copying them.
enum class TBaseLife { MayBeFreed, OutlivesOpen };

// Update To on the language trees: empties lists, copies into openRoot what
// baseRoot has and it lacks (MergeAdded), then records what baseRoot lacks
// (MarkRemoved). Names and idents match as IndexOfChild / IndexOfValue do,
// letter case folded by cp (the open translation's code page). The two trees
// must be distinct; baseRoot is only read and, unless life says otherwise,
// may be freed afterwards.
void UpdateTo(const TTarvinItem& baseRoot, TTarvinItem& openRoot, TUpdateLists& lists,
              const CodePage& cp, TBaseLife life = TBaseLife::MayBeFreed);

// The same with no tree of the base: readBase hands the base's entries to
// the sink it is given, as ParseLanguageText does, once or (when the base
// repeats a name among siblings) twice, the same each time. With
// TBaseLife::OutlivesOpen, what the reads borrow must outlive the open tree;
// with MayBeFreed, it need last only until the sink's next call.
using TBaseRead = std::function<void(TLanguageSink&)>;
void UpdateTo(const TBaseRead& readBase, TTarvinItem& openRoot, TUpdateLists& lists,
              const CodePage& cp, TBaseLife life);

// Deletes, in and below item, the nodes and values the lists mark removed,
// and takes their entries out of the lists. A removed node goes whole; what
// the lists name below it is left to ClearUpdateLists. The result is that of
// deleting each node's entries from the last to the first.
void PruneRemoved(TTarvinItem& item, TUpdateLists& lists);

} // namespace trvx
