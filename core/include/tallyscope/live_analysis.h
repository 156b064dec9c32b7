#pragma once
// The analysis of a log that is still being written: every line is booked once, as it arrives, onto
// running tables of the whole log and of the fight in progress, and the fights are split as the lines
// come. What is shown is derived from the running tables on a copy, with the post-steps of a run
// (Method 2's division of the DoT pools, the sorting, the mob filter, the critical rates and the skill
// classes), so they are never applied twice. Followed to its end, a log gives the tables of a run
// over the whole of it, and every fight the tables of that fight's own run.
//
// A new measurement starts counting afresh from the next line: its fights, and so the fight in
// progress, are those of a log that would have been cleared at that moment. The log's own fights and
// its whole-log table are kept.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tallyscope/accounting.h"
#include "tallyscope/analysis_run.h"
#include "tallyscope/fights.h"
#include "tallyscope/log_follower.h"

namespace tally {

// What a live analysis books with: the switches of a run and the idle gap.
struct LiveSettings {
    AppSettings settings;
    bool hideMobs = false;
    std::int64_t gap = kDefaultFightGap;
};

class LiveAnalysis final : public FollowSink {
  public:
    // The reference tables are copied; the running tables start empty.
    LiveAnalysis(const DotTable& mtDots, const SkillTable& mtSkills, const LiveSettings& settings);

    void Restart() override;
    void Line(const LogLine& line) override;

    // Counts only the lines from now on for the fight in progress and the measurement's fights.
    void StartNewMeasurement();

    // Show* fill the result tables of out (mtList, mtAdv, the LastUsed of mtDots, the counters) as
    // the run would have left them; out's reference tables must hold the same rows as this one's.
    void ShowWholeLog(AnalysisTables& out) const;
    // The fight in progress of the measurement (the last one, also once it is over); empty tables
    // before the measurement's first damage line.
    void ShowCurrentFight(AnalysisTables& out) const;

    // The log's fights, as a run over the whole log would split it.
    const std::vector<Fight>& Fights() const { return logFights_.Fights(); }
    // The measurement's fight in progress; none before its first damage line.
    const Fight* CurrentFight() const;
    // The error that ended the whole log's booking or the current fight's, as a run would report it.
    const std::optional<std::string>& WholeLogError() const { return wholeLog_.error; }
    const std::optional<std::string>& CurrentFightError() const { return currentFight_.error; }
    std::uint64_t LinesBooked() const { return lines_; }
    const LiveSettings& Settings() const { return settings_; }

  private:
    // Tables booked line by line; an error stops the booking there, as it ends a run.
    struct Booking {
        AnalysisTables tables;
        std::optional<std::string> error;
        void Book(std::string_view line, const AppSettings& settings);
        void Clear();
        void ShowIn(AnalysisTables& out, const LiveSettings& settings) const;
    };
    void BookWaitingLines(Booking& booking);

    LiveSettings settings_;
    Booking wholeLog_;
    FightSplitter logFights_;
    // The measurement: its own fights, its fight in progress, and the lines after that fight's last
    // damage line, which go with whichever fight the next damage line belongs to.
    FightSplitter measurement_;
    Booking currentFight_;
    std::string waiting_;
    std::vector<std::size_t> waitingEnds_;
    std::uint64_t lines_ = 0;
    std::uint64_t measurementLines_ = 0;
    std::uint64_t measurementStart_ = 0;  // byte offset of the measurement's first line
};

}  // namespace tally
