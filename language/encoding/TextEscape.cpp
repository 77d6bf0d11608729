#include "encoding/TextEscape.h"

#include "encoding/Utf8.h"

#include <algorithm>
#include <cstdio>

namespace trvx {

namespace {

void AppendHex(std::string& out, const char* format, unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, format, value);
    out += buf;
}

} // namespace

void AppendJsonChar(std::string& out, char32_t ch, bool escapeDelete) {
    switch (ch) {
    case '"':
        out += "\\\"";
        break;
    case '\\':
        out += "\\\\";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\r':
        out += "\\r";
        break;
    case '\t':
        out += "\\t";
        break;
    default:
        if (ch < 0x20 || (ch == 0x7F && escapeDelete))
            AppendJsonEscape(out, ch);
        else
            AppendUtf8(out, ch);
    }
}

void AppendJsonEscape(std::string& out, char32_t ch) {
    AppendHex(out, "\\u%04x", static_cast<unsigned>(ch));
}

void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (std::size_t pos = 0; pos < utf8.size();)
        AppendJsonChar(out, NextValidUtf8(utf8, pos), true);
    out += '"';
}

void AppendXmlText(std::string& out, std::string_view utf8, bool attribute) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t ch = NextValidUtf8(utf8, pos);
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        case '\t':
        case '\n':
        case '\r':
            if (attribute)
                AppendHex(out, "&#%u;", static_cast<unsigned>(ch));
            else
                out += static_cast<char>(ch);
            break;
        default:
            if (ch < 0x20 || ch == 0xFFFE || ch == 0xFFFF)
                AppendUtf8(out, kReplacementChar);
            else
                AppendUtf8(out, ch);
        }
    }
}

std::string DisplayText(std::string_view utf8, std::size_t maxChars) {
    std::string out;
    AppendDisplayText(out, utf8, maxChars);
    return out;
}

void AppendDisplayText(std::string& out, std::string_view utf8, std::size_t maxChars) {
    std::size_t shown = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        if (shown == maxChars) {
            out += "\u2026";
            break;
        }
        // Runs of printable ASCII, most of any text, go whole.
        const std::size_t limit = pos + std::min(maxChars - shown, utf8.size() - pos);
        const std::size_t end = AsciiRunEnd(utf8, pos, limit, true);
        if (end > pos) {
            out.append(utf8, pos, end - pos);
            shown += end - pos;
            pos = end;
            continue;
        }
        const char32_t ch = NextValidUtf8(utf8, pos);
        if (ch == '\r' && pos < utf8.size() && utf8[pos] == '\n') {
            ++pos; // CR LF is one line break
            out += "\\n";
        } else if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\t') {
            out += "\\t";
        } else if (ch < 0x20 || ch == 0x7F) {
            AppendHex(out, "\\x%02x", static_cast<unsigned>(ch));
        } else {
            AppendUtf8(out, ch);
        }
        ++shown;
    }
}

std::string ShortText(std::string_view utf8, std::size_t maxChars) {
    const std::size_t chars = Utf8Length(utf8);
    if (chars <= maxChars)
        return DisplayText(utf8, chars);
    const std::size_t keep = maxChars / 2;
    std::size_t head = 0;
    for (std::size_t n = 0; n <= keep; ++head)
        n += !IsUtf8Continuation(utf8[head]);
    std::size_t tail = utf8.size();
    for (std::size_t n = 0; n < keep;)
        n += !IsUtf8Continuation(utf8[--tail]);
    return DisplayText(utf8.substr(0, head - 1), keep) + "\u2026" +
           DisplayText(utf8.substr(tail), keep) + " (" + std::to_string(chars) + " characters)";
}

std::string Counted(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

} // namespace trvx
