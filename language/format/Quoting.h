#pragma once

#include <string>
#include <string_view>

namespace trvx {

// Appends text with every quote doubled.
void AppendEscaped(std::string& out, std::string_view text);
// Appends text with every pair of quotes made single.
void AppendUnescaped(std::string& out, std::string_view text);

inline bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
// Without blanks (codes 0 to 32) at either end. Inline: the reader trims
// every name, ident and bare text.
inline std::string_view Trim(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

} // namespace trvx
