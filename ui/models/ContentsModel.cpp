#include "ui/models/ContentsModel.h"

#include "ui/common/Icons.h"
#include "ui/common/LineBreakMarks.h"
#include "ui/common/TextCodec.h"
#include "ui/common/ViewColors.h"
#include "ui/models/ItemFilter.h"

#include <algorithm>

namespace tarvin {

namespace {

// Views keep expanded rows in hashes of model indexes, whose hash adds the
// internal id to the row: plain node numbers would crowd into long runs of
// neighbouring hash values and make Expand All of a million rows quadratic.
// So the id is the node number times an odd constant, undone by its inverse.
static_assert(sizeof(quintptr) == 8);
constexpr quint64 kScramble = 0x9E3779B97F4A7C15ull;
constexpr quint64 Inverse(quint64 a) {
    quint64 x = a; // right in the lowest 3 bits; each step doubles that
    for (int i = 0; i < 5; ++i)
        x *= 2 - a * x;
    return x;
}
constexpr quint64 kUnscramble = Inverse(kScramble);
static_assert(kScramble * kUnscramble == 1);

quintptr IdOfNode(int node) {
    return quintptr(quint64(node) * kScramble);
}

int NodeOfId(quintptr id) {
    return int(quint64(id) * kUnscramble);
}

} // namespace

TContentsModel::TContentsModel(const TImageList& images, QObject* parent)
    : QAbstractItemModel(parent), m_images(images) {
    ResetRows();
}

void TContentsModel::ResetRows() {
    m_links.assign(1, TLinks{});
    m_data.assign(1, TContentsNodeData{});
    m_children.clear();
    m_itemIndex.clear();
    m_markedNodes.clear();
}

void TContentsModel::Clear() {
    beginResetModel();
    ResetRows();
    endResetModel();
}

void TContentsModel::SetCodePage(const trvx::CodePage& codePage) {
    // Rows, order and expansion stay: only the captions read differently.
    emit layoutAboutToBeChanged();
    m_codePage = &codePage;
    emit layoutChanged();
}

void TContentsModel::Rebuild(trvx::TTarvinItem& root, const trvx::TUpdateLists& lists,
                             const TControlPrefixes& prefixes, const trvx::CodePage& codePage) {
    beginResetModel();
    // The reset must end however the fill ends; a failed fill leaves no rows.
    struct TEndReset {
        TContentsModel* Model;
        bool Done = false;
        ~TEndReset() {
            if (!Done)
                Model->ResetRows();
            Model->endResetModel();
        }
    } endReset{this};

    m_codePage = &codePage;
    ResetRows();
    // One cheap pass for the number of rows, so the arrays never grow.
    std::size_t total = 0;
    for (std::vector<const trvx::TTarvinItem*> pending{&root}; !pending.empty();) {
        const trvx::TTarvinItem* item = pending.back();
        pending.pop_back();
        total += item->Children().size();
        for (const auto& child : item->Children())
            if (child.Item->ChildCount() > 0)
                pending.push_back(child.Item.get());
    }
    m_links.reserve(total + 1);
    m_data.reserve(total + 1);
    m_sortEntries.resize(total);
    m_children.reserve(total);

    m_data[0].Item = &root;
    m_links[0].ChildCount = root.ChildCount();
    m_children.resize(Size(root.ChildCount()));
    TItemFilter listed(lists.AddedItems.size() + lists.RemovedItems.size());
    for (const auto* list : {&lists.AddedItems, &lists.RemovedItems})
        for (const trvx::TTarvinItem* item : *list)
            listed.Add(item);

    // Depth first in file order without recursion: a child gets its number
    // when it is taken from the stack, and its children's block at once.
    struct TPending {
        trvx::TTarvinItem* Parent;
        int ParentNode;
        int ChildIndex;
    };
    std::vector<TPending> stack;
    for (int i = root.ChildCount() - 1; i >= 0; --i)
        stack.push_back({&root, 0, i});
    while (!stack.empty()) {
        const TPending p = stack.back();
        stack.pop_back();
        trvx::TTarvinItem& child = p.Parent->GetChild(p.ChildIndex);
        const int number = static_cast<int>(m_links.size());
        const std::size_t slot = Size(m_links[Size(p.ParentNode)].FirstChild + p.ChildIndex);

        TContentsNodeData data;
        data.State = m_data[Size(p.ParentNode)].State;
        if (listed.MayContain(&child)) {
            if (lists.IsAddedItem(&child))
                data.State = usAdded;
            else if (lists.IsRemovedItem(&child))
                data.State = usRemoved;
        }
        if (data.State != usNone)
            m_markedNodes.push_back(number);
        data.Item = &child;
        const TNodeLook look = NodeLook(p.Parent->GetChildName(p.ChildIndex), prefixes);
        data.Caption = look.Caption;
        data.ImageIndex = look.ImageIndex;
        data.SelectedIndex = look.SelectedIndex;
        m_data.push_back(data);
        m_sortEntries[slot] = {CaptionSortKey(look.Caption), look.ImageIndex, number};

        TLinks links;
        links.Parent = p.ParentNode;
        links.FirstChild = static_cast<int>(m_children.size());
        links.ChildCount = child.ChildCount();
        m_children.resize(m_children.size() + Size(links.ChildCount));
        m_links.push_back(links);
        for (int i = child.ChildCount() - 1; i >= 0; --i)
            stack.push_back({&child, number, i});
    }

    // Blocks lie in the order of m_links, so this pass reads the entries
    // once, front to back; only captions whose keys tie are read.
    for (const TLinks& node : m_links) {
        const auto begin = m_sortEntries.begin() + node.FirstChild;
        std::stable_sort(begin, begin + node.ChildCount,
                         [this](const TSortEntry& a, const TSortEntry& b) {
                             if (a.ImageIndex != b.ImageIndex)
                                 return a.ImageIndex < b.ImageIndex;
                             if (a.Key != b.Key)
                                 return a.Key < b.Key;
                             return CompareTextAscii(m_data[Size(a.Node)].Caption,
                                                     m_data[Size(b.Node)].Caption) < 0;
                         });
        for (int row = 0; row < node.ChildCount; ++row) {
            const int child = (begin + row)->Node;
            m_children[Size(node.FirstChild + row)] = child;
            m_links[Size(child)].Row = row;
        }
    }
    endReset.Done = true;
}

int TContentsModel::NodeOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return 0;
    return NodeOfId(index.internalId());
}

