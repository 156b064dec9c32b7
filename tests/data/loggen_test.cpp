// tallyscope-loggen: the same arguments give the same bytes, and what it writes is a log the analysis
// reads from end to end, with every kind of combat line in it. A benchmark on a log that stops the
// analysis, or that lacks a kind of line, would measure the wrong thing.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/accounting.h"
#include "tallyscope/line_fields.h"
#include "tallyscope/reference_tables.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::ScratchDir;
using test::U8;

// Runs the generator with the arguments; the log it wrote, or empty when it failed.
std::string Generate(const std::string& arguments, const ScratchDir& dir) {
    const auto log = dir.path() / "Chat.log";
    const std::string command =
        "'" TALLYSCOPE_LOGGEN "' " + arguments + " -o '" + log.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        return {};
    std::ifstream in(log, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> SplitCrLf(const std::string& log) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find("\r\n", start);
        if (end == std::string::npos)
            end = log.size();
        lines.push_back(log.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// "2026.12.09 21:14:03 : "
bool HasDateAndTime(std::string_view line) {
    static constexpr std::string_view shape = "dddd.dd.dd dd:dd:dd : ";
    if (line.size() <= shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = line[i] >= '0' && line[i] <= '9';
        if (shape[i] == 'd' ? !digit : line[i] != shape[i])
            return false;
    }
    return true;
}

TEST(LogGenerator, SameArgumentsGiveTheSameBytes) {
    ScratchDir dir;
    const std::string first = Generate("--size 200K --seed 7", dir);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(Generate("--size 200K --seed 7", dir), first);
    EXPECT_NE(Generate("--size 200K --seed 8", dir), first);
    // The log ends with a finished fight a little short of the size asked for.
    EXPECT_LE(first.size(), 200u * 1024);
    EXPECT_GT(first.size(), 200u * 1024 - 1024);
}

TEST(LogGenerator, RefusesBadArguments) {
    ScratchDir dir;
    for (const char* arguments :
         {"--size 1X", "--size 1K --characters 3", "--size 1K --characters 1001",
          "--size 1K --dots /nonexistent/dots.txt", "--seed 1", "--size 1K --colour red"})
        EXPECT_EQ(Generate(arguments, dir), "") << arguments;
}

class GeneratedLog : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ScratchDir dir;
        lines_ = new std::vector<std::string>(SplitCrLf(Generate("--size 1M --seed 3", dir)));
    }
    static void TearDownTestSuite() {
        delete lines_;
        lines_ = nullptr;
    }
    static const std::vector<std::string>& Lines() { return *lines_; }

  private:
    static std::vector<std::string>* lines_;
};
std::vector<std::string>* GeneratedLog::lines_ = nullptr;

TEST_F(GeneratedLog, EveryLineHasItsDateAndTimeAndTheyNeverGoBack) {
    ASSERT_GT(Lines().size(), 10000u);
    std::string previous;
    for (const auto& line : Lines()) {
        ASSERT_TRUE(HasDateAndTime(line)) << U8(line);
        ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << U8(line);
        const std::string stamp = line.substr(0, 19);
        ASSERT_GE(stamp, previous) << U8(line);
        previous = stamp;
    }
}

TEST_F(GeneratedLog, EveryDamageLineHasAReadableAmount) {
    for (const auto& line : Lines()) {
        if (Contains(line, Cp("ед. ")) && Contains(line, Cp("урона"))) {
            EXPECT_NO_THROW(ParseDamageAmount(line)) << U8(line);
        }
    }
}

TEST_F(GeneratedLog, BothMethodsReadItToTheEnd) {
    AnalysisTables dotsToLast;
    AnalysisTables dividing;
    LoadReferenceTables(dotsToLast.mtDots, dotsToLast.mtSkills, TALLYSCOPE_RESOURCES "/dots.txt",
                        TALLYSCOPE_RESOURCES "/skills.txt");
    LoadReferenceTables(dividing.mtDots, dividing.mtSkills, TALLYSCOPE_RESOURCES "/dots.txt",
                        TALLYSCOPE_RESOURCES "/skills.txt");
    for (const auto& line : Lines()) {
        ASSERT_NO_THROW(ProcessLineDotsToLast(line, dotsToLast, true)) << U8(line);
        ASSERT_NO_THROW(ProcessLineDotsDividing(line, dividing)) << U8(line);
    }
    DivideClassDots(dividing.mtList, dividing.classDotPool);
    // Players of every class are in it, so every class is resolved for somebody.
    std::vector<bool> classSeen(13, false);
    for (const auto& row : dotsToLast.mtList.Rows())
        classSeen[static_cast<std::size_t>(row.charClass)] = true;
    for (int classNo = 0; classNo <= 12; ++classNo)
        EXPECT_TRUE(classSeen[static_cast<std::size_t>(classNo)])
            << U8(ClassNames[static_cast<std::size_t>(classNo)]);
}

TEST_F(GeneratedLog, HoldsEveryKindOfCombatLine) {
    DotTable mtDots;
    SkillTable mtSkills;
    LoadReferenceTables(mtDots, mtSkills, TALLYSCOPE_RESOURCES "/dots.txt",
                        TALLYSCOPE_RESOURCES "/skills.txt");
    const auto has = [](std::string_view line, const char* utf8) { return Contains(line, Cp(utf8)); };
    const auto damage = [&](std::string_view line) { return has(line, "ед. ") && has(line, "урона"); };
    const auto nameless = [&](std::string_view line) {
        return damage(line) && has(line, "получает") && !has(line, "использует") &&
               !has(line, "Магический урон") && !has(line, "Команда");
    };
    struct Kind {
        const char* name;
        std::function<bool(std::string_view)> matches;
    };
    const Kind kinds[] = {
        {"skill use with damage, colon", [&](auto l) { return damage(l) && has(l, "использует: "); }},
        {"skill use with damage, no colon", [&](auto l) { return damage(l) && has(l, "использует "); }},
        {"critical skill use",
         [&](auto l) { return damage(l) && has(l, "Критический удар! ") && has(l, "использует"); }},
        {"skill use without damage", [&](auto l) { return has(l, "использует") && !has(l, "ед. "); }},
        {"direct hit", [&](auto l) { return damage(l) && has(l, " наносит ") && !has(l, "Критический"); }},
        {"critical direct hit",
         [&](auto l) { return damage(l) && has(l, "Критический удар! ") && has(l, " наносит "); }},
        {"the owner's skill",
         [&](auto l) { return nameless(l) && !has(l, "Критический") && !IsDotSkill(l, mtDots); }},
        {"the owner's critical skill", [&](auto l) { return nameless(l) && has(l, "Критический удар! "); }},
        {"DoT tick", [&](auto l) { return nameless(l) && IsDotSkill(l, mtDots); }},
        {"the owner's plain hit", [&](auto l) { return damage(l) && has(l, "Вы нанесли"); }},
        {"magic damage", [&](auto l) { return damage(l) && has(l, ": Магический урон"); }},
        {"decomposition", [&](auto l) { return damage(l) && has(l, "Команда: Разложение ("); }},
        {"decomposition, unknown element",
         [&](auto l) { return has(l, "Разложение (лёд)") || has(l, "Разложение (тьма)"); }},
        {"appearance", [&](auto l) { return has(l, "появляется") && has(l, "персонажа "); }},
        {"elemental", [&](auto l) { return damage(l) && has(l, "Элементаль ") && has(l, " наносит "); }},
        {"holy energy", [&](auto l) { return damage(l) && has(l, "Святая энергия использует"); }},
        {"holy power", [&](auto l) { return damage(l) && has(l, "Святая мощь использует"); }},
        {"reflect", [&](auto l) { return damage(l) && has(l, "отражает атаку"); }},
        {"effect in its own name",
         [&](auto l) {
             const auto actor = StripRankNumerals(ExtractActorName(l));
             return damage(l) && has(l, "использует") && !actor.empty() &&
                    actor == StripRankNumerals(ExtractSkillName(l));
         }},
        {"chatter", [&](auto l) { return !has(l, "ед. ") && !has(l, "урона") && !has(l, "использует"); }},
    };
    for (const auto& kind : kinds) {
        bool found = false;
        for (const auto& line : Lines()) {
            if (kind.matches(line)) {
                found = true;
                break;
            }
        }
        EXPECT_TRUE(found) << kind.name;
    }
}

}  // namespace
}  // namespace tally
