#include "ui/models/ReferenceText.h"

namespace tarvin {

namespace {

constexpr std::size_t kScanLimit = 8;

} // namespace

TReferenceText::TReferenceText(const trvx::TTarvinItem& translationRoot,
                               const trvx::TTarvinItem& referenceRoot,
                               const trvx::CodePage& codePage)
    : m_root(translationRoot), m_referenceRoot(referenceRoot), m_codePage(codePage),
      m_letters(codePage) {
    m_pairs.emplace(&m_root, TPair{nullptr, &m_referenceRoot});
}

void TReferenceText::PairChildren(const trvx::TTarvinItem& parent) {
    const trvx::TTarvinItem* counterpart = m_pairs.at(&parent).Counterpart;
    const auto children = parent.Children();
    if (counterpart == nullptr) {
        for (const auto& child : children)
            m_pairs.emplace(child.Item.get(), TPair{&parent, nullptr});
        return;
    }
    const auto references = counterpart->Children();
    trvx::TNameLookup lookup;
    for (const auto& child : children) {
        const int found = lookup.Find(
            child.Name.View(), static_cast<int>(references.size()),
            [&](int k) { return references[static_cast<std::size_t>(k)].Name.View(); }, m_codePage);
        const trvx::TTarvinItem* match =
            found < 0 ? nullptr : references[static_cast<std::size_t>(found)].Item.get();
        m_pairs.emplace(child.Item.get(), TPair{&parent, match});
    }
}

const trvx::TTarvinItem* TReferenceText::NodeFor(std::span<const trvx::TTarvinItem* const> path) {
    const trvx::TTarvinItem* parent = &m_root;
    const trvx::TTarvinItem* counterpart = &m_referenceRoot;
    for (const trvx::TTarvinItem* node : path) {
        auto found = m_pairs.find(node);
        if (found == m_pairs.end()) {
            PairChildren(*parent);
            found = m_pairs.find(node);
            if (found == m_pairs.end())
                return nullptr; // not a child of parent
        }
        if (found->second.Parent != parent)
            return nullptr;
        counterpart = found->second.Counterpart;
        if (counterpart == nullptr)
            return nullptr;
        parent = node;
    }
    return counterpart;
}

std::optional<std::string_view> TReferenceText::TextOf(const trvx::TTarvinItem* referenceNode,
                                                       std::string_view ident) {
    if (referenceNode == nullptr)
        return std::nullopt;
    const auto values = referenceNode->Values();
    // Most nodes hold a few values: a scan beats finding their index.
    if (values.size() <= kScanLimit) {
        for (const auto& value : values)
            if (m_codePage.SameText(value.Ident.View(), ident))
                return value.Text.View();
        return std::nullopt;
    }
    const int found = m_valueLookups[referenceNode].Find(
        ident, static_cast<int>(values.size()),
        [&](int k) { return values[static_cast<std::size_t>(k)].Ident.View(); }, m_codePage);
    if (found < 0)
        return std::nullopt;
    return referenceNode->ValueText(found);
}

bool TReferenceText::IsUntranslated(std::string_view ident, std::string_view text,
                                    std::optional<std::string_view> reference) const {
    return reference && ident != "Shortcut" && text == *reference && m_letters.HasWords(text);
}

} // namespace tarvin
