#include "language/TarvinItem.h"

#include "language/Errors.h"

#include <cstring>

namespace trvx {

std::string_view CutAtNul(std::string_view text) {
    const void* nul = std::memchr(text.data(), 0, text.size());
    return nul ? text.substr(0, static_cast<const char*>(nul) - text.data()) : text;
}

TTarvinItem::~TTarvinItem() {
    Clear();
}

void TTarvinItem::Clear() {
    // Detach grandchildren before each child dies, so destruction never nests.
    std::vector<std::unique_ptr<TTarvinItem>> pending;
    for (auto& child : m_children)
        pending.push_back(std::move(child.Item));
    m_children.clear();
    m_values.clear();
    while (!pending.empty()) {
        std::unique_ptr<TTarvinItem> item = std::move(pending.back());
        pending.pop_back();
        for (auto& child : item->m_children)
            pending.push_back(std::move(child.Item));
        item->m_children.clear();
    }
}

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
    auto item = std::make_unique<TTarvinItem>();
    TTarvinItem& ref = *item;
    m_children.push_back({std::move(name), std::move(item)});
    return ref;
}

int TTarvinItem::IndexOfChild(std::string_view name, const CodePage& cp) const {
    for (std::size_t i = 0; i < m_children.size(); ++i)
        if (cp.SameText(m_children[i].Name.View(), name))
            return static_cast<int>(i);
    return -1;
}

void TTarvinItem::DeleteChild(int index) {
    CheckChild(index);
    std::unique_ptr<TTarvinItem> doomed = std::move(m_children[index].Item);
    m_children.erase(m_children.begin() + index);
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
    for (std::size_t i = 0; i < m_values.size(); ++i)
        if (cp.SameText(m_values[i].Ident.View(), ident))
            return static_cast<int>(i);
    return -1;
}

void TTarvinItem::DeleteValue(int index) {
    CheckValue(index);
    m_values.erase(m_values.begin() + index);
}

} // namespace trvx
