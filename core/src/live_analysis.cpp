#include "tallyscope/live_analysis.h"

namespace tally {
namespace {

template <class TableType>
void CopyRows(const TableType& from, TableType& to) {
    to.Clear();
    for (const auto& row : from.Rows())
        to.Append(row);
}

}  // namespace

LiveAnalysis::LiveAnalysis(const DotTable& mtDots, const SkillTable& mtSkills, const LiveSettings& settings)
    : settings_(settings), logFights_(settings.gap), measurement_(settings.gap) {
    for (Booking* booking : {&wholeLog_, &currentFight_}) {
        CopyRows(mtDots, booking->tables.mtDots);
        CopyRows(mtSkills, booking->tables.mtSkills);
        booking->Clear();
    }
}

void LiveAnalysis::Booking::Clear() {
    tables.mtList.Clear();
    tables.mtAdv.Clear();
    tables.ownerClassVotes.fill(0);
    tables.classDotPool.fill(0);
    tables.mtDots.ClearLastUsed();
    error.reset();
}

void LiveAnalysis::Booking::Book(std::string_view line, const AppSettings& settings) {
    if (error)
        return;  // a run would have ended at the line that failed
    try {
        if (settings.calcType != 0)
            ProcessLineDotsDividing(line, tables);
        else
            ProcessLineDotsToLast(line, tables, settings.showAdvanced == 1);
    } catch (const std::exception& failure) {
        error = failure.what();
    }
}

void LiveAnalysis::Booking::ShowIn(AnalysisTables& out, const LiveSettings& live) const {
    // The post-steps of a run, on the copy: after an error the rows stay as booked, unsorted.
    out.mtList.SetFiltered(false);
    CopyRows(tables.mtList, out.mtList);
    CopyRows(tables.mtAdv, out.mtAdv);
    for (std::size_t pos = 0; pos < out.mtDots.RowCount() && pos < tables.mtDots.RowCount(); ++pos) {
        const std::string& lastUsed = tables.mtDots.At(pos).lastUsed;
        if (out.mtDots.At(pos).lastUsed != lastUsed)
            out.mtDots.Update(pos, [&lastUsed](DotRow& row) { row.lastUsed = lastUsed; });
    }
    out.ownerClassVotes = tables.ownerClassVotes;
    out.classDotPool = tables.classDotPool;
    if (!error) {
        if (live.settings.calcType != 0)
            DivideClassDots(out.mtList, out.classDotPool);
        out.mtList.Sort("DmgAll Desc");
        out.mtAdv.Sort("Char Asc,Skill Asc");
    }
    out.mtList.SetFiltered(live.hideMobs);
    if (!error && live.settings.showAdvanced == 1) {
        ComputeCriticalRates(out.mtList, out.mtAdv);
        AssignSkillClasses(out.mtSkills, out.mtDots, out.mtAdv);
    }
}

void LiveAnalysis::Restart() {
    wholeLog_.Clear();
    currentFight_.Clear();
    logFights_ = FightSplitter(settings_.gap);
    measurement_ = FightSplitter(settings_.gap);
    waiting_.clear();
    waitingEnds_.clear();
    lines_ = 0;
    measurementLines_ = 0;
    measurementStart_ = 0;
}

void LiveAnalysis::StartNewMeasurement() {
    measurement_ = FightSplitter(settings_.gap);
    currentFight_.Clear();
    waiting_.clear();
    waitingEnds_.clear();
    measurementLines_ = 0;
    measurementStart_ = 0;
}

void LiveAnalysis::BookWaitingLines(Booking& booking) {
    std::size_t begin = 0;
    for (const std::size_t end : waitingEnds_) {
        booking.Book(std::string_view(waiting_).substr(begin, end - begin), settings_.settings);
        begin = end;
    }
    waiting_.clear();
    waitingEnds_.clear();
}

void LiveAnalysis::Line(const LogLine& line) {
    ++lines_;
    wholeLog_.Book(line.text, settings_.settings);
    const auto time = ParseLineTime(line.text);
    const bool damage = IsDamageLine(line.text);
    logFights_.Add(line, time, damage);

    // The measurement counts its lines from its own first one, as in a log cleared at its start.
    if (measurementLines_ == 0)
        measurementStart_ = line.beginOffset;
    const LogLine own{line.text, ++measurementLines_, line.beginOffset - measurementStart_,
                      line.endOffset - measurementStart_};
    switch (measurement_.Add(own, time, damage)) {
        case FightStep::Waiting:
            waiting_.append(line.text);
            waitingEnds_.push_back(waiting_.size());
            return;
        case FightStep::StartsFight:
            currentFight_.Clear();
            break;
        case FightStep::ContinuesFight:
            break;
    }
    BookWaitingLines(currentFight_);
    currentFight_.Book(line.text, settings_.settings);
}

void LiveAnalysis::ShowWholeLog(AnalysisTables& out) const {
    wholeLog_.ShowIn(out, settings_);
}

void LiveAnalysis::ShowCurrentFight(AnalysisTables& out) const {
    currentFight_.ShowIn(out, settings_);
}

const Fight* LiveAnalysis::CurrentFight() const {
    const auto& fights = measurement_.Fights();
    return fights.empty() ? nullptr : &fights.back();
}

}  // namespace tally
