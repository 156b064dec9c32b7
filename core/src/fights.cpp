#include "tallyscope/fights.h"

#include <algorithm>

#include "line_scan.h"
#include "line_scan_fields.h"
#include "phrase_search.h"
#include "tallyscope/errors.h"
#include "tallyscope/line_fields.h"
#include "tallyscope/vocabulary.h"

namespace tally {

std::optional<std::int64_t> Fight::Duration() const {
    if (!start || !end)
        return std::nullopt;
    return std::max<std::int64_t>(1, *end - *start);
}

bool IsDamageLine(std::string_view line) {
    return Contains(line, phrase::kUnits) && Contains(line, phrase::kOfDamage);
}

std::string_view ReceiverName(std::string_view line) {
    return ReceiverName(LineScan(line));
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

namespace {

// The receiver and the amount of a damage line, from one scan of it for its phrases.
struct ReceivedDamage {
    std::string_view receiver;
    std::optional<std::int64_t> amount;
};

ReceivedDamage ReceivedOn(const LineScan& scan) {
    ReceivedDamage received{ReceiverName(scan), std::nullopt};
    if (!received.receiver.empty()) {
        try {
            received.amount = ParseDamageAmount(scan);
        } catch (const ConversionError&) {
            // The fight's own run reports the line; here it only names whoever was hit.
        }
    }
    return received;
}

}  // namespace

FightStep FightSplitter::Add(const LogLine& line) {
    const LineScan scan(line.text);
    const std::optional<LineTime> time = ParseLineTime(line.text);
    if (!(scan.Has(Mark::Units) && scan.Has(Mark::OfDamage)))
        return Add(line, time, false, {}, std::nullopt);
    const ReceivedDamage received = ReceivedOn(scan);
    return Add(line, time, true, received.receiver, received.amount);
}

FightStep FightSplitter::Add(const LogLine& line, const std::optional<LineTime>& time, bool isDamageLine) {
    if (!isDamageLine)
        return Add(line, time, false, {}, std::nullopt);
    const ReceivedDamage received = ReceivedOn(LineScan(line.text));
    return Add(line, time, true, received.receiver, received.amount);
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
        receivedByName_.Reset(0);
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
    const HashedText key = TextIndex::Hashed(name);
    const auto& found = receivedByName_.Find(key);
    std::size_t at = 0;
    if (found.empty()) {
        at = received_.size();
        received_.push_back({std::string(name), 0});
        receivedByName_.Add(name, key.hash, at);
    } else {
        at = found.front();
    }
    Received& received = received_[at];
    received.damage += amount;
    // Sums only grow, so the leader is the old one or this name; a tie goes to the name seen first.
    if (received.damage > targetDamage_ || (received.damage == targetDamage_ && at < target_)) {
        targetDamage_ = received.damage;
        target_ = at;
        fights_.back().target = received.name;
    }
}

}  // namespace tally
