#pragma once

// The reports print file names through ValidUtf8 beside these.
#include "encoding/Utf8.h"

#include <string>
#include <string_view>

namespace trvx {

// Escaping for the machine-readable reports. Input is UTF-8; a malformed
// sequence (a file name from the command line, say) becomes U+FFFD, so the
// output is always well-formed.

// A JSON string literal, quotes included.
void AppendJsonString(std::string& out, std::string_view utf8);
// One character of a JSON string: the short escapes, control characters
// (and DEL, if asked) as \u00XX, anything else as UTF-8.
void AppendJsonChar(std::string& out, char32_t ch, bool escapeDelete);
// ch as \uXXXX.
void AppendJsonEscape(std::string& out, char32_t ch);

// XML character data or an attribute value (without the quotes around it).
// Control characters XML 1.0 cannot hold become U+FFFD; in attributes, tab
// and line breaks are written as references so they survive normalisation.
void AppendXmlText(std::string& out, std::string_view utf8, bool attribute);

// A text for a terminal: line breaks and other control characters shown as
// \n, \r, \t or \xNN, cut after maxChars characters with an ellipsis.
std::string DisplayText(std::string_view utf8, std::size_t maxChars);
void AppendDisplayText(std::string& out, std::string_view utf8, std::size_t maxChars);

// A name or path quoted in a report line, escaped as DisplayText does. One
// longer than maxChars keeps its start and its end around an ellipsis and
// says how long it is, so one huge name cannot blow up a whole report.
std::string ShortText(std::string_view utf8, std::size_t maxChars = 80);

// A count and its noun in a report line: "1 line", "2 lines".
std::string Counted(std::size_t n, std::string_view one, std::string_view many);

} // namespace trvx
