#pragma once
// The command-line side of an analysis run: it keeps the last status and does nothing with windows.

#include "tallyscope/analysis_run.h"
#include "tallyscope/platform.h"

namespace tally::cli {

class ConsoleFeedback : public RunFeedback {
  public:
    std::string status;
    std::int32_t progressMax = 0;

    void ShowStatus(std::string_view text) override { status = text; }
    void SetProgressPosition(std::int32_t) override {}
    void SetProgressMax(std::int32_t maximum) override { progressMax = maximum; }
    void StepProgress() override {}
    void PumpEvents() override {}
    void SetDataViewEnabled(DataView, bool) override {}
    void SetStatisticsWindowVisible(bool) override {}
    void MarkTotalDamageSorted() override {}
    void TrimWorkingSet() override { platform::TrimWorkingSet(); }
};

}  // namespace tally::cli
