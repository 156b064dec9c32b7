#include "tallyscope/analysis_run.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include <thread>

#include "accounting_rules.h"
#include "computed_line.h"
#include "line_facts.h"
#include "line_pipeline.h"
#include "line_reader.h"
#include "tallyscope/errors.h"
#include "tallyscope/platform.h"

namespace tally {

std::int32_t ProgressMaximum(std::uint64_t sizeInBytes) {
    // (size div 128) * 1.33, rounded half to even, in exact integer arithmetic.
    const std::uint64_t hundredths = (sizeInBytes / 128) * 133;
    std::uint64_t whole = hundredths / 100;
    const std::uint64_t rest = hundredths % 100;
    if (rest > 50 || (rest == 50 && whole % 2 == 1))
        ++whole;
    const auto limit = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(whole < limit ? whole : limit);
}

namespace {

// Lines between two moments at which the window may process its waiting events.
constexpr int kLinesPerEventPump = 20;

std::int64_t NowMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The bytes of one stretch of an open file.
class FileRange final : public ByteSource {
  public:
    FileRange(platform::SharedReadFile& file, std::uint64_t begin, std::uint64_t end)
        : file_(file), left_(end > begin ? end - begin : 0) {
        file_.Seek(begin);
    }
    std::size_t Read(char* buffer, std::size_t capacity) override {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(capacity, left_));
        if (want == 0)
            return 0;
        const std::size_t got = file_.Read(buffer, want);
        left_ -= got;
        return got;
    }

