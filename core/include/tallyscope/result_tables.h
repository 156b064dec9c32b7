#pragma once
// The result of an analysis run: mtList, one row per character, and mtAdv, one row per character
// and skill, filled through the two upserts AddCharacterDamage and AddSkillStat.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/table.h"
#include "tallyscope/text_index.h"

namespace tally {

inline constexpr std::size_t kNameWidth = 50;
inline constexpr int kClassCount = 13;  // class numbers 0..12

// Counters of the owner's own skill lines per class 0..12; the class with the most votes becomes the
// log owner's class.
using OwnerClassVotes = std::array<std::int32_t, kClassCount>;

// One row of mtList.
struct CharacterRow {
    std::int32_t charClass = 0;
    std::string charName;  // Windows-1251, at most 50 characters
    std::int64_t charDamage = 0;
    std::int64_t charDots = 0;
    std::int64_t dmgAll = 0;
    // Share of critical hits in percent, in ten-thousandths (4 decimals); empty until computed.
    std::optional<std::int64_t> critical;

    static const std::vector<FieldInfo<CharacterRow>>& Fields();
    static bool PassesFilter(const CharacterRow& row) { return row.charClass != 0; }
    void Normalize();
};

// One row of mtAdv.
struct SkillStatRow {
    std::string charName;  // "Char", Windows-1251, at most 50 characters
    std::string skill;     // Windows-1251, at most 50 characters
    std::optional<std::int32_t> attCnt;
    std::optional<std::int32_t> critCnt;
    std::optional<std::int64_t> attDmg;
    std::optional<std::uint16_t> skillClass;  // "Class": empty until AssignSkillClasses

    static const std::vector<FieldInfo<SkillStatRow>>& Fields();
    static bool PassesFilter(const SkillStatRow&) { return true; }
    void Normalize();
};

// mtList. The row filter hides rows of class 0 ("CharClass<>0").
class CharacterTable final : public Table<CharacterRow> {
  public:
    static constexpr std::string_view kFilterText = "CharClass<>0";

    // Positions of the rows whose CharName equals name, in table order.
    const TextIndex::Positions& RowsNamed(std::string_view name);
    const TextIndex::Positions& RowsNamed(const HashedText& name);

  private:
    void OnAppended(std::size_t pos) override;
    TextIndex byName_;
};

// mtAdv.
class SkillStatTable final : public Table<SkillStatRow> {
  public:
    // Positions of the rows whose Char equals name and whose Skill equals skill, in table order.
    const TextIndex::Positions& RowsFor(std::string_view name, std::string_view skill);
    const TextIndex::Positions& RowsFor(const HashedText& name, const HashedText& skill);

  private:
    void OnAppended(std::size_t pos) override;
    TextIndex byPair_;
    std::string keyBuffer_;
};

// Books damage: every visible row of that name gets the amounts added (and the class when it is not
// 0; the log owner gets the class the votes choose), or a new row is added when none matches.
void AddCharacterDamage(CharacterTable& mtList, const OwnerClassVotes& votes, std::int32_t charClass,
                        std::string_view name, std::int64_t skillDamage, std::int64_t dotDamage);
void AddCharacterDamage(CharacterTable& mtList, const OwnerClassVotes& votes, std::int32_t charClass,
                        const HashedText& name, std::int64_t skillDamage, std::int64_t dotDamage);

// The class the log owner's row takes on a booking: the class with the most votes, the lowest number
// on a tie, the class passed when no class 1..12 has a vote.
std::int32_t ChooseOwnerClass(const OwnerClassVotes& votes, std::int32_t classPassed);

// Counts one hit of a character's skill in the statistics.
void AddSkillStat(SkillStatTable& mtAdv, std::string_view name, std::string_view skill, std::int32_t damage,
                  int critical);
void AddSkillStat(SkillStatTable& mtAdv, const HashedText& name, const HashedText& skill, std::int32_t damage,
                  int critical);

// Sets Critical of every visible mtList row that has statistics rows: crits * 100 / attempts, rounded
// to 4 decimals with ties to even.
void ComputeCriticalRates(CharacterTable& mtList, const SkillStatTable& mtAdv);

// The rate as stored: crits * 100 / attempts in ten-thousandths, ties to even.
std::int64_t CriticalRateTenThousandths(std::int64_t crits, std::int64_t attempts);

// "33.3333" (4 decimals) or, with decimals = 2, "33.33"; the separator is given by the caller.
std::string FormatFixed4(std::int64_t tenThousandths, int decimals, char separator = '.');

}  // namespace tally
