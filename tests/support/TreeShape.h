#pragma once

// Comparable pictures of language trees for the fuzz targets and the
// bad-input tests. Every walk uses an explicit stack: the trees these look
// at can be hundreds of thousands of levels deep.

#include "format/Quoting.h"
#include "tree/TarvinItem.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trvx::test {

// Every line break of a text (CR LF, a lone CR or a lone LF) as CR LF: what
// the writer's line split and the reader's join make of it.
inline std::string CrlfBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

struct TShapeOptions {
    bool RootValues = true; // false: leave out the root's own values
    bool TrimNames = false; // names and idents as the reader gives them back
    bool CrlfTexts = false; // line breaks in texts as CR LF
};

// One length-counted record per node opened, value and node closed, so no
// byte of a name or text can be mistaken for structure.
inline std::string Shape(const TTarvinItem& root, TShapeOptions options = {}) {
    std::string out;
    auto put = [&out](char kind, std::string_view bytes) {
        out += kind;
        out += std::to_string(bytes.size());
        out += ':';
        out += bytes;
    };
    auto name = [&](std::string_view n) { return options.TrimNames ? Trim(n) : n; };
    auto values = [&](const TTarvinItem& item) {
        for (const auto& v : item.Values()) {
            put('=', name(v.Ident.View()));
            if (options.CrlfTexts)
                put('"', CrlfBreaks(v.Text.View()));
            else
                put('"', v.Text.View());
        }
    };
    struct Frame {
        const TTarvinItem* item;
        std::size_t next;
    };
    if (options.RootValues)
        values(root);
    std::vector<Frame> stack{{&root, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        const auto children = top.item->Children();
        if (top.next == children.size()) {
            stack.pop_back();
            if (!stack.empty())
                out += '}';
            continue;
        }
        const auto& child = children[top.next++];
        put('{', name(child.Name.View()));
        values(*child.Item);
        stack.push_back({child.Item.get(), 0});
    }
    return out;
}

// Depth of the deepest node below root (root's children are at depth 1).
inline std::size_t Depth(const TTarvinItem& root) {
    std::size_t deepest = 0;
    std::vector<std::pair<const TTarvinItem*, std::size_t>> stack{{&root, 0}};
    while (!stack.empty()) {
        auto [item, depth] = stack.back();
        stack.pop_back();
        deepest = std::max(deepest, depth);
        for (const auto& c : item->Children())
            stack.push_back({c.Item.get(), depth + 1});
    }
    return deepest;
}

// Where two pictures first differ, for failure messages.
inline std::string FirstDifference(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    const std::size_t from = i < 40 ? 0 : i - 40;
    return "at byte " + std::to_string(i) + ": ..." + a.substr(from, 80) + "... vs ..." +
           b.substr(from, 80) + "...";
}

} // namespace trvx::test
