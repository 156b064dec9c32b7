#include "tallyscope/result_tables.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::Repeat;
using test::U8;

const OwnerClassVotes kNoVotes{};

TEST(AddCharacterDamage, FirstBookingAddsRowLaterBookingsAddUpAndKeepKnownClass) {
    CharacterTable table;
    AddCharacterDamage(table, kNoVotes, 6, Cp("Ария"), 100, 0);
    AddCharacterDamage(table, kNoVotes, 0, Cp("Ария"), 50, 25);
    ASSERT_EQ(table.RowCount(), 1u);
    EXPECT_EQ(table.At(0).charClass, 6);
    EXPECT_EQ(table.At(0).charDamage, 150);
    EXPECT_EQ(table.At(0).charDots, 25);
    EXPECT_EQ(table.At(0).dmgAll, 175);
    EXPECT_FALSE(table.At(0).critical.has_value());
    AddCharacterDamage(table, kNoVotes, 4, Cp("Ария"), 1, 0);
    EXPECT_EQ(table.At(0).charClass, 4);
}

TEST(AddCharacterDamage, OwnerClassComesFromTheVotesFromTheSecondBookingOn) {
    struct Case {
        std::vector<std::pair<int, int>> votes;
        std::int32_t classPassed;
        std::int32_t expected;
    };
    const Case cases[] = {
        {{{6, 2}, {3, 1}}, 3, 6},   {{{3, 1}, {6, 1}}, 6, 3}, {{}, 5, 5}, {{}, 0, 0},
        {{{12, 4}, {1, 3}}, 1, 12},
    };
    for (const auto& c : cases) {
        OwnerClassVotes votes{};
        for (const auto& [k, n] : c.votes)
            votes[k] = n;
        EXPECT_EQ(ChooseOwnerClass(votes, c.classPassed), c.expected);

        CharacterTable table;
        AddCharacterDamage(table, votes, 9, Cp("ВЫ"), 1, 0);
        EXPECT_EQ(table.At(0).charClass, 9) << "the first booking takes the class passed";
        AddCharacterDamage(table, votes, c.classPassed, Cp("ВЫ"), 1, 0);
        EXPECT_EQ(table.At(0).charClass, c.expected);
    }
}

TEST(AddCharacterDamage, NamesAreExactAndCaseSensitive) {
    CharacterTable table;
    AddCharacterDamage(table, kNoVotes, 1, Cp("ВЫ"), 1, 0);
    AddCharacterDamage(table, kNoVotes, 1, Cp("Вы"), 1, 0);
    AddCharacterDamage(table, kNoVotes, 0, "", 3, 0);
    AddCharacterDamage(table, kNoVotes, 0, "", 4, 0);
    ASSERT_EQ(table.RowCount(), 3u);
    EXPECT_EQ(table.At(2).charName, "");
    EXPECT_EQ(table.At(2).dmgAll, 7);
}

TEST(AddCharacterDamage, LongNamesGetARowPerBookingAndTheCutNameHitsThemAll) {
    CharacterTable table;
    const std::string longName = Repeat(Cp("Ж"), 60);
    AddCharacterDamage(table, kNoVotes, 1, longName, 10, 0);
    AddCharacterDamage(table, kNoVotes, 1, longName, 10, 0);
    ASSERT_EQ(table.RowCount(), 2u);
    AddCharacterDamage(table, kNoVotes, 1, longName.substr(0, kNameWidth), 0, 5);
    ASSERT_EQ(table.RowCount(), 2u);
    EXPECT_EQ(table.At(0).dmgAll, 15);
    EXPECT_EQ(table.At(1).dmgAll, 15);
}

TEST(AddCharacterDamage, RowsHiddenByTheFilterAreNotFound) {
    CharacterTable table;
    AddCharacterDamage(table, kNoVotes, 0, Cp("Моб"), 10, 0);
    table.SetFiltered(true);
    AddCharacterDamage(table, kNoVotes, 0, Cp("Моб"), 10, 0);
    EXPECT_EQ(table.RowCount(), 2u);
}

