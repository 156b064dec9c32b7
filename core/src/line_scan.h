#pragma once
// Which of the line-shape phrases a line contains, and where each first occurs. The accounting rules
// and the line fields ask the same dozen "does the line contain ...?" questions several times per
// line; each phrase is looked for once, when first asked, and the answer is kept for the line.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tallyscope/vocabulary.h"

namespace tally {

enum class Mark : std::uint8_t {
    Units,               // "ед. "
    OfDamage,            // "урона"
    Uses,                // "использует"
    Hits,                // "наносит"
    Receives,            // "получает"
    ShowsUp,             // "появляется"
    OfCharacter,         // "персонажа"
    Reflects,            // "отражает атаку"
    MagicDamage,         // "Магический урон"
    OwnerHit,            // "Вы нанесли"
    Decomposition,       // "Команда: Разложение"
    Critical,            // "Критический удар!"
    CriticalActorStart,  // "Критический удар! "
    Elemental,           // "Элементаль"
    Holy,                // "Святая"
    HolyEnergyUses,      // "Святая энергия использует"
    HolyPowerUses,       // "Святая мощь использует"
    Separator,           // " : "
    Count
};

class LineScan {
  public:
    explicit LineScan(std::string_view line) : line_(line) { first_.fill(kNotLookedFor); }

    std::string_view Line() const { return line_; }
    bool Has(Mark mark) const { return First(mark) != std::string_view::npos; }
    // The position of the first occurrence, or npos. Asked many times a line: the kept answer is
    // given without a call.
    std::size_t First(Mark mark) const {
        const std::size_t first = first_[Index(mark)];
        return first != kNotLookedFor ? first : LookFor(mark);
    }

    // The text between the phrase of start and the end phrase that follows it; with several such
    // segments the last one; empty when a start has no end after it. The same as ExtractBetween over
    // the line, with the start phrase's occurrences taken from the scan.
    std::string_view Between(Mark start, const Phrase& end) const;

    static const Phrase& PhraseOf(Mark mark);

  private:
    static constexpr std::size_t kNotLookedFor = static_cast<std::size_t>(-2);
    static constexpr std::size_t Index(Mark mark) { return static_cast<std::size_t>(mark); }
    std::size_t Search(Mark mark) const;
    std::size_t LookFor(Mark mark) const;

    std::string_view line_;
    mutable std::array<std::size_t, static_cast<std::size_t>(Mark::Count)> first_;
};

}  // namespace tally
