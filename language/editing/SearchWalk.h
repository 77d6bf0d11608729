#pragma once

#include "encoding/CodePage.h"
#include "tree/TarvinItem.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace trvx {

// What a search looks at; the numbers are the tags of the find actions.
enum TSearchKind : int { skItem = 0, skValue = 1, skValueIdent = 2 };

// Tests candidates against one search text. Ignoring case, both sides are
// upper-cased through the code page and the candidate must contain the text;
// otherwise it must contain the same bytes. An empty text or candidate never
// matches. Built once per search so that testing a candidate on a
// single-byte page allocates nothing.
class TTextMatcher {
public:
    TTextMatcher(std::string_view text, bool ignoreCase, const CodePage& codePage);
    bool Matches(std::string_view candidate) const;

private:
    bool ContainsFolded(std::string_view candidate) const;
    // A double-byte page's trail byte may look like ASCII: a match must
    // start where a character starts.
    bool ContainsAtCharStart(std::string_view candidate) const;

    std::string m_text; // upper-cased when ignoring case
    bool m_ignoreCase;
    const CodePage* m_doubleByte = nullptr; // set for a double-byte page
    std::array<unsigned char, 256> m_upper{};
    // Horspool shifts over upper-cased bytes.
    std::array<std::size_t, 256> m_shift{};
};

// The nodes a search walks, numbered by whoever shows them; 0 stands for none.
// Next and previous follow the displayed order, depth first, a node before its
// children, hidden (collapsed) nodes included.
class TSearchOrder {
public:
    virtual int NextNode(int node) const = 0;
    virtual int PreviousNode(int node) const = 0;
    virtual const TTarvinItem& Item(int node) const = 0;
    // The node's name as shown, in the code page's bytes.
    virtual std::string_view Caption(int node) const = 0;

protected:
    ~TSearchOrder() = default;
};

struct TSearchRequest {
    TSearchKind Kind = skItem;
    std::string_view Text; // bytes in the code page
    bool Down = true;
    bool IgnoreCase = true;
    int Node = 0;        // the selected node, 0 for none
    int ValueIndex = -1; // the selected value row, -1 for none
};

struct TSearchMatch {
    int Node = 0;
    int ValueIndex = -1; // value kinds only
    bool operator==(const TSearchMatch&) const = default;
};

// The next match from the selection in the request's direction; it never
// starts again from the other end. The selected node is not tested for a
// caption, and the selected value row is skipped. Going up, every node after
// the first is scanned from its last value.
std::optional<TSearchMatch> FindNextMatch(const TSearchOrder& order, const TSearchRequest& request,
                                          const CodePage& codePage);

} // namespace trvx
