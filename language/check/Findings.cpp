#include "check/Findings.h"

#include "encoding/Utf8.h"
#include "tree/PathSegment.h"

#include <algorithm>
#include <array>

namespace trvx {

namespace {

// A path deeper than this many bytes is shown by its end only, so a tree
// with a finding on each of 300,000 levels does not copy gigabytes.
constexpr std::size_t kPathLimit = 400;

// A name as a path segment. Most names need no escape and no decoding, so
// they are copied as they are; PathSegment does the rest.
void AppendSegment(std::string& path, std::string_view name, const CodePage& cp) {
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F || c == '/' || c == '\\') {
            AppendPathSegment(path, name, cp);
            return;
        }
    }
    path += name;
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

TFindings::TFindings(const CodePage& cp, const CodePage& baseCp, TPathIds ids)
    : m_cp(&cp), m_baseCp(&baseCp), m_ids(ids), m_paths{{kRootPath, {}}} {}

std::uint32_t TFindings::AddPath(std::uint32_t parent, std::string_view name) {
    std::deque<TPathNode>& paths = m_ids == TPathIds::First ? m_paths : m_secondPaths;
    paths.push_back({parent, name});
    const auto index = static_cast<std::uint32_t>(paths.size() - 1);
    return m_ids == TPathIds::First ? index : index | kSecondPath;
}

void TFindings::AdoptPaths(TFindings&& second) {
    m_secondPaths = std::move(second.m_secondPaths);
}

TFinding TFindings::WithWords(TSeverity severity, TCheckKind kind, std::uint32_t path,
                              const TTarvinItem* item, int valueIndex, std::string message) {
    TFinding f;
    f.Severity = severity;
    f.Kind = kind;
    f.Message = TFindingMessage::Text;
    f.Path = path;
    f.Item = item;
    f.ValueIndex = valueIndex;
    f.Numbers[0] = static_cast<std::uint32_t>(m_words.size());
    m_words.push_back(std::move(message));
    return f;
}

int TFindings::Count(TSeverity severity) const {
    return static_cast<int>(std::count_if(
        m_list.begin(), m_list.end(), [&](const TFinding& f) { return f.Severity == severity; }));
}

void TFindings::AppendPath(std::string& out, const TFinding& f, TPathMemo& memo) const {
    const std::size_t start = out.size();
    if (f.Path != kRootPath && Node(f.Path).Parent == memo.ParentId) {
        out += memo.ParentPath;
        if (memo.ParentId != kRootPath)
            out += '/';
        AppendSegment(out, Node(f.Path).Name, *m_cp);
        if (out.size() - start <= kPathLimit)
            return;
        out.resize(start);
    }
    // Only the nodes that can show: names are at least a byte a character,
    // so four times the limit in raw bytes is more than enough.
    std::vector<std::uint32_t>& nodes = memo.Nodes;
    nodes.clear();
    std::size_t raw = 0;
    for (std::uint32_t id = f.Path; id != kRootPath && raw <= 4 * kPathLimit;
         id = Node(id).Parent) {
        nodes.push_back(id);
        raw += Node(id).Name.size() + 1;
    }
    std::size_t parentEnd = start;
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        if (it != nodes.rbegin()) {
            parentEnd = out.size();
            out += '/';
        }
        AppendSegment(out, Node(*it).Name, *m_cp);
    }
    memo.ParentId = TPathMemo::kNone;
    if (f.Path != kRootPath && out.size() - start <= kPathLimit) {
        memo.ParentId = Node(f.Path).Parent;
        memo.ParentPath.assign(out, start, parentEnd - start);
    }
    if (out.size() - start > kPathLimit) {
        std::size_t cut = out.size() - kPathLimit;
        while (cut < out.size() && IsUtf8Continuation(out[cut]))
            ++cut; // not inside a character
        out.replace(start, cut - start, "\u2026");
    }
}

void TFindings::Prefetch(const TFinding& f, int stage) const {
    const TPathNode& node = Node(f.Path);
    switch (stage) {
    case 0:
        __builtin_prefetch(f.Item);
        __builtin_prefetch(&node);
        break;
    case 1:
        if (f.ValueIndex >= 0)
            __builtin_prefetch(&f.Item->Values()[static_cast<std::size_t>(f.ValueIndex)]);
        __builtin_prefetch(node.Name.data());
        break;
    default:
        if (f.ValueIndex >= 0) {
            const auto& value = f.Item->Values()[static_cast<std::size_t>(f.ValueIndex)];
            __builtin_prefetch(value.Ident.View().data());
            __builtin_prefetch(value.Text.View().data());
        }
        break;
    }
}

void TFindings::AppendIdent(std::string& out, const TFinding& f) const {
    if (f.ValueIndex >= 0)
        m_cp->AppendAsUtf8(out, f.Item->GetValueIdent(f.ValueIndex));
}

void TFindings::AppendText(std::string& out, const TFinding& f) const {
    if (f.ValueIndex >= 0)
        m_cp->AppendAsUtf8(out, f.Item->ValueText(f.ValueIndex));
}

void TFindings::AppendMessage(std::string& out, const TFinding& f) const {
    AppendFindingMessage(out, *this, f);
}

namespace {

template <class TAppend> std::string Made(TAppend&& append) {
    std::string out;
    append(out);
    return out;
}

} // namespace

std::string TFindings::Path(const TFinding& f) const {
    return Made([&](std::string& out) { AppendPath(out, f); });
}

std::string TFindings::Ident(const TFinding& f) const {
    return Made([&](std::string& out) { AppendIdent(out, f); });
}

std::string TFindings::Text(const TFinding& f) const {
    return Made([&](std::string& out) { AppendText(out, f); });
}

std::string TFindings::Message(const TFinding& f) const {
    return Made([&](std::string& out) { AppendMessage(out, f); });
}

} // namespace trvx
