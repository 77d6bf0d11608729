#include "ui/models/UntranslatedWalk.h"

#include "ui/models/ContentsModel.h"
#include "ui/models/ReferenceText.h"

#include <algorithm>

namespace tarvin {

namespace {

const trvx::TTarvinItem* ReferenceNodeOf(const TContentsModel& model, TReferenceText& reference,
                                         int node, std::vector<const trvx::TTarvinItem*>& path) {
    path.clear();
    for (int n = node; n != 0; n = model.ParentNode(n))
        path.push_back(model.NodeData(n).Item);
    std::reverse(path.begin(), path.end());
    return reference.NodeFor(path);
}

} // namespace

const trvx::TTarvinItem* ReferenceNodeOf(const TContentsModel& model, TReferenceText& reference,
                                         int node) {
    std::vector<const trvx::TTarvinItem*> path;
    return ReferenceNodeOf(model, reference, node, path);
}

std::optional<TValuePosition> FindUntranslated(const TContentsModel& model,
                                               TReferenceText& reference, TValuePosition from,
                                               bool down) {
    int node = from.Node;
    int index = from.ValueIndex + (down ? 1 : -1);
    if (node == 0) {
        if (!down)
            return std::nullopt;
        node = model.FirstNode();
        index = 0;
    }
    std::vector<const trvx::TTarvinItem*> path;
    for (bool first = true; node != 0; first = false) {
        const trvx::TTarvinItem& item = *model.NodeData(node).Item;
        if (!down && !first)
            index = item.ValueCount() - 1;
        const trvx::TTarvinItem* counterpart = ReferenceNodeOf(model, reference, node, path);
        if (counterpart != nullptr) {
            for (; index >= 0 && index < item.ValueCount(); index += down ? 1 : -1) {
                const std::string_view ident = item.GetValueIdent(index);
                if (reference.IsUntranslated(ident, item.ValueText(index),
                                             reference.TextOf(counterpart, ident)))
                    return TValuePosition{node, index};
            }
        }
        index = 0;
        node = down ? model.NextNode(node) : model.PreviousNode(node);
    }
    return std::nullopt;
}

} // namespace tarvin
