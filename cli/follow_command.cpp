#include "follow_command.h"

#include <chrono>
#include <iostream>
#include <sstream>
#include <thread>

#include "result_writers.h"
#include "tallyscope/live_analysis.h"
#include "tallyscope/log_follower.h"
#include "tallyscope/platform.h"

namespace tally::cli {
namespace {

constexpr std::string_view kStatusFollowing = "Следим за логом";
constexpr std::string_view kStatusRestarted = "Лог начат заново: следим с его начала";
constexpr std::string_view kStatusMissing = "Лог не найден: ждём, пока игра создаст его снова";
// Home the cursor and clear the screen, so that the table is redrawn in place.
constexpr std::string_view kRedraw = "\x1b[H\x1b[2J";

// The pretty JSON of a run written on one line: no raw line break stands inside its strings.
std::string OnOneLine(const std::string& json) {
    std::string line;
    line.reserve(json.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
        if (json[i] != '\n') {
            line += json[i];
            continue;
        }
        while (i + 1 < json.size() && json[i + 1] == ' ')
            ++i;
    }
    return line;
}

void Show(const LiveAnalysis& live, AnalysisTables& tables, const std::string& status, bool terminal) {
    live.ShowCurrentFight(tables);
    RunOutcome outcome;
    outcome.status = status;
    outcome.error = live.CurrentFightError();
    const Fight* fight = live.CurrentFight();
    std::optional<FightOutcome> entry;
    if (fight) {
        outcome.progressMax = ProgressMaximum(fight->endOffset - fight->beginOffset);
        entry.emplace();
        entry->fight = *fight;
        for (const CharacterRow& row : tables.mtList.Rows())
            entry->damage += row.dmgAll;
        entry->error = outcome.error;
    }
    if (terminal) {
        std::cout << kRedraw;
        if (!fight)
            std::cout << "Боя пока нет\n\n";
        WriteTable(std::cout, tables.mtList, outcome, fight);
        std::cout << "Строк: " << live.LinesBooked() << ", боёв в логе: " << live.Fights().size() << '\n';
    } else {
        std::ostringstream json;
        WriteJson(json, tables, outcome, entry ? &*entry : nullptr);
        std::string line = OnOneLine(json.str());
        if (!fight)  // the key is always there, so that a reader can rely on it
            line.insert(line.size() - 1, ",\"fight\": null");
        std::cout << line << '\n';
    }
    std::cout.flush();
}

}  // namespace

int FollowLog(const AnalyzeOptions& options, AnalysisTables& tables) {
    LiveSettings settings;
    settings.settings = options.settings;
    settings.hideMobs = options.hideMobs;
    settings.gap = options.gap;
    LiveAnalysis live(tables.mtDots, tables.mtSkills, settings);
    LogFollower follower(options.logPath);
    const bool terminal = platform::StandardOutputIsTerminal();
    bool first = true;
    bool missing = false;
    for (;;) {
        const auto progress = follower.Read(UINT64_MAX, live);
        if (progress.missing != missing) {
            missing = progress.missing;
            std::cerr << "tallyscope: " << (missing ? kStatusMissing : kStatusFollowing) << " ("
                      << options.logPath << ")" << (progress.error.empty() ? "" : ": " + progress.error)
                      << "\n";
        }
        if (progress.restarted)
            std::cerr << "tallyscope: " << kStatusRestarted << "\n";
        if (first || progress.bytesRead > 0 || progress.restarted) {
            Show(live, tables, std::string(progress.restarted ? kStatusRestarted : kStatusFollowing),
                 terminal);
            first = false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(options.intervalMilliseconds));
    }
}

}  // namespace tally::cli
