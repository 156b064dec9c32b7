#pragma once
// The questions every accounting rule asks of one chat-log line: who acts, which skill is named, how
// much damage is dealt and whether the hit is critical. Lines are Windows-1251 bytes; every test is a
// case-sensitive search for a fixed phrase and every field is cut between two fixed markers.

#include <cstdint>
#include <string>
#include <string_view>

#include "tallyscope/phrase_literal.h"

namespace tally {

// The text between a start marker and the end marker that follows it; with several such segments the
// last one. A start marker without an end marker after it empties the whole result.
std::string_view ExtractBetween(std::string_view text, std::string_view start, std::string_view end);
std::string_view ExtractBetween(std::string_view text, const Phrase& start, const Phrase& end);

// Removes every Latin capital I, V and X (rank numerals, also inside words), then trims characters of
// code 32 or less from both ends.
std::string StripRankNumerals(std::string_view text);
// The same, written into out (which keeps its capacity between calls).
void StripRankNumeralsInto(std::string_view text, std::string& out);
// Whether text without its rank numerals is key, with out as the room for the stripped text. Stripping
// only removes bytes, so a text shorter than the key is told apart without it.
bool StripsTo(std::string_view text, std::string_view key, std::string& out);

// The last number written before " ед. ". Throws ConversionError when the digits are missing or the
// value does not fit a signed 32-bit integer.
std::int32_t ParseDamageAmount(std::string_view line);

// The acting character, untrimmed, possibly empty.
std::string_view ExtractActorName(std::string_view line);

bool IsCriticalHit(std::string_view line);

// The skill named in the line, trimmed; rank numerals stay in it.
std::string_view ExtractSkillName(std::string_view line);

// Trims characters of code 32 or less from both ends.
std::string_view TrimControlAndBlanks(std::string_view text);

// True when the phrase occurs in the text; an empty phrase is never found.
bool Contains(std::string_view text, std::string_view phrase);
bool Contains(std::string_view text, const Phrase& phrase);

}  // namespace tally
