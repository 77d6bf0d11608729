#include "check/Check.h"

#include "check/CheckSplit.h"
#include "check/CheckText.h"
#include "check/ShortcutUses.h"
#include "editing/Shortcut.h"
#include "encoding/AsciiCase.h"
#include "tree/FirstPositionIndex.h"

#include <algorithm>
#include <array>
#include <deque>
#include <exception>
#include <memory>
#include <optional>
#include <thread>
#include <unordered_map>

namespace trvx {

namespace {

constexpr std::string_view kCaption = "Caption";
constexpr std::string_view kShortcut = "Shortcut";
// Host files nest a few dozen levels at most.
constexpr std::size_t kDeepestLevel = 1000;

bool IsListIdent(std::string_view ident) {
    return ident == "Items" || ident == "Strings";
}

// The character an accelerator marks, whole on a double-byte page.
char32_t MarkedChar(const CodePage& cp, std::string_view text, const TAccelerator& mark) {
    auto pos = static_cast<std::size_t>(mark.Position);
    return cp.NextChar(text, pos);
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

// The base's counterpart of a value.
struct TBaseValue {
    const TTarvinItem* Item;
    int Index;
    std::string_view Text() const { return Item->ValueText(Index); }
};

class TChecker {
public:
    TChecker(const CodePage& cp, const CodePage& baseCp,
             TFindings::TPathIds ids = TFindings::TPathIds::First)
        : m_cp(cp), m_baseCp(baseCp), m_letters(cp), m_out(cp, baseCp, ids) {}

    // With a split, the second part is checked on another thread.
    void Run(const TTarvinItem& root, const TTarvinItem* baseRoot,
             const std::optional<TCheckSplit>& split);
    TFindings TakeFindings();

private:
    // An accelerator finding about a child, found with its siblings and
    // reported when the child is visited, so each family keeps tree order.
    struct TPending {
        std::size_t Child;
        TFinding Finding; // without its place
    };
    static constexpr std::uint32_t kNoPath = ~std::uint32_t{0};
    struct TFrame {
        const TTarvinItem* Item;
        const TTarvinItem* Base;
        std::string_view Name;
        std::size_t NextChild = 0;
        // Made when a finding or a shortcut first needs it: most nodes have neither.
        std::uint32_t Path = kNoPath;
        bool OpensScope = false;
        TNameLookup BaseChildren;
        std::vector<TPending> Pending; // by child
        std::size_t NextPending = 0;
    };
    // A shortcut's first use. Most are never shared: the path of its node
    // is made only when one is.
    struct TShortcutUse {
        std::uint32_t ParentPath;
        std::uint32_t Path;
        std::string_view Name;
        const TTarvinItem* Item;
        int ValueIndex;
        bool Reported = false;
    };
    struct TCaption {
        std::size_t Child;
        int Value;
        TAccelerator Accelerator;
        char32_t Folded;
        std::size_t GroupStart = 0;
        std::size_t GroupSize = 0;
    };

    void Walk(std::size_t floor);
    void OpenScope(bool isForm) {
        m_scopeIsForm.push_back(isForm);
        m_shortcutUses.Open();
    }
    void StartPart(std::size_t from);
    void FinishPart();
    void Visit(TFrame& frame, std::string_view name, bool isRoot);
    void CheckName(const TTarvinItem& item, std::string_view name);
    void CheckIdent(const TTarvinItem& item, int index);
    void CheckShortcut(const TTarvinItem& item, std::string_view name, int index);
    void CheckAgainstBase(const TTarvinItem& item, int index, const TBaseValue& base);
    void CheckPlaceholders(const TTarvinItem& item, int index, std::string_view text,
                           const TBaseValue& base);
    void CheckAcceleratorScope(TFrame& frame);
    void CheckMissingAccelerator(const TTarvinItem& item, int index, const TBaseValue& base);

    // The path of the node being visited, or of the one at level of the stack.
    std::uint32_t CurrentPath() { return PathAt(m_stack.size() - 1); }
    std::uint32_t PathAt(std::size_t level);
    TFinding& Add(TSeverity severity, TCheckKind kind, TFindingMessage message,
                  const TTarvinItem* item, int valueIndex);
    TFinding& AddBase(TSeverity severity, TCheckKind kind, TFindingMessage message,
                      const TTarvinItem& item, int valueIndex, const TBaseValue& base);

    const CodePage& m_cp;
    const CodePage& m_baseCp;
    TLetterTable m_letters;
    TFindings m_out; // the path nodes now, the findings at the end
    std::vector<TFrame> m_stack;
    std::vector<bool> m_scopeIsForm; // of the open shortcut scopes
    TShortcutUses<TShortcutUse> m_shortcutUses;
    std::unordered_map<std::string_view, TShortCut> m_shortcutCodes;
    std::vector<TCaption> m_captions; // buffers of CheckAcceleratorScope
    std::vector<std::size_t> m_byMark;
    std::vector<TPending> m_childPending; // the findings about the node being visited
    TFormatScan m_scan, m_baseScan;       // buffers of CheckPlaceholders
    // By kind, each in tree order. A deque grows without moving what it
    // holds: a large file has a hundred thousand findings.
    std::array<std::deque<TFinding>, kCheckKindCount> m_findings;

    // The second part: checked by m_part on m_worker, its findings going
    // between m_before, what this one found up to the split, and the rest.
    std::optional<TCheckSplit> m_split;
    std::unique_ptr<TChecker> m_part;
    std::jthread m_worker;
    std::exception_ptr m_partError;
    std::array<std::deque<TFinding>, kCheckKindCount> m_before;
};

void TChecker::Run(const TTarvinItem& root, const TTarvinItem* baseRoot,
                   const std::optional<TCheckSplit>& split) {
    m_split = split;
    m_stack.push_back({&root, baseRoot, {}, 0, TFindings::kRootPath, true, {}, {}, 0});
    OpenScope(false);
    Visit(m_stack.back(), {}, true);
    if (m_split && m_split->Parent == &root)
        StartPart(m_split->From);
    Walk(0);
    FinishPart();
}

// Visits the tree below the frames down to floor, in order.
void TChecker::Walk(std::size_t floor) {
    std::vector<TFrame>& stack = m_stack;
    while (stack.size() > floor) {
        TFrame& top = stack.back();
        const auto children = top.Item->Children();
        if (m_part && top.Item == m_split->Parent && top.NextChild == m_split->From) {
            m_before.swap(m_findings);
            top.NextChild = children.size(); // the second part's
        }
        if (top.NextChild == children.size()) {
            if (top.OpensScope) {
                m_scopeIsForm.pop_back();
                m_shortcutUses.Close();
            }
            stack.pop_back();
            continue;
        }
        const std::size_t childIndex = top.NextChild++;
        const auto& entry = children[childIndex];
        m_childPending.clear();
        for (; top.NextPending < top.Pending.size() &&
               top.Pending[top.NextPending].Child == childIndex;
             ++top.NextPending)
            m_childPending.push_back(top.Pending[top.NextPending]);
        const std::string_view name = entry.Name.View();
        const TTarvinItem* base = BaseChild(top.BaseChildren, top.Base, name, m_cp);
        const bool topLevel = stack.size() == 1;
        const bool isForm = IsForm(name);
        const bool opensScope = topLevel || isForm;
        if (opensScope)
            OpenScope(isForm);
        stack.push_back({entry.Item.get(), base, name, 0, kNoPath, opensScope, {}, {}, 0});
        if (stack.size() == kDeepestLevel + 2)
            Add(TSeverity::Warning, TCheckKind::Structure, TFindingMessage::DeepTree,
                entry.Item.get(), -1)
                .Numbers[0] = kDeepestLevel;
        Visit(stack.back(), name, false);
        if (m_split && !m_part && entry.Item.get() == m_split->Parent)
            StartPart(m_split->From);
    }
}

// Called when the split's parent has just been visited, so its accelerator
// findings about its children are known.
void TChecker::StartPart(std::size_t from) {
    m_part = std::make_unique<TChecker>(m_cp, m_baseCp, TFindings::TPathIds::Second);
    // The frames above, for paths and depth; the part never leaves the
    // parent, so they open no scopes.
    std::vector<TFrame>& stack = m_part->m_stack;
    for (const TFrame& frame : m_stack)
        stack.push_back({frame.Item, frame.Base, frame.Name, 0, kNoPath, false, {}, {}, 0});
    stack.front().Path = TFindings::kRootPath;
    TFrame& parent = stack.back();
    parent.NextChild = from;
    parent.Pending = m_stack.back().Pending;
    while (parent.NextPending < parent.Pending.size() &&
           parent.Pending[parent.NextPending].Child < from)
        ++parent.NextPending;
    m_worker = std::jthread([this, floor = stack.size() - 1] {
        try {
            m_part->Walk(floor);
        } catch (...) {
            m_partError = std::current_exception();
        }
    });
}

void TChecker::FinishPart() {
    if (!m_part)
        return;
    m_worker.join();
    if (m_partError)
        std::rethrow_exception(m_partError);
}

std::uint32_t TChecker::PathAt(std::size_t level) {
    std::size_t known = level;
    while (m_stack[known].Path == kNoPath)
        --known; // the root's is always known
    for (std::size_t k = known + 1; k <= level; ++k)
        m_stack[k].Path = m_out.AddPath(m_stack[k - 1].Path, m_stack[k].Name);
    return m_stack[level].Path;
}

void TChecker::Visit(TFrame& frame, std::string_view name, bool isRoot) {
    const TTarvinItem& item = *frame.Item;
    if (!isRoot)
        CheckName(item, name);
    for (TPending& pending : m_childPending) {
        pending.Finding.Item = &item;
        pending.Finding.Path = CurrentPath();
        m_findings[static_cast<int>(TCheckKind::Accelerator)].push_back(pending.Finding);
    }
    m_childPending.clear();
    const auto values = item.Values();
    TNameLookup baseValues;
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        if (isRoot)
            Add(TSeverity::Error, TCheckKind::Structure, TFindingMessage::RootValue, &item, i);
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
                const TBaseValue base{frame.Base, b};
                if (ident == kCaption && !IsForm(name))
                    CheckMissingAccelerator(item, i, base);
                CheckAgainstBase(item, i, base);
            }
        }
    }
    CheckAcceleratorScope(frame);
}

