#include "check/Check.h"

#include "check/CheckText.h"
#include "editing/Shortcut.h"
#include "encoding/AsciiCase.h"
#include "encoding/TextEscape.h"
#include "encoding/Utf8.h"
#include "tree/FirstPositionIndex.h"
#include "tree/PathSegment.h"

#include <algorithm>
#include <array>
#include <deque>
#include <iterator>
#include <memory>
#include <unordered_map>

namespace trvx {

namespace {

constexpr std::string_view kCaption = "Caption";
constexpr std::string_view kShortcut = "Shortcut";
// A path deeper than this many bytes is shown by its end only, so a tree
// with a finding on each of 300,000 levels does not copy gigabytes.
constexpr std::size_t kPathLimit = 400;
// Host files nest a few dozen levels at most.
constexpr std::size_t kDeepestLevel = 1000;

bool IsListIdent(std::string_view ident) {
    return ident == "Items" || ident == "Strings";
}

bool IsForm(std::string_view name) {
    return StartsWithTextAscii(name, "Form:");
}

// A name as a path segment. Most names need no escape and no decoding, so
// they are copied as they are; PathSegment does the rest.
void AppendSegment(std::string& path, std::string_view name, const CodePage& cp) {
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F || c == '/' || c == '\\') {
            path += PathSegment(name, cp);
            return;
        }
    }
    path += name;
}

// The character an accelerator marks, whole on a double-byte page.
char32_t MarkedChar(const CodePage& cp, std::string_view text, const TAccelerator& mark) {
    auto pos = static_cast<std::size_t>(mark.Position);
    return cp.NextChar(text, pos);
}

std::vector<std::string_view> Written(const TFormatScan& scan) {
    std::vector<std::string_view> out;
    for (const TPlaceholder& p : scan.Placeholders)
        out.push_back(p.Written);
    return out;
}

std::string Quoted(std::string_view utf8) {
    return "\"" + std::string(utf8) + "\"";
}

const TTarvinItem* BaseChild(TNameLookup& lookup, const TTarvinItem* base, std::string_view name,
                             const CodePage& cp) {
    if (!base)
        return nullptr;
    const auto children = base->Children();
    const int i = lookup.Find(
        name, static_cast<int>(children.size()), [&](int k) { return children[k].Name.View(); },
        cp);
    return i < 0 ? nullptr : children[i].Item.get();
}

class TChecker {
public:
    TChecker(const CodePage& cp, const CodePage& baseCp)
        : m_cp(cp), m_baseCp(baseCp), m_letters(cp) {}

    void Run(const TTarvinItem& root, const TTarvinItem* baseRoot);
    std::vector<TFinding> TakeFindings();

private:
    // An accelerator finding about a child, found with its siblings and
    // reported when the child is visited, so each family keeps tree order.
    struct TPending {
        std::size_t Child;
        int Value;
        std::string Message;
    };
    struct TFrame {
        const TTarvinItem* Item;
        const TTarvinItem* Base;
        std::size_t NextChild = 0;
        std::size_t ParentPathLength = 0;
        bool OpensScope = false;
        TNameLookup BaseChildren;
        std::vector<TPending> Pending; // by child
        std::size_t NextPending = 0;
    };
    struct TShortcutUse {
        std::size_t PathBegin, PathSize; // in the scope's Paths
        std::string_view Name;
        const TTarvinItem* Item;
        int ValueIndex;
        bool Reported = false;
    };
    struct TShortcutScope {
        bool IsForm = false;
        std::unordered_map<TShortCut, TShortcutUse> Uses;
        // The paths of the uses, one after the other: most are never shown,
        // and one string for all spares an allocation for each.
        std::string Paths;
    };
    struct TCaption {
        std::size_t Child;
        int Value;
        TAccelerator Accelerator;
        char32_t Folded;
        std::size_t GroupStart = 0;
        std::size_t GroupSize = 0;
    };

