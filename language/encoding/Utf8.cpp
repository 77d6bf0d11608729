#include "encoding/Utf8.h"

#include <algorithm>

namespace trvx {

char32_t NextValidUtf8(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    const char32_t ch = NextUtf8(text, pos);
    const std::size_t length = pos - start;
    const std::size_t shortest = ch < 0x80 ? 1 : ch < 0x800 ? 2 : ch < 0x10000 ? 3 : 4;
    if (length != shortest || (ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF)
        return kReplacementChar;
    return ch;
}

std::size_t Utf8Length(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsUtf8Continuation(c); }));
}

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
            AppendUtf8(out, NextValidUtf8(bytes, pos));
    }
}

} // namespace trvx
