#pragma once
// What the accounting rules ask of one line, each answer worked out at most once and only when a rule
// needs it. Actor, skill key, critical flag, class and the DoT test cannot change while one line is
// booked; the last user of a DoT skill can, so it is not kept here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "line_scan.h"
#include "line_scan_fields.h"
#include "tallyscope/accounting.h"
#include "tallyscope/line_fields.h"
#include "tallyscope/vocabulary.h"

namespace tally {

// The character an elemental's decomposition command is booked under, by the element in parentheses.
inline std::string_view ElementalName(std::string_view line) {
    const std::string_view element = ExtractBetween(line, phrase::kElementStart, phrase::kElementEnd);
    if (element == phrase::kFire)
        return phrase::kFireElemental;
    if (element == phrase::kEarth)
        return phrase::kEarthElemental;
    if (element == phrase::kWater)
        return phrase::kWaterElemental;
    if (element == phrase::kAir)
        return phrase::kAirElemental;
    return phrase::kUnknownElemental;
}

class LineFacts {
  public:
    LineFacts(std::string_view line, AnalysisTables& tables) : scan_(line), tables_(tables) {}

    std::string_view Line() const { return scan_.Line(); }
    bool Has(Mark mark) const { return scan_.Has(mark); }

    std::string_view Actor() {
        if (!actor_)
            actor_ = ExtractActorName(scan_);
        return *actor_;
    }
    std::string_view RawSkill() {
        if (!rawSkill_)
            rawSkill_ = ExtractSkillName(scan_);
        return *rawSkill_;
    }
    std::string_view SkillKey() {
        if (!skillKeyDone_) {
            StripRankNumeralsInto(RawSkill(), skillKey_);
            skillKeyDone_ = true;
        }
        return skillKey_;
    }
    HashedText HashedSkillKey() {
        if (!skillKeyHash_)
            skillKeyHash_ = TextIndex::Hash(SkillKey());
        return {SkillKey(), *skillKeyHash_};
    }
    HashedText HashedActor() {
        if (!actorHash_)
            actorHash_ = TextIndex::Hash(Actor());
        return {Actor(), *actorHash_};
    }
    bool ActorIsSkill() {
        if (!actorIsSkill_)
            actorIsSkill_ = StripsTo(Actor(), SkillKey(), actorKey_);
        return *actorIsSkill_;
    }
    bool IsDot() {
        if (!dot_)
            dot_ = tables_.mtDots.Lists(HashedSkillKey());
        return *dot_;
    }
    std::int32_t Class() {
        if (!class_)
            class_ = ResolveLineClass(scan_, RawSkill(), SkillKey(), tables_.mtSkills, tables_.mtDots);
        return *class_;
    }
    int Critical() const { return IsCriticalHit(scan_) ? 1 : 0; }
    bool IsDamage() const { return scan_.Has(Mark::Units) && scan_.Has(Mark::OfDamage); }
    std::string_view Receiver() const { return ReceiverName(scan_); }
    // The elemental a decomposition command is booked under.
    std::string_view Elemental() const { return ElementalName(scan_.Line()); }
    // The source named on a magic-damage line, booked as a summon.
    std::string_view MagicSource() const { return scan_.Between(Mark::Separator, phrase::kMagicSourceEnd); }
    // Parsed by the first rule that books; a line no rule books is never parsed.
    std::int32_t Amount() {
        if (!amount_)
            amount_ = ParseDamageAmount(scan_);
        return *amount_;
    }

  private:
    LineScan scan_;
    AnalysisTables& tables_;
    std::optional<std::string_view> actor_;
    std::optional<std::string_view> rawSkill_;
    std::optional<bool> dot_;
    std::optional<std::int32_t> class_;
    std::optional<std::int32_t> amount_;
    std::optional<std::size_t> skillKeyHash_;
    std::optional<std::size_t> actorHash_;
    // Reused between lines so that cutting keys does not allocate for every line.
    static thread_local std::string skillKey_;
    static thread_local std::string actorKey_;
    bool skillKeyDone_ = false;
    std::optional<bool> actorIsSkill_;
};

}  // namespace tally
