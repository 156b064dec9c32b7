#pragma once
// Shared parts of the fuzz targets: the check that stops the fuzzer on a broken rule, a reader of the
// fuzzer's bytes, scratch files, the line rules read off a whole input at once, and the invariants of
// the tables that every finished analysis run must hold.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/accounting.h"
#include "tallyscope/analysis_run.h"
#include "tallyscope/reference_tables.h"
#include "test_support.h"

// A rule that the input broke: the fuzzer keeps the input as a finding. The optional detail is a
// string literal.
#define FUZZ_CHECK(condition, ...)                                               \
    do {                                                                         \
        if (!(condition))                                                        \
            ::tally::fuzz::Fail(__FILE__, __LINE__, #condition, "" __VA_ARGS__); \
    } while (false)

// Two results that must be equal; both are printed when they are not.
#define FUZZ_CHECK_EQ(a, b, ...)                                                       \
    do {                                                                               \
        const auto& fuzzLeft = (a);                                                    \
        const auto& fuzzRight = (b);                                                   \
        if (!(fuzzLeft == fuzzRight))                                                  \
            ::tally::fuzz::Fail(__FILE__, __LINE__, #a " == " #b,                      \
                                std::string("" __VA_ARGS__) + "\n--- left:\n" +        \
                                    ::tally::fuzz::Show(fuzzLeft) + "\n--- right:\n" + \
                                    ::tally::fuzz::Show(fuzzRight));                   \
    } while (false)

namespace tally::fuzz {

[[noreturn]] inline void Fail(const char* file, int line, const char* condition, std::string_view detail) {
    std::fprintf(stderr, "%s:%d: broken rule: %s\n", file, line, condition);
    if (!detail.empty())
        std::fprintf(stderr, "%.*s\n", static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// Values as the failure message shows them; Windows-1251 text as UTF-8.
inline std::string Show(const std::string& text) {
    return test::U8(text);
}
inline std::string Show(std::string_view text) {
    return test::U8(text);
}
inline std::string Show(const std::optional<std::string>& text) {
    return text ? test::U8(*text) : std::string("(none)");
}
template <class Number>
std::string Show(const Number& number) {
    return std::to_string(number);
}

// Takes the fuzzer's bytes from the front: small numbers that choose how a target works, and
// pieces of the rest.
class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t Byte() {
        if (data_.empty())
            return 0;
        const auto byte = static_cast<std::uint8_t>(data_.front());
        data_.remove_prefix(1);
        return byte;
    }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }
    bool Flag() { return Byte() & 1; }
    // The next size bytes, or the rest when fewer are left.
    std::string_view Take(std::size_t size) {
        const std::string_view piece = data_.substr(0, size);
        data_.remove_prefix(piece.size());
        return piece;
    }
    // A piece of at most limit bytes, its length taken from the next word.
    std::string_view Piece(std::size_t limit) {
        const std::size_t size = std::min<std::size_t>({Word(), limit, data_.size()});
        const std::string_view piece = data_.substr(0, size);
        data_.remove_prefix(size);
        return piece;
    }
    // The pieces of the rest separated by sep.
    std::vector<std::string_view> Split(char sep) const {
        std::vector<std::string_view> pieces;
        std::string_view rest = data_;
        for (;;) {
            const std::size_t at = rest.find(sep);
            pieces.push_back(rest.substr(0, at));
            if (at == std::string_view::npos)
                return pieces;
            rest.remove_prefix(at + 1);
        }
    }
    std::string_view Rest() const { return data_; }

  private:
    std::string_view data_;
};

// A directory of this process for the files a target writes, removed at exit.
class Scratch {
  public:
    static Scratch& Get() {
        static Scratch scratch;
        return scratch;
    }
    std::filesystem::path Write(const std::string& name, std::string_view bytes) const {
        const auto path = dir_ / name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::filesystem::path Path(const std::string& name) const { return dir_ / name; }

  private:
    Scratch() {
        dir_ = std::filesystem::temp_directory_path() / ("tallyscope-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::filesystem::path dir_;
};

// A line as the line rules give it, read off the whole input at once.
struct PlainLine {
    std::string text;
    std::uint64_t begin = 0;
    std::uint64_t end = 0;        // past the line feed, or past the last byte
    std::uint64_t rawLength = 0;  // bytes before the line feed, carriage returns included
};

// The rules: the data ends at the first byte 26, lines end at LF, every carriage return is dropped,
// and what follows the last LF is a line when there is anything.
inline std::vector<PlainLine> PlainLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1a'));
    std::vector<PlainLine> lines;
    PlainLine line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            line.end = i + 1;
            lines.push_back(line);
            line = PlainLine{};
            line.begin = i + 1;
            continue;
        }
        ++line.rawLength;
        if (bytes[i] != '\r')
            line.text += bytes[i];
    }
    if (line.begin < bytes.size()) {
        line.end = bytes.size();
        lines.push_back(line);
    }
    return lines;
}

// The bytes a follower has handed over in full once it has read all of them: up to the end-of-file
// mark, or else up to the last line feed.
inline std::string_view CompleteLines(std::string_view bytes) {
    const std::size_t mark = bytes.find('\x1a');
    if (mark != std::string_view::npos)
        return bytes.substr(0, mark);
    const std::size_t lastLf = bytes.rfind('\n');
    return lastLf == std::string_view::npos ? std::string_view{} : bytes.substr(0, lastLf + 1);
}

// Reference tables loaded once from the shipped lists.
inline void LoadShippedLists(AnalysisTables& tables) {
    LoadReferenceTables(tables.mtDots, tables.mtSkills, TALLYSCOPE_RESOURCES "/dots.txt",
                        TALLYSCOPE_RESOURCES "/skills.txt");
}

// Every row and counter the tables hold, as raw bytes: cheaper than the tests' readable description,
// and shown as text only when two differ.
inline std::string Snapshot(const AnalysisTables& t) {
    auto number = [](const auto& value) { return value ? std::to_string(*value) : std::string("-"); };
    std::string out;
    for (const auto& row : t.mtList.Rows())
        out += "list " + std::to_string(row.charClass) + " " + row.charName + " " +
               std::to_string(row.charDamage) + " " + std::to_string(row.charDots) + " " +
               std::to_string(row.dmgAll) + " " + number(row.critical) + "\n";
    for (const auto& row : t.mtAdv.Rows())
        out += "adv " + row.charName + " " + row.skill + " " + number(row.attCnt) + " " +
               number(row.critCnt) + " " + number(row.attDmg) + " " + number(row.skillClass) + "\n";
    for (std::size_t pos = 0; pos < t.mtDots.RowCount(); ++pos)
        if (!t.mtDots.At(pos).lastUsed.empty())
            out += "dot " + std::to_string(pos) + " " + t.mtDots.At(pos).lastUsed + "\n";
    out += "votes";
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on " " + std::to_string.
    for (const auto vote : t.ownerClassVotes) {
        out += ' ';
        out += std::to_string(vote);
    }
    out += "\npool";
    for (const auto share : t.classDotPool) {
        out += ' ';
        out += std::to_string(share);
    }
    return out + "\n";
}

// What one run left behind.
struct RunOutcome {
    std::string tables;  // Snapshot
    std::optional<std::string> error;
    test::RecordingFeedback feedback;
};

inline RunOutcome RunAnalysis(const std::filesystem::path& log, AnalysisTables& tables,
                              const AppSettings& settings, bool hideMobs) {
    RunOutcome outcome;
    tables.mtList.SetFiltered(hideMobs);
    try {
        AnalysisRun(log, tables, settings, outcome.feedback);
    } catch (const std::exception& error) {
        outcome.error = error.what();
    }
    FUZZ_CHECK(tables.mtList.IsFiltered() == hideMobs, "the run restores the mob filter");
    outcome.tables = Snapshot(tables);
    return outcome;
}

// What every run that read its log to the end leaves in the tables, whatever the log held.
inline void CheckFinishedTables(const AnalysisTables& tables, const AppSettings& settings) {
    const auto& rows = tables.mtList.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CharacterRow& row = rows[i];
        FUZZ_CHECK(row.charClass >= 0 && row.charClass <= 12);
        FUZZ_CHECK(row.charName.size() <= kNameWidth);
        FUZZ_CHECK(row.charDamage >= 0 && row.charDots >= 0, "amounts are digits only, never negative");
        FUZZ_CHECK(row.dmgAll == row.charDamage + row.charDots);
        FUZZ_CHECK(i == 0 || rows[i - 1].dmgAll >= row.dmgAll, "sorted by total damage, descending");
        if (row.critical)
            FUZZ_CHECK(settings.showAdvanced == 1 && *row.critical >= 0 && *row.critical <= 1000000);
        // Names shorter than the field are stored whole, so the upsert finds them: one row each.
        if (row.charName.size() < kNameWidth)
            for (std::size_t j = 0; j < i; ++j)
                FUZZ_CHECK(rows[j].charName != row.charName, "one row per character");
    }
    const bool statistics = settings.calcType == 0 && settings.showAdvanced == 1;
    FUZZ_CHECK(statistics || tables.mtAdv.RowCount() == 0, "only Method 1 with statistics fills mtAdv");
    for (const SkillStatRow& row : tables.mtAdv.Rows()) {
        FUZZ_CHECK(row.attCnt && *row.attCnt >= 1);
        FUZZ_CHECK(row.critCnt && *row.critCnt >= 0 && *row.critCnt <= *row.attCnt);
        FUZZ_CHECK(row.attDmg && *row.attDmg >= 0);
        FUZZ_CHECK(row.skillClass && *row.skillClass <= 12, "statistics rows get a class after the run");
    }
}

// The rows of mtList without their critical rates, which depend on the statistics and the filter.
inline std::string RowsWithoutRates(const CharacterTable& mtList) {
    std::string out;
    for (const CharacterRow& row : mtList.Rows())
        out += std::to_string(row.charClass) + " " + row.charName + " " + std::to_string(row.charDamage) +
               " " + std::to_string(row.charDots) + " " + std::to_string(row.dmgAll) + "\n";
    return out;
}

}  // namespace tally::fuzz
