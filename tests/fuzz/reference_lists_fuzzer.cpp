// The reference-list loader over arbitrary bytes as dots.txt and skills.txt: the tables hold the
// entries of a plain reading of each file (a line with "[" is a header that selects the class its
// last bracketed name names, every other line an entry), ordered by class and, within a class, in
// reverse file order; every lookup answers what a scan of the rows answers; and an analysis of a
// small log that uses the loaded skills runs to its end with tables that hold the invariants.

#include <cstdint>
#include <set>

#include "fuzz_support.h"

namespace tally::fuzz {
namespace {

// The text between a start marker and the end marker after it; with several, the last one; empty
// when the last start marker has no end marker after it.
std::string_view Between(std::string_view text, std::string_view start, std::string_view end) {
    std::string_view result;
    for (;;) {
        const std::size_t at = text.find(start);
        if (at == std::string_view::npos)
            return result;
        text.remove_prefix(at + start.size());
        const std::size_t endAt = text.find(end);
        if (endAt == std::string_view::npos)
            return {};
        result = text.substr(0, endAt);
        text.remove_prefix(endAt + end.size());
    }
}

struct Entry {
    std::int32_t classNo;
    std::string name;
};

// The rows a list gives, in table order.
std::vector<Entry> ExpectedRows(std::string_view bytes, std::size_t width) {
    std::vector<Entry> inFileOrder;
    std::int32_t current = 0;
    for (const PlainLine& line : PlainLines(bytes)) {
        if (line.text.find('[') != std::string::npos) {
            const std::string_view section = Between(line.text, "[", "]");
            for (std::int32_t k = 1; k <= 11; ++k)
                if (section == ClassNames[k]) {
                    current = k;
                    break;
                }
            continue;
        }
        inFileOrder.push_back({current, line.text.substr(0, width)});
    }
    std::vector<Entry> rows;
    for (std::int32_t k = 0; k <= 11; ++k)
        for (auto it = inFileOrder.rbegin(); it != inFileOrder.rend(); ++it)
            if (it->classNo == k)
                rows.push_back(*it);
    return rows;
}

template <class Row>
std::int32_t ScannedLastClass(const std::vector<Row>& rows, std::string_view key) {
    std::int32_t result = 0;
    for (const Row& row : rows)
        if (row.skillName == key)
            result = row.classNo;
    return result;
}

// Every lookup of the indexed tables against a scan of their rows, for the keys given.
void CheckLookups(AnalysisTables& tables, const std::vector<std::string>& keys) {
    std::vector<std::string> lastUsed(tables.mtDots.RowCount());
    int user = 0;
    for (const std::string& key : keys) {
        FUZZ_CHECK_EQ(tables.mtSkills.LastClassOf(key), ScannedLastClass(tables.mtSkills.Rows(), key));
        FUZZ_CHECK_EQ(tables.mtDots.LastClassOf(key), ScannedLastClass(tables.mtDots.Rows(), key));
        std::optional<std::size_t> first, last;
        for (std::size_t pos = 0; pos < tables.mtDots.RowCount(); ++pos)
            if (tables.mtDots.At(pos).skillName == key) {
                if (!first)
                    first = pos;
                last = pos;
            }
        FUZZ_CHECK_EQ(tables.mtDots.Lists(key), first.has_value());
        // Names of every length, some beyond the width of LastUsed.
        const std::string name =
            test::Cp("Мира") + std::string(static_cast<std::size_t>(user++ % 7) * 9, 'a');
        tables.mtDots.RecordUser(key, name);
        if (first)
            lastUsed[*first] = name.substr(0, kLastUsedWidth);
        FUZZ_CHECK_EQ(std::string(tables.mtDots.LastUser(key)), last ? lastUsed[*last] : std::string());
    }
    for (std::size_t pos = 0; pos < tables.mtDots.RowCount(); ++pos)
        FUZZ_CHECK_EQ(tables.mtDots.At(pos).lastUsed, lastUsed[pos], "RecordUser writes the first row only");
    tables.mtDots.ClearLastUsed();
}

// A small log that applies, ticks and uses the first skills of the lists.
std::string LogUsing(const std::vector<std::string>& skills) {
    std::string log = test::Cp("2026.12.09 20:41:00 : Вы нанесли 134 ед. урона цели Страж крепости.\r\n");
    int second = 0;
    for (const std::string& skill : skills) {
        const std::string time = "2026.12.09 20:41:" + std::to_string(10 + second++ % 50) + " : ";
        log += time + test::Cp("Мира использует: ") + skill + " IV.\r\n";
        log += time + skill + test::Cp(" II: Моб получает 45 ед. урона.\r\n");
        log +=
            time + test::Cp("Ария использует: ") + skill + test::Cp(" IV. Моб получает 300 ед. урона.\r\n");
        log +=
            time + test::Cp("Критический удар! ") + skill + test::Cp(" III: Моб получает 90 ед. урона.\r\n");
    }
    return log;
}

std::string DescribeReferenceRows(const AnalysisTables& tables) {
    std::string out;
    for (const SkillRow& row : tables.mtSkills.Rows())
        out += "skill " + std::to_string(row.classNo) + " " + row.skillName + "\n";
    for (const DotRow& row : tables.mtDots.Rows())
        out += "dot " + std::to_string(row.classNo) + " " + row.skillName + "\n";
    return out;
}

}  // namespace
}  // namespace tally::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tally;
    using namespace tally::fuzz;
    Bytes input(data, size);
    const std::string_view dots = input.Piece(1 << 16);
    const std::string_view skills = input.Rest();
    const auto dotsFile = Scratch::Get().Write("dots.txt", dots);
    const auto skillsFile = Scratch::Get().Write("skills.txt", skills);

    AnalysisTables tables;
    LoadReferenceTables(tables.mtDots, tables.mtSkills, dotsFile, skillsFile);

    const std::vector<Entry> expectedDots = ExpectedRows(dots, std::string::npos);
    const std::vector<Entry> expectedSkills = ExpectedRows(skills, kSkillNameWidth);
    FUZZ_CHECK_EQ(tables.mtDots.RowCount(), expectedDots.size());
    FUZZ_CHECK_EQ(tables.mtSkills.RowCount(), expectedSkills.size());
    for (std::size_t i = 0; i < expectedDots.size(); ++i) {
        FUZZ_CHECK_EQ(tables.mtDots.At(i).classNo, expectedDots[i].classNo);
        FUZZ_CHECK_EQ(tables.mtDots.At(i).skillName, expectedDots[i].name);
        FUZZ_CHECK(tables.mtDots.At(i).lastUsed.empty());
    }
    for (std::size_t i = 0; i < expectedSkills.size(); ++i) {
        FUZZ_CHECK_EQ(tables.mtSkills.At(i).classNo, expectedSkills[i].classNo);
        FUZZ_CHECK_EQ(tables.mtSkills.At(i).skillName, expectedSkills[i].name);
    }

    // The names of the lists, as stored and as written, and a few that no list holds.
    std::set<std::string> distinct{"", " ", test::Cp("Автоатака")};
    std::vector<std::string> used;
    for (const auto* rows : {&expectedDots, &expectedSkills})
        for (const Entry& entry : *rows) {
            if (distinct.size() > 64)
                break;
            distinct.insert(entry.name);
            distinct.insert(entry.name.substr(0, kSkillNameWidth));
            distinct.insert(entry.name + " ");
            if (used.size() < 12 && !entry.name.empty())
                used.push_back(entry.name);
        }
    CheckLookups(tables, std::vector<std::string>(distinct.begin(), distinct.end()));

    // An analysis with the loaded lists: both methods, with statistics, end without a fault, and the
    // lists come out as they went in, but for the last users.
    const std::string before = DescribeReferenceRows(tables);
    const auto log = Scratch::Get().Write("Chat.log", LogUsing(used));
    for (const AppSettings settings : {AppSettings{0, 0, 0, 1}, AppSettings{1, 0, 0, 1}}) {
        const RunOutcome run = RunAnalysis(log, tables, settings, false);
        if (!run.error)
            CheckFinishedTables(tables, settings);
        FUZZ_CHECK_EQ(DescribeReferenceRows(tables), before, "a run changes only the last users");
    }
    return 0;
}
