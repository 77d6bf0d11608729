#pragma once

// A word-for-word, recursive, linear-scan rendering of Update To and of
// pruning, kept only to check the real ones against. Plain vectors, plain
// IndexOfChild / IndexOfValue, no index of any kind.

#include "encoding/CodePage.h"
#include "tree/TarvinItem.h"
#include "update/UpdateLists.h"

#include <algorithm>
#include <string>
#include <vector>

namespace trvx::reference {

struct TLists {
    std::vector<TTarvinItem*> AddedItems;
    std::vector<TTarvinItem*> RemovedItems;
    std::vector<TValueEntry> AddedValues;
    std::vector<TValueEntry> RemovedValues;
};

class TMerge {
public:
    TMerge(TLists& lists, const CodePage& cp) : m_lists(lists), m_cp(cp) {}

    void MergeAdded(const TTarvinItem& b, TTarvinItem& t) {
        for (int i = 0; i < b.ChildCount(); ++i) {
            const std::string name(b.GetChildName(i));
            const int j = t.IndexOfChild(name, m_cp);
            if (j < 0)
                CopyNewItem(name, b.GetChild(i), t);
            else
                MergeAdded(b.GetChild(i), t.GetChild(j));
        }
        CopyMissingValues(b, t, true);
    }

    void CopyNewItem(const std::string& name, const TTarvinItem& s, TTarvinItem& p) {
        TTarvinItem& n = p.AddChild(name);
        for (int i = 0; i < s.ChildCount(); ++i)
            CopyNewItem(std::string(s.GetChildName(i)), s.GetChild(i), n);
        CopyMissingValues(s, n, false);
        m_lists.AddedItems.push_back(&n);
    }

    void CopyMissingValues(const TTarvinItem& s, TTarvinItem& d, bool record) {
        std::vector<std::string> noted;
        for (int i = 0; i < s.ValueCount(); ++i) {
            const std::string ident(s.GetValueIdent(i));
            if (d.IndexOfValue(ident, m_cp) == -1) {
                d.AddValue(ident, s.GetValue(i));
                if (record)
                    noted.push_back(ident);
            }
        }
        for (const std::string& ident : noted)
            m_lists.AddedValues.push_back({&d, d.IndexOfValue(ident, m_cp)});
    }

    void MarkRemoved(const TTarvinItem& b, TTarvinItem& t) {
        for (int i = 0; i < t.ChildCount(); ++i) {
            const int j = b.IndexOfChild(t.GetChildName(i), m_cp);
            if (j < 0)
                m_lists.RemovedItems.push_back(&t.GetChild(i));
            else
                MarkRemoved(b.GetChild(j), t.GetChild(i));
        }
        for (int i = 0; i < t.ValueCount(); ++i)
            if (b.IndexOfValue(t.GetValueIdent(i), m_cp) == -1)
                m_lists.RemovedValues.push_back({&t, i});
    }

private:
    TLists& m_lists;
    const CodePage& m_cp;
};

inline void UpdateTo(const TTarvinItem& base, TTarvinItem& open, TLists& lists,
                     const CodePage& cp) {
    lists = {};
    TMerge merge(lists, cp);
    merge.MergeAdded(base, open);
    merge.MarkRemoved(base, open);
}

inline int FindValueEntry(const std::vector<TValueEntry>& list, const TTarvinItem* item,
                          int index) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].Item == item && list[i].ValueIndex == index)
            return static_cast<int>(i);
    return -1;
}

inline void PruneRemoved(TTarvinItem& item, TLists& lists) {
    for (int n = item.ChildCount() - 1; n >= 0; --n) {
        auto it =
            std::find(lists.RemovedItems.begin(), lists.RemovedItems.end(), &item.GetChild(n));
        if (it != lists.RemovedItems.end()) {
            lists.RemovedItems.erase(it);
            item.DeleteChild(n);
        } else {
            PruneRemoved(item.GetChild(n), lists);
        }
    }
    for (int n = item.ValueCount() - 1; n >= 0; --n) {
        const int e = FindValueEntry(lists.RemovedValues, &item, n);
        if (e != -1) {
            lists.RemovedValues.erase(lists.RemovedValues.begin() + e);
            item.DeleteValue(n);
        }
    }
}

} // namespace trvx::reference
