#pragma once

// Paths of nodes and value entries, as the update report prints them, for
// tests that compare update lists by what they name.

#include "update/UpdateLists.h"
#include "update/UpdateReport.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace trvx::test {

class TItemPaths {
public:
    TItemPaths(const TTarvinItem& root, const CodePage& cp) : m_cp(cp) {
        std::vector<const TTarvinItem*> pending{&root};
        while (!pending.empty()) {
            const TTarvinItem* node = pending.back();
            pending.pop_back();
            const auto children = node->Children();
            for (int i = 0; i < static_cast<int>(children.size()); ++i) {
                m_parents.emplace(children[i].Item.get(), std::pair{node, i});
                pending.push_back(children[i].Item.get());
            }
        }
    }

    // Empty for the root and for a node that is not in the tree.
    std::string ItemPath(const TTarvinItem* item) const {
        std::vector<std::string_view> names;
        for (auto it = m_parents.find(item); it != m_parents.end(); it = m_parents.find(item)) {
            names.push_back(it->second.first->GetChildName(it->second.second));
            item = it->second.first;
        }
        std::string out;
        for (auto name = names.rbegin(); name != names.rend(); ++name) {
            if (name != names.rbegin())
                out += '/';
            AppendPathSegment(out, *name, m_cp);
        }
        return out;
    }

    // An entry that names no value is shown by its position.
    std::string ValuePath(const TValueEntry& entry) const {
        std::string out = ItemPath(entry.Item);
        if (m_parents.contains(entry.Item))
            out += '/';
        const bool named = entry.ValueIndex >= 0 && entry.ValueIndex < entry.Item->ValueCount();
        AppendPathSegment(out,
                          named ? std::string(entry.Item->GetValueIdent(entry.ValueIndex))
                                : "#" + std::to_string(entry.ValueIndex),
                          m_cp);
        return out + " (value)";
    }

private:
    const CodePage& m_cp;
    // node -> (parent, position among the parent's children)
    std::unordered_map<const TTarvinItem*, std::pair<const TTarvinItem*, int>> m_parents;
};

inline std::vector<std::string> UpdateReportLines(const TTarvinItem& root,
                                                  const TUpdateLists& lists, const CodePage& cp) {
    std::vector<std::string> lines;
    ForEachUpdateLine(root, lists, cp, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

} // namespace trvx::test
