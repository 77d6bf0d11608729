#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvin {

// A quick "certainly not" for the few nodes of a large tree that some list
// names. The lists' own tables grow with their entries and miss the cache
// for nearly every node asked about; this one keeps 16 bits per entry, so
// it stays in cache and lets through about one in a hundred of the others.
class TItemFilter {
public:
    explicit TItemFilter(std::size_t count)
        : m_words(std::bit_ceil(std::max<std::size_t>(count / 4, 8))),
          m_shift(64 - std::countr_zero(m_words.size())) {}

    void Add(const void* item) {
        const std::uint64_t h = Hash(item);
        m_words[Word(h)] |= Bits(h);
    }
    bool MayContain(const void* item) const {
        const std::uint64_t h = Hash(item);
        const std::uint64_t bits = Bits(h);
        return (m_words[Word(h)] & bits) == bits;
    }

private:
    static std::uint64_t Hash(const void* item) {
        return std::uint64_t(reinterpret_cast<std::uintptr_t>(item)) * 0x9E3779B97F4A7C15ull;
    }
    // The word from the top bits, two bits within it from the bits below.
    std::size_t Word(std::uint64_t h) const { return static_cast<std::size_t>(h >> m_shift); }
    static std::uint64_t Bits(std::uint64_t h) {
        return (std::uint64_t{1} << ((h >> 20) & 63)) | (std::uint64_t{1} << ((h >> 26) & 63));
    }

    std::vector<std::uint64_t> m_words;
    int m_shift;
};

} // namespace tarvin
