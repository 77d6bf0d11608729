#include "update/UpdateReport.h"

#include "encoding/TextEscape.h"

namespace trvx {

namespace {

constexpr std::string_view kValueSuffix = " (value)";
// A path of a deep tree runs to megabytes: a line shows its two ends.
constexpr std::size_t kShownPath = 200;

// A value of the root has no node path and so no separator before its ident.
void AppendValue(std::string& out, bool ofRoot, std::string_view ident, const CodePage& cp) {
    if (!ofRoot)
        out += '/';
    AppendPathSegment(out, ident, cp);
    out += kValueSuffix;
}

} // namespace

void ForEachUpdateLine(const TTarvinItem& root, const TUpdateLists& lists, const CodePage& cp,
                       const std::function<void(std::string_view)>& take) {
    if (lists.IsEmpty())
        return;
    std::string path;
    std::string line;
    auto emit = [&](char mark, std::string_view itemPath) {
        line.assign({mark, ' '});
        line += itemPath.size() > kShownPath ? ShortText(itemPath, kShownPath) : itemPath;
        take(line);
    };
    const bool anyValues = !lists.AddedValues.empty() || !lists.RemovedValues.empty();
    auto visit = [&](const TTarvinItem& node) {
        if (lists.IsAddedItem(&node))
            emit('+', path);
        if (lists.IsRemovedItem(&node))
            emit('-', path);
        for (int i = 0; anyValues && i < node.ValueCount(); ++i) {
            const bool added = lists.IsAddedValue(&node, i);
            const bool removed = lists.IsRemovedValue(&node, i);
            if (!added && !removed)
                continue;
            std::string valuePath = path;
            AppendValue(valuePath, &node == &root, node.GetValueIdent(i), cp);
            if (added)
                emit('+', valuePath);
            if (removed)
                emit('-', valuePath);
        }
    };

    struct Frame {
        const TTarvinItem* node;
        int next;
        std::size_t pathLength; // of the parent's path
    };
    visit(root);
    std::vector<Frame> stack{{&root, 0, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next >= frame.node->ChildCount()) {
            path.resize(frame.pathLength);
            stack.pop_back();
            continue;
        }
        const auto& child = frame.node->Children()[frame.next++];
        const std::size_t parentLength = path.size();
        if (stack.size() > 1)
            path += '/';
        AppendPathSegment(path, child.Name.View(), cp);
        stack.push_back({child.Item.get(), 0, parentLength});
        visit(*child.Item);
    }
}

std::string UpdateSummary(const TUpdateLists& lists) {
    return "added " + Counted(lists.AddedItems.size(), "node", "nodes") + ", " +
           Counted(lists.AddedValues.size(), "value", "values") + "; removed " +
           Counted(lists.RemovedItems.size(), "node", "nodes") + ", " +
           Counted(lists.RemovedValues.size(), "value", "values");
}

} // namespace trvx
