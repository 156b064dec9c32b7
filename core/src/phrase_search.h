#pragma once
// Finding a fixed phrase in a line. Lines are short and full of blanks and common letters, so the
// search jumps (memchr) to the phrase's least common byte, not to its first one, and then compares the
// whole phrase around it: a phrase such as " : " is found by its colon, not by every blank.

#include <cstring>
#include <string_view>

#include "tallyscope/phrase_literal.h"

namespace tally::detail {

// The position of the first occurrence of phrase in text at or after from, or npos.
inline std::size_t FindPhrase(std::string_view text, const Phrase& phrase, std::size_t from = 0) {
    constexpr auto npos = std::string_view::npos;
    const std::string_view needle = phrase.text;
    if (needle.empty() || from > text.size() || needle.size() > text.size() - from)
        return npos;
    const std::size_t anchor = phrase.anchor;
    const char anchorByte = needle[anchor];
    const char* const begin = text.data();
    const char* const lastAnchor = begin + (text.size() - needle.size()) + anchor;
    // A byte next to the anchor, compared before the whole phrase: most hits of the anchor fail there.
    const std::size_t neighbour =
        anchor + 1 < needle.size() ? anchor + 1 : (anchor > 0 ? anchor - 1 : anchor);
    const char neighbourByte = needle[neighbour];
    const char* scan = begin + from + anchor;
    while (scan <= lastAnchor) {
        const void* hit = std::memchr(scan, anchorByte, static_cast<std::size_t>(lastAnchor - scan + 1));
        if (!hit)
            return npos;
        const char* start = static_cast<const char*>(hit) - anchor;
        if (start[neighbour] == neighbourByte && std::memcmp(start, needle.data(), needle.size()) == 0)
            return static_cast<std::size_t>(start - begin);
        scan = static_cast<const char*>(hit) + 1;
    }
    return npos;
}

inline std::size_t FindPhrase(std::string_view text, std::string_view needle, std::size_t from = 0) {
    return FindPhrase(text, Phrase{needle, AnchorOf(needle)}, from);
}

}  // namespace tally::detail
