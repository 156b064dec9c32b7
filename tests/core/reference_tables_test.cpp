#include "tallyscope/reference_tables.h"

#include <gtest/gtest.h>

#include "tallyscope/errors.h"
#include "tallyscope/platform.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::LogText;
using test::Repeat;
using test::ScratchDir;
using test::U8;

std::vector<std::pair<int, std::string>> DotRows(const DotTable& table) {
    std::vector<std::pair<int, std::string>> rows;
    for (const auto& row : table.Rows())
        rows.emplace_back(row.classNo, U8(row.skillName));
    return rows;
}

const std::vector<std::string_view> kExampleDots = {"[Убийца]",    "Ядовитый надрез", "Тлеющая метка",
                                                    "[Волшебник]", "Ледяная сеть",    "Тлеющая метка",
                                                    "[Прочее]",    "Тотем пламени"};

TEST(LoadReferenceTables, RowsStandByClassAndInReverseFileOrderWithinAClass) {
    ScratchDir dir;
    dir.Write("dots.txt", LogText(kExampleDots));
    dir.Write("skills.txt",
              LogText({"Вне разделов", "[Волшебник]", "Ледяной шип", "", "[Гладиатор]", "Рассекающий удар"}));
    DotTable dots;
    SkillTable skills;
    LoadReferenceTables(dots, skills, dir.path());
    EXPECT_EQ(DotRows(dots), (std::vector<std::pair<int, std::string>>{{3, "Тлеющая метка"},
                                                                       {3, "Ядовитый надрез"},
                                                                       {6, "Тотем пламени"},
                                                                       {6, "Тлеющая метка"},
                                                                       {6, "Ледяная сеть"}}));
    for (const auto& row : dots.Rows())
        EXPECT_EQ(row.lastUsed, "");
    ASSERT_EQ(skills.RowCount(), 4u);
    EXPECT_EQ(skills.At(0).classNo, 0);
    EXPECT_EQ(U8(skills.At(1).skillName), "Рассекающий удар");
    EXPECT_EQ(skills.At(2).skillName, "");  // a blank line is an entry
    EXPECT_EQ(U8(skills.At(3).skillName), "Ледяной шип");
}

TEST(LoadReferenceTables, SectionHeaders) {
    struct Case {
        const char* header;
        int classAfter;  // the list starts in class 1
    };
    const Case cases[] = {
        {"[Волшебник]", 6}, {"[Волшебник] [Убийца]", 3}, {"[Волшебник", 1}, {"[ Волшебник ]", 1},
        {"[волшебник]", 1}, {"Удар [усиленный]", 1},     {"x[Пилот]y", 11},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        dir.Write("dots.txt", LogText({"[Гладиатор]", c.header, "Навык"}));
        dir.Write("skills.txt", "");
        DotTable dots;
        SkillTable skills;
        LoadReferenceTables(dots, skills, dir.path());
        ASSERT_EQ(dots.RowCount(), 1u) << c.header;
        EXPECT_EQ(dots.At(0).classNo, c.classAfter) << c.header;
    }
}

TEST(LoadReferenceTables, MissingDotsLeavesBothEmptyMissingSkillsLeavesDotsUnsorted) {
    ScratchDir dir;
    DotTable dots;
    SkillTable skills;
    skills.Append({1, "x"});
    try {
        LoadReferenceTables(dots, skills, dir.path());
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
#ifdef _WIN32
        // The system's own text, in the user's language.
        EXPECT_EQ(error.what(), platform::FileErrorMessage(2));
#else
        EXPECT_STREQ(error.what(), "The specified file was not found");
#endif
    }
    EXPECT_EQ(dots.RowCount(), 0u);
    EXPECT_EQ(skills.RowCount(), 0u);

    dir.Write("dots.txt", LogText({"[Волшебник]", "Б", "[Убийца]", "А"}));
    EXPECT_THROW(LoadReferenceTables(dots, skills, dir.path()), FileError);
    EXPECT_EQ(DotRows(dots), (std::vector<std::pair<int, std::string>>{{3, "А"}, {6, "Б"}}));
    EXPECT_EQ(skills.RowCount(), 0u);
}

TEST(LoadReferenceTables, SkillNamesAreCutAtThirtyButDotNamesAreWhole) {
    ScratchDir dir;
    const std::string longName(40, 'x');
    dir.Write("dots.txt", Cp("[Волшебник]\r\n") + longName + "\r\n");
    dir.Write("skills.txt", Cp("[Волшебник]\r\n") + longName + "\r\n");
    DotTable dots;
    SkillTable skills;
    LoadReferenceTables(dots, skills, dir.path());
    EXPECT_EQ(dots.At(0).skillName, longName);
    EXPECT_EQ(skills.At(0).skillName.size(), kSkillNameWidth);
    EXPECT_EQ(skills.LastClassOf(longName), 0);
    EXPECT_EQ(dots.LastClassOf(longName), 6);
}

