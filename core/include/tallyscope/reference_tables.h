#pragma once
// The reference lists beside the program: skills.txt (the skills of each class) and dots.txt (the DoT
// skills of each class), loaded into mtSkills and mtDots; class resolution of a log line and the
// last-user memory of DoT skills.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/result_tables.h"
#include "tallyscope/table.h"
#include "tallyscope/text_index.h"

namespace tally {

inline constexpr std::int32_t kNpcClass = 0;
inline constexpr std::int32_t kSummonClass = 12;
inline constexpr std::size_t kSkillNameWidth = 30;
inline constexpr std::size_t kLastUsedWidth = 50;

// Names of the class numbers 0..12, Windows-1251. 1..11 are also the section names of the lists.
extern const std::array<std::string_view, 13> ClassNames;

// One row of mtSkills.
struct SkillRow {
    std::int32_t classNo = 0;
    std::string skillName;  // Windows-1251, at most 30 characters

    static const std::vector<FieldInfo<SkillRow>>& Fields();
    static bool PassesFilter(const SkillRow&) { return true; }
    void Normalize();
};

// One row of mtDots.
struct DotRow {
    std::int32_t classNo = 0;
    std::string skillName;  // any length
    std::string lastUsed;   // Windows-1251, at most 50 characters

    static const std::vector<FieldInfo<DotRow>>& Fields();
    static bool PassesFilter(const DotRow&) { return true; }
    void Normalize();
};

// mtSkills.
class SkillTable final : public Table<SkillRow> {
  public:
    // ClassNo of the last row whose SkillName equals key, or 0.
    std::int32_t LastClassOf(std::string_view key);

  private:
    void OnAppended(std::size_t pos) override;
    TextIndex bySkill_;
};

// mtDots.
class DotTable final : public Table<DotRow> {
  public:
    bool Lists(std::string_view key);
    bool Lists(const HashedText& key);
    // ClassNo of the last row whose SkillName equals key, or 0.
    std::int32_t LastClassOf(std::string_view key);
    // LastUsed of the first matching row := name (cut to 50). Nothing when no row matches.
    void RecordUser(std::string_view key, std::string_view name);
    void RecordUser(const HashedText& key, std::string_view name);
    // LastUsed of the last matching row; empty when none matches. Valid until the table changes.
    std::string_view LastUser(std::string_view key);
    std::string_view LastUser(const HashedText& key);
    // Empties every LastUsed, first row to last.
    void ClearLastUsed();

  private:
    const TextIndex::Positions& Find(const HashedText& key);
    void OnAppended(std::size_t pos) override;
    TextIndex bySkill_;
};

// Loads dots.txt and skills.txt from the directory: each new row in front of the previous, then a
// stable sort by ClassNo. A file that cannot be opened or read stops the loading there with a
// FileError ("The specified file was not found" for a missing one); what was loaded stays.
void LoadReferenceTables(DotTable& mtDots, SkillTable& mtSkills, const std::filesystem::path& directory);
// The same with the two lists named one by one.
void LoadReferenceTables(DotTable& mtDots, SkillTable& mtSkills, const std::filesystem::path& dotsFile,
                         const std::filesystem::path& skillsFile);

// The class of the acting character of a line: from the skill lists (only for a skill written with
// a rank numeral), or 12 for summons, elementals and magic damage.
std::int32_t ResolveLineClass(std::string_view line, SkillTable& mtSkills, DotTable& mtDots);

bool IsDotSkill(std::string_view line, DotTable& mtDots);
void RecordDotUser(DotTable& mtDots, std::string_view name, std::string_view key);
std::string_view FindDotLastUser(DotTable& mtDots, std::string_view key);

// Sets Class of every mtAdv row from its skill: the skill lists, or 12 for summon skills.
void AssignSkillClasses(SkillTable& mtSkills, DotTable& mtDots, SkillStatTable& mtAdv);

}  // namespace tally
