// The two DoT crediting methods on the worked fight of sixteen lines, and the rules' finer points.
#include "tallyscope/accounting.h"

#include <gtest/gtest.h>

#include "tallyscope/errors.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::U8;

const std::vector<std::string_view> kFight = {
    "21:14:03 : Алрик использует Рассекающий удар III. Манекен получает 312 ед. урона.",
    "21:14:04 : Алрик наносит 130 ед. урона цели Манекен.",
    "21:14:05 : Критический удар! Алрик наносит 260 ед. урона цели Манекен.",
    "21:14:06 : Мира использует Тлеющая метка II.",
    "21:14:07 : Тлеющая метка II: Манекен получает 45 ед. урона.",
    "21:14:08 : Ледяной шип IV: Манекен получает 300 ед. урона.",
    "21:14:09 : Критический удар! Ледяной шип IV: Манекен получает 440 ед. урона.",
    "21:14:10 : Ядовитый надрез III: Манекен получает 60 ед. урона.",
    "21:14:11 : Вы нанесли 70 ед. урона цели Манекен.",
    "21:14:12 : Огненный идол: Магический урон. Манекен получает 200 ед. урона.",
    "21:14:13 : Команда: Разложение (огонь): Манекен получает 210 ед. урона.",
    "21:14:14 : Дух бури использует Дух бури. Манекен получает 160 ед. урона.",
    "21:14:15 : Тлеющая метка II использует Тлеющая метка II. Манекен получает 30 ед. урона.",
    "21:14:16 : Тотем пламени II: появляется по зову персонажа Мира.",
    "21:14:17 : Тотем пламени II: Манекен получает 20 ед. урона.",
    "21:14:18 : Лиса использует Ледяной шип IV. Манекен получает 200 ед. урона.",
};

struct ListRow {
    std::string name;
    std::int32_t charClass;
    std::int64_t damage, dots, total;
    bool operator==(const ListRow&) const = default;
};
struct AdvRow {
    std::string name, skill;
    std::int32_t attempts, crits;
    std::int64_t damage;
    bool operator==(const AdvRow&) const = default;
};

std::vector<ListRow> List(const AnalysisTables& t) {
    std::vector<ListRow> rows;
    for (const auto& r : t.mtList.Rows())
        rows.push_back({U8(r.charName), r.charClass, r.charDamage, r.charDots, r.dmgAll});
    return rows;
}
std::vector<AdvRow> Adv(const AnalysisTables& t) {
    std::vector<AdvRow> rows;
    for (const auto& r : t.mtAdv.Rows())
        rows.push_back({U8(r.charName), U8(r.skill), r.attCnt.value_or(-1), r.critCnt.value_or(-1),
                        r.attDmg.value_or(-1)});
    return rows;
}

class Accounting : public ::testing::Test {
  protected:
    void SetUp() override {
        t.mtSkills.Append({1, Cp("Рассекающий удар")});
        t.mtSkills.Append({6, Cp("Ледяной шип")});
        t.mtDots.Append({6, Cp("Тлеющая метка"), ""});
        t.mtDots.Append({3, Cp("Ядовитый надрез"), ""});
        t.mtDots.Append({6, Cp("Тотем пламени"), ""});
    }
    std::string LastUsed(const char* skill) { return U8(FindDotLastUser(t.mtDots, Cp(skill))); }
    AnalysisTables t;
};

