#include "editing/SearchWalk.h"

#include <algorithm>

namespace trvx {

TTextMatcher::TTextMatcher(std::string_view text, bool ignoreCase, const CodePage& codePage)
    : m_text(text), m_ignoreCase(ignoreCase),
      m_doubleByte(codePage.IsDoubleByte() ? &codePage : nullptr) {
    if (m_doubleByte && m_ignoreCase)
        m_text = codePage.Upper(m_text);
    if (!m_ignoreCase || m_doubleByte)
        return;
    for (int b = 0; b < 256; ++b)
        m_upper[static_cast<std::size_t>(b)] = codePage.Upper(static_cast<unsigned char>(b));
    for (char& c : m_text)
        c = static_cast<char>(m_upper[static_cast<unsigned char>(c)]);
    const std::size_t m = m_text.size();
    m_shift.fill(m);
    for (std::size_t i = 0; i + 1 < m; ++i)
        m_shift[static_cast<unsigned char>(m_text[i])] = m - 1 - i;
}

bool TTextMatcher::Matches(std::string_view candidate) const {
    if (m_text.empty() || candidate.size() < m_text.size())
        return false;
    if (m_doubleByte)
        return ContainsAtCharStart(m_ignoreCase ? std::string_view(m_doubleByte->Upper(candidate))
                                                : candidate);
    if (!m_ignoreCase)
        return candidate.find(m_text) != std::string_view::npos;
    return ContainsFolded(candidate);
}

bool TTextMatcher::ContainsFolded(std::string_view candidate) const {
    // Horspool on the fly: each byte is folded where it is read, so the
    // candidate is never copied.
    const auto* hay = reinterpret_cast<const unsigned char*>(candidate.data());
    const auto* needle = reinterpret_cast<const unsigned char*>(m_text.data());
    const std::size_t m = m_text.size();
    const std::size_t n = candidate.size();
    const unsigned char last = needle[m - 1];
    for (std::size_t pos = 0; pos + m <= n;) {
        const unsigned char tail = m_upper[hay[pos + m - 1]];
        if (tail == last) {
            std::size_t i = 0;
            while (i + 1 < m && m_upper[hay[pos + i]] == needle[i])
                ++i;
            if (i + 1 >= m)
                return true;
        }
        pos += m_shift[tail];
    }
    return false;
}

bool TTextMatcher::ContainsAtCharStart(std::string_view candidate) const {
    for (std::size_t pos = 0; pos + m_text.size() <= candidate.size();
         pos += m_doubleByte->CharLength(candidate, pos))
        if (candidate.compare(pos, m_text.size(), m_text) == 0)
            return true;
    return false;
}

namespace {

// Tests values first .. last of item in the given direction; the index of
// the first match or -1.
int ScanValues(const TTarvinItem& item, TSearchKind kind, const TTextMatcher& matcher, int first,
               bool down) {
    const auto values = item.Values();
    const int count = static_cast<int>(values.size());
    if (down) {
        for (int i = std::max(first, 0); i < count; ++i) {
            const auto& v = values[static_cast<std::size_t>(i)];
            if (matcher.Matches(kind == skValue ? v.Text.View() : v.Ident.View()))
                return i;
        }
    } else {
        for (int i = std::min(first, count - 1); i >= 0; --i) {
            const auto& v = values[static_cast<std::size_t>(i)];
            if (matcher.Matches(kind == skValue ? v.Text.View() : v.Ident.View()))
                return i;
        }
    }
    return -1;
}

} // namespace

std::optional<TSearchMatch> FindNextMatch(const TSearchOrder& order, const TSearchRequest& request,
                                          const CodePage& codePage) {
    const TTextMatcher matcher(request.Text, request.IgnoreCase, codePage);
    const bool down = request.Down;
    auto step = [&](int node) { return down ? order.NextNode(node) : order.PreviousNode(node); };

    if (request.Kind == skItem) {
        // The selected node itself is never tested.
        for (int node = request.Node != 0 ? step(request.Node) : 0; node != 0; node = step(node))
            if (matcher.Matches(order.Caption(node)))
                return TSearchMatch{node, -1};
        return std::nullopt;
    }

    // The selected row itself is skipped.
    int valueIndex = request.ValueIndex + (down ? 1 : -1);
    bool first = true;
    for (int node = request.Node; node != 0; node = step(node)) {
        const TTarvinItem& item = order.Item(node);
        if (!down && !first)
            valueIndex = item.ValueCount() - 1;
        const int found = ScanValues(item, request.Kind, matcher, valueIndex, down);
        if (found >= 0)
            return TSearchMatch{node, found};
        if (down)
            valueIndex = 0;
        first = false;
    }
    return std::nullopt;
}

} // namespace trvx
