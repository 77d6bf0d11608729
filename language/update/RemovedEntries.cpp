#include "update/RemovedEntries.h"

#include <algorithm>
#include <functional>

namespace trvx {

TRemovedEntries::TRemovedEntries(const TUpdateLists& lists) {
    // A removed node as position -1, ahead of its values.
    std::vector<std::pair<const TTarvinItem*, int>> named;
    named.reserve(lists.RemovedItems.size() + lists.RemovedValues.size());
    for (const TTarvinItem* removed : lists.RemovedItems)
        named.emplace_back(removed, -1);
    for (const TValueEntry& removed : lists.RemovedValues)
        if (removed.ValueIndex >= 0)
            named.emplace_back(removed.Item, removed.ValueIndex);
    std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
        return std::less<const TTarvinItem*>()(a.first, b.first) ||
               (a.first == b.first && a.second < b.second);
    });
    named.erase(std::unique(named.begin(), named.end()), named.end());
    m_values.reserve(named.size());
    for (const auto& [node, position] : named) {
        if (m_nodes.empty() || m_nodes.back().node != node) {
            const auto at = static_cast<std::uint32_t>(m_values.size());
            m_nodes.push_back({node, false, at, at});
        }
        if (position < 0) {
            m_nodes.back().whole = true;
        } else {
            m_values.push_back(position);
            ++m_nodes.back().end;
        }
    }
}

TSkips TRemovedEntries::Skips(const TTarvinItem& node) const {
    const std::less<const TTarvinItem*> below;
    const auto before = [&](const TNode& n, const TTarvinItem* p) { return below(n.node, p); };
    const std::size_t size = m_nodes.size();
    std::size_t next = m_next;
    if (next < size && before(m_nodes[next], &node)) {
        // Further on: strides that double, then a search within the last.
        std::size_t stride = 1;
        while (next + stride < size && before(m_nodes[next + stride], &node))
            stride *= 2;
        const auto first = m_nodes.begin() + static_cast<std::ptrdiff_t>(next + stride / 2 + 1);
        const auto last =
            m_nodes.begin() + static_cast<std::ptrdiff_t>(std::min(next + stride, size));
        next = static_cast<std::size_t>(std::lower_bound(first, last, &node, before) -
                                        m_nodes.begin());
    } else if (next > 0 && !before(m_nodes[next - 1], &node)) {
        next = static_cast<std::size_t>(
            std::lower_bound(m_nodes.begin(),
                             m_nodes.begin() + static_cast<std::ptrdiff_t>(next - 1), &node,
                             before) -
            m_nodes.begin());
    }
    m_next = next;
    if (next == size || m_nodes[next].node != &node)
        return {};
    const TNode& held = m_nodes[next];
    return {held.whole, std::span(m_values).subspan(held.begin, held.end - held.begin)};
}

} // namespace trvx
