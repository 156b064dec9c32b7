#include "fights/shown_results.h"

#include <QScrollBar>

#include "grid/db_grid.h"
#include "grid/editable_grid.h"
#include "grid/title_header.h"
#include "models/character_list_model.h"
#include "models/data_link.h"
#include "models/skill_stat_model.h"
#include "tallyscope/damage_report.h"
#include "windows/uAdvanced.h"

namespace tally::ui {
namespace {

// The rows of a table, copied one by one: copying the table itself would copy its observers too.
template <class TableType>
void CopyRows(const TableType& from, TableType& to) {
    to.Clear();
    for (const auto& row : from.Rows())
        to.Append(row);
}

std::optional<std::int64_t> Seconds(std::int64_t seconds) {
    return seconds > 0 ? std::optional<std::int64_t>(seconds) : std::nullopt;
}

}  // namespace

ShownResults::ShownResults(AnalysisTables& wholeLog)
    : wholeLogTables_(wholeLog),
      wholeLog_{&wholeLog.mtList, &wholeLog.mtAdv, std::nullopt},
      fightView_{&fight_.mtList, &fight_.mtAdv, std::nullopt},
      liveView_{&live_.mtList, &live_.mtAdv, std::nullopt} {}

void ShownResults::AttachMainGrid(DBGrid* grid) {
    grid_ = grid;
}

void ShownResults::AttachStatistics(TfAdvanced* statistics) {
    statistics_ = statistics;
}

void ShownResults::Keep(View& view) const {
    if (grid_) {
        view.markerColumn = grid_->titleHeader()->markerColumn();
        view.markerOrder = grid_->titleHeader()->markerOrder();
    }
    if (statistics_) {
        view.statisticsLinked = statistics_->DS().isEnabled();
        view.statisticsVisible = statistics_->isVisible();
    }
}

void ShownResults::Show(View& view) {
    Keep(*shown_);
    shown_ = &view;
    Apply(view);
}

void ShownResults::Apply(const View& view) {
    if (grid_) {
        CharacterListModel* model = grid_->characterModel();
        model->setCombatSeconds(view.combatSeconds);
        model->setTable(*view.mtList);
        grid_->titleHeader()->setMarker(view.markerColumn, view.markerOrder);
    }
    if (statistics_) {
        statistics_->statModel()->setTable(*view.mtAdv);
        statistics_->DS().setEnabled(view.statisticsLinked);
        statistics_->setVisible(view.statisticsVisible);
    }
}

void ShownResults::SetFights(const std::filesystem::path& logPath, std::vector<Fight> fights) {
    ShowWholeLog();
    logPath_ = logPath;
    fights_ = std::move(fights);
    wholeLog_.combatSeconds = Seconds(CombatSeconds(fights_));
    if (grid_)
        grid_->characterModel()->setCombatSeconds(wholeLog_.combatSeconds);
    fight_.mtList.Clear();
    fight_.mtAdv.Clear();
}

void ShownResults::ShowWholeLog() {
    shownFight_.reset();
    Show(wholeLog_);
}

void ShownResults::StartFollowing(const LiveAnalysis& live) {
    Keep(*shown_);
    const bool statistics = live.Settings().settings.showAdvanced == 1;
    wholeLog_.statisticsLinked = statistics;
    wholeLog_.statisticsVisible = statistics;
    if (shown_ == &wholeLog_)
        Apply(wholeLog_);
}

void ShownResults::ShowCurrentFight(const LiveAnalysis& live) {
    if (shown_ != &liveView_) {
        CopyRows(wholeLogTables_.mtSkills, live_.mtSkills);
        CopyRows(wholeLogTables_.mtDots, live_.mtDots);
        live_.mtList.SetFiltered(wholeLogTables_.mtList.IsFiltered());
        Keep(*shown_);
        const bool statistics = live.Settings().settings.showAdvanced == 1;
        liveView_.markerColumn = grid_ ? grid_->characterModel()->columnOf("DmgAll") : -1;
        liveView_.markerOrder = Qt::DescendingOrder;
        liveView_.statisticsLinked = statistics;
        liveView_.statisticsVisible = statistics;
        shownFight_.reset();
        shown_ = &liveView_;
        Apply(liveView_);
    }
    const Fight* fight = live.CurrentFight();
    liveFight_ = fight ? std::optional<Fight>(*fight) : std::nullopt;
    liveView_.combatSeconds = fight ? fight->Duration() : std::nullopt;
    if (grid_)
        grid_->characterModel()->setCombatSeconds(liveView_.combatSeconds);
    Refill(live_, [&live](AnalysisTables& tables) { live.ShowCurrentFight(tables); });
}

void ShownResults::ShowFollowed(const LiveAnalysis& live, const std::filesystem::path& logPath) {
    // This refresh comes every second while following: a view that stays shown keeps both grids where
    // the user scrolled them.
    const View* before = shown_;
    QScrollBar* gridScroll = grid_ ? grid_->verticalScrollBar() : nullptr;
    QScrollBar* statisticsScroll = statistics_ ? statistics_->grid()->verticalScrollBar() : nullptr;
    const int gridScrolled = gridScroll ? gridScroll->value() : 0;
    const int statisticsScrolled = statisticsScroll ? statisticsScroll->value() : 0;
    Refresh(live, logPath);
    if (shown_ != before)
        return;
    if (gridScroll)
        gridScroll->setValue(gridScrolled);
    if (statisticsScroll)
        statisticsScroll->setValue(statisticsScrolled);
}

void ShownResults::Refresh(const LiveAnalysis& live, const std::filesystem::path& logPath) {
    logPath_ = logPath;
    fights_ = live.Fights();
    wholeLog_.combatSeconds = Seconds(CombatSeconds(fights_));
    if (shownFight_ && *shownFight_ >= fights_.size()) {
        ShowCurrentFight(live);
        return;
    }
    if (shown_ == &liveView_) {
        ShowCurrentFight(live);
    } else if (shown_ == &wholeLog_) {
        if (grid_)
            grid_->characterModel()->setCombatSeconds(wholeLog_.combatSeconds);
        Refill(wholeLogTables_, [&live](AnalysisTables& tables) { live.ShowWholeLog(tables); });
    }
}

void ShownResults::KeepWholeLog(const LiveAnalysis& live) {
    fights_ = live.Fights();
    wholeLog_.combatSeconds = Seconds(CombatSeconds(fights_));
    const bool hidden = wholeLogTables_.mtList.IsFiltered();
    live.ShowWholeLog(wholeLogTables_);
    wholeLogTables_.mtList.SetFiltered(hidden);
    // Derived, the table is sorted by the total, as after a run.
    wholeLog_.markerColumn = grid_ ? grid_->characterModel()->columnOf("DmgAll") : -1;
    wholeLog_.markerOrder = Qt::DescendingOrder;
}

template <class Fill>
void ShownResults::Refill(AnalysisTables& tables, Fill&& fill) {
    const bool hidden = tables.mtList.IsFiltered();
    std::optional<std::string> current;
    if (tables.mtList.Current() < tables.mtList.RowCount())
        current = tables.mtList.At(tables.mtList.Current()).charName;
    fill(tables);
    tables.mtList.SetFiltered(hidden);
    if (grid_) {
        // The derived table comes sorted by the total; a title the user clicked sorts it again its way.
        const int column = grid_->titleHeader()->markerColumn();
        if (column >= 0 && column != grid_->characterModel()->columnOf("DmgAll"))
            grid_->DBGridTitleBtnClick(column);
    }
    if (current)
        for (std::size_t pos = 0; pos < tables.mtList.RowCount(); ++pos)
            if (tables.mtList.At(pos).charName == *current) {
                tables.mtList.SetCurrent(pos);
                break;
            }
}

void ShownResults::ShowFight(std::size_t index, const AppSettings& settings, RunFeedback& feedback) {
    if (index >= fights_.size())
        return;
    const Fight& fight = fights_[index];
    // The run empties the DoTs' last users; these are the fight's own, not the whole log's.
    CopyRows(wholeLogTables_.mtSkills, fight_.mtSkills);
    CopyRows(wholeLogTables_.mtDots, fight_.mtDots);
    fight_.mtList.SetFiltered(wholeLogTables_.mtList.IsFiltered());
    // The fight starts as the grid does, marked as sorted by the total, with the statistics as they
    // stand; its run then sorts it and puts the statistics as its switches say.
    Keep(*shown_);
    fightView_.combatSeconds = fight.Duration();
    fightView_.markerColumn = grid_ ? grid_->characterModel()->columnOf("DmgAll") : -1;
    fightView_.markerOrder = Qt::DescendingOrder;
    fightView_.statisticsLinked = shown_->statisticsLinked;
    fightView_.statisticsVisible = shown_->statisticsVisible;
    shown_ = &fightView_;
    shownFight_ = index;
    shownFightAsRun_ = fight;
    Apply(fightView_);
    FightAnalysisRun(logPath_, fight, fight_, settings, feedback);
}

std::string ShownResults::Report() {
    if (shownFight_)
        return BuildFightDamageReport(fight_.mtList, *shownFightAsRun_);
    if (shown_ == &liveView_)
        return liveFight_ ? BuildFightDamageReport(live_.mtList, *liveFight_)
                          : BuildDamageReport(live_.mtList);
    return BuildDamageReport(wholeLogTables_.mtList);
}

void ShownResults::SetMobsHidden(bool hidden) {
    wholeLogTables_.mtList.SetFiltered(hidden);
    fight_.mtList.SetFiltered(hidden);
    live_.mtList.SetFiltered(hidden);
}

}  // namespace tally::ui
