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
    ForEachItemLine(text, [&](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
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

} // namespace trvx
