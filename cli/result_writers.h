#pragma once
// The ways `tallyscope analyze` and `tallyscope fights` print their results.

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tallyscope/accounting.h"
#include "tallyscope/fights.h"

namespace tally::cli {

struct RunOutcome {
    std::string status;                // the last status text, UTF-8
    std::optional<std::string> error;  // the message of the error that ended the run
    std::int32_t progressMax = 0;
};

// A fight with what its own run gave: the sum of DmgAll over every row of its table, and the error
// that ended the run, if one did.
struct FightOutcome {
    Fight fight;
    std::int64_t damage = 0;
    std::optional<std::string> error;
};

// One JSON object with the run's status, error, every table and the run-wide counters. For a run over
// one fight, every list row also carries its "DPS" and the object the key "fight".
void WriteJson(std::ostream& out, AnalysisTables& tables, const RunOutcome& outcome,
               const FightOutcome* fight = nullptr);
// mtList's visible rows with a header row; for one fight with a DPS column at the end.
void WriteCsv(std::ostream& out, const CharacterTable& mtList, const Fight* fight = nullptr);
// An aligned table for a person, then the status line (and the error, if any). For one fight, a line
// naming the fight comes first and a DPS column follows the total.
void WriteTable(std::ostream& out, const CharacterTable& mtList, const RunOutcome& outcome,
                const Fight* fight = nullptr);

// The fights of a log: {"gap": S, "fights": [...]}.
void WriteFightsJson(std::ostream& out, std::int64_t gap, const std::vector<FightOutcome>& fights);
void WriteFightsCsv(std::ostream& out, const std::vector<FightOutcome>& fights);
void WriteFightsTable(std::ostream& out, const std::vector<FightOutcome>& fights);

}  // namespace tally::cli
