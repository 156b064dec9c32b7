// The reference lists shipped beside the program: written the way the analysis reads and compares
// them, and every listed skill found under its class. A name the analysis can never match (too long,
// a stray blank, a rank numeral) or a DoT skill listed twice fails silently at run time, so it is
// caught here.

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/reference_tables.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::U8;

const std::filesystem::path kDotsFile = TALLYSCOPE_RESOURCES "/dots.txt";
const std::filesystem::path kSkillsFile = TALLYSCOPE_RESOURCES "/skills.txt";

struct Entry {
    int classNo;
    std::string name;  // Windows-1251
};

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The entries of a shipped list. The files are written strictly: every line ends in CR LF, and every
// header is a class name in square brackets, classes 1 to 11 in order, each once.
std::vector<Entry> ReadShippedList(const std::filesystem::path& path) {
    const std::string bytes = ReadBytes(path);
    EXPECT_FALSE(bytes.empty()) << path;
    std::vector<Entry> entries;
    int classNo = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << path << ": the last line has no CR LF";
            break;
        }
        const std::string line = bytes.substr(start, end - start);
        start = end + 2;
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << path << ": a line end other than CR LF";
        if (line.find('[') != std::string::npos) {
            ++classNo;
            if (classNo > 11) {
                ADD_FAILURE() << path << ": a twelfth section " << U8(line);
                break;
            }
            std::string header = "[";
            header += ClassNames[static_cast<std::size_t>(classNo)];
            header += "]";
            EXPECT_EQ(line, header) << path;
            continue;
        }
        EXPECT_GE(classNo, 1) << path << ": an entry before the first header";
        entries.push_back({classNo, line});
    }
    EXPECT_EQ(classNo, 11) << path << ": not every class has a section";
    return entries;
}

TEST(ShippedLists, NamesAreWrittenAsTheAnalysisComparesThem) {
    // Phrases by which the analysis recognises a line or cuts its fields; in a skill name they would
    // change how a line naming that skill is read.
    const std::vector<std::string> phrases = {Cp("Магический урон"),
                                              Cp("Элементаль"),
                                              Cp("Святая"),
                                              Cp("использует"),
                                              Cp("наносит"),
                                              Cp("получает"),
                                              Cp("ед. "),
                                              Cp("урона"),
                                              Cp("Вы нанесли"),
                                              Cp("Команда"),
                                              Cp("Критический удар"),
                                              Cp("появляется"),
                                              Cp("персонажа"),
                                              Cp("отражает атаку"),
                                              ":",
                                              ".",
                                              "(",
                                              ")"};
    for (const auto& file : {kDotsFile, kSkillsFile}) {
        for (const auto& entry : ReadShippedList(file)) {
            const std::string shown = file.filename().string() + ": \"" + U8(entry.name) + "\"";
            ASSERT_FALSE(entry.name.empty()) << file << ": a blank line matches every line without a skill";
            EXPECT_GT(static_cast<unsigned char>(entry.name.front()), 32) << shown;
            EXPECT_GT(static_cast<unsigned char>(entry.name.back()), 32) << shown;
            // mtSkills keeps 30 characters of a name; a longer one would never match.
            EXPECT_LE(entry.name.size(), kSkillNameWidth) << shown;
            // Latin capitals I, V and X are stripped from the skill of a line before it is compared.
            for (const char c : entry.name)
                EXPECT_FALSE((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) << shown;
            for (const auto& phrase : phrases)
                EXPECT_EQ(entry.name.find(phrase), std::string::npos)
                    << shown << " holds \"" << U8(phrase) << "\"";
        }
    }
}

TEST(ShippedLists, EveryClassHasItsSkillsAndDotSkills) {
    std::map<int, int> skills;
    std::map<int, int> dots;
    for (const auto& entry : ReadShippedList(kSkillsFile))
        ++skills[entry.classNo];
    for (const auto& entry : ReadShippedList(kDotsFile))
        ++dots[entry.classNo];
    for (int classNo = 1; classNo <= 11; ++classNo) {
        SCOPED_TRACE(U8(ClassNames[static_cast<std::size_t>(classNo)]));
        EXPECT_GE(skills[classNo], 25);
        EXPECT_GE(dots[classNo], 3);
        EXPECT_LE(dots[classNo], 10);
    }
}

TEST(ShippedLists, EachNameStandsOnceAndDotSkillsOnlyInTheDotList) {
    // A skill under two classes resolves to the higher one; a DoT skill listed twice never finds its
    // last user; a DoT skill in skills.txt takes its class from there.
    std::set<std::string> names;
    for (const auto& file : {kSkillsFile, kDotsFile}) {
        for (const auto& entry : ReadShippedList(file))
            EXPECT_TRUE(names.insert(entry.name).second) << file.filename() << ": " << U8(entry.name);
    }
}

class ShippedTables : public ::testing::Test {
  protected:
    void SetUp() override { LoadReferenceTables(mtDots, mtSkills, kDotsFile, kSkillsFile); }
    DotTable mtDots;
    SkillTable mtSkills;
};

TEST_F(ShippedTables, EverySkillWrittenWithARankResolvesToItsClass) {
    for (const auto& entry : ReadShippedList(kSkillsFile)) {
        const std::string line = Cp("2026.12.09 21:14:03 : Ария использует: ") + entry.name +
                                 Cp(" IV. Манекен получает 300 ед. урона.");
        EXPECT_EQ(ResolveLineClass(line, mtSkills, mtDots), entry.classNo) << U8(line);
        EXPECT_FALSE(IsDotSkill(line, mtDots)) << U8(line);
    }
}

TEST_F(ShippedTables, EveryDotSkillResolvesToItsClassAndKeepsItsLastUser) {
    for (const auto& entry : ReadShippedList(kDotsFile)) {
        const std::string tick =
            Cp("2026.12.09 21:14:03 : ") + entry.name + Cp(" II: Манекен получает 45 ед. урона.");
        EXPECT_TRUE(IsDotSkill(tick, mtDots)) << U8(tick);
        EXPECT_EQ(ResolveLineClass(tick, mtSkills, mtDots), entry.classNo) << U8(tick);
        RecordDotUser(mtDots, Cp("Мира"), entry.name);
        EXPECT_EQ(FindDotLastUser(mtDots, entry.name), Cp("Мира")) << U8(entry.name);
    }
}

}  // namespace
}  // namespace tally
