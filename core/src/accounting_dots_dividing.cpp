// Method 2: DoT damage goes to a pool per player class and, after the whole log, every character of
// that class gets an equal integer share of it.

#include "line_facts.h"
#include "tallyscope/accounting.h"

namespace tally {
namespace {

class DotsDividing {
  public:
    DotsDividing(std::string_view line, AnalysisTables& tables) : facts_(line, tables), tables_(tables) {}

    void Run() {
        if (!facts_.Has(Mark::Units) || !facts_.Has(Mark::OfDamage))
            return;  // not a damage line
        const bool isUses = facts_.Has(Mark::Uses);
        const bool isHits = facts_.Has(Mark::Hits);
        const bool isMagic = facts_.Has(Mark::MagicDamage);

        if ((isUses || isHits) && !facts_.ActorIsSkill()) {
            if (facts_.IsDot())
                Pool();
            else
                Book(facts_.Class(), facts_.Actor());
        }
        if (isUses && facts_.ActorIsSkill())
            Pool();
        if (isMagic)
            Book(kSummonClass, facts_.MagicSource());
        if (facts_.Has(Mark::OwnerHit))
            Book(kNpcClass, phrase::kOwnerName);
        if (facts_.Has(Mark::Receives) && !isUses && !isMagic && !facts_.IsDot()) {
            if (!facts_.Has(Mark::Decomposition)) {
                Book(facts_.Class(), phrase::kOwnerName);
                ++tables_.ownerClassVotes[static_cast<std::size_t>(facts_.Class())];
            } else {
                Book(kSummonClass, ElementalName(facts_.Line()));
            }
        }
        if (facts_.IsDot() && !isMagic && !isUses)
            Pool();
    }

  private:
    void Book(std::int32_t charClass, std::string_view name) {
        AddCharacterDamage(tables_.mtList, tables_.ownerClassVotes, charClass, name, facts_.Amount(), 0);
    }
    // DoT damage of a line whose class is not a player class is counted nowhere.
    void Pool() {
        const std::int32_t k = facts_.Class();
        if (k >= 1 && k <= kPlayerClassCount)
            tables_.classDotPool[static_cast<std::size_t>(k - 1)] += facts_.Amount();
    }

    LineFacts facts_;
    AnalysisTables& tables_;
};

}  // namespace

void ProcessLineDotsDividing(std::string_view line, AnalysisTables& tables) {
    DotsDividing(line, tables).Run();
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
