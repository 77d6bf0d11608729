#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trvx {

// Which editor suits a value. Never stored: always derived from the ident.
enum TValueKind { vkString, vkItems, vkShortcut };

// "Shortcut" -> vkShortcut, "Items" or "Strings" -> vkItems, anything else
// -> vkString. Exact, case-sensitive comparison of the whole ident.
TValueKind ValueKindOfIdent(std::string_view ident);

// The lines of a text, each ending at CR LF, a lone CR or a lone LF. A
// break after the last line yields a final empty line, and the empty text
// is one empty line, so there is always at least one line.
std::vector<std::string> SplitItemLines(std::string_view text);

// Hands those lines to line(std::string_view) in order, without copying
// them, until it returns false; false then, else true.
template <class Line> bool ForEachItemLine(std::string_view text, Line line) {
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c != '\r' && c != '\n')
            continue;
        if (!line(text.substr(start, pos - start)))
            return false;
        if (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
            ++pos;
        start = pos + 1;
    }
    // The text is taken as if CR LF followed it: whatever stands after the
    // last break, even nothing, is the last line.
    return line(text.substr(start));
}

// The lines joined by CR LF, without a break after the last one; no lines
// give the empty text.
std::string JoinItemLines(const std::vector<std::string>& lines);

} // namespace trvx
