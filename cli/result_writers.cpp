#include "result_writers.h"

#include <cstdio>
#include <vector>

#include "tallyscope/codepage.h"
#include "tallyscope/damage_report.h"
#include "tallyscope/reference_tables.h"
#include "tallyscope/result_tables.h"

namespace tally::cli {
namespace {

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonText(std::string_view cp1251) {
    return JsonString(Cp1251ToUtf8(cp1251));
}

template <class T>
std::string JsonNumber(const std::optional<T>& value) {
    return value ? std::to_string(*value) : "null";
}

template <class Array>
std::string JsonArray(const Array& values) {
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(values[i]);
    }
    out += ']';
    return out;
}

// Width of a UTF-8 text on a terminal: one column per character.
std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++width;
    return width;
}

std::string Pad(const std::string& text, std::size_t width, bool right) {
    const std::size_t have = DisplayWidth(text);
    const std::string fill(have < width ? width - have : 0, ' ');
    return right ? fill + text : text + fill;
}

std::string CsvField(const std::string& utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string::npos)
        return utf8;
    std::string out = "\"";
    for (const char c : utf8)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string Critical(const CharacterRow& row, int decimals) {
    return row.critical ? FormatFixed4(*row.critical, decimals) : "";
}

// The row's damage per second over the fight, none when the fight has no duration.
std::optional<std::int64_t> Dps(const CharacterRow& row, const Fight& fight) {
    const auto seconds = fight.Duration();
    if (!seconds)
        return std::nullopt;
    return DamagePerSecond(row.dmgAll, *seconds);
}

std::string JsonOptionalText(const std::string& text, bool present) {
    return present ? JsonString(text) : "null";
}

std::string FightJson(const FightOutcome& entry) {
    const Fight& fight = entry.fight;
    return "{\"number\": " + std::to_string(fight.number) +
           ", \"first_line\": " + std::to_string(fight.firstLine) +
           ", \"last_line\": " + std::to_string(fight.lastLine) +
           ", \"start\": " + JsonOptionalText(fight.startText, fight.start.has_value()) +
           ", \"end\": " + JsonOptionalText(fight.endText, fight.end.has_value()) +
           ", \"duration\": " + JsonNumber(fight.Duration()) +
           ", \"damage\": " + std::to_string(entry.damage) + ", \"target\": " + JsonText(fight.target) +
           ", \"error\": " + (entry.error ? JsonString(*entry.error) : "null") + "}";
}

// Columns of text lined up for a terminal: right-aligned ones padded on the left, trailing blanks cut.
void WriteColumns(std::ostream& out, const std::vector<std::string>& titles,
                  const std::vector<bool>& rightAligned, const std::vector<std::vector<std::string>>& cells) {
    std::vector<std::size_t> widths;
    for (const auto& title : titles)
        widths.push_back(DisplayWidth(title));
    for (const auto& line : cells)
        for (std::size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(line[c]));
    auto printLine = [&](const std::vector<std::string>& line) {
        std::string text;
        for (std::size_t c = 0; c < line.size(); ++c)
            text += (c ? "  " : "") + Pad(line[c], widths[c], rightAligned[c]);
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        out << text << '\n';
    };
    printLine(titles);
    std::size_t total = 0;
    for (const auto width : widths)
        total += width;
    out << std::string(total + 2 * (widths.size() - 1), '-') << '\n';
    for (const auto& line : cells)
        printLine(line);
}

}  // namespace

void WriteJson(std::ostream& out, AnalysisTables& tables, const RunOutcome& outcome,
               const FightOutcome* fight) {
    out << "{\n  \"status\": " << JsonString(outcome.status)
        << ",\n  \"error\": " << (outcome.error ? JsonString(*outcome.error) : "null")
        << ",\n  \"hide_mobs\": " << (tables.mtList.IsFiltered() ? "true" : "false")
        << ",\n  \"progress_max\": " << outcome.progressMax << ",\n  \"list\": [";
    const char* separator = "\n    ";
    for (const CharacterRow& row : tables.mtList.Rows()) {
        out << separator << "{\"CharClass\": " << row.charClass
            << ", \"CharName\": " << JsonText(row.charName) << ", \"CharDamage\": " << row.charDamage
            << ", \"CharDots\": " << row.charDots << ", \"DmgAll\": " << row.dmgAll
            << ", \"Critical\": " << (row.critical ? JsonString(FormatFixed4(*row.critical, 4)) : "null");
        if (fight)
            out << ", \"DPS\": " << JsonNumber(Dps(row, fight->fight));
        out << "}";
        separator = ",\n    ";
    }
    out << "\n  ],\n  \"adv\": [";
    separator = "\n    ";
    for (const SkillStatRow& row : tables.mtAdv.Rows()) {
        out << separator << "{\"Char\": " << JsonText(row.charName) << ", \"Skill\": " << JsonText(row.skill)
            << ", \"AttCnt\": " << JsonNumber(row.attCnt) << ", \"CritCnt\": " << JsonNumber(row.critCnt)
            << ", \"AttDmg\": " << JsonNumber(row.attDmg) << ", \"Class\": " << JsonNumber(row.skillClass)
            << "}";
        separator = ",\n    ";
    }
    out << "\n  ],\n  \"dots\": [";
    separator = "\n    ";
    for (const DotRow& row : tables.mtDots.Rows()) {
        out << separator << "{\"ClassNo\": " << row.classNo << ", \"SkillName\": " << JsonText(row.skillName)
            << ", \"LastUsed\": " << JsonText(row.lastUsed) << "}";
        separator = ",\n    ";
    }
    out << "\n  ],\n  \"skills\": [";
    separator = "\n    ";
    for (const SkillRow& row : tables.mtSkills.Rows()) {
        out << separator << "{\"ClassNo\": " << row.classNo << ", \"SkillName\": " << JsonText(row.skillName)
            << "}";
        separator = ",\n    ";
    }
    out << "\n  ],\n  \"owner_class_votes\": " << JsonArray(tables.ownerClassVotes)
        << ",\n  \"class_dot_pool\": " << JsonArray(tables.classDotPool);
    if (fight)
        out << ",\n  \"fight\": " << FightJson(*fight);
    out << "\n}\n";
}