void TChecker::CheckName(const TTarvinItem& item, std::string_view name) {
    const TNameHazard hazard = NameHazardOf(name);
    if (hazard != TNameHazard::None)
        Add(TSeverity::Error, TCheckKind::Structure, TFindingMessage::NameHazard, &item, -1)
            .Numbers[0] = static_cast<std::uint32_t>(hazard);
}

void TChecker::CheckIdent(const TTarvinItem& item, int index) {
    const TNameHazard hazard = NameHazardOf(item.Values()[index].Ident.View());
    if (hazard != TNameHazard::None)
        Add(TSeverity::Error, TCheckKind::Structure, TFindingMessage::IdentHazard, &item, index)
            .Numbers[0] = static_cast<std::uint32_t>(hazard);
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
        Add(TSeverity::Error, TCheckKind::Shortcut, TFindingMessage::ShortcutUnreadable, &item,
            index);
        return;
    }
    TShortcutUse* const first = m_shortcutUses.Find(code);
    if (!first) {
        const std::size_t level = m_stack.size() - 1;
        const std::uint32_t parentPath = level == 0 ? TFindings::kRootPath : PathAt(level - 1);
        const std::uint32_t path = level == 0 ? TFindings::kRootPath : kNoPath;
        m_shortcutUses.Add(code, {parentPath, path, name, &item, index});
        return;
    }
    TShortcutUse& use = *first;
    if (use.Path == kNoPath)
        use.Path = m_out.AddPath(use.ParentPath, use.Name);
    const std::uint32_t here = CurrentPath();
    auto shared = [&](TFinding& f, std::uint32_t other) {
        f.Numbers = {code, m_scopeIsForm.back() ? 1u : 0u, other};
    };
    if (!use.Reported) {
        use.Reported = true;
        TFinding& f = Add(TSeverity::Warning, TCheckKind::Shortcut, TFindingMessage::ShortcutShared,
                          use.Item, use.ValueIndex);
        f.Path = use.Path;
        shared(f, here);
    }
    shared(Add(TSeverity::Warning, TCheckKind::Shortcut, TFindingMessage::ShortcutShared, &item,
               index),
           use.Path);
}

