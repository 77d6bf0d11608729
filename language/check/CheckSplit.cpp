#include "check/CheckSplit.h"

#include "encoding/AsciiCase.h"

#include <vector>

namespace trvx {

namespace {

// Host files keep nearly everything a level or two below the root.
constexpr int kDeepestParent = 4;

// Nodes and values under the children from `from` on, counted no further than limit.
std::size_t CountUpTo(const TTarvinItem& parent, std::size_t from, std::size_t limit) {
    std::size_t count = 0;
    std::vector<const TTarvinItem*> todo;
    const auto children = parent.Children();
    for (std::size_t c = from; c < children.size(); ++c)
        todo.push_back(children[c].Item.get());
    while (!todo.empty() && count < limit) {
        const TTarvinItem* item = todo.back();
        todo.pop_back();
        count += 1 + item->Values().size();
        for (const auto& child : item->Children())
            todo.push_back(child.Item.get());
    }
    return count;
}

} // namespace

bool IsForm(std::string_view name) {
    return StartsWithTextAscii(name, "Form:");
}

std::optional<TCheckSplit> PlanCheckSplit(const TTarvinItem& root, std::size_t minItems) {
    if (minItems == kNoCheckSplit)
        return std::nullopt;
    const TTarvinItem* parent = &root;
    for (int level = 0; level < kDeepestParent; ++level) {
        const TTarvinItem* widest = nullptr;
        for (const auto& child : parent->Children())
            if (!widest || child.Item->Children().size() > widest->Children().size())
                widest = child.Item.get();
        if (!widest || widest->Children().size() <= parent->Children().size())
            break;
        parent = widest;
    }
    // The second part must not share a shortcut scope with the first: below
    // the root every child of it must be a form.
    const auto children = parent->Children();
    std::size_t from = children.size() / 2;
    if (parent != &root)
        for (std::size_t c = children.size(); c > from; --c)
            if (!IsForm(children[c - 1].Name.View()))
                from = c;
    if (from == 0 || from >= children.size())
        return std::nullopt;
    if (CountUpTo(*parent, from, minItems) < minItems)
        return std::nullopt;
    return TCheckSplit{parent, from};
}

} // namespace trvx
