#include "editing/ValueKind.h"

namespace trvx {

TValueKind ValueKindOfIdent(std::string_view ident) {
    if (ident == "Shortcut")
        return vkShortcut;
    if (ident == "Items" || ident == "Strings")
        return vkItems;
    return vkString;
}

std::vector<std::string> SplitItemLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char c = text[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        lines.emplace_back(text.substr(start, pos - start));
        pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        start = pos;
    }
    // The text is taken as if CR LF followed it: whatever stands after the
    // last break, even nothing, is the last line.
    lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinItemLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

std::string ValueDisplayText(std::string_view text) {
    std::size_t cr = text.find('\r');
    if (cr == std::string_view::npos)
        return std::string(text);
    return std::string(text.substr(0, cr)) + std::string(kContinuationMark);
}

std::string ItemsDisplayText(const std::vector<std::string>& lines) {
    if (lines.size() <= 1)
        return JoinItemLines(lines);
    return lines.front() + std::string(kContinuationMark);
}

} // namespace trvx