    void Visit(TFrame& frame, std::string_view name, bool isRoot);
    void CheckName(const TTarvinItem& item, std::string_view name);
    void CheckIdent(const TTarvinItem& item, int index);
    void CheckShortcut(const TTarvinItem& item, std::string_view name, int index);
    void CheckAgainstBase(const TTarvinItem& item, int index, std::string_view baseText);
    void CheckPlaceholders(const TTarvinItem& item, int index, std::string_view text,
                           std::string_view baseText);
    void CheckAcceleratorScope(TFrame& frame);
    void CheckMissingAccelerator(const TTarvinItem& item, int index, std::string_view baseText);

    std::string Utf8(std::string_view bytes) const { return m_cp.ToUtf8(bytes); }
    void Add(TSeverity severity, TCheckKind kind, std::string_view path, const TTarvinItem* item,
             int valueIndex, std::string message);

    const CodePage& m_cp;
    const CodePage& m_baseCp;
    TLetterTable m_letters;
    std::string m_path; // the current node's path as people read it, UTF-8
    std::vector<TShortcutScope> m_scopes;
    std::unordered_map<std::string_view, TShortCut> m_shortcutCodes;
    std::vector<TCaption> m_captions; // buffers of CheckAcceleratorScope
    std::vector<std::size_t> m_byMark;
    std::vector<TPending> m_childPending; // the findings about the node being visited
    TFormatScan m_scan, m_baseScan;       // buffers of CheckPlaceholders
    // By kind, each in tree order. A deque grows without moving what it
    // holds: a large file has a hundred thousand findings.
    std::array<std::deque<TFinding>, kCheckKindCount> m_findings;
};

void TChecker::Run(const TTarvinItem& root, const TTarvinItem* baseRoot) {
    std::vector<TFrame> stack;
    stack.push_back({&root, baseRoot, 0, 0, true, {}, {}, 0});
    m_scopes.push_back({});
    Visit(stack.back(), {}, true);
    while (!stack.empty()) {
        TFrame& top = stack.back();
        const auto children = top.Item->Children();
        if (top.NextChild == children.size()) {
            if (top.OpensScope)
                m_scopes.pop_back();
            m_path.resize(top.ParentPathLength);
            stack.pop_back();
            continue;
        }
        const std::size_t childIndex = top.NextChild++;
        const auto& entry = children[childIndex];
        m_childPending.clear();
        for (; top.NextPending < top.Pending.size() &&
               top.Pending[top.NextPending].Child == childIndex;
             ++top.NextPending)
            m_childPending.push_back(std::move(top.Pending[top.NextPending]));
        const std::string_view name = entry.Name.View();
        const TTarvinItem* base = BaseChild(top.BaseChildren, top.Base, name, m_cp);
        const bool topLevel = stack.size() == 1;
        const std::size_t parentLength = m_path.size();
        if (!topLevel)
            m_path += '/';
        AppendSegment(m_path, name, m_cp);
        const bool isForm = IsForm(name);
        const bool opensScope = topLevel || isForm;
        if (opensScope)
            m_scopes.push_back({isForm, {}, {}});
        stack.push_back({entry.Item.get(), base, 0, parentLength, opensScope, {}, {}, 0});
        if (stack.size() == kDeepestLevel + 2)
            Add(TSeverity::Warning, TCheckKind::Structure, m_path, entry.Item.get(), -1,
                "the tree is nested more than " + std::to_string(kDeepestLevel) +
                    " levels deep here, far deeper than any host file; every level indents "
                    "the lines below it, so the written file grows with the square of the depth");
        Visit(stack.back(), name, false);
    }
}

void TChecker::Visit(TFrame& frame, std::string_view name, bool isRoot) {
    const TTarvinItem& item = *frame.Item;
    if (!isRoot)
        CheckName(item, name);
    for (TPending& pending : m_childPending)
        Add(TSeverity::Warning, TCheckKind::Accelerator, m_path, &item, pending.Value,
            std::move(pending.Message));
    m_childPending.clear();
    const auto values = item.Values();
    TNameLookup baseValues;
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        if (isRoot)
            Add(TSeverity::Error, TCheckKind::Structure, m_path, &item, i,
                "the root holds this value, and the root's values are not written: it is lost "
                "on save");
        CheckIdent(item, i);
        const std::string_view ident = values[i].Ident.View();
        if (ident == kShortcut)
            CheckShortcut(item, name, i);
        if (frame.Base) {
            const auto baseList = frame.Base->Values();
            const int b = baseValues.Find(
                ident, static_cast<int>(baseList.size()),
                [&](int k) { return baseList[k].Ident.View(); }, m_cp);
            if (b >= 0) {
                if (ident == kCaption && !IsForm(name))
                    CheckMissingAccelerator(item, i, baseList[b].Text.View());
                CheckAgainstBase(item, i, baseList[b].Text.View());
            }
        }
    }
    CheckAcceleratorScope(frame);
}

