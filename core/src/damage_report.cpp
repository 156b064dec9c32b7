#include "tallyscope/damage_report.h"

#include "tallyscope/codepage.h"
#include "tallyscope/reference_tables.h"

namespace tally {

std::string BuildDamageReport(CharacterTable& mtList) {
    constexpr std::string_view kLineEnd = "\r\n";
    std::string report = "Урон персонажей(в т.ч. доты):";
    report += kLineEnd;
    for (std::size_t pos = mtList.FirstVisible(); pos != kNoRow; pos = mtList.NextVisible(pos + 1)) {
        const CharacterRow& row = mtList.At(pos);
        if (row.charClass < 1 || row.charClass > 11)
            continue;
        report += Cp1251ToUtf8(row.charName) + " - " + std::to_string(row.dmgAll) + " (" +
                  std::to_string(row.charDots) + ")";
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

}  // namespace tally
