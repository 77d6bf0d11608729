#pragma once

// The search order of a tree as the file has it, for the search walk's
// tests and benchmark: the nodes in pre-order, numbered from 1, captioned
// by their names.

#include "editing/SearchWalk.h"
#include "tree/TarvinItem.h"

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace trvx::test {

class TFileOrder final : public TSearchOrder {
public:
    explicit TFileOrder(const TTarvinItem& root) {
        std::vector<TNode> pending;
        const auto pushChildren = [&pending](const TTarvinItem& item) {
            for (auto it = item.Children().rbegin(); it != item.Children().rend(); ++it)
                pending.emplace_back(it->Item.get(), it->Name.View());
        };
        pushChildren(root);
        while (!pending.empty()) {
            const TNode node = pending.back();
            pending.pop_back();
            m_nodes.push_back(node);
            pushChildren(*node.first);
        }
    }
    int NextNode(int node) const override { return node < Count() ? node + 1 : 0; }
    int PreviousNode(int node) const override { return node > 1 ? node - 1 : 0; }
    const TTarvinItem& Item(int node) const override { return *At(node).first; }
    std::string_view Caption(int node) const override { return At(node).second; }
    int Count() const { return static_cast<int>(m_nodes.size()); }

private:
    using TNode = std::pair<const TTarvinItem*, std::string_view>;
    const TNode& At(int node) const { return m_nodes.at(static_cast<std::size_t>(node - 1)); }
    std::vector<TNode> m_nodes;
};

} // namespace trvx::test
