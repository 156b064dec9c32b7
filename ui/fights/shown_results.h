#pragma once
// Which results the main grid and the statistics window show: the whole log's tables, as the last
// calculation left them, or the tables of one fight, analysed on its own when it is chosen. A fight's
// run fills tables of its own (with its own copy of the reference lists, so that the DoT list keeps the
// last users of the whole log), so going back to the whole log reads nothing and shows it exactly as
// it was: rows, order, sort marker, current row and statistics.
//
// Every set of results the window can show is a view: its character and skill tables, the seconds in
// combat the damage per second divides by, and how the grid and the statistics stood when it was left.
//
// While the log is followed there is a third view, the fight in progress, derived again from the live
// analysis whenever lines come; the whole log's tables are then the live analysis's too, derived again
// while they are shown. A finished fight chosen meanwhile is run on its own as after a calculation.

#include <Qt>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tallyscope/accounting.h"
#include "tallyscope/analysis_run.h"
#include "tallyscope/fights.h"
#include "tallyscope/live_analysis.h"

namespace tally::ui {

class DBGrid;
class TfAdvanced;

class ShownResults {
  public:
    // wholeLog: the tables of the calculate button, owned by the main window.
    explicit ShownResults(AnalysisTables& wholeLog);

    // The main grid and the statistics window, once they exist; until then nothing is switched.
    void AttachMainGrid(DBGrid* grid);
    void AttachStatistics(TfAdvanced* statistics);

    // The fights of the last calculation over the log at logPath. Shows the whole log, whose damage per
    // second is over the sum of the fights' durations; the tables of a fight shown before are emptied.
    void SetFights(const std::filesystem::path& logPath, std::vector<Fight> fights);
    const std::vector<Fight>& Fights() const { return fights_; }

    void ShowWholeLog();
    // Shows fight `index` and runs it alone, from empty tables, with the switches of settings, reading
    // only its bytes of the log. An error of the run propagates; what was booked stays shown.
    void ShowFight(std::size_t index, const AppSettings& settings, RunFeedback& feedback);

    // Shows the fight in progress of the followed log, with the statistics as the live analysis books
    // them, and derives its tables from live.
    void ShowCurrentFight(const LiveAnalysis& live);
    bool CurrentFightShown() const { return shown_ == &liveView_; }
    // The followed log at logPath as it stands now: its fights, and the tables of the view shown derived
    // again (the fight in progress, or the whole log). A fight shown that the log no longer has (it was
    // started anew) gives way to the fight in progress. The grid keeps its sort and its current
    // character, and both grids stay where they were scrolled while the same view stays shown.
    void ShowFollowed(const LiveAnalysis& live, const std::filesystem::path& logPath);
    // Following stops while another view is shown: the whole log's tables are derived once from live, so
    // that "Весь лог" shows the log the fights listed belong to.
    void KeepWholeLog(const LiveAnalysis& live);
    // Following starts: the whole log's statistics stand as the live analysis books them.
    void StartFollowing(const LiveAnalysis& live);

    // The fight shown; none for the whole log and the fight in progress.
    std::optional<std::size_t> ShownFight() const { return shownFight_; }
    CharacterTable& ShownCharacters() { return *shown_->mtList; }
    SkillStatTable& ShownSkillStats() { return *shown_->mtAdv; }
    // The tables of the fight last run, and of the fight in progress.
    const AnalysisTables& FightTables() const { return fight_; }
    const AnalysisTables& CurrentFightTables() const { return live_; }

    // The clipboard report of the table shown: the whole log's report, or the fight's with its heading
    // and damage per second.
    std::string Report();

    // Switches the class-0 filter of every character table, shown or not.
    void SetMobsHidden(bool hidden);

  private:
    struct View {
        CharacterTable* mtList;
        SkillStatTable* mtAdv;
        std::optional<std::int64_t> combatSeconds;
        // The sort marker of the grid's titles, and the statistics window, as this view left them.
        int markerColumn = -1;
        Qt::SortOrder markerOrder = Qt::DescendingOrder;
        bool statisticsLinked = false;
        bool statisticsVisible = false;
    };

    // Leaves the view shown for another one.
    void Show(View& view);
    // Puts the view's tables, seconds, marker and statistics into the grid and the statistics window.
    void Apply(const View& view);
    // Takes down how the grid and the statistics stand, into the view shown.
    void Keep(View& view) const;
    // ShowFollowed but for the grids' scroll positions.
    void Refresh(const LiveAnalysis& live, const std::filesystem::path& logPath);
    // Fills the shown view's tables anew with fill, keeping the mob filter, the grid's sort and its
    // current character.
    template <class Fill>
    void Refill(AnalysisTables& tables, Fill&& fill);

    AnalysisTables& wholeLogTables_;
    AnalysisTables fight_;
    AnalysisTables live_;
    // The fight in progress as last derived, for the clipboard report.
    std::optional<Fight> liveFight_;
    std::filesystem::path logPath_;
    std::vector<Fight> fights_;
    View wholeLog_;
    View fightView_;
    View liveView_;
    View* shown_ = &wholeLog_;
    std::optional<std::size_t> shownFight_;
    // The fight shown as it was when it was run: a followed log's last fight may have grown since.
    std::optional<Fight> shownFightAsRun_;
    DBGrid* grid_ = nullptr;
    TfAdvanced* statistics_ = nullptr;
};

}  // namespace tally::ui
