#include "format/Quoting.h"

#include <cstring>

namespace trvx {

void AppendEscaped(std::string& out, std::string_view text) {
    std::size_t start = 0;
    for (std::size_t q; (q = text.find('"', start)) != std::string_view::npos; start = q + 1) {
        out.append(text.data() + start, q - start + 1);
        out += '"';
    }
    out.append(text.data() + start, text.size() - start);
}

void AppendUnescaped(std::string& out, std::string_view text) {
    std::size_t start = 0;
    for (std::size_t q; (q = text.find("\"\"", start)) != std::string_view::npos; start = q + 2)
        out.append(text.data() + start, q - start + 1);
    out.append(text.data() + start, text.size() - start);
}

} // namespace trvx
