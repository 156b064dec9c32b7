// A generated log written in pieces of random size, cut anywhere, and followed as it grows: at the end
// the whole-log table equals the run over the file, and every fight, as it stood when the next one
// began, equals that fight's own run. Both methods, with and without statistics and the mob filter.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>

#include "tallyscope/analysis_run.h"
#include "tallyscope/live_analysis.h"
#include "tallyscope/log_follower.h"
#include "tallyscope/reference_tables.h"
#include "test_support.h"

namespace tally {
namespace {

using test::DescribeTables;
using test::RecordingFeedback;
using test::ScratchDir;

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

AnalysisTables Loaded() {
    AnalysisTables t;
    LoadReferenceTables(t.mtDots, t.mtSkills, TALLYSCOPE_RESOURCES "/dots.txt",
                        TALLYSCOPE_RESOURCES "/skills.txt");
    return t;
}

// Passes every line on, and keeps the fight in progress as it stands just before a line that starts
// the next fight: then it is complete.
class FightRecorder final : public FollowSink {
  public:
    FightRecorder(LiveAnalysis& live, std::int64_t gap) : live_(live), splitter_(gap) {}
    void Restart() override { ADD_FAILURE() << "the log was not replaced"; }
    void Line(const LogLine& line) override {
        if (splitter_.Add(line) == FightStep::StartsFight && live_.CurrentFight())
            Keep();
        live_.Line(line);
    }
    void Keep() {
        AnalysisTables shown = Loaded();
        live_.ShowCurrentFight(shown);
        fights[live_.CurrentFight()->number] = DescribeTables(shown);
    }
    std::map<int, std::string> fights;

  private:
    LiveAnalysis& live_;
    FightSplitter splitter_;
};

TEST(FollowingGeneratedLogs, EqualTheRunsOverTheWholeFile) {
    ScratchDir dir;
    const auto generated = dir.path() / "generated.log";
    ASSERT_EQ(
        std::system(("'" TALLYSCOPE_LOGGEN "' --size 160K --seed 11 --fight-lines 20:250 --rest 25:40 -o '" +
                     generated.string() + "' 2>/dev/null")
                        .c_str()),
        0);
    const std::string bytes = ReadBytes(generated);
    struct Switches {
        int calcType, showAdvanced;
        bool hideMobs;
    };
    for (const Switches& s : {Switches{0, 1, false}, Switches{1, 1, true}, Switches{0, 0, true}}) {
        LiveSettings settings;
        settings.settings.calcType = s.calcType;
        settings.settings.showAdvanced = s.showAdvanced;
        settings.hideMobs = s.hideMobs;
        const AnalysisTables lists = Loaded();
        LiveAnalysis live(lists.mtDots, lists.mtSkills, settings);
        FightRecorder recorder(live, settings.gap);
        const auto log = dir.path() / "Chat.log";
        std::filesystem::remove(log);
        LogFollower follower(log);
        std::mt19937 random(static_cast<unsigned>(s.calcType * 10 + s.showAdvanced));
        {
            std::ofstream out(log, std::ios::binary);
            for (std::size_t at = 0; at < bytes.size();) {
                const std::size_t piece = std::min<std::size_t>(1 + random() % 6000, bytes.size() - at);
                out.write(bytes.data() + at, static_cast<std::streamsize>(piece));
                out.flush();
                at += piece;
                follower.Read(UINT64_MAX, recorder);
            }
        }
        recorder.Keep();
        const std::string what =
            "method " + std::to_string(s.calcType) + ", stats " + std::to_string(s.showAdvanced);

        AnalysisTables run = Loaded();
        run.mtList.SetFiltered(s.hideMobs);
        RecordingFeedback feedback;
        AnalysisRun(log, run, settings.settings, feedback);
        AnalysisTables shown = Loaded();
        live.ShowWholeLog(shown);
        EXPECT_EQ(DescribeTables(shown), DescribeTables(run)) << what;

        const auto fights = SplitLogIntoFights(log, settings.gap);
        ASSERT_GE(fights.size(), 5u);
        ASSERT_EQ(live.Fights().size(), fights.size());
        ASSERT_EQ(recorder.fights.size(), fights.size());
        for (const Fight& fight : fights) {
            AnalysisTables alone = Loaded();
            alone.mtList.SetFiltered(s.hideMobs);
            FightAnalysisRun(log, fight, alone, settings.settings, feedback);
            EXPECT_EQ(recorder.fights[fight.number], DescribeTables(alone))
                << what << ", fight " << fight.number;
        }
    }
}

}  // namespace
}  // namespace tally
