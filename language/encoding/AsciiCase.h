#pragma once

#include <cstddef>
#include <string_view>

namespace trvx {

// The ASCII letters in upper (or lower) case; every other unit, of any width, stays as
// it is. Names the host compares this way (prefixes, key names, resource
// names, extensions) are ASCII, so the folding is exact for them.
template <class Unit> constexpr Unit UpperAscii(Unit c) {
    return c >= Unit('a') && c <= Unit('z') ? static_cast<Unit>(c - (Unit('a') - Unit('A'))) : c;
}

template <class Unit> constexpr Unit LowerAscii(Unit c) {
    return c >= Unit('A') && c <= Unit('Z') ? static_cast<Unit>(c + (Unit('a') - Unit('A'))) : c;
}

constexpr bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i]))
            return false;
    return true;
}

constexpr bool StartsWithTextAscii(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
}

} // namespace trvx
