#pragma once
// The accounting rules of the two DoT crediting methods, written once over what a line's facts
// answer: worked out on demand while the line is booked (LineFacts), or beforehand by the per-line
// stage of a run (ComputedFacts). Both answer every question the same way, so both book the same.
//
// Method 1 (DotsToLast): each DoT tick goes to the character last seen using that DoT skill; a tick
// with no known caster goes to the log owner, who from then on counts as that skill's last user.
// Method 2 (DotsDividing): DoT damage goes to a pool per player class, shared out after the last line.

#include "line_scan.h"
#include "tallyscope/accounting.h"
#include "tallyscope/text_index.h"
#include "tallyscope/vocabulary.h"

namespace tally {

// The fixed names the rules book, with their hashes worked out once.
inline const HashedText& OwnerKey() {
    static const HashedText key = TextIndex::Hashed(phrase::kOwnerName);
    return key;
}
inline const HashedText& AutoAttackKey() {
    static const HashedText key = TextIndex::Hashed(phrase::kAutoAttack);
    return key;
}

template <class Facts>
class DotsToLast {
  public:
    DotsToLast(Facts& facts, AnalysisTables& tables, bool withStatistics)
        : facts_(facts), tables_(tables), statistics_(withStatistics) {}

    void Run() {
        const bool hasUnits = facts_.Has(Mark::Units);
        const bool hasOfDamage = facts_.Has(Mark::OfDamage);
        const bool isUses = facts_.Has(Mark::Uses);

        // A DoT applied by a named character, or a DoT summon appearing at a character's call: that
        // character becomes the skill's last user.
        if (isUses && !hasUnits && !hasOfDamage && !facts_.ActorIsSkill() && facts_.IsDot())
            Record(facts_.Actor());
        if (!hasUnits && !hasOfDamage && facts_.Has(Mark::ShowsUp) && facts_.Has(Mark::OfCharacter) &&
            facts_.IsDot())
            Record(facts_.Actor());

        if (!hasUnits || !hasOfDamage)
            return;  // not a damage line

        const bool isHits = facts_.Has(Mark::Hits);
        const bool isMagic = facts_.Has(Mark::MagicDamage);

        // Damage of a named character; damage of a line that names a DoT skill is DoT damage even
        // when the caster is named.
        if ((isUses || isHits) && !facts_.ActorIsSkill()) {
            if (facts_.IsDot()) {
                Record(facts_.Actor());
                Book(facts_.Class(), facts_.HashedActor(), 0, facts_.Amount());
                Stat(facts_.HashedActor(), facts_.HashedSkillKey());
            } else {
                Book(facts_.Class(), facts_.HashedActor(), facts_.Amount(), 0);
                Stat(facts_.HashedActor(), isHits ? AutoAttackKey() : facts_.HashedSkillKey());
            }
        }
        // An effect acting in its own name: its last user's DoT, or a summon of its own.
        if (isUses && facts_.ActorIsSkill()) {
            const std::string_view lastUser = tables_.mtDots.LastUser(facts_.HashedSkillKey());
            if (!lastUser.empty()) {
                const HashedText user = TextIndex::Hashed(lastUser);
                Book(facts_.Class(), user, 0, facts_.Amount());
                Stat(user, facts_.HashedSkillKey());
            } else {
                Book(kSummonClass, facts_.HashedActor(), facts_.Amount(), 0);
            }
        }
        if (isMagic)
            Book(kSummonClass, TextIndex::Hashed(facts_.MagicSource()), facts_.Amount(), 0);
        // The owner's plain hits count only in the statistics.
        if (facts_.Has(Mark::OwnerHit))
            Stat(OwnerKey(), AutoAttackKey());
        // Skill damage with nobody named is the log owner's, or an elemental's on a decomposition line.
        if (facts_.Has(Mark::Receives) && !isUses && !isMagic && !facts_.IsDot()) {
            if (!facts_.Has(Mark::Decomposition)) {
                Book(facts_.Class(), OwnerKey(), facts_.Amount(), 0);
                Stat(OwnerKey(), facts_.HashedSkillKey());
                Vote();
            } else {
                Book(kSummonClass, TextIndex::Hashed(facts_.Elemental()), facts_.Amount(), 0);
            }
        }
        // A DoT tick: its last user's, or the owner's when nobody is known yet.
        if (facts_.IsDot() && !isMagic && !isUses) {
            const std::string_view lastUser = tables_.mtDots.LastUser(facts_.HashedSkillKey());
            if (!lastUser.empty()) {
                const HashedText user = TextIndex::Hashed(lastUser);
                Book(facts_.Class(), user, 0, facts_.Amount());
                Stat(user, facts_.HashedSkillKey());
            } else {
                Record(phrase::kOwnerName);
                Book(facts_.Class(), OwnerKey(), 0, facts_.Amount());
                Stat(OwnerKey(), facts_.HashedSkillKey());
                Vote();
            }
        }
    }

  private:
    void Record(std::string_view name) { tables_.mtDots.RecordUser(facts_.HashedSkillKey(), name); }
    void Book(std::int32_t charClass, const HashedText& name, std::int64_t skillDamage,
              std::int64_t dotDamage) {
        AddCharacterDamage(tables_.mtList, tables_.ownerClassVotes, charClass, name, skillDamage, dotDamage);
    }
    void Stat(const HashedText& name, const HashedText& skill) {
        if (statistics_)
            AddSkillStat(tables_.mtAdv, name, skill, facts_.Amount(), facts_.Critical());
    }
    void Vote() { ++tables_.ownerClassVotes[static_cast<std::size_t>(facts_.Class())]; }

    Facts& facts_;
    AnalysisTables& tables_;
    bool statistics_;
};

template <class Facts>
class DotsDividing {
  public:
    DotsDividing(Facts& facts, AnalysisTables& tables) : facts_(facts), tables_(tables) {}

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
                Book(facts_.Class(), facts_.HashedActor());
        }
        if (isUses && facts_.ActorIsSkill())
            Pool();
        if (isMagic)
            Book(kSummonClass, TextIndex::Hashed(facts_.MagicSource()));
        if (facts_.Has(Mark::OwnerHit))
            Book(kNpcClass, OwnerKey());
        if (facts_.Has(Mark::Receives) && !isUses && !isMagic && !facts_.IsDot()) {
            if (!facts_.Has(Mark::Decomposition)) {
                Book(facts_.Class(), OwnerKey());
                ++tables_.ownerClassVotes[static_cast<std::size_t>(facts_.Class())];
            } else {
                Book(kSummonClass, TextIndex::Hashed(facts_.Elemental()));
            }
        }
        if (facts_.IsDot() && !isMagic && !isUses)
            Pool();
    }

  private:
    void Book(std::int32_t charClass, const HashedText& name) {
        AddCharacterDamage(tables_.mtList, tables_.ownerClassVotes, charClass, name, facts_.Amount(), 0);
    }
    // DoT damage of a line whose class is not a player class is counted nowhere.
    void Pool() {
        const std::int32_t k = facts_.Class();
        if (k >= 1 && k <= kPlayerClassCount)
            tables_.classDotPool[static_cast<std::size_t>(k - 1)] += facts_.Amount();
    }

    Facts& facts_;
    AnalysisTables& tables_;
};

}  // namespace tally
