#include "check/Stats.h"

#include "check/CheckText.h"
#include "tree/FirstPositionIndex.h"

#include <memory>

namespace trvx {

namespace {

constexpr std::string_view kShortcut = "Shortcut";

// Counts nodes and values of one subtree, without recursion.
void CountSubtree(const TTarvinItem& top, long long& nodes, long long& values) {
    std::vector<const TTarvinItem*> stack{&top};
    while (!stack.empty()) {
        const TTarvinItem* item = stack.back();
        stack.pop_back();
        ++nodes;
        values += item->ValueCount();
        for (const auto& child : item->Children())
            stack.push_back(child.Item.get());
    }
}

// Walks the base subtree below base beside its counterpart in the translation.
void Cover(const TTarvinItem& base, const TTarvinItem* mine, const CodePage& cp,
           const TLetterTable& baseLetters, TCoverage& coverage) {
    struct TFrame {
        const TTarvinItem* Base;
        const TTarvinItem* Mine;
        std::size_t Next = 0;
        TNameLookup Children;
    };
    std::vector<TFrame> stack;
    auto enter = [&](const TTarvinItem* b, const TTarvinItem* m) {
        TNameLookup values;
        const auto baseValues = b->Values();
        for (const auto& v : baseValues) {
            if (v.Ident.View() == kShortcut || !baseLetters.HasWords(v.Text.View()))
                continue;
            int i = -1;
            if (m) {
                const auto list = m->Values();
                i = values.Find(
                    v.Ident.View(), static_cast<int>(list.size()),
                    [&](int k) { return list[k].Ident.View(); }, cp);
            }
            if (i < 0)
                ++coverage.Missing;
            else if (m->ValueText(i) == v.Text.View())
                ++coverage.Untranslated;
            else
                ++coverage.Translated;
        }
        stack.push_back({b, m, 0, {}});
    };
    enter(&base, mine);
    while (!stack.empty()) {
        TFrame& top = stack.back();
        const auto children = top.Base->Children();
        if (top.Next == children.size()) {
            stack.pop_back();
            continue;
        }
        const auto& entry = children[top.Next++];
        const TTarvinItem* counterpart = nullptr;
        if (top.Mine) {
            const auto list = top.Mine->Children();
            const int i = top.Children.Find(
                entry.Name.View(), static_cast<int>(list.size()),
                [&](int k) { return list[k].Name.View(); }, cp);
            if (i >= 0)
                counterpart = list[i].Item.get();
        }
        enter(entry.Item.get(), counterpart);
    }
}

void Add(TCoverage& to, const TCoverage& from) {
    to.Translated += from.Translated;
    to.Untranslated += from.Untranslated;
    to.Missing += from.Missing;
}

} // namespace

std::optional<double> TCoverage::Share() const {
    if (Total() == 0)
        return std::nullopt;
    return static_cast<double>(Translated) / static_cast<double>(Total());
}

TLanguageStats CollectStats(const TTarvinItem& root, const CodePage& cp,
                            const TTarvinItem* baseRoot, const CodePage& baseCp) {
    TLanguageStats stats;
    stats.Values = root.ValueCount();
    const auto sections = root.Children();
    for (const auto& section : sections) {
        TSectionStats s;
        s.Name = section.Name.Str();
        CountSubtree(*section.Item, s.Nodes, s.Values);
        stats.Nodes += s.Nodes;
        stats.Values += s.Values;
        stats.Sections.push_back(std::move(s));
    }
    if (!baseRoot)
        return stats;
    stats.HasBase = true;
    const TLetterTable baseLetters(baseCp);
    // Values of the base's root stand in no section; they count in the totals.
    TTarvinItem rootValuesOnly;
    for (const auto& v : baseRoot->Values())
        rootValuesOnly.AddValue(v.Ident.View(), v.Text.View());
    Cover(rootValuesOnly, &root, cp, baseLetters, stats.Coverage);
    TNameLookup finder;
    for (const auto& baseSection : baseRoot->Children()) {
        const int i = finder.Find(
            baseSection.Name.View(), static_cast<int>(sections.size()),
            [&](int k) { return sections[k].Name.View(); }, cp);
        TCoverage coverage;
        Cover(*baseSection.Item, i < 0 ? nullptr : sections[i].Item.get(), cp, baseLetters,
              coverage);
        if (i < 0) {
            TSectionStats s;
            s.Name = baseSection.Name.Str();
            s.InTranslation = false;
            stats.Sections.push_back(std::move(s));
            Add(stats.Sections.back().Coverage, coverage);
        } else {
            Add(stats.Sections[i].Coverage, coverage);
        }
        Add(stats.Coverage, coverage);
    }
    return stats;
}

TLanguageStats CollectStats(const TTarvin& translation, const TTarvin* base) {
    const CodePage& cp = translation.GetCodePage();
    return CollectStats(translation.Root(), cp, base ? &base->Root() : nullptr,
                        base ? base->GetCodePage() : cp);
}

} // namespace trvx
