#pragma once

#include "encoding/CodePage.h"
#include "tree/PathSegment.h"
#include "tree/TarvinItem.h"
#include "update/UpdateLists.h"

#include <functional>
#include <string>
#include <string_view>

namespace trvx {

// One line per entry of the update lists: "+ " and the path of what was
// added, "- " and the path of what the base no longer has. Lines follow the
// order in which the tree is written (a node, then its values, then its
// children), so added and removed entries of one place stand together.
// A path longer than 200 characters keeps its two ends (see ShortText).
// Each line goes to take as it is made, so a report of any size streams.
void ForEachUpdateLine(const TTarvinItem& root, const TUpdateLists& lists, const CodePage& cp,
                       const std::function<void(std::string_view)>& take);

// "added 3 nodes, 5 values; removed 1 node, 0 values": the sizes of the lists.
std::string UpdateSummary(const TUpdateLists& lists);

} // namespace trvx