void TChecker::CheckAgainstBase(const TTarvinItem& item, int index, const TBaseValue& base) {
    const std::string_view ident = item.Values()[index].Ident.View();
    const std::string_view text = item.ValueText(index);
    const std::string_view baseText = base.Text();
    if (text == baseText) {
        if (ident != kShortcut && m_letters.HasWords(text))
            Add(TSeverity::Info, TCheckKind::Untranslated, TFindingMessage::Untranslated, &item,
                index);
        return;
    }
    CheckPlaceholders(item, index, text, base);
    if (IsListIdent(ident)) {
        const int lines = LineCount(text);
        const int baseLines = LineCount(baseText);
        if (lines != baseLines)
            Add(TSeverity::Warning, TCheckKind::List, TFindingMessage::ListLines, &item, index)
                .Numbers = {static_cast<std::uint32_t>(lines),
                            static_cast<std::uint32_t>(baseLines), 0};
    }
    if (HasNonBlank(text) && HasNonBlank(baseText) &&
        (LeadingBlanks(text) != LeadingBlanks(baseText) ||
         TrailingBlanks(text) != TrailingBlanks(baseText)))
        AddBase(TSeverity::Warning, TCheckKind::Whitespace, TFindingMessage::Whitespace, item,
                index, base);
}

void TChecker::CheckPlaceholders(const TTarvinItem& item, int index, std::string_view text,
                                 const TBaseValue& base) {
    const std::string_view baseText = base.Text();
    if (text.find('%') == std::string_view::npos && baseText.find('%') == std::string_view::npos)
        return;
    TFormatScan& mine = m_scan;
    TFormatScan& baseScan = m_baseScan;
    ScanFormat(text, mine);
    ScanFormat(baseText, baseScan);
    if (!ComparePlaceholders(mine, baseScan).Empty())
        AddBase(TSeverity::Error, TCheckKind::Placeholder, TFindingMessage::PlaceholdersDiffer,
                item, index, base);
    if (baseScan.IsFormat() && baseScan.LonePercents.empty() && !mine.LonePercents.empty())
        Add(TSeverity::Error, TCheckKind::Placeholder, TFindingMessage::LonePercent, &item, index)
            .Numbers[0] = static_cast<std::uint32_t>(mine.LonePercents.front());
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
        auto pend = [&](TFindingMessage message) -> TFinding& {
            frame.Pending.push_back({caption.Child, TFinding{}});
            TFinding& f = frame.Pending.back().Finding;
            f.Severity = TSeverity::Warning;
            f.Kind = TCheckKind::Accelerator;
            f.Message = message;
            f.ValueIndex = caption.Value;
            return f;
        };
        if (a.LoneAtEnd)
            pend(TFindingMessage::LoneAmpersandAtEnd);
        else if (a.LoneBeforeBlank)
            pend(TFindingMessage::LoneAmpersandBeforeBlank);
        if (a.Marks > 1)
            pend(TFindingMessage::SeveralMarks).Numbers[0] = static_cast<std::uint32_t>(a.Marks);
        if (caption.GroupSize > 1) {
            TFinding& f = pend(TFindingMessage::AcceleratorShared);
            f.Other = frame.Item;
            f.OtherIndex = static_cast<int>(caption.GroupSize - 1);
            f.Letter = caption.Folded;
            // Name up to three of the others; two captions of one node make
            // the node itself the other user.
            std::size_t named = 0;
            for (std::size_t k = caption.GroupStart;
                 k < caption.GroupStart + caption.GroupSize && named < f.Numbers.size(); ++k) {
                const TCaption& other = captions[byMark[k]];
                if (&other != &caption)
                    f.Numbers[named++] = static_cast<std::uint32_t>(other.Child);
            }
        }
    }
}

