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
    // Shows the same rows through another code page.
    void SetCodePage(const trvx::CodePage& codePage);

    // Node numbers: 1 .. NodeCount() are rows, in the file's pre-order.
    int NodeCount() const { return static_cast<int>(m_nodes.size()) - 1; }
    int NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOfNode(int node) const;
    const TContentsNodeData& NodeData(int node) const { return m_nodes.at(Size(node)).Data; }
    // The record of a row, or nullptr for an invalid index.
    const TContentsNodeData* NodeData(const QModelIndex& index) const;
    int ParentNode(int node) const { return m_nodes.at(Size(node)).Parent; }

    // Pre-order in the displayed (sorted) order, collapsed rows included; 0
    // when there is no such row.
    int FirstNode() const;
    int NextNode(int node) const;
    int PreviousNode(int node) const;

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
    struct TNode {
        TContentsNodeData Data;
        int Parent = 0;
        int Row = 0;        // position among the displayed siblings
        int FirstChild = 0; // start of the children's block in m_children
        int ChildCount = 0;
        std::uint64_t SortKey = 0; // CaptionSortKey of the caption
    };
    static std::size_t Size(int i) { return static_cast<std::size_t>(i); }
    int ChildAt(int node, int row) const {
        return m_children[Size(m_nodes[Size(node)].FirstChild + row)];
    }
    int LastDescendant(int node) const;
    void BuildItemIndex() const;

    const TImageList& m_images;
    const trvx::CodePage* m_codePage = &trvx::CodePage::Default();
    std::vector<TNode> m_nodes;  // [0] is the root
    std::vector<int> m_children; // blocks of node numbers in displayed order
    mutable std::vector<std::pair<const trvx::TTarvinItem*, int>> m_itemIndex; // sorted
};

} // namespace tarvin