void TChecker::CheckName(const TTarvinItem& item, std::string_view name) {
    std::string message;
    switch (NameHazardOf(name)) {
    case TNameHazard::None:
        return;
    case TNameHazard::Brace:
        message = "the name holds \"{\" or \"}\", which reading takes as a node of its own: it "
                  "is lost on save";
        break;
    case TNameHazard::Equals:
        message = "the name holds \"=\", which reading takes as the start of a value: it is "
                  "lost on save";
        break;
    case TNameHazard::OuterBlanks:
        message = "the name has blanks at its ends, which reading drops: it changes on save";
        break;
    case TNameHazard::LineBreak:
        message = "the name holds a line break: text left over from the line above was read "
                  "into it, so the host will not find this node";
        break;
    }
    Add(TSeverity::Error, TCheckKind::Structure, m_path, &item, -1, std::move(message));
}

void TChecker::CheckIdent(const TTarvinItem& item, int index) {
    std::string message;
    switch (NameHazardOf(item.Values()[index].Ident.View())) {
    case TNameHazard::None:
        return;
    case TNameHazard::Brace:
        message = "the ident holds \"{\" or \"}\", which reading takes as a node: the value is "
                  "lost on save";
        break;
    case TNameHazard::Equals:
        message = "the ident holds \"=\", which reading takes as the start of the text: it "
                  "changes on save";
        break;
    case TNameHazard::OuterBlanks:
        message = "the ident has blanks at its ends, which reading drops: it changes on save";
        break;
    case TNameHazard::LineBreak:
        message = "the ident holds a line break: text left over from the line above was read "
                  "into it, so the host will not find this value";
        break;
    }
    Add(TSeverity::Error, TCheckKind::Structure, m_path, &item, index, std::move(message));
}

void TChecker::CheckShortcut(const TTarvinItem& item, std::string_view name, int index) {
    const std::string_view text = item.ValueText(index);
    if (text.empty())
        return;
    auto cached = m_shortcutCodes.find(text);
    if (cached == m_shortcutCodes.end())
        cached = m_shortcutCodes.emplace(text, ShortcutFromText(text)).first;
    const TShortCut code = cached->second;
    if (code == 0) {
        Add(TSeverity::Error, TCheckKind::Shortcut, m_path, &item, index,
            "the host cannot read this shortcut");
        return;
    }
    TShortcutScope& scope = m_scopes.back();
    const auto first = scope.Uses.find(code);
    if (first == scope.Uses.end()) {
        scope.Uses.emplace(code,
                           TShortcutUse{scope.Paths.size(), m_path.size(), name, &item, index});
        scope.Paths += m_path;
        return;
    }
    const std::string caption = ShortcutCaption(code);
    const std::string where = scope.IsForm ? " in the same form" : " in the same section";
    TShortcutUse& use = first->second;
    if (!use.Reported) {
        use.Reported = true;
        Add(TSeverity::Warning, TCheckKind::Shortcut,
            std::string_view(scope.Paths).substr(use.PathBegin, use.PathSize), use.Item,
            use.ValueIndex,
            "shortcut " + caption + " is also used by " + ShortText(Utf8(name)) + where);
    }
    Add(TSeverity::Warning, TCheckKind::Shortcut, m_path, &item, index,
        "shortcut " + caption + " is also used by " + ShortText(Utf8(use.Name)) + where);
}