void TChecker::CheckMissingAccelerator(const TTarvinItem& item, int index, const TBaseValue& base) {
    const TAccelerator a = FindAccelerator(item.ValueText(index));
    if (a.Position >= 0 || a.HasLone())
        return; // a lone "&" was meant as a mark, and is reported as such
    if (FindAccelerator(base.Text()).Position < 0)
        return;
    AddBase(TSeverity::Warning, TCheckKind::Accelerator, TFindingMessage::MissingAccelerator, item,
            index, base);
}

TFinding& TChecker::Add(TSeverity severity, TCheckKind kind, TFindingMessage message,
                        const TTarvinItem* item, int valueIndex) {
    TFinding& f = m_findings[static_cast<int>(kind)].emplace_back();
    f.Severity = severity;
    f.Kind = kind;
    f.Message = message;
    f.Item = item;
    f.ValueIndex = valueIndex;
    f.Path = CurrentPath();
    return f;
}

TFinding& TChecker::AddBase(TSeverity severity, TCheckKind kind, TFindingMessage message,
                            const TTarvinItem& item, int valueIndex, const TBaseValue& base) {
    TFinding& f = Add(severity, kind, message, &item, valueIndex);
    f.Other = base.Item;
    f.OtherIndex = base.Index;
    return f;
}

