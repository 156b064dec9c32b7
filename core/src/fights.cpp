#include "tallyscope/fights.h"

#include <algorithm>

#include "phrase_search.h"
#include "tallyscope/errors.h"
#include "tallyscope/line_fields.h"
#include "tallyscope/vocabulary.h"

namespace tally {

namespace {
using namespace tally::literals;
constexpr Phrase kReceivesAfterName = " получает"_cp;
constexpr std::string_view kNameStartColon = ": ";
constexpr std::string_view kNameStartStop = ". ";
}  // namespace

std::optional<std::int64_t> Fight::Duration() const {
    if (!start || !end)
        return std::nullopt;
    return std::max<std::int64_t>(1, *end - *start);
}

bool IsDamageLine(std::string_view line) {
    return Contains(line, phrase::kUnits) && Contains(line, phrase::kOfDamage);
}

std::string_view ReceiverName(std::string_view line) {
    const std::size_t at = detail::FindPhrase(line, kReceivesAfterName);
    if (at == std::string_view::npos)
        return {};
    const std::string_view before = line.substr(0, at);
    std::size_t from = 0;
    for (const std::string_view start : {kNameStartColon, kNameStartStop})
        if (const std::size_t found = before.rfind(start); found != std::string_view::npos)
            from = std::max(from, found + start.size());
    return before.substr(from);
}

std::int64_t DamagePerSecond(std::int64_t damage, std::int64_t seconds) {
    if (seconds <= 0)
        return 0;
    // floor(damage / seconds + 1/2), also for a negative total.
    const std::int64_t twice = 2 * damage + seconds;
    const std::int64_t divisor = 2 * seconds;
    return twice / divisor - (twice % divisor < 0 ? 1 : 0);
}

std::int64_t CombatSeconds(const std::vector<Fight>& fights) {
    std::int64_t total = 0;
    for (const Fight& fight : fights)
        total += fight.Duration().value_or(0);
    return total;
}

FightSplitter::FightSplitter(std::int64_t gapSeconds) : gap_(gapSeconds) {}

FightStep FightSplitter::Add(const LogLine& line) {
    return Add(line, ParseLineTime(line.text), IsDamageLine(line.text));
}

FightStep FightSplitter::Add(const LogLine& line, const std::optional<LineTime>& time, bool isDamageLine) {
    if (!isDamageLine)
        return Add(line, time, false, {}, std::nullopt);
    const std::string_view receiver = ReceiverName(line.text);
    std::optional<std::int64_t> amount;
    if (!receiver.empty()) {
        try {
            amount = ParseDamageAmount(line.text);
        } catch (const ConversionError&) {
            // The fight's own run reports the line; here it only names whoever was hit.
        }
    }
    return Add(line, time, true, receiver, amount);
}

FightStep FightSplitter::Add(const LogLine& line, const std::optional<LineTime>& time, bool isDamageLine,
                             std::string_view receiver, std::optional<std::int64_t> amount) {
    // Every timed line moves the clock, so that midnight is seen also between damage lines.
    const std::optional<std::int64_t> seconds =
        time ? std::optional<std::int64_t>(clock_.Advance(*time)) : std::nullopt;
    if (!isDamageLine)
        return FightStep::Waiting;

    const bool starts =
        fights_.empty() || (seconds && lastTimedDamage_ && *seconds - *lastTimedDamage_ > gap_);
    if (starts) {
        Fight fight;
        fight.number = static_cast<int>(fights_.size()) + 1;
        fight.firstLine = lastDamageLine_ + 1;
        fight.beginOffset = lastDamageEnd_;
        fights_.push_back(std::move(fight));
        received_.clear();
        targetDamage_ = -1;
    }
    Fight& fight = fights_.back();
    fight.lastLine = line.number;
    fight.endOffset = line.endOffset;
    if (seconds) {
        if (!fight.start) {
            fight.start = seconds;
            fight.startText = time->text;
        }
        fight.end = seconds;
        fight.endText = time->text;
        lastTimedDamage_ = seconds;
    }
    lastDamageLine_ = line.number;
    lastDamageEnd_ = line.endOffset;
    CountReceived(receiver, amount.value_or(0));
    return starts ? FightStep::StartsFight : FightStep::ContinuesFight;
}

void FightSplitter::CountReceived(std::string_view name, std::int64_t amount) {
    if (name.empty())
        return;
    auto [it, added] = received_.try_emplace(std::string(name), Received{0, received_.size()});
    it->second.damage += amount;
    // Sums only grow, so the leader is the old one or this name; a tie goes to the name seen first.
    const bool leads = it->second.damage > targetDamage_ ||
                       (it->second.damage == targetDamage_ && it->second.order < targetOrder_);
    if (leads) {
        targetDamage_ = it->second.damage;
        targetOrder_ = it->second.order;
        fights_.back().target = it->first;
    }
}

}  // namespace tally
