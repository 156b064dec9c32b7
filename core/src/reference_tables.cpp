#include "tallyscope/reference_tables.h"

#include "line_class.h"

#include <optional>

#include "line_reader.h"
#include "line_scan_fields.h"
#include "tallyscope/errors.h"
#include "tallyscope/line_fields.h"
#include "tallyscope/platform.h"
#include "tallyscope/result_tables.h"
#include "tallyscope/vocabulary.h"

namespace tally {

using namespace tally::literals;

const std::array<std::string_view, 13> ClassNames = {
    "НПС/Неведом"_cp, "Гладиатор"_cp, "Страж"_cp,        "Убийца"_cp,   "Стрелок"_cp,
    "Заклинатель"_cp, "Волшебник"_cp, "Чародей"_cp,      "Целитель"_cp, "Бард"_cp,
    "Снайпер"_cp,     "Пилот"_cp,     "ГС,Призывные"_cp,
};

namespace {

template <class Row>
int CompareClassNo(const Row& a, const Row& b) {
    return CompareValues(a.classNo, b.classNo);
}

// Reads one reference list. Each entry is handed over in file order with the class of the section it
// stands in; a line holding "[" is a section header and selects a class only when its name is one.
template <class AddEntry>
void ReadReferenceList(const std::filesystem::path& path, AddEntry&& addEntry) {
    // A list that cannot be opened is reported with the system's own words, such as "The specified
    // file was not found".
    std::optional<platform::SharedReadFile> opened;
    try {
        opened.emplace(path);
    } catch (const FileError& error) {
        throw FileError(platform::FileErrorMessage(error.code()), error.code());
    }
    platform::SharedReadFile& file = *opened;
    LineReader reader(file);
    std::int32_t currentClass = kNpcClass;
    std::string_view line;
    while (reader.Next(line)) {
        if (Contains(line, "["_cp)) {
            const std::string_view section = ExtractBetween(line, "["_cp, "]"_cp);
            for (std::int32_t k = 1; k <= 11; ++k)
                if (section == ClassNames[k]) {
                    currentClass = k;
                    break;
                }
            continue;
        }
        addEntry(currentClass, line);
    }
}

// Each new row stands in front of the one added before it, so a list ends up in reverse file order;
// rows read before a failure stay.
template <class TableT, class MakeRow>
void LoadInto(TableT& table, const std::filesystem::path& path, MakeRow&& makeRow) {
    std::vector<typename TableT::RowType> rows;
    auto addRows = [&] {
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            table.Append(std::move(*it));
    };
    try {
        ReadReferenceList(path, [&](std::int32_t classNo, std::string_view line) {
            rows.push_back(makeRow(classNo, line));
        });
    } catch (...) {
        addRows();
        throw;
    }
    addRows();
}

}  // namespace

const std::vector<FieldInfo<SkillRow>>& SkillRow::Fields() {
    using R = SkillRow;
    static const std::vector<FieldInfo<R>> fields = {
        {"ClassNo", FieldKind::Integer, &CompareClassNo<R>},
        {"SkillName", FieldKind::Text,
         [](const R& a, const R& b) { return CompareValues(a.skillName, b.skillName); }},
    };
    return fields;
}

void SkillRow::Normalize() {
    if (skillName.size() > kSkillNameWidth)
        skillName.resize(kSkillNameWidth);
}

const std::vector<FieldInfo<DotRow>>& DotRow::Fields() {
    using R = DotRow;
    static const std::vector<FieldInfo<R>> fields = {
        {"ClassNo", FieldKind::Integer, &CompareClassNo<R>},
        {"SkillName", FieldKind::Text,
         [](const R& a, const R& b) { return CompareValues(a.skillName, b.skillName); }},
        {"LastUsed", FieldKind::Text,
         [](const R& a, const R& b) { return CompareValues(a.lastUsed, b.lastUsed); }},
    };
    return fields;
}

void DotRow::Normalize() {
    if (lastUsed.size() > kLastUsedWidth)
        lastUsed.resize(kLastUsedWidth);
}

namespace {
std::string_view SkillNameOf(const SkillRow& row) {
    return row.skillName;
}
std::string_view DotNameOf(const DotRow& row) {
    return row.skillName;
}
}  // namespace

std::int32_t SkillTable::LastClassOf(std::string_view key) {
    bySkill_.Follow(*this, SkillNameOf);
    const auto& positions = bySkill_.Find(key);
    return positions.empty() ? 0 : At(positions.back()).classNo;
}

void SkillTable::OnAppended(std::size_t pos) {
    bySkill_.FollowAppend(*this, pos, SkillNameOf);
}

const TextIndex::Positions& DotTable::Find(const HashedText& key) {
    bySkill_.Follow(*this, DotNameOf);
    return bySkill_.Find(key);
}

void DotTable::OnAppended(std::size_t pos) {
    bySkill_.FollowAppend(*this, pos, DotNameOf);
}

bool DotTable::Lists(std::string_view key) {
    return Lists(TextIndex::Hashed(key));
}

bool DotTable::Lists(const HashedText& key) {
    return !Find(key).empty();
}

std::int32_t DotTable::LastClassOf(std::string_view key) {
    const auto& positions = Find(TextIndex::Hashed(key));
    return positions.empty() ? 0 : At(positions.back()).classNo;
}

void DotTable::RecordUser(std::string_view key, std::string_view name) {
    RecordUser(TextIndex::Hashed(key), name);
}

void DotTable::RecordUser(const HashedText& key, std::string_view name) {
    const auto& positions = Find(key);
    if (positions.empty())
        return;
    const std::string_view cut = name.substr(0, kLastUsedWidth);
    Update(positions.front(), [cut](DotRow& row) { row.lastUsed.assign(cut); });
}

std::string_view DotTable::LastUser(std::string_view key) {
    return LastUser(TextIndex::Hashed(key));
}

std::string_view DotTable::LastUser(const HashedText& key) {
    const auto& positions = Find(key);
    return positions.empty() ? std::string_view{} : std::string_view(At(positions.back()).lastUsed);
}

void DotTable::ClearLastUsed() {
    for (std::size_t pos = 0; pos < RowCount(); ++pos)
        Update(pos, [](DotRow& row) { row.lastUsed.clear(); });
}

void LoadReferenceTables(DotTable& mtDots, SkillTable& mtSkills, const std::filesystem::path& directory) {
    LoadReferenceTables(mtDots, mtSkills, directory / "dots.txt", directory / "skills.txt");
}

void LoadReferenceTables(DotTable& mtDots, SkillTable& mtSkills, const std::filesystem::path& dotsFile,
                         const std::filesystem::path& skillsFile) {
    mtDots.Clear();
    mtSkills.Clear();
    LoadInto(mtDots, dotsFile, [](std::int32_t classNo, std::string_view line) {
        return DotRow{classNo, std::string(line), {}};
    });
    LoadInto(mtSkills, skillsFile, [](std::int32_t classNo, std::string_view line) {
        return SkillRow{classNo, std::string(line.substr(0, kSkillNameWidth))};  // stored cut
    });
    mtDots.Sort("ClassNo");
    mtSkills.Sort("ClassNo");
}

std::int32_t ResolveLineClass(const LineScan& scan, std::string_view rawSkill, std::string_view skillKey,
                              SkillTable& mtSkills, DotTable& mtDots) {
    return ResolveLineClassWith(
        scan, rawSkill, skillKey, [&mtSkills](std::string_view key) { return mtSkills.LastClassOf(key); },
        [&mtDots](std::string_view key) { return mtDots.LastClassOf(key); });
}

std::int32_t ResolveLineClass(std::string_view line, SkillTable& mtSkills, DotTable& mtDots) {
    const LineScan scan(line);
    const std::string_view rawSkill = ExtractSkillName(scan);
    return ResolveLineClass(scan, rawSkill, StripRankNumerals(rawSkill), mtSkills, mtDots);
}

bool IsDotSkill(std::string_view line, DotTable& mtDots) {
    return mtDots.Lists(StripRankNumerals(ExtractSkillName(line)));
}

void RecordDotUser(DotTable& mtDots, std::string_view name, std::string_view key) {
    mtDots.RecordUser(key, name);
}

std::string_view FindDotLastUser(DotTable& mtDots, std::string_view key) {
    return mtDots.LastUser(key);
}

void AssignSkillClasses(SkillTable& mtSkills, DotTable& mtDots, SkillStatTable& mtAdv) {
    for (std::size_t pos = 0; pos < mtAdv.RowCount(); ++pos) {
        const std::string_view skill = mtAdv.At(pos).skill;
        std::int32_t skillClass = mtSkills.LastClassOf(skill);
        if (skillClass == 0)
            skillClass = mtDots.LastClassOf(skill);
        if (Contains(skill, phrase::kMagicDamage) || Contains(skill, phrase::kElemental) ||
            Contains(skill, phrase::kHolyEnergy) || Contains(skill, phrase::kHolyPower))
            skillClass = kSummonClass;
        mtAdv.Update(pos, [skillClass](SkillStatRow& row) {
            row.skillClass = static_cast<std::uint16_t>(skillClass);
        });
    }
}

}  // namespace tally
