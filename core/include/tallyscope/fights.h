#pragma once
// A chat log split into fights. The damage lines are walked in order: the first one starts fight 1,
// and a later one starts a new fight when its time is more than the idle gap after the last timed
// damage line before it. Fight 1 holds every line from the first one to its last damage line; each
// later fight holds the lines after the previous fight's last damage line up to its own, so the buffs
// and DoTs put on just before a fight belong to it. Lines after the last fight's last damage line
// belong to no fight yet.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/line_time.h"
#include "tallyscope/text_index.h"

namespace tally {

inline constexpr std::int64_t kDefaultFightGap = 30;  // seconds

struct Fight {
    int number = 0;  // from 1
    // Lines counted from 1 as the analysis reads them, and the bytes of those lines in the log: from
    // the first byte of the first line up to and including the line end of the last one.
    std::uint64_t firstLine = 0;
    std::uint64_t lastLine = 0;
    std::uint64_t beginOffset = 0;
    std::uint64_t endOffset = 0;
    // The times of the first and last timed damage lines (seconds of the log's clock, and as the lines
    // wrote them); none when no damage line of the fight has a time.
    std::optional<std::int64_t> start;
    std::optional<std::int64_t> end;
    std::string startText;
    std::string endText;
    // The character that received the most damage, Windows-1251; empty when no line names one.
    std::string target;

    // end - start in whole seconds, at least 1; none without a timed damage line.
    std::optional<std::int64_t> Duration() const;
};

// A line as the splitter sees it: its text and where it stands in the log.
struct LogLine {
    std::string_view text;
    std::uint64_t number = 0;
    std::uint64_t beginOffset = 0;
    std::uint64_t endOffset = 0;
};

// What a line does to the fights. Lines that are not damage lines wait: they go with the fight of the
// next damage line, whichever it is.
enum class FightStep { Waiting, StartsFight, ContinuesFight };

class FightSplitter {
  public:
    explicit FightSplitter(std::int64_t gapSeconds = kDefaultFightGap);

    // Takes the next line of the log, in order from the first.
    FightStep Add(const LogLine& line);
    // The same, with the line's time and damage test already worked out.
    FightStep Add(const LogLine& line, const std::optional<LineTime>& time, bool isDamageLine);
    // The same, with the name of who receives the damage and its amount worked out too (no amount: it
    // could not be read, and counts as none).
    FightStep Add(const LogLine& line, const std::optional<LineTime>& time, bool isDamageLine,
                  std::string_view receiver, std::optional<std::int64_t> amount);

    std::int64_t Gap() const { return gap_; }
    const std::vector<Fight>& Fights() const { return fights_; }

  private:
    struct Received {
        std::string name;
        std::int64_t damage = 0;
    };
    void CountReceived(std::string_view name, std::int64_t amount);

    std::int64_t gap_;
    LineClock clock_;
    std::vector<Fight> fights_;
    std::optional<std::int64_t> lastTimedDamage_;
    std::uint64_t lastDamageLine_ = 0;
    std::uint64_t lastDamageEnd_ = 0;
    // Damage received per name in the current fight, in the order the names were first seen, for its
    // main target.
    std::vector<Received> received_;
    TextIndex receivedByName_;
    std::int64_t targetDamage_ = -1;
    std::size_t target_ = 0;
};

// The damage-line test of the accounting: the line holds both "ед. " and "урона".
bool IsDamageLine(std::string_view line);

// The name before " получает", after the nearest ": " or ". " before it; empty when there is none.
std::string_view ReceiverName(std::string_view line);

// DmgAll per second of the fight, rounded to the nearest whole number, halves up.
std::int64_t DamagePerSecond(std::int64_t damage, std::int64_t seconds);

// The sum of the durations of the fights that have one: the log's time in combat; 0 when none has.
std::int64_t CombatSeconds(const std::vector<Fight>& fights);

}  // namespace tally
