#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trvx {

// UTF-8, the encoding of everything shown or reported: the editor's texts,
// trvx's output, the exchange files. Language files are never UTF-8.

inline constexpr char32_t kReplacementChar = U'\uFFFD';

// Inline, as the next two: the code-page conversions call them per character.
constexpr bool IsUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The end of the run of ASCII bytes in [pos, limit); with printable, of
// those that are neither control characters nor DEL. Eight bytes a step:
// reports are mostly such runs.
std::size_t AsciiRunEnd(std::string_view bytes, std::size_t pos, std::size_t limit,
                        bool printable = false);

// Appends a code point as UTF-8.
inline void AppendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        const char bytes[] = {static_cast<char>(0xC0 | (ch >> 6)),
                              static_cast<char>(0x80 | (ch & 0x3F))};
        out.append(bytes, 2);
    } else if (ch < 0x10000) {
        const char bytes[] = {static_cast<char>(0xE0 | (ch >> 12)),
                              static_cast<char>(0x80 | ((ch >> 6) & 0x3F)),
                              static_cast<char>(0x80 | (ch & 0x3F))};
        out.append(bytes, 3);
    } else {
        const char bytes[] = {
            static_cast<char>(0xF0 | (ch >> 18)), static_cast<char>(0x80 | ((ch >> 12) & 0x3F)),
            static_cast<char>(0x80 | ((ch >> 6) & 0x3F)), static_cast<char>(0x80 | (ch & 0x3F))};
        out.append(bytes, 4);
    }
}

// Decodes one sequence at pos and advances past it. A lead byte without its
// continuation bytes gives U+FFFD and advances one byte. Lenient: overlong
// forms and surrogates decode to what their bits say.
inline char32_t NextUtf8(std::string_view text, std::size_t& pos) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    const int extra = b0 < 0x80         ? 0
                      : (b0 >> 5) == 6  ? 1
                      : (b0 >> 4) == 14 ? 2
                      : (b0 >> 3) == 30 ? 3
                                        : -1;
    if (extra == 0) {
        ++pos;
        return b0;
    }
    if (extra < 0 || pos + extra >= text.size()) {
        ++pos;
        return kReplacementChar;
    }
    char32_t ch = b0 & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const char b = text[pos + i];
        if (!IsUtf8Continuation(b)) {
            ++pos;
            return kReplacementChar;
        }
        ch = (ch << 6) | (static_cast<unsigned char>(b) & 0x3F);
    }
    pos += extra + 1;
    return ch;
}

// The same, strict: an overlong form, a surrogate or a code point beyond
// U+10FFFF gives U+FFFD too, the whole sequence consumed.
char32_t NextValidUtf8(std::string_view text, std::size_t& pos);

// Characters in text: the bytes that are no continuation byte.
std::size_t Utf8Length(std::string_view text);

// Valid UTF-8: every malformed sequence, surrogate and overlong form
// replaced by U+FFFD, so a file name from the command line can be printed.
std::string ValidUtf8(std::string_view bytes);
// The same, appended to out.
void AppendValidUtf8(std::string& out, std::string_view bytes);

} // namespace trvx
