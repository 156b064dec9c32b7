// Method 1: each DoT tick goes to the character last seen using that DoT skill; a tick with no known
// caster goes to the log owner, who from then on counts as that skill's last user.

#include "accounting_rules.h"
#include "computed_line.h"
#include "line_facts.h"
#include "tallyscope/accounting.h"

namespace tally {

thread_local std::string LineFacts::skillKey_;
thread_local std::string LineFacts::actorKey_;

void ProcessLineDotsToLast(std::string_view line, AnalysisTables& tables, bool withStatistics) {
    LineFacts facts(line, tables);
    DotsToLast<LineFacts>(facts, tables, withStatistics).Run();
}

void BookComputedLine(const ComputedLine& line, AnalysisTables& tables, bool dividing, bool withStatistics) {
    ComputedFacts facts(line);
    if (dividing)
        DotsDividing<ComputedFacts>(facts, tables).Run();
    else
        DotsToLast<ComputedFacts>(facts, tables, withStatistics).Run();
}

}  // namespace tally
