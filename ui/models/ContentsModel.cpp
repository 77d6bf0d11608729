#include "ui/models/ContentsModel.h"

#include "ui/common/Icons.h"
#include "ui/common/LineBreakMarks.h"
#include "ui/common/TextCodec.h"
#include "ui/common/ViewColors.h"
#include "ui/models/ItemFilter.h"

#include <algorithm>
#include <exception>
#include <thread>

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

// Runs part over [0, split) here and [split, count) beside it; count <=
// split keeps it all here.
template <class Part> void InTwoParts(int split, int count, const Part& part) {
    if (split >= count) {
        part(0, count);
        return;
    }
    std::exception_ptr failed;
    {
        std::jthread other([&] {
            try {
                part(split, count);
            } catch (...) {
                failed = std::current_exception();
            }
        });
        part(0, split);
    }
    if (failed)
        std::rethrow_exception(failed);
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
    WalkInFileOrder(root, lists);
    const int count = static_cast<int>(m_walk.size());
    m_links.resize(Size(count));
    m_data.resize(Size(count));
    m_children.resize(Size(count - 1));
    m_sortEntries.resize(Size(count - 1));
    m_data[0].Item = &root;
    m_links[0].ChildCount = root.ChildCount();

    // Each row needs only its own walk entry, and each block only its own
    // rows: a large tree is built in two halves at once. Sorting waits for
    // all rows, as a block's keys may come from either half.
    const int split =
        Size(count) >= m_splitFrom && std::thread::hardware_concurrency() > 1 ? count / 2 : count;
    InTwoParts(split, count, [&](int from, int to) { FillRows(from, to, prefixes); });
    InTwoParts(split, count, [&](int from, int to) { SortBlocks(from, to); });
    endReset.Done = true;
}

void TContentsModel::WalkInFileOrder(const trvx::TTarvinItem& root,
                                     const trvx::TUpdateLists& lists) {
    TItemFilter listed(lists.AddedItems.size() + lists.RemovedItems.size());
    for (const auto* list : {&lists.AddedItems, &lists.RemovedItems})
        for (const trvx::TTarvinItem* item : *list)
            listed.Add(item);

    // Depth first without recursion: a child gets its number when it is
    // taken from the stack, and the next free block for its children.
    struct TPending {
        const trvx::TTarvinItem::TChildEntry* Entry;
        int Parent;
        int Slot;
        TUpdateState State;
    };
    std::vector<TPending> stack;
    const auto pushChildren = [&stack](const trvx::TTarvinItem& item, int number, int firstChild,
                                       TUpdateState state) {
        const auto children = item.Children();
        for (int i = static_cast<int>(children.size()) - 1; i >= 0; --i)
            stack.push_back({&children[Size(i)], number, firstChild + i, state});
    };
    m_walk.clear();
    m_walk.push_back({nullptr, 0, 0, 0, usNone});
    int nextBlock = root.ChildCount();
    pushChildren(root, 0, 0, usNone);
    while (!stack.empty()) {
        const TPending p = stack.back();
        stack.pop_back();
        const trvx::TTarvinItem* child = p.Entry->Item.get();
        const int number = static_cast<int>(m_walk.size());
        TUpdateState state = p.State;
        if (listed.MayContain(child)) {
            if (lists.IsAddedItem(child))
                state = usAdded;
            else if (lists.IsRemovedItem(child))
                state = usRemoved;
        }
        if (state != usNone)
            m_markedNodes.push_back(number);
        m_walk.push_back({p.Entry, p.Parent, p.Slot, nextBlock, state});
        pushChildren(*child, number, nextBlock, state);
        nextBlock += child->ChildCount();
    }
}

int TContentsModel::WalkChildCount(int node) const {
    // Blocks follow one another in walk order.
    const int next = Size(node) + 1 < m_walk.size() ? m_walk[Size(node) + 1].FirstChild
                                                    : static_cast<int>(m_children.size());
    return next - m_walk[Size(node)].FirstChild;
}

void TContentsModel::FillRows(int from, int to, const TControlPrefixes& prefixes) {
    for (int node = std::max(from, 1); node < to; ++node) {
        const TWalkEntry& w = m_walk[Size(node)];
        const TNodeLook look = NodeLook(w.Entry->Name.View(), prefixes);
        TContentsNodeData& data = m_data[Size(node)];
        data.State = w.State;
        data.Caption = look.Caption;
        data.Item = w.Entry->Item.get();
        data.ImageIndex = look.ImageIndex;
        data.SelectedIndex = look.SelectedIndex;
        m_links[Size(node)] = {w.Parent, 0, w.FirstChild, WalkChildCount(node)};
        m_sortEntries[Size(w.Slot)] = {CaptionSortKey(look.Caption), look.ImageIndex, node};
    }
}

void TContentsModel::SortBlocks(int from, int to) {
    // Blocks lie in node order, so this reads the entries once, front to
    // back; only captions whose keys tie are read.
    for (int node = from; node < to; ++node) {
        const TLinks& links = m_links[Size(node)];
        const auto begin = m_sortEntries.begin() + links.FirstChild;
        std::stable_sort(begin, begin + links.ChildCount,
                         [this](const TSortEntry& a, const TSortEntry& b) {
                             if (a.ImageIndex != b.ImageIndex)
                                 return a.ImageIndex < b.ImageIndex;
                             if (a.Key != b.Key)
                                 return a.Key < b.Key;
                             return CompareTextAscii(m_data[Size(a.Node)].Caption,
                                                     m_data[Size(b.Node)].Caption) < 0;
                         });
        for (int row = 0; row < links.ChildCount; ++row) {
            const int child = (begin + row)->Node;
            m_children[Size(links.FirstChild + row)] = child;
            m_links[Size(child)].Row = row;
        }
    }
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