TEST(AddCharacterDamage, TotalsDoNotWrapAt32Bits) {
    CharacterTable table;
    for (int i = 0; i < 3; ++i)
        AddCharacterDamage(table, kNoVotes, 1, Cp("Ария"), 2147483647, 2147483647);
    EXPECT_EQ(table.At(0).dmgAll, 6LL * 2147483647);
}

TEST(AddSkillStat, OneRowPerCharacterAndSkill) {
    SkillStatTable table;
    AddSkillStat(table, Cp("Ария"), Cp("Удар"), 100, 1);
    AddSkillStat(table, Cp("Ария"), Cp("Удар"), 50, 0);
    AddSkillStat(table, Cp("Ария"), Cp("Щит"), 10, 0);
    AddSkillStat(table, Cp("Лиса"), Cp("Удар"), 7, 1);
    ASSERT_EQ(table.RowCount(), 3u);
    EXPECT_EQ(table.At(0).attCnt, 2);
    EXPECT_EQ(table.At(0).critCnt, 1);
    EXPECT_EQ(table.At(0).attDmg, 150);
    EXPECT_FALSE(table.At(0).skillClass.has_value());
    EXPECT_EQ(U8(table.At(2).charName), "Лиса");
    // The pair key cannot be confused by where one text ends and the other begins.
    AddSkillStat(table, Cp("АБ"), Cp("В"), 1, 0);
    AddSkillStat(table, Cp("А"), Cp("БВ"), 1, 0);
    EXPECT_EQ(table.RowCount(), 5u);
}

TEST(ComputeCriticalRates, RoundsToFourDecimalsTiesToEven) {
    struct Case {
        std::int32_t crits;
        std::int32_t attempts;
        std::int64_t stored;
        const char* shown;
    };
    const Case cases[] = {
        {0, 5, 0, "0.00"},      {1, 3, 333333, "33.33"}, {2, 3, 666667, "66.67"},
        {1, 128, 7812, "0.78"}, {3, 128, 23438, "2.34"}, {5, 5, 1000000, "100.00"},
    };
    for (const auto& c : cases) {
        CharacterTable list;
        SkillStatTable adv;
        AddCharacterDamage(list, kNoVotes, 1, Cp("Ария"), 1, 0);
        SkillStatRow row;
        row.charName = Cp("Ария");
        row.skill = Cp("Удар");
        row.attCnt = c.attempts - 1;
        row.critCnt = 0;
        adv.Append(row);
        row.skill = Cp("Щит");
        row.attCnt = 1;
        row.critCnt = c.crits;
        adv.Append(row);
        ComputeCriticalRates(list, adv);
        ASSERT_TRUE(list.At(0).critical.has_value());
        EXPECT_EQ(*list.At(0).critical, c.stored) << c.crits << "/" << c.attempts;
        EXPECT_EQ(FormatFixed4(*list.At(0).critical, 2), c.shown);
    }
}

TEST(ComputeCriticalRates, LeavesRowsWithoutStatisticsAndHiddenRowsEmpty) {
    CharacterTable list;
    SkillStatTable adv;
    AddCharacterDamage(list, kNoVotes, 12, Cp("Элементаль огня"), 1, 0);
    AddCharacterDamage(list, kNoVotes, 0, Cp("Моб"), 1, 0);
    AddSkillStat(adv, Cp("Моб"), Cp("Автоатака"), 1, 1);
    list.SetFiltered(true);
    ComputeCriticalRates(list, adv);
    EXPECT_FALSE(list.At(0).critical.has_value());
    EXPECT_FALSE(list.At(1).critical.has_value());
    list.SetFiltered(false);
    ComputeCriticalRates(list, adv);
    EXPECT_EQ(list.At(1).critical, 1000000);
}

TEST(FormatFixed4, WritesFourOrTwoDecimalsWithTheSeparatorGiven) {
    EXPECT_EQ(FormatFixed4(333333, 4), "33.3333");
    EXPECT_EQ(FormatFixed4(0, 4), "0.0000");
    EXPECT_EQ(FormatFixed4(7812, 2, ','), "0,78");
    EXPECT_EQ(FormatFixed4(666667, 2), "66.67");
}

}  // namespace
}  // namespace tally
