#include "tallyscope/line_fields.h"

#include <cstdint>
#include <limits>

#include "phrase_search.h"
#include "tallyscope/errors.h"
#include "tallyscope/vocabulary.h"

namespace tally {

namespace {

template <class Marker>
std::string_view CutBetween(std::string_view text, const Marker& start, const Marker& end) {
    std::string_view result;
    std::string_view remaining = text;
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
    out.resize(text.size());
    std::size_t kept = 0;
    for (const char c : text)
        if (c != 'I' && c != 'V' && c != 'X')
            out[kept++] = c;
    out.resize(kept);
    const std::string_view trimmed = TrimControlAndBlanks(out);
    if (trimmed.size() != out.size())
        out = std::string(trimmed);
}

std::string StripRankNumerals(std::string_view text) {
    std::string out;
    StripRankNumeralsInto(text, out);
    return out;
}

std::int32_t ParseDamageAmount(std::string_view line) {
    const std::string_view segment = ExtractBetween(line, phrase::kSeparator, phrase::kUnitsAmountEnd);
    // The digits of the segment's last word: a backward scan that skips anything but digits and stops at
    // a blank, or at the segment's first character.
    const std::size_t blank = segment.rfind(' ');
    const std::string_view word = blank == std::string_view::npos ? segment : segment.substr(blank + 1);
    std::string digits;
    for (const char c : word)
        if (c >= '0' && c <= '9')
            digits += c;
    if (digits.empty())
        throw ConversionError("");
    std::int64_t value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            throw ConversionError(digits);
    }
    return static_cast<std::int32_t>(value);
}

std::string_view ExtractActorName(std::string_view line) {
    std::string_view name;
    const Phrase& start =
        Contains(line, phrase::kCriticalActorStart) ? phrase::kCriticalActorStart : phrase::kSeparator;
    if (Contains(line, phrase::kUses)) {
        name = ExtractBetween(line, start, phrase::kUsesActorEnd);
    } else if (Contains(line, phrase::kHits)) {
        name = ExtractBetween(line, start, phrase::kHitsActorEnd);
    }
    if (Contains(line, phrase::kShowsUp) && Contains(line, phrase::kOfCharacter))
        name = ExtractBetween(line, phrase::kOfCharacterNameStart, phrase::kFullStop);
    if (Contains(line, phrase::kReflects))
        name = ExtractBetween(line, phrase::kSeparator, phrase::kReflectsActorEnd);
    return name;
}

bool IsCriticalHit(std::string_view line) {
    return Contains(line, phrase::kCritical) && Contains(line, phrase::kUnits) &&
           Contains(line, phrase::kOfDamage);
}

std::string_view ExtractSkillName(std::string_view line) {
    std::string_view skill;
    if (Contains(line, phrase::kUses)) {
        const std::string_view probe = ExtractBetween(line, phrase::kUses, phrase::kFullStop);
        skill = Contains(probe, phrase::kColon) ? ExtractBetween(line, phrase::kUsesColon, phrase::kFullStop)
                                                : ExtractBetween(line, phrase::kUsesSpace, phrase::kFullStop);
    } else if (Contains(line, phrase::kCritical)) {
        skill = ExtractBetween(line, phrase::kCriticalSkillStart, phrase::kColon);
    } else {
        skill = ExtractBetween(line, phrase::kSeparator, phrase::kColon);
    }
    return TrimControlAndBlanks(skill);
}

}  // namespace tally