TEST_F(Accounting, DotsToLastOnTheWorkedFight) {
    for (const auto line : kFight)
        ProcessLineDotsToLast(Cp(line), t, true);
    EXPECT_EQ(List(t), (std::vector<ListRow>{{"Алрик", 1, 702, 0, 702},
                                             {"Мира", 6, 0, 95, 95},
                                             {"ВЫ", 6, 740, 60, 800},
                                             {"Огненный идол", 12, 200, 0, 200},
                                             {"Элементаль огня", 12, 210, 0, 210},
                                             {"Дух бури", 12, 160, 0, 160},
                                             {"Лиса", 6, 200, 0, 200}}));
    EXPECT_EQ(Adv(t), (std::vector<AdvRow>{{"Алрик", "Рассекающий удар", 1, 0, 312},
                                           {"Алрик", "Автоатака", 2, 1, 390},
                                           {"Мира", "Тлеющая метка", 2, 0, 75},
                                           {"ВЫ", "Ледяной шип", 2, 1, 740},
                                           {"ВЫ", "Ядовитый надрез", 1, 0, 60},
                                           {"ВЫ", "Автоатака", 1, 0, 70},
                                           {"Мира", "Тотем пламени", 1, 0, 20},
                                           {"Лиса", "Ледяной шип", 1, 0, 200}}));
    OwnerClassVotes votes{};
    votes[6] = 2;
    votes[3] = 1;
    EXPECT_EQ(t.ownerClassVotes, votes);
    EXPECT_EQ(LastUsed("Тлеющая метка"), "Мира");
    EXPECT_EQ(LastUsed("Тотем пламени"), "Мира");
    EXPECT_EQ(LastUsed("Ядовитый надрез"), "ВЫ");
}

TEST_F(Accounting, DotsToLastWithoutStatisticsBooksTheSameAndCountsNoHits) {
    for (const auto line : kFight)
        ProcessLineDotsToLast(Cp(line), t, false);
    EXPECT_EQ(t.mtList.RowCount(), 7u);
    EXPECT_EQ(t.mtAdv.RowCount(), 0u);
}

TEST_F(Accounting, DotsDividingOnTheWorkedFight) {
    for (const auto line : kFight)
        ProcessLineDotsDividing(Cp(line), t);
    EXPECT_EQ(t.classDotPool[5], 95);
    EXPECT_EQ(t.classDotPool[2], 60);
    DivideClassDots(t.mtList, t.classDotPool);
    EXPECT_EQ(List(t), (std::vector<ListRow>{{"Алрик", 1, 702, 0, 702},
                                             {"ВЫ", 6, 810, 47, 857},
                                             {"Огненный идол", 12, 200, 0, 200},
                                             {"Элементаль огня", 12, 210, 0, 210},
                                             {"Лиса", 6, 200, 47, 247}}));
    EXPECT_EQ(t.mtAdv.RowCount(), 0u);
    for (const auto& row : t.mtDots.Rows())
        EXPECT_EQ(row.lastUsed, "");
    OwnerClassVotes votes{};
    votes[6] = 2;
    EXPECT_EQ(t.ownerClassVotes, votes);
}

TEST_F(Accounting, DivideClassDotsSharesEquallyDropsTheRemainderAndTouchesNoOtherClass) {
    DivideClassDots(t.mtList, t.classDotPool);
    EXPECT_EQ(t.mtList.RowCount(), 0u);
    for (const char* name : {"А", "Б", "В"})
        AddCharacterDamage(t.mtList, t.ownerClassVotes, 4, Cp(name), 1, 0);
    AddCharacterDamage(t.mtList, t.ownerClassVotes, 12, Cp("Идол"), 5, 0);
    AddCharacterDamage(t.mtList, t.ownerClassVotes, 0, Cp("Моб"), 5, 0);
    t.classDotPool[3] = 10;
    t.classDotPool[7] = 99;  // no character of class 8: shown nowhere
    DivideClassDots(t.mtList, t.classDotPool);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(t.mtList.At(i).charDots, 3);
        EXPECT_EQ(t.mtList.At(i).dmgAll, 4);
    }
    EXPECT_EQ(t.mtList.At(3).charDots, 0);
    EXPECT_EQ(t.mtList.At(4).dmgAll, 5);
}

TEST_F(Accounting, DotsDividingIgnoresDotsOfNoPlayerClassAndUsesLinesWithoutDamage) {
    ProcessLineDotsDividing(Cp("21:14:07 : Тлеющая метка: Манекен получает 45 ед. урона."),
                            t);  // no numeral: class 0
    ProcessLineDotsDividing(Cp("21:14:06 : Мира использует Тлеющая метка II."), t);
    EXPECT_EQ(t.classDotPool, ClassDotPool{});
    EXPECT_EQ(t.mtList.RowCount(), 0u);
    // substring tests: "получаете" is a receives line too
    ProcessLineDotsDividing(Cp("21:14:08 : Ледяной шип IV: вы получаете 5 ед. урона."), t);
    EXPECT_EQ(U8(t.mtList.At(0).charName), "ВЫ");
}

