#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trvx {

namespace scan_detail {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// The high bit of each byte of word below n (n <= 128). Bytes above the
// lowest such byte may be marked falsely (a borrow runs up), never bytes
// below it, so the lowest mark is exact, also when several such masks are
// or-ed together.
constexpr std::uint64_t BytesBelow(std::uint64_t word, std::uint64_t n) {
    return (word - kOnes * n) & ~word & kHighs;
}

template <unsigned char... Marks>
constexpr bool kHasLineBreaks = ((Marks == '\r') || ...) && ((Marks == '\n') || ...);

// The bytes of word equal to mark. With line breaks among the marks, CR and
// LF are found together as "below 14", which costs less than two tests but
// also marks other control characters: the caller checks the byte it finds.
template <bool LineBreaks, unsigned char Mark> constexpr std::uint64_t Hits(std::uint64_t word) {
    if constexpr (LineBreaks && (Mark == '\r' || Mark == '\n'))
        return 0;
    else
        return BytesBelow(word ^ (kOnes * Mark), 1);
}

#if defined(__SSE2__)
// One bit for each of the sixteen bytes at p that is one of Marks.
template <unsigned char... Marks> inline unsigned HitMask(const char* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hits = _mm_setzero_si128();
    ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(Marks))))),
     ...);
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
#endif

} // namespace scan_detail

// The first byte in [p, end) that is one of Marks, or end. Reads eight bytes
// at a time with plain word arithmetic: the reader and the writer spend most
// of their time looking for the few bytes that matter, and runs of other
// bytes (names, texts) are long.
template <unsigned char... Marks> inline const char* FindAny(const char* p, const char* end) {
    using namespace scan_detail;
#if defined(__SSE2__)
    // Sixteen bytes a step where the machine has it, a third of the word
    // arithmetic's instructions; the rest in one step that ends at end.
    if (end - p >= 16) {
        const char* const last = end - 16;
        for (;;) {
            if (const unsigned hits = HitMask<Marks...>(p))
                return p + std::countr_zero(hits);
            p += 16;
            if (p > last) {
                const unsigned rest = HitMask<Marks...>(last) >> (p - last);
                return rest ? p + std::countr_zero(rest) : end;
            }
        }
    }
#endif
    constexpr bool kLineBreaks = kHasLineBreaks<Marks...>;
    if constexpr (std::endian::native == std::endian::little) {
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            std::uint64_t hits = (Hits<kLineBreaks, Marks>(word) | ...);
            if constexpr (kLineBreaks)
                hits |= BytesBelow(word, '\r' + 1);
            if (hits == 0) {
                p += 8;
                continue;
            }
            const char* hit = p + std::countr_zero(hits) / 8;
            if (((static_cast<unsigned char>(*hit) == Marks) || ...))
                return hit;
            p = hit + 1; // another control character
        }
    }
    while (p < end && !((static_cast<unsigned char>(*p) == Marks) || ...))
        ++p;
    return p;
}

namespace scan_detail {

inline std::uint64_t Load(const char* p, std::size_t n) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, n);
    return word;
}

// Two words that hold every byte of [p, p + n), 0 < n <= 16, some twice:
// a byte seen twice, or a zero byte added, changes no answer of HasAny.
struct TCover {
    std::uint64_t Low, High;
};
inline TCover Cover(const char* p, std::size_t n) {
    if (n >= 8)
        return {Load(p, 8), Load(p + n - 8, 8)};
    if (n >= 4) {
        const std::uint64_t word = Load(p, 4) | Load(p + n - 4, 4) << 32;
        return {word, word};
    }
    const std::uint64_t word = Load(p, 1) | Load(p + n / 2, 1) << 8 | Load(p + n - 1, 1) << 16;
    return {word, word};
}

} // namespace scan_detail

// Whether a byte in [p, end) is one of Marks (none of them 0). A check
// asks this of every name and ident of a tree, most of them shorter than
// sixteen bytes, which FindAny would go through a byte at a time: these
// take two loads and one step.
template <unsigned char... Marks> inline bool HasAny(const char* p, const char* end) {
    static_assert(((Marks != 0) && ...));
    using namespace scan_detail;
    const auto n = static_cast<std::size_t>(end - p);
    if (n == 0)
        return false;
    if (n > 16)
        return FindAny<Marks...>(p, end) != end;
    const TCover cover = Cover(p, n);
#if defined(__SSE2__)
    const __m128i bytes =
        _mm_set_epi64x(static_cast<long long>(cover.High), static_cast<long long>(cover.Low));
    __m128i hits = _mm_setzero_si128();
    ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(Marks))))),
     ...);
    return _mm_movemask_epi8(hits) != 0;
#else
    return ((BytesBelow(cover.Low ^ (kOnes * Marks), 1) |
             BytesBelow(cover.High ^ (kOnes * Marks), 1)) |
            ...) != 0;
#endif
}

} // namespace trvx