void WriteCsv(std::ostream& out, const CharacterTable& mtList, const Fight* fight) {
    out << "CharClass,CharName,CharDamage,CharDots,DmgAll,Critical" << (fight ? ",DPS" : "") << "\r\n";
    for (std::size_t pos = mtList.FirstVisible(); pos != kNoRow; pos = mtList.NextVisible(pos + 1)) {
        const CharacterRow& row = mtList.At(pos);
        out << row.charClass << ',' << CsvField(Cp1251ToUtf8(row.charName)) << ',' << row.charDamage << ','
            << row.charDots << ',' << row.dmgAll << ',' << Critical(row, 4);
        if (fight) {
            const auto dps = Dps(row, *fight);
            out << ',' << (dps ? std::to_string(*dps) : "");
        }
        out << "\r\n";
    }
}

void WriteTable(std::ostream& out, const CharacterTable& mtList, const RunOutcome& outcome,
                const Fight* fight) {
    std::vector<std::string> titles = {"Класс", "Персонаж", "Всего", "Скилы", "Доты", "% крита"};
    std::vector<bool> rightAligned = {false, false, true, true, true, true};
    constexpr std::size_t kDpsColumn = 3;
    if (fight) {
        titles.insert(titles.begin() + kDpsColumn, "ДПС");
        rightAligned.insert(rightAligned.begin() + kDpsColumn, true);
        out << "Бой " << FightSummary(*fight) << "\n\n";
    }
    std::vector<std::vector<std::string>> cells;
    for (std::size_t pos = mtList.FirstVisible(); pos != kNoRow; pos = mtList.NextVisible(pos + 1)) {
        const CharacterRow& row = mtList.At(pos);
        const bool known = row.charClass >= 0 && row.charClass < static_cast<std::int32_t>(ClassNames.size());
        std::vector<std::string> line = {
            known ? Cp1251ToUtf8(ClassNames[static_cast<std::size_t>(row.charClass)])
                  : std::to_string(row.charClass),
            Cp1251ToUtf8(row.charName),
            std::to_string(row.dmgAll),
            std::to_string(row.charDamage),
            std::to_string(row.charDots),
            Critical(row, 2)};
        if (fight) {
            const auto dps = Dps(row, *fight);
            line.insert(line.begin() + kDpsColumn, dps ? std::to_string(*dps) : "");
        }
        cells.push_back(std::move(line));
    }
    WriteColumns(out, titles, rightAligned, cells);
    out << '\n' << outcome.status << '\n';
    if (outcome.error)
        out << "Ошибка: " << *outcome.error << '\n';
}

void WriteFightsJson(std::ostream& out, std::int64_t gap, const std::vector<FightOutcome>& fights) {
    out << "{\"gap\": " << gap << ", \"fights\": [";
    const char* separator = "\n  ";
    for (const FightOutcome& fight : fights) {
        out << separator << FightJson(fight);
        separator = ",\n  ";
    }
    out << (fights.empty() ? "]}\n" : "\n]}\n");
}

void WriteFightsCsv(std::ostream& out, const std::vector<FightOutcome>& fights) {
    out << "number,first_line,last_line,start,end,duration,damage,target,error\r\n";
    for (const FightOutcome& entry : fights) {
        const Fight& fight = entry.fight;
        const auto duration = fight.Duration();
        out << fight.number << ',' << fight.firstLine << ',' << fight.lastLine << ',' << fight.startText
            << ',' << fight.endText << ',' << (duration ? std::to_string(*duration) : "") << ','
            << entry.damage << ',' << CsvField(Cp1251ToUtf8(fight.target)) << ','
            << CsvField(entry.error.value_or("")) << "\r\n";
    }
}

void WriteFightsTable(std::ostream& out, const std::vector<FightOutcome>& fights) {
    const std::vector<std::string> titles = {"Бой", "Строки", "Начало", "Конец", "Длится", "Урон", "Цель"};
    const std::vector<bool> rightAligned = {true, false, false, false, true, true, false};
    std::vector<std::vector<std::string>> cells;
    for (const FightOutcome& entry : fights) {
        const Fight& fight = entry.fight;
        const auto duration = fight.Duration();
        cells.push_back({"№" + std::to_string(fight.number),
                         std::to_string(fight.firstLine) + "–" + std::to_string(fight.lastLine),
                         fight.start ? FormatTimeOfDay(*fight.start) : "",
                         fight.end ? FormatTimeOfDay(*fight.end) : "",
                         duration ? FormatDuration(*duration) : "", std::to_string(entry.damage),
                         Cp1251ToUtf8(fight.target)});
    }
    WriteColumns(out, titles, rightAligned, cells);
    out << "\nБоёв: " << fights.size() << '\n';
    for (const FightOutcome& entry : fights)
        if (entry.error)
            out << "Ошибка в бою №" << entry.fight.number << ": " << *entry.error << '\n';
}

}  // namespace tally::cli
