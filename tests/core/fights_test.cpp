// Fights: the time at the head of a line, the clock across midnight, where fights start and end,
// which lines each holds, the main target, the damage per second, and a fight's own run.

#include "tallyscope/fights.h"

#include <gtest/gtest.h>

#include "tallyscope/analysis_run.h"
#include "tallyscope/damage_report.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::DescribeTables;
using test::LogText;
using test::RecordingFeedback;
using test::ScratchDir;
using test::U8;

TEST(LineTimes, OnlyAValidTimeRightBeforeTheFirstSeparatorCounts) {
    struct Case {
        const char* line;
        bool hasTime;
        const char* text;
    };
    const Case cases[] = {
        {"2026.12.09 21:14:03 : Моб получает 5 ед. урона.", true, "2026.12.09 21:14:03"},
        {"21:14:03 : Моб получает 5 ед. урона.", true, "21:14:03"},
        {"00:00:00 : x", true, "00:00:00"},
        {"2024.02.29 23:59:59 : leap day", true, "2024.02.29 23:59:59"},
        {"2026.02.29 10:00:00 : no such day", false, ""},
        {"2026.13.01 10:00:00 : no such month", false, ""},
        {"2026.00.10 10:00:00 : no month 0", false, ""},
        {"2026.04.31 10:00:00 : April has 30 days", false, ""},
        {"24:00:00 : no hour 24", false, ""},
        {"21:60:00 : no minute 60", false, ""},
        {"21:14:60 : no second 60", false, ""},
        {"21:14:03: no separator", false, ""},
        {" 21:14:03 : a leading blank", false, ""},
        {"21:14:03x : more before the separator", false, ""},
        {"21:14 : too short", false, ""},
        {"2026-12-09 21:14:03 : other separators", false, ""},
        {"2026.12.09 21:14:03", false, ""},
        {"21:1a:03 : a letter", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        const std::string line = Cp(c.line);
        const auto time = ParseLineTime(line);
        EXPECT_EQ(time.has_value(), c.hasTime) << c.line;
        if (time && c.hasTime) {
            EXPECT_EQ(std::string(time->text), c.text);
        }
    }
    const auto dated = ParseLineTime("2026.12.09 21:14:03 : x");
    ASSERT_TRUE(dated);
    EXPECT_EQ(dated->year * 10000 + dated->month * 100 + dated->day, 20261209);
    EXPECT_EQ(dated->hour * 10000 + dated->minute * 100 + dated->second, 211403);
}

std::vector<std::int64_t> Clock(const std::vector<std::string>& heads) {
    LineClock clock;
    std::vector<std::int64_t> seconds;
    for (const auto& head : heads)
        seconds.push_back(clock.Advance(*ParseLineTime(head + " : x")));
    return seconds;
}

TEST(LineTimes, TheClockCrossesMidnightAndNeverRunsBack) {
    const std::int64_t day = DaysFromCivil(2026, 12, 9) * 86400;
    struct Case {
        std::vector<std::string> heads;
        std::vector<std::int64_t> seconds;
    };
    const Case cases[] = {
        // Midnight without a date: more than 12 hours back is the next day.
        {{"2026.12.09 23:59:50", "00:00:10", "00:00:20"}, {day + 86390, day + 86410, day + 86420}},
        // A step back of less than 12 hours is no time passing.
        {{"2026.12.09 21:14:03", "21:10:00", "21:14:05"}, {day + 76443, day + 76443, day + 76445}},
        // Exactly 12 hours back is still a step back, not midnight.
        {{"2026.12.09 22:00:00", "10:00:00"}, {day + 79200, day + 79200}},
        // Two midnights without a date.
        {{"23:00:00", "01:00:00", "23:30:00", "00:30:00"},
         {82800, 86400 + 3600, 86400 + 84600, 2 * 86400 + 1800}},
        // A dated line sets the day; an earlier date counts as no time passing.
        {{"21:00:00", "2026.12.09 21:00:00", "2026.12.08 23:00:00"}, {75600, day + 75600, day + 75600}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Clock(c.heads), c.seconds) << c.heads.front() << " ...";
}

// The fights of a log given as lines of UTF-8, each ended by CR LF.
std::vector<Fight> Split(const std::vector<std::string_view>& lines, std::int64_t gap = 30) {
    FightSplitter splitter(gap);
    std::uint64_t offset = 0;
    std::uint64_t number = 0;
    for (const auto line : lines) {
        const std::string text = Cp(line);
        splitter.Add({text, ++number, offset, offset + text.size() + 2});
        offset += text.size() + 2;
    }
    return splitter.Fights();
}

struct Span {
    std::uint64_t first, last;
    bool operator==(const Span&) const = default;
};
std::vector<Span> Spans(const std::vector<Fight>& fights) {
    std::vector<Span> spans;
    for (const auto& fight : fights)
        spans.push_back({fight.firstLine, fight.lastLine});
    return spans;
}
std::ostream& operator<<(std::ostream& out, const Span& span) {
    return out << span.first << "-" << span.last;
}

TEST(FightSplitter, StartsAFightAfterMoreThanTheGap) {
    struct Case {
        const char* name;
        std::vector<std::string_view> lines;
        std::vector<Span> spans;
    };
    const Case cases[] = {
        {"a gap of exactly 30 s stays one fight",
         {"21:00:00 : Моб получает 1 ед. урона.", "21:00:30 : Моб получает 1 ед. урона."},
         {{1, 2}}},
        {"31 s start a new fight",
         {"21:00:00 : Моб получает 1 ед. урона.", "21:00:31 : Моб получает 1 ед. урона."},
         {{1, 1}, {2, 2}}},
        {"lines before the first damage line belong to fight 1; lines after the last to none",
         {"21:00:00 : [Группа] Злата: готовы?", "21:00:01 : Моб получает 1 ед. урона.",
          "21:00:02 : Вы одержали победу."},
         {{1, 2}}},
        {"the lines between fights go with the next one",
         {"21:00:00 : Моб получает 1 ед. урона.", "21:00:05 : Вы одержали победу.", "21:03:00 : чат",
          "21:03:01 : Мира использует Тлеющая метка II.", "21:03:02 : Моб получает 2 ед. урона."},
         {{1, 1}, {2, 5}}},
        {"a damage line without a time never starts a fight",
         {"21:00:00 : Моб получает 1 ед. урона.", "Моб получает 1 ед. урона.",
          "21:05:00 : Моб получает 1 ед. урона."},
         {{1, 2}, {3, 3}}},
        {"the gap is measured from the last timed damage line, not from chat",
         {"21:00:00 : Моб получает 1 ед. урона.", "21:00:50 : чат", "21:00:51 : Моб получает 1 ед. урона."},
         {{1, 1}, {2, 3}}},
        {"a damage line before any time starts fight 1",
         {"Моб получает 1 ед. урона.", "21:00:00 : Моб получает 1 ед. урона.",
          "21:00:40 : Моб получает 1 ед. урона."},
         {{1, 2}, {3, 3}}},
        {"midnight without a date is 20 s, not a day back",
         {"23:59:50 : Моб получает 1 ед. урона.", "00:00:10 : Моб получает 1 ед. урона."},
         {{1, 2}}},
        {"a step back in time does not start a fight",
         {"21:00:00 : Моб получает 1 ед. урона.", "20:00:00 : Моб получает 1 ед. урона.",
          "21:00:20 : Моб получает 1 ед. урона."},
         {{1, 3}}},
        {"a line with only one of the two phrases is no damage line",
         {"21:00:00 : Моб получает 1 ед. урона.", "21:10:00 : 5 ед. опыта", "21:20:00 : без урона"},
         {{1, 1}}},
        {"no damage line, no fight", {"21:00:00 : чат", "21:00:01 : Вы вступили в бой."}, {}},
        {"an empty log", {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Spans(Split(c.lines)), c.spans) << c.name;
    EXPECT_EQ(
        Spans(Split({"21:00:00 : Моб получает 1 ед. урона.", "21:00:10 : Моб получает 1 ед. урона."}, 9)),
        (std::vector<Span>{{1, 1}, {2, 2}}))
        << "the gap is a setting";
}

TEST(FightSplitter, TimesBytesAndDuration) {
    const std::vector<std::string_view> lines = {
        "2026.12.09 21:14:00 : чат",                         // 1
        "Моб получает 1 ед. урона.",                         // 2: no time
        "2026.12.09 21:14:03 : Моб получает 1 ед. урона.",   // 3
        "2026.12.09 21:16:40 : Моб получает 1 ед. урона.",   // 4
        "2026.12.09 21:16:45 : Вы одержали победу.",         // 5
        "2026.12.09 22:00:00 : Моб получает 1 ед. урона.",   // 6
        "2026.12.09 22:00:20 : Волк получает 1 ед. урона.",  // 7
        "2026.12.09 23:00:00 : Волк получает 1 ед. урона.",  // 8
    };
    const auto fights = Split(lines, 200);
    ASSERT_EQ(fights.size(), 3u);
    EXPECT_EQ(Spans(fights), (std::vector<Span>{{1, 4}, {5, 7}, {8, 8}}));
    EXPECT_EQ(fights[0].startText, "2026.12.09 21:14:03");
    EXPECT_EQ(fights[0].endText, "2026.12.09 21:16:40");
    EXPECT_EQ(fights[0].Duration(), 157);
    EXPECT_EQ(fights[0].beginOffset, 0u);
    std::uint64_t fourLines = 0;
    for (int i = 0; i < 4; ++i)
        fourLines += Cp(lines[static_cast<std::size_t>(i)]).size() + 2;
    EXPECT_EQ(fights[0].endOffset, fourLines);
    EXPECT_EQ(fights[1].beginOffset, fourLines);
    EXPECT_EQ(fights[1].Duration(), 20);
    EXPECT_EQ(fights[2].number, 3);
    EXPECT_EQ(fights[2].Duration(), 1) << "a fight of one timed line lasts a second";

    const auto untimed = Split({"Моб получает 1 ед. урона."});
    ASSERT_EQ(untimed.size(), 1u);
    EXPECT_FALSE(untimed[0].start);
    EXPECT_FALSE(untimed[0].Duration());
}

TEST(FightSplitter, MainTargetReceivedTheMostAndTiesGoToTheFirstSeen) {
    struct Case {
        const char* name;
        std::vector<std::string_view> lines;
        const char* target;
    };
    const Case cases[] = {
        {"the most damage",
         {"21:00:00 : Ледяной шип IV: Манекен получает 300 ед. урона.",
          "21:00:01 : Алрик использует: Шаровая молния IV. Тёмный жрец получает 200 ед. урона.",
          "21:00:02 : Мира использует Духовный взрыв. Тёмный жрец получает 150 ед. урона."},
         "Тёмный жрец"},
        {"a tie goes to the name seen first, also after the lead changed hands",
         {"21:00:00 : Яд: Волк получает 10 ед. урона.", "21:00:01 : Яд: Медведь получает 15 ед. урона.",
          "21:00:02 : Яд: Волк получает 5 ед. урона."},
         "Волк"},
        {"lines that name nobody receiving", {"21:00:00 : Алрик наносит 5 ед. урона цели Моб."}, ""},
        {"a line without a separator names what stands before", {"Моб получает 5 ед. урона."}, "Моб"},
    };
    for (const Case& c : cases) {
        const auto fights = Split(c.lines);
        ASSERT_EQ(fights.size(), 1u) << c.name;
        EXPECT_EQ(U8(fights[0].target), c.target) << c.name;
    }
}

TEST(FightSplitter, DamagePerSecondRoundsHalvesUp) {
    struct Case {
        std::int64_t damage, seconds, dps;
    };
    for (const Case& c : {Case{15230, 157, 97}, Case{3, 2, 2}, Case{5, 2, 3}, Case{1, 3, 0}, Case{2, 3, 1},
                          Case{0, 10, 0}, Case{-3, 2, -1}, Case{7, 0, 0}})
        EXPECT_EQ(DamagePerSecond(c.damage, c.seconds), c.dps) << c.damage << " / " << c.seconds;
    Fight timed;
    timed.start = 100;
    timed.end = 157;
    Fight untimed;
    EXPECT_EQ(CombatSeconds({timed, untimed, timed}), 114);
}

TEST(FightSplitter, DurationsAreWrittenAsMinutesOrHours) {
    EXPECT_EQ(FormatDuration(157), "2:37");
    EXPECT_EQ(FormatDuration(5), "0:05");
    EXPECT_EQ(FormatDuration(3599), "59:59");
    EXPECT_EQ(FormatDuration(3600), "1:00:00");
    EXPECT_EQ(FormatDuration(37 * 3600 + 62), "37:01:02");
    EXPECT_EQ(FormatTimeOfDay(DaysFromCivil(2026, 12, 9) * 86400 + 76443), "21:14:03");
}

TEST(FightReport, NamesTheFightAndAddsTheDamagePerSecond) {
    CharacterTable table;
    auto add = [&table](const char* name, std::int32_t charClass, std::int64_t total, std::int64_t dots) {
        CharacterRow row;
        row.charName = Cp(name);
        row.charClass = charClass;
        row.dmgAll = total;
        row.charDots = dots;
        table.Append(row);
    };
    add("Лиана", 8, 15230, 2100);
    add("Манекен", 0, 4000, 0);
    add("Элементаль огня", 12, 1200, 0);
    Fight fight;
    fight.number = 3;
    fight.start = DaysFromCivil(2026, 12, 9) * 86400 + 76443;
    fight.end = *fight.start + 157;
    EXPECT_EQ(BuildFightDamageReport(table, fight),
              "Урон персонажей(в т.ч. доты), бой №3 21:14:03–21:16:40 (2:37):\r\n"
              "Лиана - 15230 (2100) 97 ДПС\r\n\r\r\nУрон от ГС:\r\nЭлементаль огня - 1200\r\n");
    fight.start.reset();
    fight.end.reset();
    EXPECT_EQ(BuildFightDamageReport(table, fight),
              "Урон персонажей(в т.ч. доты), бой №3:\r\nЛиана - 15230 (2100)\r\n\r\r\nУрон от ГС:\r\n"
              "Элементаль огня - 1200\r\n");
}

// A fight's own run is the run over a log that holds only the fight's lines.
class FightRun : public ::testing::Test {
  protected:
    void SetUp() override {
        reference.mtSkills.Append({6, Cp("Ледяной шип")});
        reference.mtSkills.Append({2, Cp("Рассекающий удар")});
        reference.mtDots.Append({6, Cp("Тлеющая метка"), ""});
    }
    AnalysisTables Fresh() const {
        AnalysisTables t;
        for (const auto& row : reference.mtSkills.Rows())
            t.mtSkills.Append(row);
        for (const auto& row : reference.mtDots.Rows())
            t.mtDots.Append(row);
        return t;
    }
    AnalysisTables reference;
    ScratchDir dir;
};

TEST_F(FightRun, EqualsTheRunOverAFileOfTheFightsLinesAlone) {
    const std::string log = LogText({
        "21:13:50 : Мира использует Тлеющая метка II.",
        "21:14:03 : Алрик использует Рассекающий удар III. Манекен получает 312 ед. урона.",
        "21:14:07 : Тлеющая метка II: Манекен получает 45 ед. урона.",
        "21:14:08 : Ледяной шип IV: Манекен получает 300 ед. урона.",
        "21:14:09 : Вы одержали победу.",
        // The DoT is put on by somebody else just before the second fight: its ticks are theirs there.
        "21:20:00 : Алрик использует Тлеющая метка II.",
        "21:20:01 : Тлеющая метка II: Волк получает 50 ед. урона.",
        "21:20:02 : Критический удар! Ледяной шип IV: Волк получает 600 ед. урона.",
        "21:20:02 : Волк наносит 99 ед. урона цели Алрик.",
    });
    const auto path = dir.Write("Chat.log", log);
    const auto fights = SplitLogIntoFights(path, kDefaultFightGap);
    ASSERT_EQ(fights.size(), 2u);
    for (int calcType : {0, 1})
        for (int stats : {0, 1})
            for (bool hideMobs : {false, true}) {
                AppSettings settings;
                settings.calcType = calcType;
                settings.showAdvanced = stats;
                for (const Fight& fight : fights) {
                    AnalysisTables alone = Fresh();
                    alone.mtList.SetFiltered(hideMobs);
                    RecordingFeedback feedback;
                    FightAnalysisRun(path, fight, alone, settings, feedback);

                    AnalysisTables cut = Fresh();
                    cut.mtList.SetFiltered(hideMobs);
                    RecordingFeedback cutFeedback;
                    const auto bytes = log.substr(fight.beginOffset, fight.endOffset - fight.beginOffset);
                    AnalysisRun(dir.Write("cut.log", bytes), cut, settings, cutFeedback);
                    EXPECT_EQ(DescribeTables(alone), DescribeTables(cut))
                        << "fight " << fight.number << ", method " << calcType << ", stats " << stats;
                    EXPECT_EQ(feedback.progressMax, cutFeedback.progressMax);
                    EXPECT_EQ(alone.mtList.IsFiltered(), hideMobs);
                }
            }
    AnalysisTables second = Fresh();
    RecordingFeedback feedback;
    FightAnalysisRun(path, fights[1], second, {}, feedback);
    EXPECT_EQ(U8(second.mtDots.At(0).lastUsed), "Алрик");
}

TEST_F(FightRun, TheWholeLogRunSplitsAsItBooks) {
    std::vector<std::string_view> lines;
    for (int i = 0; i < 30; ++i)
        lines.push_back(i % 10 == 9 ? "22:00:00 : Ледяной шип IV: Манекен получает 3 ед. урона."
                                    : "21:00:00 : Ледяной шип IV: Манекен получает 3 ед. урона.");
    const auto path = dir.Write("Chat.log", LogText(lines));
    AnalysisTables t = Fresh();
    RecordingFeedback feedback;
    FightSplitter splitter;
    AnalysisRun(path, t, {}, feedback, splitter);
    EXPECT_EQ(Spans(splitter.Fights()), Spans(SplitLogIntoFights(path, kDefaultFightGap)));
    EXPECT_EQ(Spans(splitter.Fights()), (std::vector<Span>{{1, 9}, {10, 30}}));
    EXPECT_EQ(t.mtList.At(0).dmgAll, 90);
}

}  // namespace
}  // namespace tally