void TChecker::CheckAgainstBase(const TTarvinItem& item, int index, std::string_view baseText) {
    const std::string_view ident = item.Values()[index].Ident.View();
    const std::string_view text = item.ValueText(index);
    if (text == baseText) {
        if (ident != kShortcut && m_letters.HasWords(text))
            Add(TSeverity::Info, TCheckKind::Untranslated, m_path, &item, index,
                "the same text as the base");
        return;
    }
    CheckPlaceholders(item, index, text, baseText);
    if (IsListIdent(ident)) {
        const int lines = LineCount(text);
        const int baseLines = LineCount(baseText);
        if (lines != baseLines)
            Add(TSeverity::Warning, TCheckKind::List, m_path, &item, index,
                Counted(lines, "line", "lines") + ", the base has " + std::to_string(baseLines));
    }
    if (HasNonBlank(text) && HasNonBlank(baseText)) {
        auto describe = [](std::string_view here, std::string_view base) {
            return "(" + (here.empty() ? std::string("none") : std::to_string(here.size())) +
                   " here, " + (base.empty() ? std::string("none") : std::to_string(base.size())) +
                   " in the base)";
        };
        const std::string_view lead = LeadingBlanks(text), baseLead = LeadingBlanks(baseText);
        const std::string_view trail = TrailingBlanks(text), baseTrail = TrailingBlanks(baseText);
        std::vector<std::string> parts;
        if (lead != baseLead)
            parts.push_back("at the start " + describe(lead, baseLead));
        if (trail != baseTrail)
            parts.push_back("at the end " + describe(trail, baseTrail));
        if (!parts.empty())
            Add(TSeverity::Warning, TCheckKind::Whitespace, m_path, &item, index,
                "blanks differ from the base " +
                    (parts.size() == 1 ? parts[0] : parts[0] + " and " + parts[1]));
    }
}

void TChecker::CheckPlaceholders(const TTarvinItem& item, int index, std::string_view text,
                                 std::string_view baseText) {
    if (text.find('%') == std::string_view::npos && baseText.find('%') == std::string_view::npos)
        return;
    TFormatScan& mine = m_scan;
    TFormatScan& base = m_baseScan;
    ScanFormat(text, mine);
    ScanFormat(baseText, base);
    const TPlaceholderDiff diff = ComparePlaceholders(mine, base);
    if (!diff.Empty()) {
        auto join = [this](const std::vector<std::string_view>& list) {
            std::string out;
            for (std::string_view p : list)
                out += (out.empty() ? "" : " ") + Utf8(p);
            return out;
        };
        std::string message = "placeholders differ from the base: ";
        if (diff.Extra.empty())
            message += "missing " + join(diff.Missing);
        else if (diff.Missing.empty())
            message += "not in the base " + join(diff.Extra);
        else
            message += "here " + join(Written(mine)) + ", in the base " + join(Written(base));
        Add(TSeverity::Error, TCheckKind::Placeholder, m_path, &item, index, std::move(message));
    }
    if (base.IsFormat() && base.LonePercents.empty() && !mine.LonePercents.empty())
        Add(TSeverity::Error, TCheckKind::Placeholder, m_path, &item, index,
            "the \"%\" at character " + std::to_string(mine.LonePercents.front() + 1) +
                " starts no placeholder, but the base goes through the formatter (write \"%%\" "
                "for a percent sign)");
}

