#pragma once

#include "encoding/CodePage.h"
#include "tree/TStr.h"

#include <memory>
#include <memory_resource>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trvx {

// One node of a language tree: ordered, named child nodes and ordered
// (ident, text) values. Lists only grow at the end, keep duplicates and
// shift down behind a deleted entry. Every index is checked and a bad one
// raises EListError before anything changes.
class TTarvinItem;

// Items live in their tree's memory resource; this returns them there.
struct TItemDeleter {
    void operator()(TTarvinItem* item) const;
};
using TItemPtr = std::unique_ptr<TTarvinItem, TItemDeleter>;

class TTarvinItem {
public:
    struct TChildEntry {
        TStr Name;
        TItemPtr Item;
    };
    struct TValueEntryData {
        TStr Ident;
        TStr Text;
    };

    // Children and lists come from resource; a tree passes its arena down.
    explicit TTarvinItem(std::pmr::memory_resource* resource = std::pmr::get_default_resource())
        : m_children(resource), m_values(resource) {}
    TTarvinItem(const TTarvinItem&) = delete;
    TTarvinItem& operator=(const TTarvinItem&) = delete;
    ~TTarvinItem();

    std::pmr::memory_resource* Resource() const { return m_children.get_allocator().resource(); }

    // Frees the whole subtree without recursion, so any depth is safe.
    void Clear();

    int ChildCount() const { return static_cast<int>(m_children.size()); }
    TTarvinItem& GetChild(int index);
    const TTarvinItem& GetChild(int index) const;
    std::string_view GetChildName(int index) const;
    TTarvinItem& AddChild(std::string_view name);
    // First child whose name equals name, letter case ignored by the code page; -1 if none.
    int IndexOfChild(std::string_view name, const CodePage& cp = CodePage::Default()) const;
    void DeleteChild(int index);
    // Deletes the children at the given positions (ascending, distinct) in one
    // pass, so pruning many siblings stays linear. Checks all before any goes.
    void DeleteChildren(const std::vector<int>& positions);

    int ValueCount() const { return static_cast<int>(m_values.size()); }
    std::string_view GetValueIdent(int index) const;
    // A copy of the value's text.
    std::string GetValue(int index) const { return std::string(ValueText(index)); }
    // The stored text without a copy; valid until the value changes.
    std::string_view ValueText(int index) const;
    // Texts end at their first NUL, as the stored zero-terminated copy does.
    void SetValue(int index, std::string_view text);
    void AddValue(std::string_view ident, std::string_view text);
    int IndexOfValue(std::string_view ident, const CodePage& cp = CodePage::Default()) const;
    void DeleteValue(int index);
    // The same for values.
    void DeleteValues(const std::vector<int>& positions);

    // For readers: entries whose strings may borrow from a load buffer.
    TTarvinItem& AppendChild(TStr name);
    void AppendValue(TStr ident, TStr text);
    // A new item in this item's resource, not yet in any list.
    TItemPtr NewItem() const { return NewItemIn(Resource()); }
    static TItemPtr NewItemIn(std::pmr::memory_resource* resource);
    // Appends whole batches with one exact allocation, so a reader leaves no slack.
    void AppendChildren(std::vector<TChildEntry>& batch);
    void AppendValues(std::vector<TValueEntryData>& batch);
    // The same from a list of any kind, moved from; the caller empties it.
    void AppendValues(std::span<TValueEntryData> batch);

    std::span<const TChildEntry> Children() const { return m_children; }
    std::span<const TValueEntryData> Values() const { return m_values; }

private:
    void CheckChild(int index) const;
    void CheckValue(int index) const;

    std::pmr::vector<TChildEntry> m_children;
    std::pmr::vector<TValueEntryData> m_values;
};

// The text up to its first NUL.
std::string_view CutAtNul(std::string_view text);

} // namespace trvx
