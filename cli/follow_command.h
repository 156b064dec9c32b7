#pragma once
// tallyscope follow: shows the fight in progress while the game client writes the log.

#include "command_line.h"

namespace tally::cli {

// Follows the log until the process is interrupted. Returns the exit code when it cannot start.
int FollowLog(const AnalyzeOptions& options, AnalysisTables& tables);

}  // namespace tally::cli
