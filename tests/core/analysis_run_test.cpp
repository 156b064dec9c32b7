#include "tallyscope/analysis_run.h"

#include <gtest/gtest.h>

#include <regex>

#include "tallyscope/errors.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::LogText;
using test::RecordingFeedback;
using test::ScratchDir;
using test::U8;

class Run : public ::testing::Test {
  protected:
    void SetUp() override {
        t.mtSkills.Append({6, Cp("Ледяной шип")});
        t.mtDots.Append({6, Cp("Тлеющая метка"), ""});
    }
    void Analyse(const std::filesystem::path& path) { AnalysisRun(path, t, settings, feedback); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& row : t.mtList.Rows())
            names.push_back(U8(row.charName));
        return names;
    }

    ScratchDir dir;
    AnalysisTables t;
    AppSettings settings;
    RecordingFeedback feedback;
};

TEST_F(Run, NoFileAtThePath) {
    for (const auto& path : {dir.path() / "missing.log", std::filesystem::path(), dir.path()}) {
        AddCharacterDamage(t.mtList, t.ownerClassVotes, 1, "x", 1, 0);
        t.mtDots.RecordUser(Cp("Тлеющая метка"), Cp("Мира"));
        t.mtList.SetFiltered(true);
        RecordingFeedback fresh;
        AnalysisRun(path, t, settings, fresh);
        EXPECT_EQ(fresh.statuses, (std::vector<std::string>{"Файла не существует!"})) << path;
        EXPECT_EQ(fresh.calls.back(), "TrimWorkingSet");
        EXPECT_EQ(t.mtList.RowCount(), 0u);
        EXPECT_EQ(t.mtDots.At(0).lastUsed, "");
        EXPECT_TRUE(t.mtList.IsFiltered());
    }
}

TEST_F(Run, EmptyLogCompletesWithNothingBooked) {
    Analyse(dir.Write("Chat.log", ""));
    EXPECT_EQ(feedback.progressMax, 0);
    EXPECT_EQ(feedback.steps, 0);
    ASSERT_EQ(feedback.statuses.size(), 2u);
    EXPECT_EQ(feedback.statuses[0], "Анализируем лог...");
    EXPECT_TRUE(std::regex_match(feedback.statuses[1], std::regex("Готов! Время выполнения: .*0.*")))
        << feedback.statuses[1];
    EXPECT_EQ(t.mtList.RowCount(), 0u);
}

TEST_F(Run, ReportsToTheFrontEndInOrder) {
    settings.showAdvanced = 1;
    Analyse(dir.Write("Chat.log", LogText({"21:14:08 : Ледяной шип IV: Манекен получает 300 ед. урона."})));
    const std::vector<std::string> expected = {"SetProgressPosition 0",
                                               "SetProgressMax 0",
                                               "ShowStatus",
                                               "View MainGrid off",
                                               "View ReferenceList off",
                                               "View Statistics off",
                                               "Statistics hidden",
                                               "SetProgressPosition 0",
                                               "MarkTotalDamageSorted",
                                               "View ReferenceList on",
                                               "View MainGrid on",
                                               "View Statistics on",
                                               "Statistics shown",
                                               "ShowStatus",
                                               "TrimWorkingSet"};
    EXPECT_EQ(feedback.calls, expected);
    EXPECT_EQ(t.mtList.At(0).critical, 0);
    EXPECT_EQ(t.mtAdv.At(0).skillClass, 6);
}

TEST_F(Run, StatisticsOnlyWhenShowAdvancedIsExactlyOne) {
    settings.showAdvanced = 2;
    Analyse(dir.Write("Chat.log", LogText({"21:14:08 : Ледяной шип IV: Манекен получает 300 ед. урона."})));
    EXPECT_EQ(t.mtAdv.RowCount(), 0u);
    EXPECT_FALSE(t.mtList.At(0).critical.has_value());
    EXPECT_EQ(std::count(feedback.calls.begin(), feedback.calls.end(), "Statistics shown"), 0);
}

TEST_F(Run, AnyNonZeroCalcTypeDividesDots) {
    settings.calcType = 2;
    settings.showAdvanced = 1;
    Analyse(dir.Write("Chat.log", LogText({"21:14:08 : Ледяной шип IV: Манекен получает 300 ед. урона.",
                                           "21:14:09 : Тлеющая метка II: Манекен получает 45 ед. урона.",
                                           "21:14:10 : Тлеющая метка II: Манекен получает 45 ед. урона."})));
    ASSERT_EQ(t.mtList.RowCount(), 1u);
    EXPECT_EQ(t.mtList.At(0).charDots, 90);
    EXPECT_EQ(t.mtAdv.RowCount(), 0u);
    EXPECT_FALSE(t.mtList.At(0).critical.has_value());
    EXPECT_EQ(t.mtDots.At(0).lastUsed, "");
}

TEST_F(Run, ProgressMaximumFromTheFileSize) {
    struct Case {
        std::uint64_t size;
        std::int32_t maximum;
    };
    const Case cases[] = {{100, 0}, {640, 7}, {6400, 66}, {1000000, 10390}, {0, 0}, {1ull << 50, 2147483647}};
    for (const auto& c : cases)
        EXPECT_EQ(ProgressMaximum(c.size), c.maximum) << c.size;
    Analyse(dir.Write("Chat.log", std::string(639, 'x') + "\n"));
    EXPECT_EQ(feedback.progressMax, 7);
    EXPECT_EQ(feedback.progressPosition, 7);
}

