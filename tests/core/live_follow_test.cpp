// Following a log while a writer appends to it: after every step, what the follower shows equals a run
// over the complete lines written so far, and the fight in progress equals that fight's own run. The
// steps are those the game client takes: whole lines, a line cut in the middle, a CR LF split between
// two writes, a new fight after a pause, and a log cut or deleted and written anew.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tallyscope/analysis_run.h"
#include "tallyscope/live_analysis.h"
#include "tallyscope/log_follower.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::DescribeTables;
using test::RecordingFeedback;
using test::ScratchDir;

// Appends to the log as the game client does: the file stays open between writes.
class Writer {
  public:
    explicit Writer(const std::filesystem::path& path) : path_(path) { Reopen("ab"); }
    ~Writer() {
        if (file_)
            std::fclose(file_);
    }
    void Append(std::string_view bytes) {
        std::fwrite(bytes.data(), 1, bytes.size(), file_);
        std::fflush(file_);
    }
    void Reopen(const char* mode) {
        if (file_)
            std::fclose(file_);
        file_ = std::fopen(path_.string().c_str(), mode);
    }
    void Close() {
        std::fclose(file_);
        file_ = nullptr;
    }

  private:
    std::filesystem::path path_;
    FILE* file_ = nullptr;
};

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Following : public ::testing::Test {
  protected:
    void SetUp() override {
        reference.mtSkills.Append({6, Cp("Ледяной шип")});
        reference.mtSkills.Append({2, Cp("Рассекающий удар")});
        reference.mtDots.Append({6, Cp("Тлеющая метка"), ""});
        log = dir.path() / "Chat.log";
    }
    AnalysisTables Fresh() const {
        AnalysisTables t;
        for (const auto& row : reference.mtSkills.Rows())
            t.mtSkills.Append(row);
        for (const auto& row : reference.mtDots.Rows())
            t.mtDots.Append(row);
        return t;
    }

    // The log as far as its last complete line: what a run over "the same content" reads.
    std::filesystem::path CompleteLines() {
        std::string bytes = ReadBytes(log);
        bytes.resize(bytes.rfind('\n') == std::string::npos ? 0 : bytes.rfind('\n') + 1);
        return dir.Write("complete.log", bytes);
    }

    void ExpectEqualToRuns(const LiveAnalysis& live, const std::string& step) {
        const auto content = CompleteLines();
        AnalysisTables run = Fresh();
        run.mtList.SetFiltered(live.Settings().hideMobs);
        RecordingFeedback feedback;
        AnalysisRun(content, run, live.Settings().settings, feedback);
        AnalysisTables shown = Fresh();
        live.ShowWholeLog(shown);
        EXPECT_EQ(DescribeTables(shown), DescribeTables(run)) << step;

        const auto fights = SplitLogIntoFights(content, live.Settings().gap);
        ASSERT_EQ(live.Fights().size(), fights.size()) << step;
        AnalysisTables current = Fresh();
        live.ShowCurrentFight(current);
        if (fights.empty()) {
            EXPECT_EQ(live.CurrentFight(), nullptr) << step;
            EXPECT_EQ(current.mtList.RowCount(), 0u) << step;
            return;
        }
        ASSERT_NE(live.CurrentFight(), nullptr) << step;
        EXPECT_EQ(live.CurrentFight()->firstLine, fights.back().firstLine) << step;
        AnalysisTables fightRun = Fresh();
        fightRun.mtList.SetFiltered(live.Settings().hideMobs);
        FightAnalysisRun(content, fights.back(), fightRun, live.Settings().settings, feedback);
        EXPECT_EQ(DescribeTables(current), DescribeTables(fightRun)) << step;
    }

    AnalysisTables reference;
    ScratchDir dir;
    std::filesystem::path log;
};

