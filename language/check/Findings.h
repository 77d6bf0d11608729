#pragma once

#include "check/JoinedList.h"
#include "encoding/CodePage.h"
#include "tree/TarvinItem.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace trvx {

enum class TSeverity : std::uint8_t { Error, Warning, Info };

enum class TCheckKind : std::uint8_t {
    Accelerator,
    Shortcut,
    Placeholder,
    List,
    Untranslated,
    Whitespace,
    Structure
};
inline constexpr int kCheckKindCount = 7;

std::string_view SeverityName(TSeverity severity); // "error", "warning", "info"
std::string_view CheckKindName(TCheckKind kind);   // "accelerator", ... for machines
std::string_view CheckKindTitle(TCheckKind kind);  // "Accelerators", ... for people

// What a finding says. The words are made only when it is shown, from what
// the finding keeps (see TFinding); a large file has a hundred thousand
// findings, and most are never read by anyone but a counter.
enum class TFindingMessage : std::uint8_t {
    DeepTree,
    RootValue,
    NameHazard,  // Numbers[0]: the TNameHazard
    IdentHazard, // Numbers[0]: the TNameHazard
    ShortcutUnreadable,
    ShortcutShared, // Numbers[0]: the key, [1]: 1 in a form, [2]: the other user's path
    Untranslated,
    ListLines,          // Numbers[0]: lines, [1]: the base's
    Whitespace,         // Other, OtherIndex: the base value
    PlaceholdersDiffer, // Other, OtherIndex: the base value
    LonePercent,        // Numbers[0]: its byte offset
    LoneAmpersandAtEnd,
    LoneAmpersandBeforeBlank,
    SeveralMarks,       // Numbers[0]: how many
    AcceleratorShared,  // Other: the parent; Numbers: children named; OtherIndex: others; Letter
    MissingAccelerator, // Other, OtherIndex: the base value
    Text,               // Numbers[0]: the index of its words in TFindings
};

// One finding, compact: where it is and what its message quotes. Valid
// while the checked trees are unchanged; its words come from TFindings.
struct TFinding {
    // Where it is, for an editor to show it: the node and its value, or -1
    // for the node itself.
    const TTarvinItem* Item = nullptr;
    const TTarvinItem* Other = nullptr;
    int ValueIndex = -1;
    int OtherIndex = -1;
    std::uint32_t Path = 0; // in TFindings' path nodes
    std::array<std::uint32_t, 3> Numbers{};
    char32_t Letter = 0;
    TSeverity Severity = TSeverity::Info;
    TCheckKind Kind = TCheckKind::Structure;
    TFindingMessage Message = TFindingMessage::Text;
};

// The findings of one check run, in report order, and what they need to be
// put into words: the path nodes they name and the code pages.
class TFindings {
public:
    static constexpr std::uint32_t kRootPath = 0;

    // The findings of the second part of a split check name their paths
    // with ids of their own, so joining them renumbers nothing.
    enum class TPathIds : std::uint8_t { First, Second };

    TFindings(const CodePage& cp, const CodePage& baseCp, TPathIds ids = TPathIds::First);

    // A node's path: its parent's and its own name as read.
    std::uint32_t AddPath(std::uint32_t parent, std::string_view name);
    // The name of a path's last node, "" for the root.
    std::string_view PathName(std::uint32_t path) const { return Node(path).Name; }
    // Takes over the path nodes of second, whose ids are TPathIds::Second;
    // they keep their ids.
    void AdoptPaths(TFindings&& second);
    void Add(const TFinding& finding) { m_list.push_back(finding); }
    // Appends findings whole, without copying them.
    void Join(std::deque<TFinding> findings) { m_list.Join(std::move(findings)); }
    void Insert(std::size_t at, const TFinding& finding) { m_list.insert(at, finding); }
    // A finding whose message is given whole, to Add or Insert.
    TFinding WithWords(TSeverity severity, TCheckKind kind, std::uint32_t path,
                       const TTarvinItem* item, int valueIndex, std::string message);

    std::size_t size() const { return m_list.size(); }
    bool empty() const { return m_list.empty(); }
    const TFinding& operator[](std::size_t i) const { return m_list[i]; }
    auto begin() const { return m_list.begin(); }
    auto end() const { return m_list.end(); }
    int Count(TSeverity severity) const;

    // What AppendPath keeps from one finding to the next: findings that
    // follow each other are mostly about siblings. One for each thread that
    // shows findings.
    struct TPathMemo {
        static constexpr std::uint32_t kNone = ~std::uint32_t{0};
        std::vector<std::uint32_t> Nodes;
        std::uint32_t ParentId = kNone; // the parent of the path shown last
        std::string ParentPath;
    };

    // In UTF-8, appended to out. The path is the node names joined by "/"
    // as PathSegment writes them, "" for the root, and a long one shown by
    // its end only; ident and text are empty for a finding about a node.
    void AppendPath(std::string& out, const TFinding& f) const { AppendPath(out, f, m_memo); }
    void AppendPath(std::string& out, const TFinding& f, TPathMemo& memo) const;
    void AppendIdent(std::string& out, const TFinding& f) const;
    void AppendText(std::string& out, const TFinding& f) const;
    void AppendMessage(std::string& out, const TFinding& f) const;
    // Asks for the memory that showing f reads, in three stages, each
    // reading what the one before fetched: call them a few findings apart.
    void Prefetch(const TFinding& f, int stage) const;
    static constexpr int kPrefetchStages = 3;

    // The same as strings.
    std::string Path(const TFinding& f) const;
    std::string Ident(const TFinding& f) const;
    std::string Text(const TFinding& f) const;
    std::string Message(const TFinding& f) const;

    const CodePage& Cp() const { return *m_cp; }
    const CodePage& BaseCp() const { return *m_baseCp; }
    const std::string& Words(std::size_t i) const { return m_words[i]; }

private:
    struct TPathNode {
        std::uint32_t Parent;
        std::string_view Name;
    };
    static constexpr std::uint32_t kSecondPath = std::uint32_t{1} << 31;
    const TPathNode& Node(std::uint32_t id) const {
        return (id & kSecondPath) != 0 ? m_secondPaths[id & ~kSecondPath] : m_paths[id];
    }

    const CodePage* m_cp;
    const CodePage* m_baseCp;
    TJoinedList<TFinding> m_list;
    TPathIds m_ids;
    std::deque<TPathNode> m_paths; // grows without moving what it holds
    std::deque<TPathNode> m_secondPaths;

    std::vector<std::string> m_words;
    mutable TPathMemo m_memo;
};

// Appends the words of f's message; one function for every way a finding
// is shown.
void AppendFindingMessage(std::string& out, const TFindings& findings, const TFinding& f);

} // namespace trvx
