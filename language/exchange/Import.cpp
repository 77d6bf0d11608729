#include "exchange/Exchange.h"
#include "exchange/ValueSplice.h"

#include "tree/Errors.h"

#include <unordered_map>

namespace trvx::exchange {

namespace {

std::string UnitError(std::string_view id, std::string_view what) {
    return "unit \"" + std::string(id) + "\": " + std::string(what);
}

// Lines as the host counts them: "\n" is the only break an exchange text has.
std::size_t LineCount(std::string_view utf8) {
    std::size_t lines = 1;
    for (char c : utf8)
        lines += c == '\n';
    return lines;
}

std::string WithoutCr(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r')
            out += text[i];
        else if (i + 1 == text.size() || text[i + 1] != '\n')
            out += '\n';
    }
    return out;
}

// The same nodes, names, idents and texts in the same order; the roots'
// own values are no part of a file.
bool SameTree(const TTarvinItem& a, const TTarvinItem& b) {
    std::vector<std::pair<const TTarvinItem*, const TTarvinItem*>> pending{{&a, &b}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        const auto xv = x == &a ? decltype(x->Values()){} : x->Values();
        const auto yv = y == &b ? decltype(y->Values()){} : y->Values();
        const auto xc = x->Children(), yc = y->Children();
        if (xv.size() != yv.size() || xc.size() != yc.size())
            return false;
        for (std::size_t i = 0; i < xv.size(); ++i)
            if (xv[i].Ident.View() != yv[i].Ident.View() || xv[i].Text.View() != yv[i].Text.View())
                return false;
        for (std::size_t i = 0; i < xc.size(); ++i) {
            if (xc[i].Name.View() != yc[i].Name.View())
                return false;
            pending.emplace_back(xc[i].Item.get(), yc[i].Item.get());
        }
    }
    return true;
}

} // namespace

namespace {

// Adds a change to plan when target differs from the value's text.
void Consider(TImportPlan& plan, std::string_view id, TTarvinItem& node, int index,
              std::string_view target, const CodePage& cp, bool strict, std::string& current) {
    current.clear();
    AppendExchangeText(current, node.ValueText(index), cp);
    // Some tools hand line breaks back as CR LF; the text is the same.
    std::string normalized;
    if (target.find('\r') != std::string_view::npos) {
        normalized = WithoutCr(target);
        target = normalized;
    }
    if (target == current)
        return;
    char32_t bad = 0;
    std::optional<std::string> bytes = LanguageText(target, cp, bad);
    if (!bytes)
        throw EExchangeError(UnitError(id, DescribeChar(bad) + " does not exist in code page " +
                                               std::to_string(cp.Id()) + " of this translation"));
    if (ValueKindOfIdent(node.GetValueIdent(index)) == vkItems &&
        LineCount(current) != LineCount(target)) {
        const std::string message =
            UnitError(id, "the list had " + std::to_string(LineCount(current)) +
                              " lines and now has " + std::to_string(LineCount(target)));
        if (strict)
            throw EExchangeError(message + " (refused with --strict)");
        plan.Warnings.push_back(message);
    }
    plan.Changes.push_back({std::string(id), &node, index, std::move(*bytes)});
}

} // namespace

TImportPlan PlanImport(const TTarvin& translation, const std::vector<TIncomingUnit>& units,
                       bool strict) {
    const CodePage& cp = translation.GetCodePage();
    std::string current;
    TImportPlan plan;
    plan.Units = units.size();

    // A file mostly comes back in the order it was written, perhaps without
    // some values: matched in step with the walk, no unit needs a lookup.
    std::size_t inStep = 0;
    ForEachValueId(translation, [&](std::string_view id, TTarvinItem& node, int index) {
        if (inStep < units.size() && units[inStep].Id == id) {
            Consider(plan, id, node, index, units[inStep].Target, cp, strict, current);
            ++inStep;
        }
    });
    if (inStep == units.size())
        return plan;

    // Another order, a duplicate or a stranger: by id.
    plan.Changes.clear();
    plan.Warnings.clear();
    std::unordered_map<std::string_view, std::size_t> byId;
    byId.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i)
        if (!byId.emplace(units[i].Id, i).second)
            throw EExchangeError(UnitError(units[i].Id, "appears twice in the file"));
    std::vector<bool> found(units.size());
    ForEachValueId(translation, [&](std::string_view id, TTarvinItem& node, int index) {
        const auto it = byId.find(id);
        if (it == byId.end())
            return;
        found[it->second] = true;
        Consider(plan, id, node, index, units[it->second].Target, cp, strict, current);
    });
    // Name the first unit, in the file's order, that matched nothing.
    for (std::size_t i = 0; i < units.size(); ++i)
        if (!found[i])
            throw EExchangeError(UnitError(units[i].Id, "the translation has no such value"));
    return plan;
}

std::string ApplyImport(TTarvin& translation, const std::vector<TValueSpan>& spans,
                        const TImportPlan& plan) {
    TNewTexts newTexts;
    newTexts.reserve(plan.Changes.size());
    for (const TImportChange& change : plan.Changes)
        newTexts.emplace(TValueKey{change.Node, change.Index}, change.Text);
    std::string text = SpliceValues(translation.LoadedText(), spans, newTexts);
    // What a NUL hides from the reader is no less the user's.
    text += translation.LoadedBytes().substr(translation.LoadedText().size());
    std::vector<std::string> old;
    old.reserve(plan.Changes.size());
    for (const TImportChange& change : plan.Changes) {
        old.push_back(change.Node->GetValue(change.Index));
        change.Node->SetValue(change.Index, change.Text);
    }
    TTarvin check;
    check.LoadFromText(text);
    if (!SameTree(check.Root(), translation.Root())) {
        for (std::size_t i = 0; i < plan.Changes.size(); ++i)
            plan.Changes[i].Node->SetValue(plan.Changes[i].Index, old[i]);
        throw ETrvxError("import: the rewritten file would not read back as intended; "
                         "nothing was changed");
    }
    return text;
}

} // namespace trvx::exchange
