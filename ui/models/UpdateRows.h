#pragma once

#include "ui/common/NodeData.h"
#include "ui/models/ContentsModel.h"
#include "update/UpdateLists.h"

#include <vector>

namespace tarvin {

// The rows of the Added and Removed lists, in the order the lists fill:
// the marked nodes in the file's order, then each value entry whose node
// has a row in contents.
struct TUpdateRows {
    std::vector<TUpdateNodeData> Added;
    std::vector<TUpdateNodeData> Removed;
};
TUpdateRows UpdateListRows(const TContentsModel& contents, const trvx::TUpdateLists& lists);

} // namespace tarvin