TEST_F(Run, PumpsEventsBeforeEveryTwentiethLine) {
    struct Case {
        int lines;
        int pumps;
    };
    for (const auto& c : {Case{19, 0}, Case{20, 1}, Case{45, 2}}) {
        RecordingFeedback fresh;
        AnalysisRun(dir.Write("Chat.log", std::string(static_cast<std::size_t>(c.lines), '\n')), t, settings,
                    fresh);
        EXPECT_EQ(fresh.pumps, c.pumps) << c.lines;
        EXPECT_EQ(fresh.steps, c.lines);
    }
}

TEST_F(Run, LineEndsCarriageReturnsAndTheEndOfFileMark) {
    const std::string amount = Cp("21:14:08 : Ледяной шип IV: Манекен получает ");
    const std::string units = Cp(" ед. урона.");
    const std::string log = amount + "1" + units + "\r\n" +       // CR LF
                            amount + "2" + units + "\n" +         // LF
                            amount + "1\r0" + units + "\r\r\n" +  // lone CRs dropped: 10
                            amount + "100" + units + "\x1a" + "junk\n" + amount + "1000" + units;
    Analyse(dir.Write("Chat.log", log));
    EXPECT_EQ(feedback.steps, 4);
    EXPECT_EQ(t.mtList.At(0).dmgAll, 113);

    RecordingFeedback fresh;
    AnalysisRun(dir.Write("Chat.log", amount + "7" + units), t, settings, fresh);  // no line end
    EXPECT_EQ(t.mtList.At(0).dmgAll, 7);
    AnalysisRun(dir.Write("Chat.log", "\x1a" + amount + "7" + units), t, settings, fresh);
    EXPECT_EQ(t.mtList.RowCount(), 0u);
}

TEST_F(Run, HugeLineIsReadWhole) {
    const std::string line =
        std::string(3 << 20, 'x') + Cp(" : Ледяной шип IV: Манекен получает 5 ед. урона.");
    Analyse(dir.Write("Chat.log", line + "\n" + line));
    EXPECT_EQ(t.mtList.At(0).dmgAll, 10);
}

TEST_F(Run, ConversionErrorEndsTheRunKeepingWhatWasBooked) {
    t.mtList.SetFiltered(true);
    const auto log = dir.Write(
        "Chat.log",
        LogText({"21:14:08 : Ледяной шип IV: Манекен получает 300 ед. урона.",
                 "21:14:09 : Алрик наносит 5 ед. урона.", "21:14:10 : Алрик наносит много ед. урона.",
                 "21:14:11 : Алрик наносит 7 ед. урона."}));
    try {
        Analyse(log);
        ADD_FAILURE() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"ВЫ", "Алрик"}));  // unsorted: Алрик has less
    EXPECT_EQ(t.mtList.At(1).dmgAll, 5);
    EXPECT_TRUE(t.mtList.IsFiltered());
    EXPECT_EQ(feedback.statuses.back(), "Анализируем лог...");
    EXPECT_EQ(std::count(feedback.calls.begin(), feedback.calls.end(), "TrimWorkingSet"), 0);
    // The log was closed: it can be deleted and a new run starts cleanly.
    EXPECT_TRUE(std::filesystem::remove(log));
}

TEST_F(Run, MobFilterIsOffDuringTheRunAndRestoredBeforeCriticalRates) {
    settings.showAdvanced = 1;
    t.mtList.SetFiltered(true);
    bool filteredDuringRun = true;
    feedback.onPump = [&] { filteredDuringRun = t.mtList.IsFiltered(); };
    std::vector<std::string_view> lines(19, "21:14:09 : Ледяной шип IV: Манекен получает 1 ед. урона.");
    lines.push_back("21:14:10 : Моб наносит 5 ед. урона.");
    Analyse(dir.Write("Chat.log", LogText(lines)));
    EXPECT_FALSE(filteredDuringRun);
    EXPECT_TRUE(t.mtList.IsFiltered());
    ASSERT_EQ(Names(), (std::vector<std::string>{"ВЫ", "Моб"}));
    EXPECT_TRUE(t.mtList.At(0).critical.has_value());
    EXPECT_FALSE(t.mtList.At(1).critical.has_value());  // hidden when the rates were computed
}

TEST_F(Run, ResultsAreSortedAndNothingCarriesOverBetweenRuns) {
    const auto log = dir.Write(
        "Chat.log",
        LogText({"21:14:09 : Алрик наносит 5 ед. урона.", "21:14:10 : Лиса наносит 9 ед. урона.",
                 "21:14:11 : Мира наносит 5 ед. урона.", "21:14:12 : Мира использует Тлеющая метка II."}));
    Analyse(log);
    Analyse(log);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Лиса", "Алрик", "Мира"}));
    EXPECT_EQ(t.mtList.Current(), 0u);
    EXPECT_EQ(t.mtList.At(0).dmgAll, 9);
    EXPECT_EQ(U8(t.mtDots.At(0).lastUsed), "Мира");
}

TEST_F(Run, EmptyDotListStaysEmpty) {
    t.mtDots.Clear();
    Analyse(dir.Write("Chat.log", LogText({"21:14:09 : Алрик наносит 5 ед. урона."})));
    EXPECT_EQ(t.mtDots.RowCount(), 0u);
}

}  // namespace
}  // namespace tally
