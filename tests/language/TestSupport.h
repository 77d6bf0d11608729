#pragma once

#include "document/Tarvin.h"

#include <string>
#include <vector>

namespace trvx::test {

// A compact, comparable picture of a tree: one line per node and value.
inline void Describe(const TTarvinItem& item, std::string& out, int depth = 0) {
    for (const auto& v : item.Values())
        out += std::string(depth * 2, ' ') + "[" + v.Ident.Str() + "]=<" + v.Text.Str() + ">\n";
    for (const auto& c : item.Children()) {
        out += std::string(depth * 2, ' ') + "{" + c.Name.Str() + "}\n";
        Describe(*c.Item, out, depth + 1);
    }
}

inline std::string Describe(const TTarvinItem& item) {
    std::string out;
    Describe(item, out);
    return out;
}

inline std::string Crlf(std::string text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace trvx::test
