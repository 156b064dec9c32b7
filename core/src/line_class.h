#pragma once
// The class a line points to, over any way of looking up the class of a skill name: the tables
// themselves while a line is booked, or a run's read-only copy of them in the per-line stage.

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "line_scan.h"
#include "tallyscope/reference_tables.h"

namespace tally {

// skillClass(key) and dotClass(key): the class of the last row of mtSkills and of mtDots whose name is
// key, or 0.
template <class SkillClass, class DotClass>
std::int32_t ResolveLineClassWith(const LineScan& scan, std::string_view rawSkill, std::string_view skillKey,
                                  SkillClass&& skillClass, DotClass&& dotClass) {
    std::int32_t result = 0;
    // Only a skill written with a rank numeral identifies a player's class.
    // A plain test of each byte: find_first_of calls memchr over the set for every byte of the name.
    if (std::any_of(rawSkill.begin(), rawSkill.end(),
                    [](char c) { return c == 'I' || c == 'V' || c == 'X'; })) {
        result = skillClass(skillKey);
        if (result == 0)
            result = dotClass(skillKey);
    }
    // Summons, elementals and magic damage: each rule compares the first occurrences of its phrases.
    // The second phrase is asked first: "наносит" and "получает" are usually known by now, and where
    // they are missing the rarer first phrase is not looked for.
    const auto before = [&scan](Mark first, Mark second) {
        return scan.Has(second) && scan.Has(first) && scan.First(first) < scan.First(second);
    };
    if (scan.Has(Mark::MagicDamage))
        result = kSummonClass;
    if (before(Mark::Elemental, Mark::Hits))
        result = kSummonClass;
    if (before(Mark::Holy, Mark::Hits) && scan.Has(Mark::HolyEnergyUses))
        result = kSummonClass;
    if (before(Mark::Holy, Mark::Receives) && scan.Has(Mark::HolyPowerUses))
        result = kSummonClass;
    return result;
}

}  // namespace tally
