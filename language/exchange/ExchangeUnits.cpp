#include "exchange/ExchangeUnits.h"

#include "encoding/Utf8.h"
#include "update/UpdateReport.h"

#include <cstdio>
#include <memory>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

namespace trvx::exchange {

namespace {

// Small lists are scanned; wide ones (a STRINGS node of thousands) hashed.
constexpr std::size_t kScanLimit = 16;

// For each entry, which occurrence of its exact name it is (1 for the first).
template <class Entries, class NameOf>
std::vector<int> Occurrences(const Entries& entries, const NameOf& nameOf) {
    std::vector<int> out(entries.size(), 1);
    if (entries.size() <= kScanLimit) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            for (std::size_t j = 0; j < i; ++j)
                if (nameOf(entries[j]) == nameOf(entries[i]))
                    ++out[i];
        return out;
    }
    std::unordered_map<std::string_view, int> seen;
    seen.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        out[i] = ++seen[nameOf(entries[i])];
    return out;
}

// The entries of a reference node, found by name with letter case folded:
// the n-th entry of that name.
template <class Entries, class NameOf> class TFoldedFinder {
public:
    TFoldedFinder(const Entries& entries, const NameOf& nameOf, const CodePage& cp)
        : m_entries(entries), m_nameOf(nameOf), m_cp(cp) {
        if (entries.size() <= kScanLimit)
            return;
        for (std::size_t i = 0; i < entries.size(); ++i)
            m_byName[cp.Upper(nameOf(entries[i]))].push_back(static_cast<int>(i));
    }

    int Find(std::string_view name, int occurrence) const {
        if (m_entries.size() <= kScanLimit) {
            for (std::size_t i = 0; i < m_entries.size(); ++i)
                if (m_cp.SameText(m_nameOf(m_entries[i]), name) && --occurrence == 0)
                    return static_cast<int>(i);
            return -1;
        }
        const auto it = m_byName.find(m_cp.Upper(name));
        if (it == m_byName.end() || occurrence > static_cast<int>(it->second.size()))
            return -1;
        return it->second[static_cast<std::size_t>(occurrence - 1)];
    }

private:
    Entries m_entries;
    NameOf m_nameOf;
    const CodePage& m_cp;
    std::unordered_map<std::string, std::vector<int>> m_byName;
};

const auto kChildName = [](const TTarvinItem::TChildEntry& e) { return e.Name.View(); };
const auto kValueIdent = [](const TTarvinItem::TValueEntryData& e) { return e.Ident.View(); };
using TChildFinder = TFoldedFinder<std::span<const TTarvinItem::TChildEntry>, decltype(kChildName)>;
using TValueFinder =
    TFoldedFinder<std::span<const TTarvinItem::TValueEntryData>, decltype(kValueIdent)>;

void AppendIdSegment(std::string& out, std::string_view name, int occurrence, const CodePage& cp) {
    out += PathSegment(name, cp);
    if (occurrence > 1) {
        out += "\\#";
        out += std::to_string(occurrence);
    }
}

// The walk both ForEachUnit and ForEachValueId make: every value below the
// root with its node path and id, and the matching reference value if any.
struct TVisit {
    std::string_view id;
    std::string_view nodePath;
    TTarvinItem& node;
    int index;
    const TTarvinItem* refNode;
    int refIndex;
};

template <class Visit>
void Walk(const TTarvin& translation, const TTarvin* reference, const Visit& visit) {
    const CodePage& cp = translation.GetCodePage();
    struct Frame {
        TTarvinItem* node;
        const TTarvinItem* ref;
        std::vector<int> childOccurrences;
        std::unique_ptr<TChildFinder> refChildren;
        std::size_t next = 0;
        std::size_t pathLength = 0;
    };
    std::string path;
    std::string id;
    auto enter = [&](TTarvinItem* node, const TTarvinItem* ref, std::size_t pathLength) {
        Frame frame{node, ref, Occurrences(node->Children(), kChildName), nullptr, 0, pathLength};
        if (ref && node->ChildCount() > 0)
            frame.refChildren = std::make_unique<TChildFinder>(ref->Children(), kChildName, cp);
        return frame;
    };
    auto values = [&](TTarvinItem& node, const TTarvinItem* ref) {
        const auto entries = node.Values();
        const std::vector<int> occurrences = Occurrences(entries, kValueIdent);
        std::optional<TValueFinder> finder;
        if (ref)
            finder.emplace(ref->Values(), kValueIdent, cp);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            id.assign(path);
            id += '/';
            AppendIdSegment(id, entries[i].Ident.View(), occurrences[i], cp);
            const int refIndex =
                finder ? finder->Find(entries[i].Ident.View(), occurrences[i]) : -1;
            visit(TVisit{id, path, node, static_cast<int>(i), ref, refIndex});
        }
    };