void TChecker::CheckAcceleratorScope(TFrame& frame) {
    const auto children = frame.Item->Children();
    std::vector<TCaption>& captions = m_captions;
    captions.clear();
    for (std::size_t c = 0; c < children.size(); ++c) {
        // A form's caption is its window title, where "&" marks nothing.
        if (IsForm(children[c].Name.View()))
            continue;
        const auto values = children[c].Item->Values();
        for (int v = 0; v < static_cast<int>(values.size()); ++v) {
            if (values[v].Ident.View() != kCaption)
                continue;
            const std::string_view text = values[v].Text.View();
            TCaption caption{c, v, FindAccelerator(text), 0};
            if (caption.Accelerator.Position >= 0)
                caption.Folded = UpperChar(MarkedChar(m_cp, text, caption.Accelerator));
            captions.push_back(caption);
        }
    }
    if (captions.empty())
        return;
    // Captions marking the same character stand side by side in byMark, in tree order.
    std::vector<std::size_t>& byMark = m_byMark;
    byMark.clear();
    for (std::size_t i = 0; i < captions.size(); ++i)
        if (captions[i].Accelerator.Position >= 0)
            byMark.push_back(i);
    std::sort(byMark.begin(), byMark.end(), [&](std::size_t a, std::size_t b) {
        return captions[a].Folded != captions[b].Folded ? captions[a].Folded < captions[b].Folded
                                                        : a < b;
    });
    for (std::size_t g = 0; g < byMark.size();) {
        std::size_t end = g + 1;
        while (end < byMark.size() && captions[byMark[end]].Folded == captions[byMark[g]].Folded)
            ++end;
        for (std::size_t k = g; k < end; ++k) {
            captions[byMark[k]].GroupStart = g;
            captions[byMark[k]].GroupSize = end - g;
        }
        g = end;
    }

    for (const TCaption& caption : captions) {
        const TAccelerator& a = caption.Accelerator;
        auto pend = [&](std::string message) {
            frame.Pending.push_back({caption.Child, caption.Value, std::move(message)});
        };
        if (a.LoneAtEnd)
            pend("the caption ends in a lone \"&\", which marks nothing (write \"&&\" for an "
                 "ampersand)");
        else if (a.LoneBeforeBlank)
            pend("an \"&\" before a blank marks no letter (write \"&&\" for an ampersand)");
        if (a.Marks > 1)
            pend("the caption marks " + std::to_string(a.Marks) +
                 " accelerators; only one can work");
        if (caption.GroupSize > 1) {
            // Name up to three of the others.
            constexpr std::size_t kNamed = 3;
            std::string others;
            std::size_t named = 0;
            for (std::size_t k = caption.GroupStart;
                 k < caption.GroupStart + caption.GroupSize && named < kNamed; ++k) {
                const TCaption& other = captions[byMark[k]];
                if (&other == &caption)
                    continue;
                // Two captions of one node: the node itself is the other user.
                others +=
                    (named++ ? ", " : "") + ShortText(Utf8(children[other.Child].Name.View()));
            }
            const std::size_t rest = caption.GroupSize - 1 - named;
            if (rest > 0)
                others += " and " + std::to_string(rest) + " more";
            std::string letter;
            AppendUtf8(letter, caption.Folded);
            pend("accelerator " + Quoted(letter) + " is also used by " + others);
        }
    }
}

void TChecker::CheckMissingAccelerator(const TTarvinItem& item, int index,
                                       std::string_view baseText) {
    const TAccelerator a = FindAccelerator(item.ValueText(index));
    if (a.Position >= 0 || a.HasLone())
        return; // a lone "&" was meant as a mark, and is reported as such
    const TAccelerator baseMark = FindAccelerator(baseText);
    if (baseMark.Position < 0)
        return;
    std::string letter;
    AppendUtf8(letter, MarkedChar(m_baseCp, baseText, baseMark));
    Add(TSeverity::Warning, TCheckKind::Accelerator, m_path, &item, index,
        "the caption has no accelerator; the base marks " + Quoted(letter) + " in " +
            Quoted(ShortText(m_baseCp.ToUtf8(baseText))));
}

void TChecker::Add(TSeverity severity, TCheckKind kind, std::string_view path,
                   const TTarvinItem* item, int valueIndex, std::string message) {
    TFinding& f = m_findings[static_cast<int>(kind)].emplace_back();
    f.Severity = severity;
    f.Kind = kind;
    if (path.size() > kPathLimit) {
        std::size_t cut = path.size() - kPathLimit;
        while (cut < path.size() && IsUtf8Continuation(path[cut]))
            ++cut; // not inside a character
        f.Path = "\u2026" + std::string(path.substr(cut));
    } else {
        f.Path = path;
    }
    if (valueIndex >= 0) {
        f.Ident = Utf8(item->GetValueIdent(valueIndex));
        f.Text = Utf8(item->ValueText(valueIndex));
    }
    f.Message = std::move(message);
    f.Item = item;
    f.ValueIndex = valueIndex;
}

