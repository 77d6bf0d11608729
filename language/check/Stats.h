#pragma once

#include "document/Tarvin.h"
#include "encoding/CodePage.h"

#include <optional>
#include <string>
#include <vector>

namespace trvx {

// Counts for `trvx stats`. Nodes and values are the translation's own; the
// root is no node, and its values count only in the totals.
//
// With a base, coverage is measured over the base: every base value that
// holds a letter by the base's code page (and is no "Shortcut", which names
// keys rather than words) is translated when the translation has a
// counterpart with another text, untranslated when the counterpart has the
// same text, and missing when there is none. Counterparts are found as the
// check finds them: first match of name and ident, case folded by the
// translation's code page.
struct TCoverage {
    long long Translated = 0;
    long long Untranslated = 0;
    long long Missing = 0;
    long long Total() const { return Translated + Untranslated + Missing; }
    // Translated / Total, or nothing when the base has no such value.
    std::optional<double> Share() const;
};

struct TSectionStats {
    std::string Name;          // raw bytes of the top-level node's name
    bool InTranslation = true; // false: a section only the base has
    long long Nodes = 0;       // the section node and every node below it
    long long Values = 0;
    TCoverage Coverage;
};

struct TLanguageStats {
    long long Nodes = 0;
    long long Values = 0;
    bool HasBase = false;
    TCoverage Coverage;
    std::vector<TSectionStats> Sections; // the translation's, then those only the base has
};

TLanguageStats CollectStats(const TTarvinItem& root, const CodePage& cp,
                            const TTarvinItem* baseRoot, const CodePage& baseCp);
TLanguageStats CollectStats(const TTarvin& translation, const TTarvin* base);

} // namespace trvx