    // The root's own values are no units: the file does not hold them.
    auto& root = const_cast<TTarvinItem&>(translation.Root());
    std::vector<Frame> stack;
    stack.push_back(enter(&root, reference ? &reference->Root() : nullptr, 0));
    while (!stack.empty()) {
        Frame& top = stack.back();
        const auto children = top.node->Children();
        if (top.next == children.size()) {
            path.resize(top.pathLength);
            stack.pop_back();
            continue;
        }
        const std::size_t i = top.next++;
        const TTarvinItem* ref = nullptr;
        if (top.refChildren) {
            const int r = top.refChildren->Find(children[i].Name.View(), top.childOccurrences[i]);
            if (r >= 0)
                ref = top.ref->Children()[static_cast<std::size_t>(r)].Item.get();
        }
        const std::size_t parentLength = path.size();
        if (stack.size() > 1)
            path += '/';
        AppendIdSegment(path, children[i].Name.View(), top.childOccurrences[i], cp);
        TTarvinItem* child = children[i].Item.get();
        values(*child, ref);
        stack.push_back(enter(child, ref, parentLength));
    }
}

} // namespace

std::string_view KindName(TValueKind kind) {
    switch (kind) {
    case vkItems:
        return "lines";
    case vkShortcut:
        return "shortcut";
    case vkString:
        break;
    }
    return "text";
}

std::string UnitNote(const TUnit& unit) {
    std::string note(unit.NodePath);
    note += " (";
    note += KindName(unit.Kind);
    switch (unit.Kind) {
    case vkItems:
        note += ": ";
        note += std::to_string(unit.Lines);
        note += ", one item per line; keep the count";
        break;
    case vkShortcut:
        note += ": a key combination such as Ctrl+S; only key names may be translated";
        break;
    case vkString:
        break;
    }
    note += ')';
    return note;
}

void ForEachUnit(const TTarvin& translation, const TTarvin* reference,
                 const std::function<void(const TUnit&)>& visit) {
    const CodePage& cp = translation.GetCodePage();
    const CodePage& refCp = reference ? reference->GetCodePage() : cp;
    std::string source;
    std::string target;
    Walk(translation, reference, [&](const TVisit& v) {
        const std::string_view text = v.node.ValueText(v.index);
        const std::string_view ident = v.node.GetValueIdent(v.index);
        target.clear();
        AppendExchangeText(target, text, cp);
        const bool fromReference = v.refIndex >= 0;
        if (fromReference) {
            source.clear();
            AppendExchangeText(source, v.refNode->ValueText(v.refIndex), refCp);
        }
        const TValueKind kind = ValueKindOfIdent(ident);
        const int lines = kind == vkItems ? static_cast<int>(SplitItemLines(text).size()) : 1;
        visit(TUnit{v.id, v.nodePath, kind, fromReference ? source : target, target, fromReference,
                    lines});
    });
}

void ForEachValueId(const TTarvin& translation,
                    const std::function<void(std::string_view, TTarvinItem&, int)>& visit) {
    Walk(translation, nullptr, [&](const TVisit& v) { visit(v.id, v.node, v.index); });
}

// Line by line through the code page's own conversion, which knows its
// double-byte characters; no byte of one is a CR or LF.
void AppendExchangeText(std::string& out, std::string_view bytes, const CodePage& cp) {
    bool first = true;
    ForEachItemLine(bytes, [&](std::string_view line) {
        if (!std::exchange(first, false))
            out += '\n';
        out += cp.ToUtf8(line);
        return true;
    });
}

std::optional<std::string> LanguageText(std::string_view utf8, const CodePage& cp, char32_t& bad) {
    std::string out;
    std::string converted;
    bool first = true;
    const bool whole = ForEachItemLine(utf8, [&](std::string_view line) {
        if (!cp.FromUtf8(line, converted, &bad))
            return false;
        if (!std::exchange(first, false))
            out += "\r\n";
        out += converted;
        return true;
    });
    if (!whole)
        return std::nullopt;
    return out;
}

std::string LocationId(std::string_view text) {
    auto hex = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                      : -1;
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 &&
                   hex(text[i + 2]) >= 0) {
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string DescribeChar(char32_t ch) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(ch));
    std::string out = code;
    if (ch >= 0x20 && ch != 0x7F && (ch < 0xD800 || ch > 0xDFFF) && ch != 0xFFFD) {
        out += " '";
        AppendUtf8(out, ch);
        out += '\'';
    }
    return out;
}

} // namespace trvx::exchange