std::vector<TFinding> TChecker::TakeFindings() {
    std::vector<TFinding> all;
    std::size_t total = 0;
    for (const auto& list : m_findings)
        total += list.size();
    all.reserve(total);
    for (auto& list : m_findings)
        std::move(list.begin(), list.end(), std::back_inserter(all));
    return all;
}

} // namespace

std::string_view SeverityName(TSeverity severity) {
    switch (severity) {
    case TSeverity::Error:
        return "error";
    case TSeverity::Warning:
        return "warning";
    case TSeverity::Info:
        break;
    }
    return "info";
}

std::string_view CheckKindName(TCheckKind kind) {
    constexpr std::array<std::string_view, kCheckKindCount> kNames = {
        "accelerator",  "shortcut",   "placeholder", "list",
        "untranslated", "whitespace", "structure"};
    return kNames[static_cast<int>(kind)];
}

std::string_view CheckKindTitle(TCheckKind kind) {
    constexpr std::array<std::string_view, kCheckKindCount> kTitles = {
        "Accelerators", "Shortcuts",  "Placeholders",  "Lists",
        "Untranslated", "Whitespace", "File structure"};
    return kTitles[static_cast<int>(kind)];
}

std::vector<TFinding> CheckTrees(const TTarvinItem& root, const CodePage& cp,
                                 const TTarvinItem* baseRoot, const CodePage& baseCp) {
    TChecker checker(cp, baseCp);
    checker.Run(root, baseRoot);
    return checker.TakeFindings();
}

namespace {

// A LangID Windows does not know: the texts may be read in the wrong code page.
std::vector<TFinding> LanguageFindings(const TTarvin& translation) {
    std::vector<TFinding> out;
    const CodePage& cp = translation.GetCodePage();
    const auto top = translation.Root().Children();
    if (const std::string warning = translation.CodePageWarning(); !warning.empty()) {
        const TTarvinItem* info = translation.InfoSection();
        const int index = translation.LangIdIndex();
        TFinding f;
        f.Severity = TSeverity::Warning;
        for (const auto& child : top)
            if (child.Item.get() == info)
                f.Path = PathSegment(child.Name.View(), cp);
        f.Ident = cp.ToUtf8(info->GetValueIdent(index));
        f.Text = cp.ToUtf8(info->ValueText(index));
        f.Message = warning;
        f.Item = info;
        f.ValueIndex = index;
        out.push_back(std::move(f));
    }
    return out;
}

// What the reads skipped, as structure errors of the root. Values of the
// root are reported with the tree.
void AddReadLosses(std::vector<TFinding>& findings, const TTarvin& tree, std::string_view where) {
    for (const TReadLoss& loss : tree.ReadLosses())
        if (loss.Kind != TReadLossKind::RootValue)
            findings.push_back({TSeverity::Error, TCheckKind::Structure, "", "", "",
                                std::string(where) + "line " + std::to_string(loss.Line) + ": " +
                                    DescribeReadLoss(loss),
                                &tree.Root(), -1});
}

} // namespace

std::vector<TFinding> CheckLanguage(const TTarvin& translation, const TTarvin* base) {
    const CodePage& cp = translation.GetCodePage();
    std::vector<TFinding> findings = CheckTrees(
        translation.Root(), cp, base ? &base->Root() : nullptr, base ? base->GetCodePage() : cp);
    // They concern the first node: first of their family.
    const auto structure = std::find_if(findings.begin(), findings.end(), [](const TFinding& f) {
        return f.Kind == TCheckKind::Structure;
    });
    std::vector<TFinding> language = LanguageFindings(translation);
    findings.insert(structure, std::make_move_iterator(language.begin()),
                    std::make_move_iterator(language.end()));
    AddReadLosses(findings, translation, "");
    if (base)
        AddReadLosses(findings, *base, "in the base, ");
    return findings;
}

int CountFindings(const std::vector<TFinding>& findings, TSeverity severity) {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(), [&](const TFinding& f) {
        return f.Severity == severity;
    }));
}

} // namespace trvx
