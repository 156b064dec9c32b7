#include "result_writers.h"

#include <cstdio>
#include <vector>

#include "tallyscope/codepage.h"
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

}  // namespace

void WriteJson(std::ostream& out, AnalysisTables& tables, const RunOutcome& outcome) {
    out << "{\n  \"status\": " << JsonString(outcome.status)
        << ",\n  \"error\": " << (outcome.error ? JsonString(*outcome.error) : "null")
        << ",\n  \"hide_mobs\": " << (tables.mtList.IsFiltered() ? "true" : "false")
        << ",\n  \"progress_max\": " << outcome.progressMax << ",\n  \"list\": [";
    const char* separator = "\n    ";
    for (const CharacterRow& row : tables.mtList.Rows()) {
        out << separator << "{\"CharClass\": " << row.charClass
            << ", \"CharName\": " << JsonText(row.charName) << ", \"CharDamage\": " << row.charDamage
            << ", \"CharDots\": " << row.charDots << ", \"DmgAll\": " << row.dmgAll
            << ", \"Critical\": " << (row.critical ? JsonString(FormatFixed4(*row.critical, 4)) : "null")
            << "}";
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
        << ",\n  \"class_dot_pool\": " << JsonArray(tables.classDotPool) << "\n}\n";
}

void WriteCsv(std::ostream& out, const CharacterTable& mtList) {
    out << "CharClass,CharName,CharDamage,CharDots,DmgAll,Critical\r\n";
    for (std::size_t pos = mtList.FirstVisible(); pos != kNoRow; pos = mtList.NextVisible(pos + 1)) {
        const CharacterRow& row = mtList.At(pos);
        out << row.charClass << ',' << CsvField(Cp1251ToUtf8(row.charName)) << ',' << row.charDamage << ','
            << row.charDots << ',' << row.dmgAll << ',' << Critical(row, 4) << "\r\n";
    }
}

void WriteTable(std::ostream& out, const CharacterTable& mtList, const RunOutcome& outcome) {
    const std::vector<std::string> titles = {"Класс", "Персонаж", "Всего", "Скилы", "Доты", "% крита"};
    const std::vector<bool> rightAligned = {false, false, true, true, true, true};
    std::vector<std::vector<std::string>> cells;
    for (std::size_t pos = mtList.FirstVisible(); pos != kNoRow; pos = mtList.NextVisible(pos + 1)) {
        const CharacterRow& row = mtList.At(pos);
        const bool known = row.charClass >= 0 && row.charClass < static_cast<std::int32_t>(ClassNames.size());
        cells.push_back({known ? Cp1251ToUtf8(ClassNames[static_cast<std::size_t>(row.charClass)])
                               : std::to_string(row.charClass),
                         Cp1251ToUtf8(row.charName), std::to_string(row.dmgAll),
                         std::to_string(row.charDamage), std::to_string(row.charDots), Critical(row, 2)});
    }
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
    out << '\n' << outcome.status << '\n';
    if (outcome.error)
        out << "Ошибка: " << *outcome.error << '\n';
}

}  // namespace tally::cli
