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
    phrase::kSeparator,
};

}  // namespace

const Phrase& LineScan::PhraseOf(Mark mark) {
    return kMarkPhrases[Index(mark)];
}

// A phrase that begins with another mark's phrase can only stand where that one does: it is looked for
// from there, and not at all when the shorter one is missing.
std::size_t LineScan::Search(Mark mark) const {
    Mark inner = mark;
    switch (mark) {
        case Mark::CriticalActorStart:
            inner = Mark::Critical;
            break;
        case Mark::HolyEnergyUses:
        case Mark::HolyPowerUses:
            inner = Mark::Holy;
            break;
        default:
            return detail::FindPhrase(line_, PhraseOf(mark));
    }
    const std::size_t from = First(inner);
    return from == std::string_view::npos ? from : detail::FindPhrase(line_, PhraseOf(mark), from);
}

std::size_t LineScan::LookFor(Mark mark) const {
    return first_[Index(mark)] = Search(mark);
}

std::string_view LineScan::Between(Mark start, const Phrase& end) const {
    const Phrase& opening = PhraseOf(start);
    std::size_t at = First(start);
    if (at == std::string_view::npos)
        return {};
    for (;;) {
        const std::size_t from = at + opening.size();
        const std::size_t endAt = detail::FindPhrase(line_, end, from);
        if (endAt == std::string_view::npos)
            return {};
        const std::size_t next = endAt + end.size();
        at = detail::FindPhrase(line_, opening, next);
        if (at == std::string_view::npos)
            return line_.substr(from, endAt - from);
    }
}

}  // namespace tally
