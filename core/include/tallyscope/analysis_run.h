#pragma once
// One complete pass over a chat log: what happens when the user presses the calculate button.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "tallyscope/accounting.h"
#include "tallyscope/fights.h"

namespace tally {

// The process-wide user switches. The run reads CalcType (0: Method 1, otherwise Method 2) when it
// starts and ShowAdvanced (statistics only when exactly 1) for every line and after the last one, so
// a change made while the run pumps events takes effect from the next line.
struct AppSettings {
    std::int32_t calcType = 0;
    std::int32_t showDots = 0;
    std::int32_t hideMobs = 0;
    std::int32_t showAdvanced = 0;
};

enum class DataView { MainGrid, ReferenceList, Statistics };

// How a run reports to the front end. Texts are UTF-8.
class RunFeedback {
  public:
    virtual ~RunFeedback() = default;
    virtual void ShowStatus(std::string_view text) = 0;
    virtual void SetProgressPosition(std::int32_t position) = 0;
    virtual void SetProgressMax(std::int32_t maximum) = 0;
    virtual void StepProgress() = 0;
    virtual void PumpEvents() = 0;
    virtual void SetDataViewEnabled(DataView view, bool enabled) = 0;
    virtual void SetStatisticsWindowVisible(bool visible) = 0;
    virtual void MarkTotalDamageSorted() = 0;
    virtual void TrimWorkingSet() = 0;
};

inline constexpr std::string_view kStatusNoFile = "Файла не существует!";
inline constexpr std::string_view kStatusAnalysing = "Анализируем лог...";
inline constexpr std::string_view kStatusDonePrefix = "Готов! Время выполнения: ";

// The progress maximum for a log of this size: (size div 128) * 1.33, half to even.
std::int32_t ProgressMaximum(std::uint64_t sizeInBytes);

// Runs the analysis of the log at logPath. Errors (a log that cannot be opened or read, an amount
// that cannot be read) end the run and propagate; the log is closed, the row filter of mtList is
// restored to its state before the run, and the rows booked so far stay, unsorted.
void AnalysisRun(const std::filesystem::path& logPath, AnalysisTables& tables, const AppSettings& settings,
                 RunFeedback& feedback);

// Which part of the log a run reads, what else it does with the lines, and on how many threads.
struct RunScope {
    const Fight* fight = nullptr;     // only this fight's bytes; the whole log when null
    FightSplitter* fights = nullptr;  // also splits the log into fights
    // Threads that work out the lines while the calling thread books them in log order; 0 for one per
    // processor. With one (or on a machine with one processor) the calling thread does it all.
    unsigned threads = 0;
};

void AnalysisRun(const std::filesystem::path& logPath, AnalysisTables& tables, const AppSettings& settings,
                 RunFeedback& feedback, const RunScope& scope);

// The same run, which also splits the log into fights: every line it reads goes to fights as well.
void AnalysisRun(const std::filesystem::path& logPath, AnalysisTables& tables, const AppSettings& settings,
                 RunFeedback& feedback, FightSplitter& fights);

// The run over the lines of one fight alone, from empty tables: what the whole-log run would give had
// the log been cleared just before the fight and analysed just after it. The progress maximum comes
// from the size of the fight's bytes.
void FightAnalysisRun(const std::filesystem::path& logPath, const Fight& fight, AnalysisTables& tables,
                      const AppSettings& settings, RunFeedback& feedback);

// Reads the log only to split it into fights, booking nothing. Throws FileError when the log cannot be
// opened or read.
std::vector<Fight> SplitLogIntoFights(const std::filesystem::path& logPath, std::int64_t gapSeconds);

}  // namespace tally
