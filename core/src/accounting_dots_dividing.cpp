// Method 2: DoT damage goes to a pool per player class and, after the whole log, every character of
// that class gets an equal integer share of it.

#include "accounting_rules.h"
#include "line_facts.h"
#include "tallyscope/accounting.h"

namespace tally {

void ProcessLineDotsDividing(std::string_view line, AnalysisTables& tables) {
    LineFacts facts(line, tables);
    DotsDividing<LineFacts>(facts, tables).Run();
}

void DivideClassDots(CharacterTable& mtList, const ClassDotPool& pool) {
    std::array<std::int64_t, kPlayerClassCount> count{};
    auto isPlayer = [](std::int32_t k) { return k >= 1 && k <= kPlayerClassCount; };
    for (std::size_t pos = 0; pos < mtList.RowCount(); ++pos)
        if (isPlayer(mtList.At(pos).charClass))
            ++count[static_cast<std::size_t>(mtList.At(pos).charClass - 1)];
    for (std::size_t pos = 0; pos < mtList.RowCount(); ++pos) {
        const std::int32_t k = mtList.At(pos).charClass;
        if (!isPlayer(k))
            continue;
        const auto i = static_cast<std::size_t>(k - 1);
        mtList.Update(pos, [&](CharacterRow& row) { row.charDots = pool[i] / count[i]; });
    }
    for (std::size_t pos = 0; pos < mtList.RowCount(); ++pos)
        mtList.Update(pos, [](CharacterRow& row) { row.dmgAll = row.charDamage + row.charDots; });
}

}  // namespace tally
