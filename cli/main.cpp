// tallyscope analyze: reads a chat log and prints the damage of every character.

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "result_writers.h"
#include "standard_streams.h"
#include "tallyscope/analysis_run.h"
#include "tallyscope/damage_report.h"
#include "tallyscope/errors.h"
#include "tallyscope/platform.h"
#include "tallyscope/reference_tables.h"

namespace {

using namespace tally;

enum ExitCode { kCompleted = 0, kRunFailed = 1, kUsageError = 2, kNoLogFile = 3 };

// The command-line side of a run: it keeps the last status and does nothing with the windows.
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

int Analyze(const cli::AnalyzeOptions& options) {
    AnalysisTables tables;
    try {
        LoadReferenceTables(tables.mtDots, tables.mtSkills, platform::PathFromUtf8(options.dotsFile),
                            platform::PathFromUtf8(options.skillsFile));
    } catch (const std::exception& error) {
        // As at the desktop start-up: the loading stops there and the program goes on with what it has.
        std::cerr << "tallyscope: " << error.what() << "\n";
    }
    tables.mtList.SetFiltered(options.hideMobs);

    ConsoleFeedback feedback;
    cli::RunOutcome outcome;
    try {
        AnalysisRun(platform::PathFromUtf8(options.logPath), tables, options.settings, feedback);
    } catch (const std::exception& error) {
        outcome.error = error.what();
    }
    outcome.status = feedback.status;
    outcome.progressMax = feedback.progressMax;

    switch (options.format) {
        case cli::OutputFormat::Json:
            cli::WriteJson(std::cout, tables, outcome);
            break;
        case cli::OutputFormat::Csv:
            cli::WriteCsv(std::cout, tables.mtList);
            break;
        case cli::OutputFormat::Report:
            std::cout << BuildDamageReport(tables.mtList);
            break;
        case cli::OutputFormat::Table:
            cli::WriteTable(std::cout, tables.mtList, outcome);
            break;
    }
    std::cout.flush();
    if (outcome.error) {
        if (options.format != cli::OutputFormat::Table)
            std::cerr << "tallyscope: " << *outcome.error << "\n";
        return kRunFailed;
    }
    if (outcome.status == kStatusNoFile) {
        std::cerr << "tallyscope: " << kStatusNoFile << " (" << options.logPath << ")\n";
        return kNoLogFile;
    }
    return kCompleted;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");  // the user's time format for the elapsed time
    std::setlocale(LC_NUMERIC, "C");
    tally::cli::PrepareStandardStreams();
    const std::vector<std::string> arguments = tally::cli::CommandLineArguments(argc, argv);
    const auto parsed = cli::ParseCommandLine(arguments);
    if (parsed.helpRequested) {
        std::cout << cli::kUsage;
        return kCompleted;
    }
    if (!parsed.options) {
        std::cerr << "tallyscope: " << parsed.error << "\n\n" << cli::kUsage;
        return kUsageError;
    }
    try {
        return Analyze(*parsed.options);
    } catch (const std::exception& error) {
        std::cerr << "tallyscope: " << error.what() << "\n";
        return kRunFailed;
    }
}