class ClassResolution : public ::testing::Test {
  protected:
    void SetUp() override {
        skills.Append({1, Cp("Рассекающий удар")});
        skills.Append({6, Cp("Ледяной шип")});
        dots.Append({3, Cp("Тлеющая метка"), ""});
        dots.Append({3, Cp("Ядовитый надрез"), ""});
        dots.Append({6, Cp("Тотем пламени"), ""});
        dots.Append({6, Cp("Тлеющая метка"), ""});
        dots.Append({6, Cp("Ледяная сеть"), ""});
    }
    SkillTable skills;
    DotTable dots;
};

TEST_F(ClassResolution, ResolveLineClass) {
    struct Case {
        const char* line;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"10:00:00 : Ария использует: Ледяной шип IV. Моб получает 300 ед. урона.", 6},
        {"10:00:00 : Моб использует: Ледяной шип. Ария получает 300 ед. урона.", 0},
        {"10:00:00 : Тлеющая метка II: Моб получает 45 ед. урона.", 6},
        {"10:00:00 : Ария использует: Огненный шар IV. Моб получает 1234 ед. урона.", 0},
        {"10:00:00 : Моб наносит 300 ед. урона.", 0},
        {"10:00:00 : Элементаль огня наносит 300 ед. урона.", 12},
        {"10:00:00 : Моб наносит 300 ед. урона цели Элементаль огня.", 0},
        {"10:00:00 : Дух огня: Магический урон 300 ед. урона.", 12},
        {"10:00:00 : Святая энергия использует: Кара II. Святая энергия наносит 200 ед. урона.", 12},
        {"10:00:00 : Святая мощь использует: Гнев I. Моб получает 150 ед. урона.", 12},
        {"10:00:00 : Святая мощь использует: Гнев I. Моб наносит 150 ед. урона.", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveLineClass(Cp(c.line), skills, dots), c.expected) << c.line;
}

TEST_F(ClassResolution, SkillListsDecideBeforeDotListAndTheHigherClassWins) {
    skills.Append({3, Cp("Двойной")});
    skills.Append({6, Cp("Двойной")});
    dots.Append({9, Cp("Ледяной шип"), ""});
    EXPECT_EQ(ResolveLineClass(Cp("10:00:00 : Ария использует: Двойной II. Моб получает 1 ед. урона."),
                               skills, dots),
              6);
    EXPECT_EQ(ResolveLineClass(Cp("10:00:00 : Ария использует: Ледяной шип II. Моб получает 1 ед. урона."),
                               skills, dots),
              6);
}

TEST_F(ClassResolution, DotLastUserWrittenToFirstRowReadFromLast) {
    EXPECT_TRUE(IsDotSkill(Cp("10:00:00 : Тлеющая метка II: Моб получает 45 ед. урона."), dots));
    EXPECT_FALSE(IsDotSkill(Cp("10:00:00 : Ледяной шип II: Моб получает 45 ед. урона."), dots));
    RecordDotUser(dots, Cp("Мира"), Cp("Тлеющая метка"));
    EXPECT_EQ(U8(dots.At(0).lastUsed), "Мира");
    EXPECT_EQ(FindDotLastUser(dots, Cp("Тлеющая метка")), "");
    RecordDotUser(dots, Repeat(Cp("Ж"), 60), Cp("Тотем пламени"));
    EXPECT_EQ(FindDotLastUser(dots, Cp("Тотем пламени")), Repeat(Cp("Ж"), 50));
    RecordDotUser(dots, Cp("Мира"), Cp("Нет такого"));
    EXPECT_EQ(FindDotLastUser(dots, Cp("Нет такого")), "");
    dots.ClearLastUsed();
    for (const auto& row : dots.Rows())
        EXPECT_EQ(row.lastUsed, "");

    DotTable empty;
    EXPECT_FALSE(IsDotSkill(Cp("10:00:00 : Тлеющая метка II: Моб получает 45 ед. урона."), empty));
    RecordDotUser(empty, Cp("Мира"), Cp("Тлеющая метка"));
    EXPECT_EQ(FindDotLastUser(empty, Cp("Тлеющая метка")), "");
}

TEST_F(ClassResolution, BlankEntryMatchesLinesWithoutSkill) {
    dots.Append({2, "", ""});
    EXPECT_TRUE(IsDotSkill(Cp("10:00:00 : Моб наносит 300 ед. урона."), dots));
    EXPECT_EQ(ResolveLineClass(Cp("10:00:00 : Моб наносит 300 ед. урона."), skills, dots), 0);
}

TEST_F(ClassResolution, AssignSkillClasses) {
    struct Case {
        const char* skill;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {"Рассекающий удар", 1}, {"Тлеющая метка", 6},    {"Автоатака", 0},    {"Святая энергия", 12},
        {"Элементаль огня", 12}, {"Магический урон", 12}, {"Святая мощь", 12},
    };
    SkillStatTable adv;
    for (const auto& c : cases)
        AddSkillStat(adv, Cp("Ария"), Cp(c.skill), 1, 0);
    AssignSkillClasses(skills, dots, adv);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(adv.At(i).skillClass, cases[i].expected) << cases[i].skill;
}

}  // namespace
}  // namespace tally
