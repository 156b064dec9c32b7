#include "tallyscope/damage_report.h"

#include "tallyscope/codepage.h"
#include "tallyscope/reference_tables.h"

namespace tally {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kPlayersHeading = "Урон персонажей(в т.ч. доты)";

std::string Report(CharacterTable& mtList, const Fight* fight) {
    std::string report(kPlayersHeading);
    if (fight)
        report += ", " + FightCaption(*fight);
    report += ':';
    report += kLineEnd;
    const std::optional<std::int64_t> seconds = fight ? fight->Duration() : std::nullopt;
    for (std::size_t pos = mtList.FirstVisible(); pos != kNoRow; pos = mtList.NextVisible(pos + 1)) {
        const CharacterRow& row = mtList.At(pos);
        if (row.charClass < 1 || row.charClass > 11)
            continue;
        report += Cp1251ToUtf8(row.charName) + " - " + std::to_string(row.dmgAll) + " (" +
                  std::to_string(row.charDots) + ")";
        if (seconds) {
            report += ' ';
            report += std::to_string(DamagePerSecond(row.dmgAll, *seconds));
            report += " ДПС";
        }
        report += kLineEnd;
    }
    report += '\r';  // the separator line is a lone carriage return
    report += kLineEnd;
    report += "Урон от ГС:";
    report += kLineEnd;
    for (std::size_t pos = mtList.FirstVisible(); pos != kNoRow; pos = mtList.NextVisible(pos + 1)) {
        const CharacterRow& row = mtList.At(pos);
        if (row.charClass != kSummonClass)
            continue;
        report += Cp1251ToUtf8(row.charName) + " - " + std::to_string(row.dmgAll);
        report += kLineEnd;
    }
    // The walks leave the table standing on its last row.
    if (const std::size_t last = mtList.LastVisible(); last != kNoRow)
        mtList.SetCurrent(last);
    return report;
}

}  // namespace

std::string BuildDamageReport(CharacterTable& mtList) {
    return Report(mtList, nullptr);
}

std::string BuildFightDamageReport(CharacterTable& mtList, const Fight& fight) {
    return Report(mtList, &fight);
}

// Built by appending: GCC 12 warns falsely about chains of operator+ on strings at -O3.
std::string FightCaption(const Fight& fight) {
    std::string caption = "бой №";
    caption += std::to_string(fight.number);
    if (const auto seconds = fight.Duration()) {
        caption += ' ';
        caption += FormatTimeOfDay(*fight.start);
        caption += "–";
        caption += FormatTimeOfDay(*fight.end);
        caption += " (";
        caption += FormatDuration(*seconds);
        caption += ')';
    }
    return caption;
}

std::string FightSummary(const Fight& fight) {
    std::string summary = "№";
    summary += std::to_string(fight.number);
    if (const auto seconds = fight.Duration()) {
        summary += "  ";
        summary += FormatTimeOfDay(*fight.start);
        summary += "–";
        summary += FormatTimeOfDay(*fight.end);
        summary += "  ";
        summary += FormatDuration(*seconds);
    }
    if (!fight.target.empty()) {
        summary += "  ";
        summary += Cp1251ToUtf8(fight.target);
    }
    return summary;
}

}  // namespace tally
