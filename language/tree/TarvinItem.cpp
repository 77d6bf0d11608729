#include "tree/TarvinItem.h"

#include "tree/Errors.h"

#include <cstring>

namespace trvx {

std::string_view CutAtNul(std::string_view text) {
    if (text.empty()) // memchr must not see the null data of an empty view
        return text;
    const void* nul = std::memchr(text.data(), 0, text.size());
    return nul ? text.substr(0, static_cast<const char*>(nul) - text.data()) : text;
}

void TItemDeleter::operator()(TTarvinItem* item) const {
    std::pmr::polymorphic_allocator<TTarvinItem> alloc(item->Resource());
    alloc.delete_object(item);
}

TTarvinItem::~TTarvinItem() {
    Clear();
}

void TTarvinItem::Clear() {
    // Detach grandchildren before each child dies, so destruction never nests.
    std::vector<TItemPtr> pending;
    for (auto& child : m_children)
        pending.push_back(std::move(child.Item));
    decltype(m_children)(m_children.get_allocator()).swap(m_children);
    decltype(m_values)(m_values.get_allocator()).swap(m_values);
    while (!pending.empty()) {
        TItemPtr item = std::move(pending.back());
        pending.pop_back();
        for (auto& child : item->m_children)
            pending.push_back(std::move(child.Item));
        item->m_children.clear();
    }
}

TItemPtr TTarvinItem::NewItemIn(std::pmr::memory_resource* resource) {
    std::pmr::polymorphic_allocator<TTarvinItem> alloc(resource);
    return TItemPtr(alloc.new_object<TTarvinItem>(resource));
}

void TTarvinItem::AppendChildren(std::vector<TChildEntry>& batch) {
    m_children.reserve(m_children.size() + batch.size());
    for (auto& entry : batch)
        m_children.push_back(std::move(entry));
    batch.clear();
}

void TTarvinItem::AppendValues(std::vector<TValueEntryData>& batch) {
    AppendValues(std::span(batch));
    batch.clear();
}

void TTarvinItem::AppendValues(std::span<TValueEntryData> batch) {
    m_values.reserve(m_values.size() + batch.size());
    for (auto& entry : batch)
        m_values.push_back(std::move(entry));
}

namespace {

// Positions must be ascending and in range; the first that is not raises
// the list-index error before anything changes.
void CheckPositions(const std::vector<int>& positions, std::size_t count) {
    int previous = -1;
    for (int p : positions) {
        if (p <= previous || static_cast<std::size_t>(p) >= count)
            throw EListError(p);
        previous = p;
    }
}

// The first entry whose key (a name or an ident) is wanted in cp's folding.
template <class List, class Entry>
int IndexOfKey(const List& list, TStr Entry::*key, std::string_view wanted, const CodePage& cp) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (cp.SameText((list[i].*key).View(), wanted))
            return static_cast<int>(i);
    return -1;
}

template <class List> void EraseAt(List& list, const std::vector<int>& positions) {
    CheckPositions(positions, list.size());
    std::size_t next = 0;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (next < positions.size() && static_cast<std::size_t>(positions[next]) == i) {
            ++next;
            continue;
        }
        if (kept != i)
            list[kept] = std::move(list[i]);
        ++kept;
    }
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(kept), list.end());
}

} // namespace

void TTarvinItem::CheckChild(int index) const {
    if (index < 0 || index >= ChildCount())
        throw EListError(index);
}

void TTarvinItem::CheckValue(int index) const {
    if (index < 0 || index >= ValueCount())
        throw EListError(index);
}

TTarvinItem& TTarvinItem::GetChild(int index) {
    CheckChild(index);
    return *m_children[index].Item;
}

const TTarvinItem& TTarvinItem::GetChild(int index) const {
    CheckChild(index);
    return *m_children[index].Item;
}

std::string_view TTarvinItem::GetChildName(int index) const {
    CheckChild(index);
    return m_children[index].Name.View();
}

TTarvinItem& TTarvinItem::AddChild(std::string_view name) {
    return AppendChild(TStr(name));
}

TTarvinItem& TTarvinItem::AppendChild(TStr name) {
    TItemPtr item = NewItem();
    TTarvinItem& ref = *item;
    m_children.push_back({std::move(name), std::move(item)});
    return ref;
}

int TTarvinItem::IndexOfChild(std::string_view name, const CodePage& cp) const {
    return IndexOfKey(m_children, &TChildEntry::Name, name, cp);
}

void TTarvinItem::DeleteChild(int index) {
    CheckChild(index);
    TItemPtr doomed = std::move(m_children[index].Item);
    m_children.erase(m_children.begin() + index);
}

void TTarvinItem::DeleteChildren(const std::vector<int>& positions) {
    EraseAt(m_children, positions);
}

std::string_view TTarvinItem::GetValueIdent(int index) const {
    CheckValue(index);
    return m_values[index].Ident.View();
}

std::string_view TTarvinItem::ValueText(int index) const {
    CheckValue(index);
    return m_values[index].Text.View();
}

void TTarvinItem::SetValue(int index, std::string_view text) {
    CheckValue(index);
    m_values[index].Text = TStr(CutAtNul(text));
}

void TTarvinItem::AddValue(std::string_view ident, std::string_view text) {
    AppendValue(TStr(ident), TStr(CutAtNul(text)));
}

void TTarvinItem::AppendValue(TStr ident, TStr text) {
    m_values.push_back({std::move(ident), std::move(text)});
}

int TTarvinItem::IndexOfValue(std::string_view ident, const CodePage& cp) const {
    return IndexOfKey(m_values, &TValueEntryData::Ident, ident, cp);
}

void TTarvinItem::DeleteValue(int index) {
    CheckValue(index);
    m_values.erase(m_values.begin() + index);
}

void TTarvinItem::DeleteValues(const std::vector<int>& positions) {
    EraseAt(m_values, positions);
}

} // namespace trvx
