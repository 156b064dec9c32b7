#pragma once
// Rows for the grid tests, written in UTF-8 and stored as the tables keep them (Windows-1251).

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "tallyscope/codepage.h"
#include "tallyscope/reference_tables.h"
#include "tallyscope/result_tables.h"

namespace tally::test {

inline std::string Cp(const char* utf8) {
    return Utf8ToCp1251(utf8);
}

inline CharacterRow Character(int charClass, const char* name, long long damage, long long dots = 0,
                              std::optional<long long> critical = std::nullopt) {
    CharacterRow row;
    row.charClass = charClass;
    row.charName = Cp(name);
    row.charDamage = damage;
    row.charDots = dots;
    row.dmgAll = damage + dots;
    row.critical = critical;
    return row;
}

inline SkillStatRow SkillStat(const char* name, const char* skill, int attacks, int crits, long long damage,
                              std::optional<std::uint16_t> skillClass = std::nullopt) {
    SkillStatRow row;
    row.charName = Cp(name);
    row.skill = Cp(skill);
    row.attCnt = attacks;
    row.critCnt = crits;
    row.attDmg = damage;
    row.skillClass = skillClass;
    return row;
}

// Names of the rows of mtList in table order.
inline QStringList NamesOf(const CharacterTable& table) {
    QStringList names;
    for (const CharacterRow& row : table.Rows())
        names << QString::fromStdString(Cp1251ToUtf8(row.charName));
    return names;
}

}  // namespace tally::test
