#include "line_scan.h"

#include "phrase_search.h"

namespace tally {
namespace {

constexpr std::array<Phrase, static_cast<std::size_t>(Mark::Count)> kMarkPhrases = {
    phrase::kUnits,
    phrase::kOfDamage,
    phrase::kUses,
    phrase::kHits,
    phrase::kReceives,
    phrase::kShowsUp,
    phrase::kOfCharacter,
    phrase::kReflects,
    phrase::kMagicDamage,
    phrase::kOwnerHit,
    phrase::kDecomposition,
    phrase::kCritical,
    phrase::kCriticalActorStart,
    phrase::kElemental,
    phrase::kHoly,
    phrase::kHolyEnergyUses,
    phrase::kHolyPowerUses,
};

}  // namespace

std::size_t LineScan::First(Mark mark) const {
    std::size_t& first = first_[Index(mark)];
    if (first == kNotLookedFor)
        first = detail::FindPhrase(line_, kMarkPhrases[Index(mark)]);
    return first;
}

}  // namespace tally
