#pragma once

#include "check/CheckText.h"
#include "encoding/CodePage.h"
#include "tree/FirstPositionIndex.h"
#include "tree/TarvinItem.h"

#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>

namespace tarvin {

// Finds, for a node and ident of the open translation, the text a reference
// language tree holds there. Names and idents pair as Update To pairs them:
// the first entry of the same name, letter case folded by the translation's
// code page. Pairs are found on demand and kept, so each sibling list is
// matched once; the cache names translation nodes and must be dropped when
// the translation's shape changes (values may change freely).
class TReferenceText {
public:
    TReferenceText(const trvx::TTarvinItem& translationRoot, const trvx::TTarvinItem& referenceRoot,
                   const trvx::CodePage& codePage);

    // The reference node for the translation node reached from the root
    // through path (each entry a child of the one before); null when the
    // reference lacks it or path leaves the translation.
    const trvx::TTarvinItem* NodeFor(std::span<const trvx::TTarvinItem* const> path);
    // The text of the first value of ident in a reference node.
    std::optional<std::string_view> TextOf(const trvx::TTarvinItem* referenceNode,
                                           std::string_view ident);

    // Whether a translation text still is the reference's: the same bytes,
    // holding a word. Shortcuts name keys, not language, and never count.
    bool IsUntranslated(std::string_view ident, std::string_view text,
                        std::optional<std::string_view> reference) const;

private:
    void PairChildren(const trvx::TTarvinItem& parent);

    const trvx::TTarvinItem& m_root;
    const trvx::TTarvinItem& m_referenceRoot;
    const trvx::CodePage& m_codePage;
    trvx::TLetterTable m_letters;
    struct TPair {
        const trvx::TTarvinItem* Parent;      // in the translation
        const trvx::TTarvinItem* Counterpart; // null when the reference has none
    };
    std::unordered_map<const trvx::TTarvinItem*, TPair> m_pairs;
    std::unordered_map<const trvx::TTarvinItem*, trvx::TNameLookup> m_valueLookups;
};

} // namespace tarvin
