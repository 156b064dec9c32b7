// tallyscope analyze: reads a chat log and prints the damage of every character, over the whole log
// or one fight. tallyscope fights: lists the fights of a log. tallyscope follow: shows the fight in
// progress while the game writes the log.

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "console_feedback.h"
#include "follow_command.h"
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

// The reference lists and the mob filter, as at the desktop start-up: a list that cannot be read stops
// the loading there and the program goes on with what it has.
void PrepareTables(const cli::AnalyzeOptions& options, AnalysisTables& tables) {
    try {
        LoadReferenceTables(tables.mtDots, tables.mtSkills, platform::PathFromUtf8(options.dotsFile),
                            platform::PathFromUtf8(options.skillsFile));
    } catch (const std::exception& error) {
        std::cerr << "tallyscope: " << error.what() << "\n";
    }
    tables.mtList.SetFiltered(options.hideMobs);
}

int NoLogFile(const cli::AnalyzeOptions& options) {
    std::cerr << "tallyscope: " << kStatusNoFile << " (" << options.logPath << ")\n";
    return kNoLogFile;
}

// A run over the whole log, or over one fight when fight is given.
cli::RunOutcome RunOnce(const cli::AnalyzeOptions& options, AnalysisTables& tables, const Fight* fight) {
    cli::ConsoleFeedback feedback;
    cli::RunOutcome outcome;
    try {
        RunScope scope;
        scope.fight = fight;
        scope.threads = options.threads;
        AnalysisRun(platform::PathFromUtf8(options.logPath), tables, options.settings, feedback, scope);
    } catch (const std::exception& error) {
        outcome.error = error.what();
    }
    outcome.status = feedback.status;
    outcome.progressMax = feedback.progressMax;
    return outcome;
}

std::int64_t TotalDamage(const CharacterTable& mtList) {
    std::int64_t total = 0;
    for (const CharacterRow& row : mtList.Rows())
        total += row.dmgAll;
    return total;
}

int Analyze(const cli::AnalyzeOptions& options) {
    AnalysisTables tables;
    PrepareTables(options, tables);

    std::optional<cli::FightOutcome> fight;
    if (options.fight) {
        const std::filesystem::path path(options.logPath);
        if (!platform::FileExists(path))
            return NoLogFile(options);
        const auto fights = SplitLogIntoFights(path, options.gap);
        if (*options.fight > static_cast<int>(fights.size())) {
            std::cerr << "tallyscope: there is no fight " << *options.fight << ": the log has "
                      << fights.size() << (fights.size() == 1 ? " fight" : " fights") << " (gap "
                      << options.gap << " s)\n";
            return kUsageError;
        }
        fight.emplace();
        fight->fight = fights[static_cast<std::size_t>(*options.fight - 1)];
    }

    const cli::RunOutcome outcome = RunOnce(options, tables, fight ? &fight->fight : nullptr);
    if (fight) {
        fight->damage = TotalDamage(tables.mtList);
        fight->error = outcome.error;
    }
    const Fight* shown = fight ? &fight->fight : nullptr;
    switch (options.format) {
        case cli::OutputFormat::Json:
            cli::WriteJson(std::cout, tables, outcome, fight ? &*fight : nullptr);
            break;
        case cli::OutputFormat::Csv:
            cli::WriteCsv(std::cout, tables.mtList, shown);
            break;
        case cli::OutputFormat::Report:
            std::cout << (shown ? BuildFightDamageReport(tables.mtList, *shown)
                                : BuildDamageReport(tables.mtList));
            break;
        case cli::OutputFormat::Table:
            cli::WriteTable(std::cout, tables.mtList, outcome, shown);
            break;
    }
    std::cout.flush();
    if (outcome.error) {
        if (options.format != cli::OutputFormat::Table)
            std::cerr << "tallyscope: " << *outcome.error << "\n";
        return kRunFailed;
    }
    if (outcome.status == kStatusNoFile)
        return NoLogFile(options);
    return kCompleted;
}

int ListFights(const cli::AnalyzeOptions& options) {
    const std::filesystem::path path(options.logPath);
    if (!platform::FileExists(path))
        return NoLogFile(options);
    AnalysisTables tables;
    PrepareTables(options, tables);
    std::vector<cli::FightOutcome> listing;
    for (const Fight& fight : SplitLogIntoFights(path, options.gap)) {
        const cli::RunOutcome outcome = RunOnce(options, tables, &fight);
        listing.push_back({fight, TotalDamage(tables.mtList), outcome.error});
    }
    switch (options.format) {
        case cli::OutputFormat::Json:
            cli::WriteFightsJson(std::cout, options.gap, listing);
            break;
        case cli::OutputFormat::Csv:
            cli::WriteFightsCsv(std::cout, listing);
            break;
        case cli::OutputFormat::Report:
        case cli::OutputFormat::Table:
            cli::WriteFightsTable(std::cout, listing);
            break;
    }
    std::cout.flush();
    bool failed = false;
    for (const auto& entry : listing)
        if (entry.error) {
            failed = true;
            if (options.format != cli::OutputFormat::Table)
                std::cerr << "tallyscope: fight " << entry.fight.number << ": " << *entry.error << "\n";
        }
    return failed ? kRunFailed : kCompleted;
}

int Follow(const cli::AnalyzeOptions& options) {
    if (!platform::FileExists(std::filesystem::path(options.logPath)))
        return NoLogFile(options);
    AnalysisTables tables;
    PrepareTables(options, tables);
    return cli::FollowLog(options, tables);
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
        switch (parsed.options->command) {
            case cli::Command::Fights:
                return ListFights(*parsed.options);
            case cli::Command::Follow:
                return Follow(*parsed.options);
            case cli::Command::Analyze:
                break;
        }
        return Analyze(*parsed.options);
    } catch (const std::exception& error) {
        std::cerr << "tallyscope: " << error.what() << "\n";
        return kRunFailed;
    }
}