TEST_F(Accounting, RecordMadeBeforeAFailedParseStays) {
    EXPECT_THROW(
        ProcessLineDotsToLast(
            Cp("21:14:06 : Мира использует Тлеющая метка II. Моб получает много ед. урона."), t, true),
        ConversionError);
    EXPECT_EQ(LastUsed("Тлеющая метка"), "Мира");
    EXPECT_EQ(t.mtList.RowCount(), 0u);
    EXPECT_THROW(
        ProcessLineDotsToLast(Cp("21:14:07 : Ядовитый надрез III: Манекен получает ед. урона."), t, true),
        ConversionError);
    EXPECT_EQ(LastUsed("Ядовитый надрез"), "ВЫ");
    // Method 2 books nothing of a line whose amount cannot be read.
    EXPECT_THROW(ProcessLineDotsDividing(Cp("21:14:08 : Алрик наносит много ед. урона."), t),
                 ConversionError);
    EXPECT_EQ(t.mtList.RowCount(), 0u);
}

TEST_F(Accounting, LastUserLookedUpWhenTheRuleRuns) {
    // A hits line naming a DoT skill books the actor's DoT, records it, and the tick rule then finds
    // that very actor.
    ProcessLineDotsToLast(Cp("21:14:07 : Тлеющая метка II: Мира наносит 50 ед. урона."), t, false);
    ASSERT_EQ(t.mtList.RowCount(), 1u);
    EXPECT_EQ(U8(t.mtList.At(0).charName), "Тлеющая метка II: Мира");
    EXPECT_EQ(t.mtList.At(0).charDots, 100);
}

TEST_F(Accounting, OwnerPlainHitCountsOnlyInStatisticsUnderDotsToLast) {
    const std::string line = Cp("21:14:11 : Вы нанесли много ед. урона цели Манекен.");
    EXPECT_NO_THROW(ProcessLineDotsToLast(line, t, false));  // with statistics off the line is never parsed
    EXPECT_THROW(ProcessLineDotsToLast(line, t, true), ConversionError);
    ProcessLineDotsToLast(Cp("21:14:11 : Вы нанесли 70 ед. урона цели Манекен."), t, true);
    EXPECT_EQ(t.mtList.RowCount(), 0u);
    EXPECT_EQ(Adv(t), (std::vector<AdvRow>{{"ВЫ", "Автоатака", 1, 0, 70}}));
}

TEST_F(Accounting, DecompositionBooksTheElementalOfTheElement) {
    struct Case {
        const char* element;
        const char* name;
    };
    const Case cases[] = {{"огонь", "Элементаль огня"}, {"земля", "Элементаль земли"},
                          {"вода", "Элементаль воды"},  {"воздух", "Элементаль воздуха"},
                          {"тьма", "Элементаль ?????"}, {"Огонь", "Элементаль ?????"}};
    for (const auto& c : cases) {
        AnalysisTables tables;
        ProcessLineDotsToLast(Cp(std::string("21:14:13 : Команда: Разложение (") + c.element +
                                 "): Манекен получает 5 ед. урона."),
                              tables, true);
        ASSERT_EQ(tables.mtList.RowCount(), 1u) << c.element;
        EXPECT_EQ(U8(tables.mtList.At(0).charName), c.name);
        EXPECT_EQ(tables.mtList.At(0).charClass, 12);
        EXPECT_EQ(tables.mtAdv.RowCount(), 0u);
    }
}

TEST_F(Accounting, MagicLineWithoutSourceBooksAnEmptyName) {
    ProcessLineDotsToLast(Cp("21:14:12 : Магический урон 200 ед. урона."), t, false);
    ASSERT_EQ(t.mtList.RowCount(), 1u);
    EXPECT_EQ(t.mtList.At(0).charName, "");
    EXPECT_EQ(t.mtList.At(0).charClass, 12);
}

}  // namespace
}  // namespace tally
