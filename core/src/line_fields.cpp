#include "tallyscope/line_fields.h"

#include <cstdint>
#include <limits>

#include "line_scan.h"
#include "line_scan_fields.h"
#include "phrase_search.h"
#include "tallyscope/errors.h"
#include "tallyscope/vocabulary.h"

namespace tally {

namespace {

template <class Marker>
std::string_view CutBetween(std::string_view text, const Marker& start, const Marker& end,
                            std::size_t from = 0) {
    std::string_view result;
    std::string_view remaining = text.substr(from);
    for (;;) {
        const std::size_t startAt = detail::FindPhrase(remaining, start);
        if (startAt == std::string_view::npos)
            return result;
        remaining.remove_prefix(startAt + start.size());
        const std::size_t endAt = detail::FindPhrase(remaining, end);
        if (endAt == std::string_view::npos)
            return {};
        result = remaining.substr(0, endAt);
        remaining.remove_prefix(endAt + end.size());
    }
}

}  // namespace

std::string_view ExtractBetween(std::string_view text, std::string_view start, std::string_view end) {
    return CutBetween(text, start, end);
}

std::string_view ExtractBetween(std::string_view text, const Phrase& start, const Phrase& end) {
    return CutBetween(text, start, end);
}

bool Contains(std::string_view text, std::string_view phrase) {
    return detail::FindPhrase(text, phrase) != std::string_view::npos;
}

bool Contains(std::string_view text, const Phrase& phrase) {
    return detail::FindPhrase(text, phrase) != std::string_view::npos;
}

std::string_view TrimControlAndBlanks(std::string_view text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

void StripRankNumeralsInto(std::string_view text, std::string& out) {
    // Kept bytes are copied in place, and the trimming cuts the same buffer: no allocation once out has
    // grown to the longest key.
    out.resize(text.size());
    char* const to = out.data();
    std::size_t kept = 0;
    const auto copy = [&](std::size_t from, std::size_t end) {
        for (std::size_t i = from; i < end; ++i) {
            to[kept] = text[i];
            kept += (text[i] != 'I' && text[i] != 'V' && text[i] != 'X') ? 1 : 0;
        }
    };
    std::size_t at = 0;
#ifdef TALLYSCOPE_PHRASE_SEARCH_SSE2
    // Sixteen bytes without a numeral letter are copied at once; the store stays inside out, as kept
    // never passes at.
    for (; text.size() - at >= 16; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const __m128i numerals = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('I')),
                                                           _mm_cmpeq_epi8(bytes, _mm_set1_epi8('V'))),
                                              _mm_cmpeq_epi8(bytes, _mm_set1_epi8('X')));
        if (_mm_movemask_epi8(numerals) != 0) {
            copy(at, at + 16);
            continue;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + kept), bytes);
        kept += 16;
    }
#endif
    copy(at, text.size());
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (kept > 0 && isBlank(out[kept - 1]))
        --kept;
    std::size_t first = 0;
    while (first < kept && isBlank(out[first]))
        ++first;
    out.resize(kept);
    if (first > 0)
        out.erase(0, first);
}

bool StripsTo(std::string_view text, std::string_view key, std::string& out) {
    if (text.size() < key.size())
        return false;
    StripRankNumeralsInto(text, out);
    return out == key;
}

std::string StripRankNumerals(std::string_view text) {
    std::string out;
    StripRankNumeralsInto(text, out);
    return out;
}

std::int32_t ParseDamageAmount(std::string_view line) {
    return ParseDamageAmount(LineScan(line));
}

std::int32_t ParseDamageAmount(const LineScan& scan) {
    const std::string_view segment = scan.Between(Mark::Separator, phrase::kUnitsAmountEnd);
    // The digits of the segment's last word: a backward scan that skips anything but digits and stops at
    // a blank, or at the segment's first character.
    const std::size_t blank = segment.rfind(' ');
    const std::string_view word = blank == std::string_view::npos ? segment : segment.substr(blank + 1);
    // The digits are read in place; the text of the error is made only when there is one.
    const auto digitsOf = [word] {
        std::string digits;
        for (const char c : word)
            if (c >= '0' && c <= '9')
                digits += c;
        return digits;
    };
    std::int64_t value = 0;
    bool anyDigit = false;
    for (const char c : word) {
        if (c < '0' || c > '9')
            continue;
        anyDigit = true;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            throw ConversionError(digitsOf());
    }
    if (!anyDigit)
        throw ConversionError("");
    return static_cast<std::int32_t>(value);
}

std::string_view ReceiverName(const LineScan& scan) {
    // The first " получает" is the first "получает" with a blank before it.
    const std::string_view line = scan.Line();
    std::size_t at = scan.First(Mark::Receives);
    while (at != std::string_view::npos && (at == 0 || line[at - 1] != ' '))
        at = detail::FindPhrase(line, phrase::kReceives, at + 1);
    if (at == std::string_view::npos)
        return {};
    const std::size_t end = at - 1;
    // Back to the nearest ": " or ". ", byte by byte: a general reverse search compares the two bytes
    // through a call at every position.
    std::size_t from = end;
    while (from >= 2 && !(line[from - 1] == ' ' && (line[from - 2] == ':' || line[from - 2] == '.')))
        --from;
    if (from < 2)
        from = 0;
    return line.substr(from, end - from);
}

std::string_view ExtractActorName(const LineScan& scan) {
    const std::string_view line = scan.Line();
    std::string_view name;
    const Mark start = scan.Has(Mark::CriticalActorStart) ? Mark::CriticalActorStart : Mark::Separator;
    if (scan.Has(Mark::Uses)) {
        name = scan.Between(start, phrase::kUsesActorEnd);
    } else if (scan.Has(Mark::Hits)) {
        name = scan.Between(start, phrase::kHitsActorEnd);
    }
    if (scan.Has(Mark::ShowsUp) && scan.Has(Mark::OfCharacter))
        name = ExtractBetween(line, phrase::kOfCharacterNameStart, phrase::kFullStop);
    if (scan.Has(Mark::Reflects))
        name = scan.Between(Mark::Separator, phrase::kReflectsActorEnd);
    return name;
}

std::string_view ExtractActorName(std::string_view line) {
    return ExtractActorName(LineScan(line));
}

bool IsCriticalHit(const LineScan& scan) {
    return scan.Has(Mark::Critical) && scan.Has(Mark::Units) && scan.Has(Mark::OfDamage);
}

bool IsCriticalHit(std::string_view line) {
    return IsCriticalHit(LineScan(line));
}

std::string_view ExtractSkillName(const LineScan& scan) {
    const std::string_view line = scan.Line();
    std::string_view skill;
    if (scan.Has(Mark::Uses)) {
        const std::string_view probe = scan.Between(Mark::Uses, phrase::kFullStop);
        // Both starts begin with "использует", so neither stands before its first occurrence.
        const std::size_t from = scan.First(Mark::Uses);
        skill = Contains(probe, phrase::kColon)
                    ? CutBetween(line, phrase::kUsesColon, phrase::kFullStop, from)
                    : CutBetween(line, phrase::kUsesSpace, phrase::kFullStop, from);
    } else if (scan.Has(Mark::Critical)) {
        skill = ExtractBetween(line, phrase::kCriticalSkillStart, phrase::kColon);
    } else {
        skill = scan.Between(Mark::Separator, phrase::kColon);
    }
    return TrimControlAndBlanks(skill);
}

std::string_view ExtractSkillName(std::string_view line) {
    return ExtractSkillName(LineScan(line));
}

}  // namespace tally