TEST_F(Following, EveryWriteOfTheGameGivesTheTablesOfARun) {
    const std::string fightOne =
        Cp("21:13:50 : Мира использует Тлеющая метка II.\r\n"
           "21:14:03 : Алрик использует Рассекающий удар III. Манекен получает 312 ед. урона.\r\n"
           "21:14:07 : Тлеющая метка II: Манекен получает 45 ед. урона.\r\n");
    const std::string cutLine = Cp("21:14:08 : Ледяной шип IV: Манекен получ");
    const std::string restOfLine = Cp("ает 300 ед. урона.\r");
    const std::string pause =
        Cp("\n21:14:09 : Вы одержали победу.\r\n21:20:00 : Алрик использует Тлеющая метка II.\r\n");
    const std::string fightTwo =
        Cp("21:20:01 : Тлеющая метка II: Волк получает 50 ед. урона.\r\n"
           "21:20:02 : Критический удар! Ледяной шип IV: Волк получает 600 ед. урона.\r\n");
    const std::string newLog = Cp("22:00:00 : Ледяной шип IV: Кукла получает 7 ед. урона.\r\n");

    for (int calcType : {0, 1})
        for (int stats : {0, 1})
            for (bool hideMobs : {false, true}) {
                std::filesystem::remove(log);
                LiveSettings settings;
                settings.settings.calcType = calcType;
                settings.settings.showAdvanced = stats;
                settings.hideMobs = hideMobs;
                const AnalysisTables lists = Fresh();
                LiveAnalysis live(lists.mtDots, lists.mtSkills, settings);
                LogFollower follower(log);
                auto step = [&](const std::string& name) {
                    follower.Read(UINT64_MAX, live);
                    ExpectEqualToRuns(live, name + ", method " + std::to_string(calcType) + ", stats " +
                                                std::to_string(stats) + (hideMobs ? ", mobs hidden" : ""));
                };
                EXPECT_TRUE(follower.Read(UINT64_MAX, live).missing) << "no log yet";
                Writer writer(log);
                step("an empty log");
                writer.Append(fightOne);
                step("whole lines");
                writer.Append(cutLine);
                step("a line cut in the middle");
                EXPECT_EQ(live.LinesBooked(), 3u) << "the cut line is held";
                writer.Append(restOfLine);
                step("the rest of the line, up to the CR of its CR LF");
                writer.Append(pause);
                step("the LF of the CR LF, and the lines after the fight");
                writer.Append(fightTwo);
                step("a new fight after a pause");
                EXPECT_EQ(live.Fights().size(), 2u);
                EXPECT_EQ(live.LinesBooked(), 8u) << "no line is booked twice";

                writer.Reopen("wb");  // the log cut to nothing and written anew
                writer.Append(newLog);
                step("a cut log");
                EXPECT_EQ(live.LinesBooked(), 1u);

                writer.Close();
                std::filesystem::remove(log);
#ifndef _WIN32
                // Wine keeps a deleted file visible while any handle to it is open, so there the log is
                // seen only when it is created again.
                EXPECT_TRUE(follower.Read(UINT64_MAX, live).missing) << "a deleted log";
#endif
                writer.Reopen("wb");
                writer.Append(fightOne);
                const auto progress = follower.Read(UINT64_MAX, live);
                EXPECT_TRUE(progress.restarted);
                step("a log deleted and created again");
                EXPECT_EQ(live.LinesBooked(), 3u);
            }
}

TEST_F(Following, ALogReplacedByAnotherFileOfTheSameSizeOrLargerStartsAgain) {
    const std::string first = Cp("21:00:00 : Ледяной шип IV: Манекен получает 5 ед. урона.\r\n");
    const std::string second = Cp("21:00:00 : Ледяной шип IV: Кукольник получает 9 ед. урона.\r\n");
    const AnalysisTables lists = Fresh();
    LiveAnalysis live(lists.mtDots, lists.mtSkills, {});
    LogFollower follower(log);
    dir.Write("Chat.log", first);
    follower.Read(UINT64_MAX, live);
#ifndef _WIN32
    // Another file moved over the log (Windows does not replace a file that is open).
    dir.Write("other.log", second + second);
    std::filesystem::rename(dir.path() / "other.log", log);
    EXPECT_TRUE(follower.Read(UINT64_MAX, live).restarted);
    ExpectEqualToRuns(live, "replaced");
#endif
    // The log rewritten in place from its start, longer than before.
    {
        std::fstream rewrite(log, std::ios::in | std::ios::out | std::ios::binary);
        const std::string third = Cp("21:00:00 : Ледяной шип IV: Волк-вожак получает 3 ед. урона.\r\n");
        rewrite << third << third << third;
    }
    EXPECT_TRUE(follower.Read(UINT64_MAX, live).restarted);
    ExpectEqualToRuns(live, "rewritten from the start");
}

