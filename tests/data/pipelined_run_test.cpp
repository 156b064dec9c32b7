// Whole runs over generated logs on one thread and on several: the same tables, the same fights, and
// for a log with an amount that cannot be read, the same error with the same rows booked before it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tallyscope/analysis_run.h"
#include "tallyscope/reference_tables.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::DescribeTables;
using test::RecordingFeedback;
using test::ScratchDir;

std::string Describe(const std::vector<Fight>& fights) {
    std::string out;
    for (const Fight& f : fights)
        out += std::to_string(f.number) + " " + std::to_string(f.firstLine) + "-" +
               std::to_string(f.lastLine) + " " + std::to_string(f.beginOffset) + "-" +
               std::to_string(f.endOffset) + " " + f.startText + " " + f.endText + " " + test::U8(f.target) +
               "\n";
    return out;
}

struct Result {
    std::string tables, fights, error;
    std::vector<std::string> statuses;
};

Result Analyse(const std::filesystem::path& log, const AppSettings& settings, bool hideMobs,
               unsigned threads) {
    AnalysisTables t;
    LoadReferenceTables(t.mtDots, t.mtSkills, TALLYSCOPE_RESOURCES "/dots.txt",
                        TALLYSCOPE_RESOURCES "/skills.txt");
    t.mtList.SetFiltered(hideMobs);
    RecordingFeedback feedback;
    FightSplitter fights;
    RunScope scope;
    scope.fights = &fights;
    scope.threads = threads;
    Result result;
    try {
        AnalysisRun(log, t, settings, feedback, scope);
    } catch (const std::exception& error) {
        result.error = error.what();
    }
    result.tables = DescribeTables(t);
    result.fights = Describe(fights.Fights());
    EXPECT_EQ(feedback.pumps, feedback.steps / 20) << "events are pumped before every 20th line";
    return result;
}

TEST(PipelinedRun, EqualsTheRunOnOneThread) {
    ScratchDir dir;
    const auto path = dir.path() / "generated.log";
    ASSERT_EQ(std::system(("'" TALLYSCOPE_LOGGEN "' --size 3M --seed 5 --fight-lines 200:3000 -o '" +
                           path.string() + "' 2>/dev/null")
                              .c_str()),
              0);
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The same log with a line whose amount cannot be read, past the first blocks.
    const std::size_t at = bytes.find('\n', 2u << 20) + 1;
    const auto failing = dir.Write(
        "failing.log",
        bytes.substr(0, at) + Cp("2026.12.09 23:00:00 : Алрик наносит x ед. урона.\r\n") + bytes.substr(at));
    for (const auto& log : {path, failing})
        for (const int calcType : {0, 1})
            for (const int statistics : {0, 1}) {
                AppSettings settings;
                settings.calcType = calcType;
                settings.showAdvanced = statistics;
                const bool hideMobs = statistics == 1;
                const Result one = Analyse(log, settings, hideMobs, 1);
                for (const unsigned threads : {2u, 3u}) {
                    const Result many = Analyse(log, settings, hideMobs, threads);
                    const std::string what = log.filename().string() + ", method " +
                                             std::to_string(calcType + 1) + ", statistics " +
                                             std::to_string(statistics) + ", " + std::to_string(threads) +
                                             " threads";
                    EXPECT_EQ(many.tables, one.tables) << what;
                    EXPECT_EQ(many.fights, one.fights) << what;
                    EXPECT_EQ(many.error, one.error) << what;
                }
                if (log == failing) {
                    EXPECT_EQ(one.error, "'' is not a valid integer value");
                }
            }
}

}  // namespace
}  // namespace tally
