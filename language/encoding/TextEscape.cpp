#include "encoding/TextEscape.h"

#include "encoding/CodePage.h"

#include <algorithm>
#include <cstdio>

namespace trvx {

namespace {

// The next code point of text, U+FFFD for anything that is not valid UTF-8.
char32_t NextValid(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    const char32_t ch = NextUtf8(text, pos);
    const std::size_t length = pos - start;
    const std::size_t shortest = ch < 0x80 ? 1 : ch < 0x800 ? 2 : ch < 0x10000 ? 3 : 4;
    if (length != shortest || (ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF)
        return U'\uFFFD';
    return ch;
}

void AppendHex(std::string& out, const char* format, unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, format, value);
    out += buf;
}

} // namespace

std::string ValidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    AppendValidUtf8(out, bytes);
    return out;
}

void AppendValidUtf8(std::string& out, std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        // ASCII is valid as it stands: copy its runs whole.
        std::size_t end = pos;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80)
            ++end;
        out.append(bytes.data() + pos, end - pos);
        pos = end;
        if (pos < bytes.size())
            AppendUtf8(out, NextValid(bytes, pos));
    }
}

void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t ch = NextValid(utf8, pos);
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
            if (ch < 0x20 || ch == 0x7F)
                AppendHex(out, "\\u%04x", static_cast<unsigned>(ch));
            else
                AppendUtf8(out, ch);
        }
    }
    out += '"';
}

void AppendXmlText(std::string& out, std::string_view utf8, bool attribute) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t ch = NextValid(utf8, pos);
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
                AppendUtf8(out, U'\uFFFD');
            else
                AppendUtf8(out, ch);
        }
    }
}

std::string DisplayText(std::string_view utf8, std::size_t maxChars) {
    std::string out;
    std::size_t shown = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        if (shown == maxChars) {
            out += "\u2026";
            break;
        }
        const char32_t ch = NextValid(utf8, pos);
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
    return out;
}

std::string ShortText(std::string_view utf8, std::size_t maxChars) {
    const auto starts = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
    const std::size_t chars =
        static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), starts));
    if (chars <= maxChars)
        return DisplayText(utf8, chars);
    const std::size_t keep = maxChars / 2;
    std::size_t head = 0;
    for (std::size_t n = 0; n <= keep; ++head)
        n += starts(utf8[head]);
    std::size_t tail = utf8.size();
    for (std::size_t n = 0; n < keep;)
        n += starts(utf8[--tail]);
    return DisplayText(utf8.substr(0, head - 1), keep) + "\u2026" +
           DisplayText(utf8.substr(tail), keep) + " (" + std::to_string(chars) + " characters)";
}

std::string Counted(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

} // namespace trvx
