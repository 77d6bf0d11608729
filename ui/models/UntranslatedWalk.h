#pragma once

#include "tree/TarvinItem.h"

#include <optional>
#include <vector>

namespace tarvin {

class TContentsModel;
class TReferenceText;

// The reference node for a contents-tree node (0: the root).
const trvx::TTarvinItem* ReferenceNodeOf(const TContentsModel& model, TReferenceText& reference,
                                         int node);

struct TValuePosition {
    int Node = 0; // contents-model node number
    int ValueIndex = -1;
    bool operator==(const TValuePosition&) const = default;
};

// The next untranslated value from the selection (node 0: none; value -1:
// none) in the contents tree's displayed order, down or up, as a value
// search walks: the selected value is skipped and the walk never wraps.
// Without a selected node, down starts at the first node.
std::optional<TValuePosition> FindUntranslated(const TContentsModel& model,
                                               TReferenceText& reference, TValuePosition from,
                                               bool down);

} // namespace tarvin
