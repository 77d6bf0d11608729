#pragma once

#include "encoding/CodePage.h"
#include "tree/TarvinItem.h"
#include "ui/common/NodeData.h"
#include "ui/common/ViewRules.h"
#include "update/UpdateLists.h"

#include <QAbstractItemModel>

#include <cstdint>
#include <utility>
#include <vector>

namespace tarvin {

class TImageList;

// The rows of the contents tree: one per node of the language tree, siblings
// sorted by CompareContentsNodes. Rows are records that point into the tree;
// Rebuild replaces all of them. Nodes are numbered in the file's pre-order
// (1, 2, ...; 0 stands for the hidden root), and the number of a row stays
// fixed until the next Rebuild.
class TContentsModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TContentsModel(const TImageList& images, QObject* parent = nullptr);

    // Throws all rows away and builds them from root. A node the lists mark
    // added or removed gets that state, and every node below it inherits it.
    void Rebuild(trvx::TTarvinItem& root, const trvx::TUpdateLists& lists,
                 const TControlPrefixes& prefixes, const trvx::CodePage& codePage);
    void Clear();
    // Trees of at least this many rows are built on two threads.
    void SetSplitFrom(std::size_t rows) { m_splitFrom = rows; }
    // Shows the same rows through another code page.
    void SetCodePage(const trvx::CodePage& codePage);

    // Node numbers: 1 .. NodeCount() are rows, in the file's pre-order.
    int NodeCount() const { return static_cast<int>(m_links.size()) - 1; }
    int NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOfNode(int node) const;
    const TContentsNodeData& NodeData(int node) const { return m_data.at(Size(node)); }
    // The record of a row, or nullptr for an invalid index.
    const TContentsNodeData* NodeData(const QModelIndex& index) const;
    int ParentNode(int node) const { return m_links.at(Size(node)).Parent; }

    // Pre-order in the displayed (sorted) order, collapsed rows included; 0
    // when there is no such row.
    int FirstNode() const;
    int NextNode(int node) const;
    int PreviousNode(int node) const;

    // The rows whose node the update lists mark added or removed, itself or
    // above it, by ascending number: what the Added and Removed lists show.
    const std::vector<int>& MarkedNodes() const { return m_markedNodes; }

    // The row that shows item, or 0 / an invalid index when none does.
    int NodeOfItem(const trvx::TTarvinItem* item) const;
    QModelIndex IndexOfItem(const trvx::TTarvinItem* item) const {
        return IndexOfNode(NodeOfItem(item));
    }

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // Where a row stands; the walks of the views read only these.
    struct TLinks {
        int Parent = 0;
        int Row = 0;        // position among the displayed siblings
        int FirstChild = 0; // start of the children's block in m_children
        int ChildCount = 0;
    };
    static std::size_t Size(int i) { return static_cast<std::size_t>(i); }
    int ChildAt(int node, int row) const {
        return m_children[Size(m_links[Size(node)].FirstChild + row)];
    }
    int LastDescendant(int node) const;
    // Rebuild's steps: the nodes in file order, then their rows over a range
    // of numbers, then the children's order of a range of nodes.
    void WalkInFileOrder(const trvx::TTarvinItem& root, const trvx::TUpdateLists& lists);
    int WalkChildCount(int node) const;
    void FillRows(int from, int to, const TControlPrefixes& prefixes);
    void SortBlocks(int from, int to);
    void ResetRows();
    void BuildItemIndex() const;

    const TImageList& m_images;
    const trvx::CodePage* m_codePage = &trvx::CodePage::Default();
    // By node number, [0] being the root. A row's links and its record lie
    // apart, so a walk over a large tree pulls only what it reads into cache.
    std::vector<TLinks> m_links;
    std::vector<TContentsNodeData> m_data;
    std::vector<int> m_children; // blocks of node numbers in displayed order
    // Rebuild's sort keys, beside m_children's blocks so a block sorts in
    // place; kept so their memory is reused.
    struct TSortEntry {
        TCaptionKey Key;
        int ImageIndex;
        int Node;
    };
    std::vector<TSortEntry> m_sortEntries;
    // Rebuild's walk, by node number: where each row's name and item are,
    // and what it inherits; kept so its memory is reused.
    struct TWalkEntry {
        const trvx::TTarvinItem::TChildEntry* Entry;
        int Parent;
        int Slot; // in the parent's block
        int FirstChild;
        TUpdateState State;
    };
    std::vector<TWalkEntry> m_walk;
    std::size_t m_splitFrom = std::size_t{1} << 15;
    mutable std::vector<std::pair<const trvx::TTarvinItem*, int>> m_itemIndex; // sorted
    std::vector<int> m_markedNodes; // found by Rebuild, so no later pass visits every row
};

} // namespace tarvin
