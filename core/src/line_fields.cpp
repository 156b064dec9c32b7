#include "tallyscope/line_fields.h"

#include <cstdint>
#include <limits>

#include "tallyscope/errors.h"
#include "tallyscope/vocabulary.h"

namespace tally {

std::string_view ExtractBetween(std::string_view text, std::string_view start, std::string_view end) {
    std::string_view result;
    std::string_view remaining = text;
    if (start.empty())
        return result;
    for (;;) {
        const std::size_t startAt = remaining.find(start);
        if (startAt == std::string_view::npos)
            return result;
        remaining.remove_prefix(startAt + start.size());
        const std::size_t endAt = end.empty() ? std::string_view::npos : remaining.find(end);
        if (endAt == std::string_view::npos)
            return {};
        result = remaining.substr(0, endAt);
        remaining.remove_prefix(endAt + end.size());
    }
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
    out.clear();
    for (const char c : text)
        if (c != 'I' && c != 'V' && c != 'X')
            out += c;
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
    // The digits of the segment's last word, read backwards; anything but a digit or a blank is skipped.
    // Reaching the first character of the segment ends the scan like a blank does.
    char digits[64];
    std::size_t count = 0;
    std::string overflowDigits;
    for (std::size_t i = segment.size(); i-- > 0;) {
        const char c = segment[i];
        if (c == ' ')
            break;
        if (c < '0' || c > '9')
            continue;
        if (count < sizeof digits) {
            digits[sizeof digits - 1 - count] = c;
        } else {
            if (overflowDigits.empty())
                overflowDigits.assign(digits, sizeof digits);
            overflowDigits.insert(overflowDigits.begin(), c);
        }
        ++count;
    }
    const std::string_view digitString =
        count <= sizeof digits ? std::string_view(digits + sizeof digits - count, count) : overflowDigits;
    if (digitString.empty())
        throw ConversionError("");
    std::int64_t value = 0;
    for (const char c : digitString) {
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            throw ConversionError(std::string(digitString));
    }
    return static_cast<std::int32_t>(value);
}

std::string_view ExtractActorName(std::string_view line) {
    std::string_view name;
    const std::string_view start =
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
