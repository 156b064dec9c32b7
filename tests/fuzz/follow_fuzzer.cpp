// Following a growing log: arbitrary bytes are appended to the log in arbitrary pieces, with reads of
// arbitrary sizes in between, as the game client writes while the program follows. Once everything
// is read, the live analysis holds what a run over the complete lines holds: the whole-log tables,
// the fights, and the tables of the last fight; no line is handed over twice or in halves.

#include <cstdint>
#include <fstream>

#include "fuzz_support.h"
#include "tallyscope/live_analysis.h"
#include "tallyscope/log_follower.h"

namespace tally::fuzz {
namespace {

const AnalysisTables& ReferenceTables() {
    static AnalysisTables* const tables = [] {
        auto* loaded = new AnalysisTables;
        LoadShippedLists(*loaded);
        return loaded;
    }();
    return *tables;
}

std::string DescribeFights(const std::vector<Fight>& fights) {
    std::string out;
    for (const Fight& f : fights)
        out += std::to_string(f.firstLine) + "-" + std::to_string(f.lastLine) + " " +
               std::to_string(f.beginOffset) + "-" + std::to_string(f.endOffset) + " " + f.startText + "-" +
               f.endText + " " + f.target + "\n";
    return out;
}

void CheckProgress(const LogFollower::Progress& progress) {
    FUZZ_CHECK(!progress.restarted, "a log that only grows is never started again");
    FUZZ_CHECK(!progress.missing);
    FUZZ_CHECK_EQ(progress.error, std::string());
}

}  // namespace
}  // namespace tally::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tally;
    using namespace tally::fuzz;
    Bytes input(data, size);
    LiveSettings live;
    const std::uint8_t switches = input.Byte();
    live.settings.calcType = switches & 1;
    live.settings.showAdvanced = (switches >> 1) & 1;
    live.hideMobs = (switches >> 2) & 1;
    live.gap = input.Byte() % 64;

    // The rest is pieces, each appended to the log and followed by a read of a size the input chooses.
    const auto path = Scratch::Get().Write("Chat.log", "");
    std::string written;
    const AnalysisTables& reference = ReferenceTables();
    LiveAnalysis analysis(reference.mtDots, reference.mtSkills, live);
    LogFollower follower(path);
    CheckProgress(follower.Read(0, analysis));  // opens the empty log
    std::ofstream out(path, std::ios::binary | std::ios::app);
    while (!input.Rest().empty()) {
        const std::size_t pieceSize = input.Byte();
        const std::size_t readSize = input.Byte();
        const std::string_view piece = input.Take(pieceSize);
        written += piece;
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        out.flush();
        CheckProgress(follower.Read(readSize, analysis));
    }
    for (int reads = 0;; ++reads) {
        const LogFollower::Progress progress = follower.Read(1 << 20, analysis);
        CheckProgress(progress);
        if (progress.caughtUp)
            break;
        FUZZ_CHECK(reads < 1000, "the follower catches up");
    }

    const std::string_view complete = CompleteLines(written);
    const auto completeLog = Scratch::Get().Write("Complete.log", complete);
    FUZZ_CHECK_EQ(analysis.LinesBooked(), PlainLines(complete).size(), "every complete line, once");

    AnalysisTables tables;
    for (const auto& row : reference.mtDots.Rows())
        tables.mtDots.Append(row);
    for (const auto& row : reference.mtSkills.Rows())
        tables.mtSkills.Append(row);
    const RunOutcome run = RunAnalysis(completeLog, tables, live.settings, live.hideMobs);
    AnalysisTables shown;
    for (const auto& row : reference.mtDots.Rows())
        shown.mtDots.Append(row);
    for (const auto& row : reference.mtSkills.Rows())
        shown.mtSkills.Append(row);
    analysis.ShowWholeLog(shown);
    FUZZ_CHECK_EQ(analysis.WholeLogError(), run.error);
    FUZZ_CHECK_EQ(Snapshot(shown), run.tables, "the whole-log table of a run over the lines");

    const std::vector<Fight> fights = SplitLogIntoFights(completeLog, live.gap);
    FUZZ_CHECK_EQ(DescribeFights(analysis.Fights()), DescribeFights(fights));
    if (!fights.empty()) {
        FUZZ_CHECK(analysis.CurrentFight() != nullptr);
        test::RecordingFeedback feedback;
        std::optional<std::string> error;
        tables.mtList.SetFiltered(live.hideMobs);
        try {
            FightAnalysisRun(completeLog, fights.back(), tables, live.settings, feedback);
        } catch (const std::exception& failure) {
            error = failure.what();
        }
        analysis.ShowCurrentFight(shown);
        FUZZ_CHECK_EQ(analysis.CurrentFightError(), error);
        FUZZ_CHECK_EQ(Snapshot(shown), Snapshot(tables), "the last fight's own run");
    } else {
        FUZZ_CHECK(analysis.CurrentFight() == nullptr);
    }
    return 0;
}
