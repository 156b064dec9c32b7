#pragma once
// The ways `tallyscope analyze` prints the result of a run.

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "tallyscope/accounting.h"

namespace tally::cli {

struct RunOutcome {
    std::string status;                // the last status text, UTF-8
    std::optional<std::string> error;  // the message of the error that ended the run
    std::int32_t progressMax = 0;
};

// One JSON object with the run's status, error, every table and the run-wide counters.
void WriteJson(std::ostream& out, AnalysisTables& tables, const RunOutcome& outcome);
// mtList's visible rows with a header row.
void WriteCsv(std::ostream& out, const CharacterTable& mtList);
// An aligned table for a person, then the status line (and the error, if any).
void WriteTable(std::ostream& out, const CharacterTable& mtList, const RunOutcome& outcome);

}  // namespace tally::cli