TEST_F(Following, ReadsAtMostWhatItIsAllowedAndTheEndOfFileMarkEndsTheLog) {
    std::string lines;
    for (int i = 0; i < 200; ++i)
        lines += Cp("21:00:00 : Ледяной шип IV: Манекен получает 5 ед. урона.\r\n");
    dir.Write("Chat.log", lines + Cp("21:00:01 : Ледяной шип IV: Манекен получа\x1a"
                                     "ет 7 ед. урона.\r\n"));
    const AnalysisTables lists = Fresh();
    LiveAnalysis live(lists.mtDots, lists.mtSkills, {});
    LogFollower follower(log);
    const auto first = follower.Read(1000, live);
    EXPECT_FALSE(first.caughtUp);
    EXPECT_LE(first.bytesRead, 1000u);
    while (!follower.Read(1000, live).caughtUp) {
    }
    EXPECT_EQ(live.LinesBooked(), 201u) << "the text before the mark is the last line";
    AnalysisTables shown = Fresh();
    live.ShowWholeLog(shown);
    AnalysisTables run = Fresh();
    RecordingFeedback feedback;
    AnalysisRun(log, run, {}, feedback);
    EXPECT_EQ(DescribeTables(shown), DescribeTables(run));
    {
        std::ofstream more(log, std::ios::app | std::ios::binary);
        more << Cp("21:00:02 : Ледяной шип IV: Манекен получает 5 ед. урона.\r\n");
    }
    follower.Read(UINT64_MAX, live);
    EXPECT_EQ(live.LinesBooked(), 201u) << "nothing after the mark counts";
}

TEST_F(Following, ANewMeasurementCountsOnlyWhatComesAfter) {
    Writer writer(log);
    const AnalysisTables lists = Fresh();
    LiveAnalysis live(lists.mtDots, lists.mtSkills, {});
    LogFollower follower(log);
    writer.Append(Cp("21:00:00 : Ледяной шип IV: Манекен получает 5 ед. урона.\r\n"));
    follower.Read(UINT64_MAX, live);
    live.StartNewMeasurement();
    AnalysisTables current = Fresh();
    live.ShowCurrentFight(current);
    EXPECT_EQ(current.mtList.RowCount(), 0u);
    EXPECT_EQ(live.CurrentFight(), nullptr);
    writer.Append(Cp("21:00:05 : Ледяной шип IV: Манекен получает 7 ед. урона.\r\n"));
    follower.Read(UINT64_MAX, live);
    live.ShowCurrentFight(current);
    ASSERT_EQ(current.mtList.RowCount(), 1u);
    EXPECT_EQ(current.mtList.At(0).dmgAll, 7);
    ASSERT_NE(live.CurrentFight(), nullptr);
    EXPECT_EQ(live.CurrentFight()->number, 1);
    AnalysisTables whole = Fresh();
    live.ShowWholeLog(whole);
    EXPECT_EQ(whole.mtList.At(0).dmgAll, 12) << "the whole log keeps everything";
    EXPECT_EQ(live.Fights().size(), 1u) << "the log's own fights are kept";
}

TEST_F(Following, AnErrorEndsTheBookingAsItEndsARun) {
    Writer writer(log);
    LiveSettings settings;
    settings.settings.showAdvanced = 1;
    const AnalysisTables lists = Fresh();
    LiveAnalysis live(lists.mtDots, lists.mtSkills, settings);
    LogFollower follower(log);
    writer.Append(
        Cp("21:00:00 : Ледяной шип IV: Манекен получает 5 ед. урона.\r\n"
           "21:00:01 : Моб наносит много ед. урона.\r\n"
           "21:00:02 : Ледяной шип IV: Манекен получает 7 ед. урона.\r\n"
           "21:10:00 : Ледяной шип IV: Манекен получает 9 ед. урона.\r\n"));
    follower.Read(UINT64_MAX, live);
    writer.Close();  // a run opens the log for reading only while nobody writes it
    EXPECT_EQ(live.WholeLogError(), std::optional<std::string>("'' is not a valid integer value"));
    EXPECT_FALSE(live.CurrentFightError()) << "the next fight's run starts afresh";
    AnalysisTables shown = Fresh();
    live.ShowWholeLog(shown);
    AnalysisTables run = Fresh();
    RecordingFeedback feedback;
    EXPECT_THROW(AnalysisRun(log, run, settings.settings, feedback), std::exception);
    EXPECT_EQ(DescribeTables(shown), DescribeTables(run));
}

}  // namespace
}  // namespace tally
