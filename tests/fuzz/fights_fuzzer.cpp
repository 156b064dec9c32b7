// The fight splitter over arbitrary bytes as the chat log, with an idle gap the input chooses. The
// fights cover the log from its first line to its last damage line in order, without gaps or
// overlaps; each ends at a damage line and every damage line belongs to one; a fight after the first
// starts more than the gap after the one before it; the times are those the lines wrote. A run that
// also splits gives the fights of the splitting alone and the tables of a run that does not split,
// and the run of one fight gives the tables of a run over a log that holds only its bytes.

#include <cstdint>

#include "fuzz_support.h"
#include "tallyscope/fights.h"
#include "tallyscope/line_time.h"

namespace tally::fuzz {
namespace {

void CheckLineTime(std::string_view line) {
    const auto time = ParseLineTime(line);
    if (!time)
        return;
    FUZZ_CHECK(line.starts_with(time->text), "the time is the head of the line");
    FUZZ_CHECK(line.substr(time->text.size()).starts_with(" : "), "a separator follows the time");
    FUZZ_CHECK(time->text.size() == (time->hasDate ? 19u : 8u));
    FUZZ_CHECK(time->hour <= 23 && time->minute <= 59 && time->second <= 59);
    if (time->hasDate)
        FUZZ_CHECK(time->month >= 1 && time->month <= 12 && time->day >= 1 && time->day <= 31);
    FUZZ_CHECK_EQ(FormatTimeOfDay(time->hour * 3600 + time->minute * 60 + time->second),
                  std::string(time->text.substr(time->text.size() - 8)));
}

std::string Describe(const Fight& f) {
    auto number = [](const std::optional<std::int64_t>& v) {
        return v ? std::to_string(*v) : std::string("-");
    };
    return std::to_string(f.number) + " lines " + std::to_string(f.firstLine) + "-" +
           std::to_string(f.lastLine) + " bytes " + std::to_string(f.beginOffset) + "-" +
           std::to_string(f.endOffset) + " time " + number(f.start) + "-" + number(f.end) + " " +
           f.startText + "-" + f.endText + " target " + f.target + "\n";
}

std::string Describe(const std::vector<Fight>& fights) {
    std::string out;
    for (const Fight& fight : fights)
        out += Describe(fight);
    return out;
}

void CheckFights(const std::vector<Fight>& fights, const std::vector<PlainLine>& lines, std::int64_t gap) {
    std::uint64_t nextLine = 1;
    std::uint64_t nextByte = 0;
    for (std::size_t i = 0; i < fights.size(); ++i) {
        const Fight& fight = fights[i];
        FUZZ_CHECK_EQ(fight.number, static_cast<int>(i) + 1);
        FUZZ_CHECK_EQ(fight.firstLine, nextLine, "fights follow each other without a gap");
        FUZZ_CHECK_EQ(fight.beginOffset, nextByte);
        FUZZ_CHECK(fight.firstLine <= fight.lastLine && fight.lastLine <= lines.size());
        const PlainLine& last = lines[fight.lastLine - 1];
        FUZZ_CHECK(IsDamageLine(last.text), "a fight ends at a damage line");
        FUZZ_CHECK_EQ(fight.endOffset, last.end);
        FUZZ_CHECK_EQ(fight.start.has_value(), fight.end.has_value());
        if (fight.start) {
            FUZZ_CHECK(*fight.start <= *fight.end);
            FUZZ_CHECK(*fight.Duration() >= 1);
            FUZZ_CHECK(fight.startText.size() == 8 || fight.startText.size() == 19);
        }
        if (i > 0) {
            FUZZ_CHECK(fight.start && fights[i - 1].end, "a later fight starts at a timed damage line");
            FUZZ_CHECK(*fight.start - *fights[i - 1].end > gap, "a new fight starts only after the gap");
        }
        for (std::uint64_t n = fight.firstLine; n <= fight.lastLine; ++n)
            if (IsDamageLine(lines[n - 1].text) && ParseLineTime(lines[n - 1].text))
                FUZZ_CHECK(fight.start.has_value(), "a fight with a timed damage line has a time");
        nextLine = fight.lastLine + 1;
        nextByte = fight.endOffset;
    }
    for (std::uint64_t n = nextLine; n <= lines.size(); ++n)
        FUZZ_CHECK(!IsDamageLine(lines[n - 1].text), "every damage line belongs to a fight");
    FUZZ_CHECK(CombatSeconds(fights) >= 0);
}

AnalysisTables& Tables() {
    static AnalysisTables* const tables = [] {
        auto* loaded = new AnalysisTables;
        LoadShippedLists(*loaded);
        return loaded;
    }();
    return *tables;
}

}  // namespace
}  // namespace tally::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tally;
    using namespace tally::fuzz;
    Bytes input(data, size);
    const std::int64_t gap = input.Byte();
    const AppSettings settings{input.Byte() % 2, 0, 0, 1};
    const std::string_view bytes = input.Rest();
    const auto log = Scratch::Get().Write("Chat.log", bytes);
    const std::vector<PlainLine> lines = PlainLines(bytes);
    for (const PlainLine& line : lines)
        CheckLineTime(line.text);

    const std::vector<Fight> fights = SplitLogIntoFights(log, gap);
    CheckFights(fights, lines, gap);

    AnalysisTables& tables = Tables();
    const RunOutcome whole = RunAnalysis(log, tables, settings, false);
    FightSplitter splitter(gap);
    test::RecordingFeedback feedback;
    std::optional<std::string> error;
    try {
        AnalysisRun(log, tables, settings, feedback, splitter);
    } catch (const std::exception& failure) {
        error = failure.what();
    }
    FUZZ_CHECK_EQ(error, whole.error, "splitting changes nothing of the run");
    FUZZ_CHECK_EQ(Snapshot(tables), whole.tables, "splitting changes nothing of the run");
    if (!error)
        FUZZ_CHECK_EQ(Describe(splitter.Fights()), Describe(fights), "the run splits as the splitting alone");

    // Each fight's run is the run over a log cleared just before it.
    for (std::size_t i = 0; i < fights.size() && i < 8; ++i) {
        const Fight& fight = fights[i];
        test::RecordingFeedback fightFeedback;
        std::optional<std::string> fightError;
        try {
            FightAnalysisRun(log, fight, tables, settings, fightFeedback);
        } catch (const std::exception& failure) {
            fightError = failure.what();
        }
        const std::string fightTables = Snapshot(tables);
        const auto alone = Scratch::Get().Write(
            "Fight.log", bytes.substr(fight.beginOffset, fight.endOffset - fight.beginOffset));
        const RunOutcome aloneRun = RunAnalysis(alone, tables, settings, false);
        FUZZ_CHECK_EQ(fightError, aloneRun.error);
        FUZZ_CHECK_EQ(fightTables, aloneRun.tables);
        FUZZ_CHECK_EQ(fightFeedback.progressMax, aloneRun.feedback.progressMax);
    }
    return 0;
}
