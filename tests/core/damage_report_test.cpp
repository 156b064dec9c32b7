#include "tallyscope/damage_report.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tally {
namespace {

using test::Cp;

void Add(CharacterTable& table, const char* name, std::int32_t charClass, std::int64_t total,
         std::int64_t dots) {
    CharacterRow row;
    row.charName = Cp(name);
    row.charClass = charClass;
    row.dmgAll = total;
    row.charDots = dots;
    table.Append(row);
}

TEST(DamageReport, PlayersThenSummonsWithCrLfAndTheLoneCarriageReturn) {
    CharacterTable table;
    Add(table, "Лиана", 8, 15230, 2100);
    Add(table, "ВЫ", 2, 9800, 0);
    Add(table, "Манекен", 0, 4000, 0);
    Add(table, "Элементаль огня", 12, 1200, 0);
    EXPECT_EQ(
        BuildDamageReport(table),
        "Урон персонажей(в т.ч. доты):\r\nЛиана - 15230 (2100)\r\nВЫ - 9800 (0)\r\n\r\r\nУрон от ГС:\r\n"
        "Элементаль огня - 1200\r\n");
    EXPECT_EQ(table.Current(), 3u);
}

TEST(DamageReport, EmptyOrMobsOnlyGivesTheHeadings) {
    const std::string headings = "Урон персонажей(в т.ч. доты):\r\n\r\r\nУрон от ГС:\r\n";
    CharacterTable table;
    EXPECT_EQ(BuildDamageReport(table), headings);
    Add(table, "Манекен", 0, 4000, 0);
    EXPECT_EQ(BuildDamageReport(table), headings);
}

TEST(DamageReport, FollowsTheTableOrderAndItsFilter) {
    CharacterTable table;
    Add(table, "Мира", 6, 10, 0);
    Add(table, "Идол", 12, 5, 0);
    Add(table, "Алрик", 1, 20, 3);
    Add(table, "Дух", 12, 7, 0);
    Add(table, "Моб", 0, 1, 0);
    table.Sort("CharName Asc");
    table.SetFiltered(true);
    EXPECT_EQ(
        BuildDamageReport(table),
        "Урон персонажей(в т.ч. доты):\r\nАлрик - 20 (3)\r\nМира - 10 (0)\r\n\r\r\nУрон от ГС:\r\nДух - 7\r\n"
        "Идол - 5\r\n");
    EXPECT_EQ(table.Current(), 3u);  // the last visible row: the hidden mob stands after it
}

}  // namespace
}  // namespace tally