TFindings TChecker::TakeFindings() {
    if (!m_part) {
        for (auto& list : m_findings)
            m_out.Join(std::move(list));
        return std::move(m_out);
    }
    // Each family: the first part up to the split, the second, the rest.
    m_out.AdoptPaths(std::move(m_part->m_out));
    for (int k = 0; k < kCheckKindCount; ++k) {
        m_out.Join(std::move(m_before[k]));
        m_out.Join(std::move(m_part->m_findings[k]));
        m_out.Join(std::move(m_findings[k]));
    }
    return std::move(m_out);
}

} // namespace

TFindings CheckTrees(const TTarvinItem& root, const CodePage& cp, const TTarvinItem* baseRoot,
                     const CodePage& baseCp, std::size_t splitFrom) {
    TChecker checker(cp, baseCp);
    checker.Run(root, baseRoot, PlanCheckSplit(root, splitFrom));
    return checker.TakeFindings();
}

namespace {

// A LangID Windows does not know: the texts may be read in the wrong code page.
void AddLanguageFinding(TFindings& findings, std::size_t at, const TTarvin& translation) {
    const std::string warning = translation.CodePageWarning();
    if (warning.empty())
        return;
    const TTarvinItem* info = translation.InfoSection();
    std::uint32_t path = TFindings::kRootPath;
    for (const auto& child : translation.Root().Children())
        if (child.Item.get() == info)
            path = findings.AddPath(TFindings::kRootPath, child.Name.View());
    findings.Insert(at, findings.WithWords(TSeverity::Warning, TCheckKind::Structure, path, info,
                                           translation.LangIdIndex(), warning));
}

// What the reads skipped, as structure errors of the root. Values of the
// root are reported with the tree.
void AddReadLosses(TFindings& findings, const TTarvin& tree, std::string_view where) {
    for (const TReadLoss& loss : tree.ReadLosses())
        if (loss.Kind != TReadLossKind::RootValue)
            findings.Add(findings.WithWords(
                TSeverity::Error, TCheckKind::Structure, TFindings::kRootPath, &tree.Root(), -1,
                std::string(where) + "line " + std::to_string(loss.Line) + ": " +
                    DescribeReadLoss(loss)));
}

} // namespace

TFindings CheckLanguage(const TTarvin& translation, const TTarvin* base) {
    const CodePage& cp = translation.GetCodePage();
    const std::size_t splitFrom =
        std::thread::hardware_concurrency() > 1 ? kCheckSplitFrom : kNoCheckSplit;
    TFindings findings = CheckTrees(translation.Root(), cp, base ? &base->Root() : nullptr,
                                    base ? base->GetCodePage() : cp, splitFrom);
    // They concern the first node: first of their family.
    std::size_t structure = 0;
    for (const TFinding& f : findings) {
        if (f.Kind == TCheckKind::Structure)
            break;
        ++structure;
    }
    AddLanguageFinding(findings, structure, translation);
    AddReadLosses(findings, translation, "");
    if (base)
        AddReadLosses(findings, *base, "in the base, ");
    return findings;
}

} // namespace trvx
