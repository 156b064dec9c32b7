#pragma once
// The arguments of `tallyscope analyze`.

#include <optional>
#include <string>
#include <vector>

#include "tallyscope/analysis_run.h"

namespace tally::cli {

enum class OutputFormat { Table, Json, Csv, Report };

struct AnalyzeOptions {
    std::string logPath;
    AppSettings settings;
    bool hideMobs = false;
    std::string dotsFile = "dots.txt";
    std::string skillsFile = "skills.txt";
    OutputFormat format = OutputFormat::Table;
};

struct ParsedCommandLine {
    std::optional<AnalyzeOptions> options;  // empty: a usage error or a request for help
    bool helpRequested = false;
    std::string error;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

extern const char* const kUsage;

}  // namespace tally::cli