QModelIndex TContentsModel::IndexOfNode(int node) const {
    if (node <= 0 || node >= static_cast<int>(m_links.size()))
        return {};
    return createIndex(m_links[Size(node)].Row, 0, IdOfNode(node));
}

const TContentsNodeData* TContentsModel::NodeData(const QModelIndex& index) const {
    const int node = NodeOf(index);
    return node > 0 ? &m_data[Size(node)] : nullptr;
}

int TContentsModel::FirstNode() const {
    return m_links[0].ChildCount > 0 ? ChildAt(0, 0) : 0;
}

int TContentsModel::NextNode(int node) const {
    if (node <= 0 || node >= static_cast<int>(m_links.size()))
        return 0;
    if (m_links[Size(node)].ChildCount > 0)
        return ChildAt(node, 0);
    while (node > 0) {
        const TLinks& n = m_links[Size(node)];
        if (n.Row + 1 < m_links[Size(n.Parent)].ChildCount)
            return ChildAt(n.Parent, n.Row + 1);
        node = n.Parent;
    }
    return 0;
}

int TContentsModel::LastDescendant(int node) const {
    while (m_links[Size(node)].ChildCount > 0)
        node = ChildAt(node, m_links[Size(node)].ChildCount - 1);
    return node;
}

int TContentsModel::PreviousNode(int node) const {
    if (node <= 0 || node >= static_cast<int>(m_links.size()))
        return 0;
    const TLinks& n = m_links[Size(node)];
    if (n.Row > 0)
        return LastDescendant(ChildAt(n.Parent, n.Row - 1));
    return n.Parent;
}

void TContentsModel::BuildItemIndex() const {
    m_itemIndex.clear();
    m_itemIndex.reserve(m_links.size() - 1);
    for (std::size_t i = 1; i < m_links.size(); ++i)
        m_itemIndex.emplace_back(m_data[i].Item, static_cast<int>(i));
    std::sort(m_itemIndex.begin(), m_itemIndex.end());
}

int TContentsModel::NodeOfItem(const trvx::TTarvinItem* item) const {
    if (m_links.size() <= 1 || item == nullptr)
        return 0;
    if (m_itemIndex.empty())
        BuildItemIndex();
    auto it = std::lower_bound(m_itemIndex.begin(), m_itemIndex.end(),
                               std::pair<const trvx::TTarvinItem*, int>(item, 0));
    return (it != m_itemIndex.end() && it->first == item) ? it->second : 0;
}

QModelIndex TContentsModel::index(int row, int column, const QModelIndex& parent) const {
    const int p = NodeOf(parent);
    if (column != 0 || row < 0 || (parent.isValid() && parent.column() != 0) ||
        row >= m_links[Size(p)].ChildCount)
        return {};
    return createIndex(row, 0, IdOfNode(ChildAt(p, row)));
}

QModelIndex TContentsModel::parent(const QModelIndex& child) const {
    const int node = NodeOf(child);
    if (node <= 0)
        return {};
    return IndexOfNode(m_links[Size(node)].Parent);
}

int TContentsModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return m_links[Size(NodeOf(parent))].ChildCount;
}

int TContentsModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TContentsModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant TContentsModel::data(const QModelIndex& index, int role) const {
    const TContentsNodeData* d = NodeData(index);
    if (d == nullptr)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return MarkLineBreaks(ShownText(d->Caption, *m_codePage));
    case Qt::ToolTipRole:
        // The whole caption, line breaks and all, where the row may cut it.
        return CaptionTip(d->Caption, *m_codePage);
    case Qt::DecorationRole:
        return m_images.NodeIcon(d->ImageIndex, d->SelectedIndex);
    case Qt::BackgroundRole:
        return StateBrush(d->State);
    default:
        return {};
    }
}

Qt::ItemFlags TContentsModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Rows change only by a reset, so a row without children never gets one:
    // the view then keeps no expanded state for it, which Expand All would
    // otherwise hold for every leaf of a large tree.
    const Qt::ItemFlags leaf = rowCount(index) == 0 ? Qt::ItemNeverHasChildren : Qt::ItemFlags();
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | leaf;
}

} // namespace tarvin