  private:
    platform::SharedReadFile& file_;
    std::uint64_t left_;
};

unsigned WorkerThreads(const RunScope& scope) {
    return scope.threads != 0 ? scope.threads : std::max(1u, std::thread::hardware_concurrency());
}

// The fight splitter's view of a line, from the facts the accounting works out anyway.
void SplitWith(FightSplitter& splitter, const LogLine& line, LineFacts& facts) {
    const bool damage = facts.IsDamage();
    const std::string_view receiver = damage ? facts.Receiver() : std::string_view{};
    std::optional<std::int64_t> amount;
    if (!receiver.empty()) {
        try {
            amount = facts.Amount();
        } catch (const ConversionError&) {
            // Raised again where the accounting asks for the amount.
        }
    }
    splitter.Add(line, ParseLineTime(line.text), damage, receiver, amount);
}

// The read loop on the calling thread alone.
void BookLines(ByteSource& source, AnalysisTables& tables, const AppSettings& settings, bool dividing,
               RunFeedback& feedback, FightSplitter* splitter) {
    LineReader reader(source);
    std::string_view line;
    std::uint64_t lineNumber = 0;
    int linesSincePump = 0;
    while (reader.Next(line)) {
        if (++linesSincePump == kLinesPerEventPump) {
            feedback.PumpEvents();
            linesSincePump = 0;
        }
        feedback.StepProgress();
        LineFacts facts(line, tables);
        if (splitter)
            SplitWith(*splitter, {line, ++lineNumber, reader.LineBegin(), reader.LineEnd()}, facts);
        if (dividing)
            DotsDividing<LineFacts>(facts, tables).Run();
        else
            DotsToLast<LineFacts>(facts, tables, settings.showAdvanced == 1).Run();
    }
}

// The read loop with the lines worked out on other threads and booked here, in log order.
void BookComputedLines(ByteSource& source, AnalysisTables& tables, const AppSettings& settings, bool dividing,
                       RunFeedback& feedback, FightSplitter* splitter, unsigned workers) {
    const ReferenceLookup lookup(tables.mtSkills, tables.mtDots);
    LinePipeline pipeline(source, LineWork{dividing, splitter != nullptr}, lookup, workers);
    const ComputedLine* line = nullptr;
    std::uint64_t lineNumber = 0;
    int linesSincePump = 0;
    while (pipeline.Next(line)) {
        if (++linesSincePump == kLinesPerEventPump) {
            feedback.PumpEvents();
            linesSincePump = 0;
        }
        feedback.StepProgress();
        if (splitter)
            splitter->Add({line->text, ++lineNumber, line->beginOffset, line->endOffset}, line->time,
                          line->damage, line->receiver,
                          line->amountFailed ? std::nullopt : std::optional<std::int64_t>(line->amount));
        // The statistics switch is read for every line, as the window may change it meanwhile.
        BookComputedLine(*line, tables, dividing, settings.showAdvanced == 1);
    }
}

void Run(const std::filesystem::path& logPath, AnalysisTables& tables, const AppSettings& settings,
         RunFeedback& feedback, const RunScope& scope) {
    const std::int64_t start = NowMilliseconds();
    tables.mtList.Clear();
    tables.mtAdv.Clear();
    // The upserts must see every row, so the mob filter is off for the whole pass.
    const bool wasFiltered = tables.mtList.IsFiltered();
    tables.mtList.SetFiltered(false);
    tables.ownerClassVotes.fill(0);
    tables.classDotPool.fill(0);
    tables.mtDots.ClearLastUsed();

    if (!platform::FileExists(logPath)) {
        feedback.ShowStatus(kStatusNoFile);
        tables.mtList.SetFiltered(wasFiltered);
        feedback.TrimWorkingSet();
        return;
    }

    try {
        platform::SharedReadFile log(logPath);
        std::optional<FileRange> range;
        if (scope.fight)
            range.emplace(log, scope.fight->beginOffset, scope.fight->endOffset);
        ByteSource& source = range ? static_cast<ByteSource&>(*range) : log;
        const std::int32_t progressMax =
            ProgressMaximum(scope.fight ? scope.fight->endOffset - scope.fight->beginOffset : log.Size());
        feedback.SetProgressPosition(0);
        feedback.SetProgressMax(progressMax);
        feedback.ShowStatus(kStatusAnalysing);
        // Disconnected grids do not repaint for every booked line.
        feedback.SetDataViewEnabled(DataView::MainGrid, false);
        feedback.SetDataViewEnabled(DataView::ReferenceList, false);
        feedback.SetDataViewEnabled(DataView::Statistics, false);
        feedback.SetStatisticsWindowVisible(false);

        // The method is chosen once: a change made while the run pumps events waits for the next run.
        const bool dividing = settings.calcType != 0;
        const unsigned workers = WorkerThreads(scope);
        if (workers <= 1)
            BookLines(source, tables, settings, dividing, feedback, scope.fights);
        else
            BookComputedLines(source, tables, settings, dividing, feedback, scope.fights, workers);
        if (dividing)
            DivideClassDots(tables.mtList, tables.classDotPool);
        log.Close();

        feedback.SetProgressPosition(progressMax);
        tables.mtList.Sort("DmgAll Desc");
        tables.mtAdv.Sort("Char Asc,Skill Asc");
        feedback.MarkTotalDamageSorted();
    } catch (...) {
        // The log is closed by now; the rows booked so far stay, unsorted.
        tables.mtList.SetFiltered(wasFiltered);
        throw;
    }
    tables.mtList.SetFiltered(wasFiltered);
    feedback.SetDataViewEnabled(DataView::ReferenceList, true);
    feedback.SetDataViewEnabled(DataView::MainGrid, true);
    if (settings.showAdvanced == 1) {
        ComputeCriticalRates(tables.mtList, tables.mtAdv);
        AssignSkillClasses(tables.mtSkills, tables.mtDots, tables.mtAdv);
        feedback.SetDataViewEnabled(DataView::Statistics, true);
        feedback.SetStatisticsWindowVisible(true);
    }
    feedback.ShowStatus(std::string(kStatusDonePrefix) +
                        platform::FormatElapsedAsLongTime(NowMilliseconds() - start));
    feedback.TrimWorkingSet();
}

}  // namespace

void AnalysisRun(const std::filesystem::path& logPath, AnalysisTables& tables, const AppSettings& settings,
                 RunFeedback& feedback) {
    Run(logPath, tables, settings, feedback, {});
}

void AnalysisRun(const std::filesystem::path& logPath, AnalysisTables& tables, const AppSettings& settings,
                 RunFeedback& feedback, const RunScope& scope) {
    Run(logPath, tables, settings, feedback, scope);
}

void AnalysisRun(const std::filesystem::path& logPath, AnalysisTables& tables, const AppSettings& settings,
                 RunFeedback& feedback, FightSplitter& fights) {
    Run(logPath, tables, settings, feedback, RunScope{nullptr, &fights});
}

void FightAnalysisRun(const std::filesystem::path& logPath, const Fight& fight, AnalysisTables& tables,
                      const AppSettings& settings, RunFeedback& feedback) {
    Run(logPath, tables, settings, feedback, RunScope{&fight, nullptr});
}

std::vector<Fight> SplitLogIntoFights(const std::filesystem::path& logPath, std::int64_t gapSeconds) {
    platform::SharedReadFile log(logPath);
    LineReader reader(log);
    FightSplitter splitter(gapSeconds);
    std::string_view line;
    std::uint64_t lineNumber = 0;
    while (reader.Next(line))
        splitter.Add({line, ++lineNumber, reader.LineBegin(), reader.LineEnd()});
    return splitter.Fights();
}

}  // namespace tally
