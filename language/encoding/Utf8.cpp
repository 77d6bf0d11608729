#include "encoding/Utf8.h"

#include "encoding/ByteScan.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace trvx {

std::size_t AsciiRunEnd(std::string_view bytes, std::size_t pos, std::size_t limit,
                        bool printable) {
    if constexpr (std::endian::native == std::endian::little) {
        using namespace scan_detail;
        while (limit - pos >= 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + pos, 8);
            std::uint64_t stops = word & kHighs;
            if (printable)
                stops |= BytesBelow(word, 0x20) | BytesBelow(word ^ (kOnes * 0x7F), 1);
            if (stops != 0)
                return pos + static_cast<std::size_t>(std::countr_zero(stops)) / 8;
            pos += 8;
        }
    }
    while (pos < limit) {
        const auto b = static_cast<unsigned char>(bytes[pos]);
        if (b >= 0x80 || (printable && (b < 0x20 || b == 0x7F)))
            break;
        ++pos;
    }
    return pos;
}

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
        const std::size_t end = AsciiRunEnd(bytes, pos, bytes.size());
        out.append(bytes.data() + pos, end - pos);
        pos = end;
        if (pos < bytes.size())
            AppendUtf8(out, NextValidUtf8(bytes, pos));
    }
}

} // namespace trvx
