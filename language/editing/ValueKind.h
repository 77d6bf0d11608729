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

// " »": a blank and the byte 0xBB, shown after the first line of a value
// that has more than one.
inline constexpr std::string_view kContinuationMark = " \xBB";

// The lines of a text, each ending at CR LF, a lone CR or a lone LF. A
// break after the last line yields a final empty line, and the empty text
// is one empty line, so there is always at least one line.
std::vector<std::string> SplitItemLines(std::string_view text);

// The lines joined by CR LF, without a break after the last one; no lines
// give the empty text.
std::string JoinItemLines(const std::vector<std::string>& lines);

// What a values row shows for a text: the part before the first CR followed
// by the continuation mark, or the whole text when it holds no CR.
std::string ValueDisplayText(std::string_view text);

// What a values row shows after an items edit: the stored text for zero or
// one line, else the first line followed by the continuation mark.
std::string ItemsDisplayText(const std::vector<std::string>& lines);

} // namespace trvx
