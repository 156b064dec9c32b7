#pragma once
// The arguments of `tallyscope analyze`, `tallyscope fights` and `tallyscope follow`.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tallyscope/analysis_run.h"
#include "tallyscope/fights.h"

namespace tally::cli {

enum class Command { Analyze, Fights, Follow };
enum class OutputFormat { Table, Json, Csv, Report };

struct AnalyzeOptions {
    Command command = Command::Analyze;
    std::string logPath;
    AppSettings settings;
    bool hideMobs = false;
    std::string dotsFile = "dots.txt";
    std::string skillsFile = "skills.txt";
    OutputFormat format = OutputFormat::Table;
    std::optional<int> fight;  // analyze only this fight, counted from 1
    std::int64_t gap = kDefaultFightGap;
    int intervalMilliseconds = 1000;  // follow: how often the log is read
    unsigned threads = 0;             // threads working out lines; 0: one per processor
};

struct ParsedCommandLine {
    std::optional<AnalyzeOptions> options;  // empty: a usage error or a request for help
    bool helpRequested = false;
    std::string error;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

extern const char* const kUsage;

}  // namespace tally::cli
