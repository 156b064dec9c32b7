#pragma once
// Finding a fixed phrase in a line. Lines are short and full of blanks and common letters, so the
// search tests the phrase's two least common bytes at their places, sixteen positions at a time, and
// compares the whole phrase only where both match: a phrase such as "получает" is found by its "ч" and
// one other letter, not by every "о" and "а".

#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define TALLYSCOPE_PHRASE_SEARCH_SSE2 1
#endif

#include "tallyscope/phrase_literal.h"

namespace tally::detail {

// Whether the n bytes at a and b are equal; phrases are short, so this beats a call to memcmp.
inline bool SameBytes(const char* a, const char* b, std::size_t n) {
    for (; n >= 8; a += 8, b += 8, n -= 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a, 8);
        std::memcpy(&y, b, 8);
        if (x != y)
            return false;
    }
    for (; n > 0; ++a, ++b, --n)
        if (*a != *b)
            return false;
    return true;
}

// The position of the first occurrence of phrase in text at or after from, or npos.
inline std::size_t FindPhrase(std::string_view text, const Phrase& phrase, std::size_t from = 0) {
    constexpr auto npos = std::string_view::npos;
    const std::string_view needle = phrase.text;
    const std::size_t n = needle.size();
    if (n == 0 || from > text.size() || n > text.size() - from)
        return npos;
    const char* const data = text.data();
    const std::size_t last = text.size() - n;  // the last position the phrase can start at
    const std::size_t a = phrase.anchor;
    const std::size_t b = phrase.second;
    const char anchorByte = needle[a];
    const char secondByte = needle[b];
    std::size_t start = from;
#ifdef TALLYSCOPE_PHRASE_SEARCH_SSE2
    // Sixteen starting positions at once. Every load stays inside the text: no start tested lies beyond
    // last, and a and b are less than the phrase's length.
    if (last >= 15) {
        const __m128i anchors = _mm_set1_epi8(anchorByte);
        const __m128i seconds = _mm_set1_epi8(secondByte);
        const auto hitsAt = [&](std::size_t at) {
            const __m128i atAnchor = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + a));
            const __m128i atSecond = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + b));
            return static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(atAnchor, anchors), _mm_cmpeq_epi8(atSecond, seconds))));
        };
        const auto firstHit = [&](std::size_t at, unsigned hits) {
            for (; hits != 0; hits &= hits - 1) {
                const std::size_t candidate = at + static_cast<std::size_t>(__builtin_ctz(hits));
                if (SameBytes(data + candidate, needle.data(), n))
                    return candidate;
            }
            return npos;
        };
        // Whole steps of sixteen, then the last sixteen starts tested from last - 15, leaving out those
        // tested before.
        for (; start + 15 <= last; start += 16)
            if (const std::size_t found = firstHit(start, hitsAt(start)); found != npos)
                return found;
        if (start <= last) {
            const std::size_t at = last - 15;
            return firstHit(at, hitsAt(at) & (~0u << (start - at)));
        }
        return npos;
    }
#endif
    for (; start <= last; ++start)
        if (data[start + a] == anchorByte && data[start + b] == secondByte &&
            SameBytes(data + start, needle.data(), n))
            return start;
    return npos;
}

inline std::size_t FindPhrase(std::string_view text, std::string_view needle, std::size_t from = 0) {
    const std::size_t anchor = AnchorOf(needle);
    return FindPhrase(text, Phrase{needle, anchor, SecondAnchorOf(needle, anchor)}, from);
}

}  // namespace tally::detail
