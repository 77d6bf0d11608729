#pragma once

#include "tree/TarvinItem.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace trvx {

// A node named "Form:..."; its shortcuts are a scope of their own.
bool IsForm(std::string_view name);

// Where a check can be shared by two threads: the children of Parent from
// From on go to a second thread. Each of them opens its own shortcut scope
// (a form, or a node of the top level), and every other check looks at one
// node and its children only, so the two parts find exactly what one pass
// finds.
struct TCheckSplit {
    const TTarvinItem* Parent = nullptr;
    std::size_t From = 0;
};

// Below this many nodes and values in the second part, a thread costs more
// than it saves.
inline constexpr std::size_t kCheckSplitFrom = 20000;
inline constexpr std::size_t kNoCheckSplit = ~std::size_t{0};

// The split of the node that holds the most children, near the top; none
// when the second part would be smaller than minItems or no boundary fits.
std::optional<TCheckSplit> PlanCheckSplit(const TTarvinItem& root, std::size_t minItems);

} // namespace trvx
