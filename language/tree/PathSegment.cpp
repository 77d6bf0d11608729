#include "tree/PathSegment.h"

#include "encoding/Utf8.h"

namespace trvx {

void AppendPathSegment(std::string& out, std::string_view name, const CodePage& cp) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (std::size_t pos = 0; pos < name.size();) {
        const char c = name[pos];
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            // Whole characters: a double-byte page's trail byte may be a backslash.
            AppendUtf8(out, cp.NextChar(name, pos));
            continue;
        }
        ++pos;
        if (b == '\\' || b == '/') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b == 0x7F) {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += c;
        }
    }
}

std::string PathSegment(std::string_view name, const CodePage& cp) {
    std::string out;
    AppendPathSegment(out, name, cp);
    return out;
}

} // namespace trvx
