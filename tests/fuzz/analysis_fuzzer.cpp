// The whole analysis over arbitrary bytes as the chat log, with the shipped reference lists: Method 1
// with and without statistics, with and without the mob filter, and Method 2. Every run ends, with
// or without an error; a finished run leaves tables that hold the invariants of any result; the
// switches change only what they are for; and the run gives what booking the lines of a plain reading
// of the whole input one by one gives.

#include <cstdint>

#include "fuzz_support.h"

namespace tally::fuzz {
namespace {

// The run's steps after the read loop, applied to tables booked line by line.
void FinishAsTheRunDoes(AnalysisTables& tables, const AppSettings& settings, bool hideMobs) {
    if (settings.calcType != 0)
        DivideClassDots(tables.mtList, tables.classDotPool);
    tables.mtList.Sort("DmgAll Desc");
    tables.mtAdv.Sort("Char Asc,Skill Asc");
    tables.mtList.SetFiltered(hideMobs);
    if (settings.showAdvanced == 1) {
        ComputeCriticalRates(tables.mtList, tables.mtAdv);
        AssignSkillClasses(tables.mtSkills, tables.mtDots, tables.mtAdv);
    }
}

// The same analysis without the log reader and the run: every line of a plain reading booked in turn.
RunOutcome BookPlainLines(const std::vector<PlainLine>& lines, AnalysisTables& tables,
                          const AppSettings& settings, bool hideMobs) {
    RunOutcome outcome;
    tables.mtList.Clear();
    tables.mtAdv.Clear();
    tables.mtList.SetFiltered(false);
    tables.ownerClassVotes.fill(0);
    tables.classDotPool.fill(0);
    tables.mtDots.ClearLastUsed();
    try {
        for (const PlainLine& line : lines) {
            if (settings.calcType != 0)
                ProcessLineDotsDividing(line.text, tables);
            else
                ProcessLineDotsToLast(line.text, tables, settings.showAdvanced == 1);
        }
        FinishAsTheRunDoes(tables, settings, hideMobs);
    } catch (const std::exception& error) {
        outcome.error = error.what();
        tables.mtList.SetFiltered(hideMobs);
    }
    outcome.tables = Snapshot(tables);
    return outcome;
}

void CheckFeedback(const RunOutcome& run, std::size_t lineCount, std::uint64_t size) {
    const auto& feedback = run.feedback;
    FUZZ_CHECK(!feedback.statuses.empty());
    FUZZ_CHECK_EQ(feedback.progressMax, ProgressMaximum(size));
    if (run.error) {
        FUZZ_CHECK_EQ(feedback.statuses.back(), std::string(kStatusAnalysing), "an error ends the run there");
        return;
    }
    FUZZ_CHECK_EQ(feedback.statuses.front(), std::string(kStatusAnalysing));
    FUZZ_CHECK(feedback.statuses.back().starts_with(kStatusDonePrefix));
    FUZZ_CHECK_EQ(static_cast<std::size_t>(feedback.steps), lineCount, "one progress step per line");
    FUZZ_CHECK_EQ(static_cast<std::size_t>(feedback.pumps), lineCount / 20, "events every 20 lines");
    FUZZ_CHECK_EQ(feedback.progressPosition, feedback.progressMax);
}

AnalysisTables& Tables() {
    static AnalysisTables* const tables = [] {
        auto* loaded = new AnalysisTables;
        LoadShippedLists(*loaded);
        return loaded;
    }();
    return *tables;
}

// The critical rates a filtered run leaves: those of the unfiltered run, except that hidden rows get
// none.
std::vector<std::optional<std::int64_t>> RatesOf(const std::vector<CharacterRow>& rows, bool hideMobs) {
    std::vector<std::optional<std::int64_t>> rates;
    for (const CharacterRow& row : rows)
        rates.push_back(hideMobs && row.charClass == 0 ? std::nullopt : row.critical);
    return rates;
}

}  // namespace
}  // namespace tally::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tally;
    using namespace tally::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto log = Scratch::Get().Write("Chat.log", bytes);
    const std::vector<PlainLine> lines = PlainLines(bytes);
    AnalysisTables& tables = Tables();

    const AppSettings method1{0, 0, 0, 0};
    const AppSettings method1Statistics{0, 0, 0, 1};
    const AppSettings method2{1, 0, 0, 0};
    const AppSettings method2Statistics{2, 0, 1, 1};

    struct Case {
        AppSettings settings;
        bool hideMobs;
        bool checkAgainstPlainReading;
    };
    const Case cases[] = {{method1, false, false},
                          {method1Statistics, false, true},
                          {method1Statistics, true, false},
                          {method2, false, false},
                          {method2Statistics, true, true}};
    std::vector<RunOutcome> runs;
    std::vector<std::string> rows;
    std::vector<std::vector<CharacterRow>> tablesLeft;
    for (const Case& c : cases) {
        runs.push_back(RunAnalysis(log, tables, c.settings, c.hideMobs));
        CheckFeedback(runs.back(), lines.size(), size);
        if (!runs.back().error)
            CheckFinishedTables(tables, c.settings);
        rows.push_back(RowsWithoutRates(tables.mtList));
        tablesLeft.push_back(tables.mtList.Rows());

        // The log reader and the run book exactly the lines of a plain reading, in order.
        if (c.checkAgainstPlainReading) {
            const RunOutcome plain = BookPlainLines(lines, tables, c.settings, c.hideMobs);
            FUZZ_CHECK_EQ(runs.back().error, plain.error);
            FUZZ_CHECK_EQ(runs.back().tables, plain.tables);
        }
    }
    const RunOutcome& m1 = runs[0];
    const RunOutcome& m1Statistics = runs[1];
    const RunOutcome& m1Hidden = runs[2];
    const RunOutcome& m2 = runs[3];
    const RunOutcome& m2Hidden = runs[4];

    // Statistics read an amount from more lines than the booking does, never from fewer.
    if (m1.error)
        FUZZ_CHECK(m1Statistics.error.has_value());
    if (!m1.error && !m1Statistics.error)
        FUZZ_CHECK_EQ(rows[0], rows[1], "statistics change nothing but the critical rates");
    // The mob filter hides rows; it books exactly the same.
    FUZZ_CHECK_EQ(m1Statistics.error, m1Hidden.error);
    FUZZ_CHECK_EQ(rows[1], rows[2], "the mob filter changes nothing but the critical rates");
    if (!m1Hidden.error)
        FUZZ_CHECK(RatesOf(tablesLeft[1], true) == RatesOf(tablesLeft[2], false),
                   "rows hidden by the mob filter get no critical rate, the others the same");
    // Method 2 fills no statistics, whatever the switch says, so they change nothing.
    FUZZ_CHECK_EQ(m2.error, m2Hidden.error);
    FUZZ_CHECK_EQ(rows[3], rows[4]);
    return 0;
}
