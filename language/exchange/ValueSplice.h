#pragma once

#include "format/Reader.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace trvx::exchange {

// (node, value index): the key of one value of a loaded tree.
struct TValueKey {
    const TTarvinItem* Node;
    int Index;
    bool operator==(const TValueKey&) const = default;
};
struct TValueKeyHash {
    std::size_t operator()(const TValueKey& k) const {
        return std::hash<const void*>()(k.Node) ^
               (static_cast<std::size_t>(k.Index) * 0x9E3779B97F4A7C15ull);
    }
};
using TNewTexts = std::unordered_map<TValueKey, std::string, TValueKeyHash>;

// The language text with the values in newTexts rewritten and every other
// byte as it was. text is what the tree was loaded from and spans where its
// values stand; each new value is written the way the writer would write it
// at that place, so the file keeps its layout.
std::string SpliceValues(std::string_view text, const std::vector<TValueSpan>& spans,
                         const TNewTexts& newTexts);

} // namespace trvx::exchange
