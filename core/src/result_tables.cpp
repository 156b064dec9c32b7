#include "tallyscope/result_tables.h"

#include <cfenv>
#include <cmath>
#include <unordered_map>

#include "tallyscope/vocabulary.h"

namespace tally {
namespace {

// Cutting also gives back the memory of the rest: a name cut from a huge line must not keep it.
void CutTo(std::string& text, std::size_t width) {
    if (text.size() > width) {
        text.resize(width);
        text.shrink_to_fit();
    }
}

// mtAdv is looked up by the pair (Char, Skill); the key holds the name's length first, so that no two
// pairs share a key whatever bytes the texts contain.
std::string_view PairKey(std::string& buffer, std::string_view name, std::string_view skill) {
    buffer.clear();
    buffer += static_cast<char>(name.size());
    buffer.append(name);
    buffer.append(skill);
    return buffer;
}

}  // namespace

const std::vector<FieldInfo<CharacterRow>>& CharacterRow::Fields() {
    using R = CharacterRow;
    static const std::vector<FieldInfo<R>> fields = {
        {"CharClass", FieldKind::Integer,
         [](const R& a, const R& b) { return CompareValues(a.charClass, b.charClass); }},
        {"CharName", FieldKind::Text,
         [](const R& a, const R& b) { return CompareValues(a.charName, b.charName); }},
        {"CharDamage", FieldKind::Integer,
         [](const R& a, const R& b) { return CompareValues(a.charDamage, b.charDamage); }},
        {"CharDots", FieldKind::Integer,
         [](const R& a, const R& b) { return CompareValues(a.charDots, b.charDots); }},
        {"DmgAll", FieldKind::Integer,
         [](const R& a, const R& b) { return CompareValues(a.dmgAll, b.dmgAll); }},
        {"Critical", FieldKind::Fixed4,
         [](const R& a, const R& b) { return CompareValues(a.critical, b.critical); }},
    };
    return fields;
}

void CharacterRow::Normalize() {
    CutTo(charName, kNameWidth);
}

const std::vector<FieldInfo<SkillStatRow>>& SkillStatRow::Fields() {
    using R = SkillStatRow;
    static const std::vector<FieldInfo<R>> fields = {
        {"Char", FieldKind::Text,
         [](const R& a, const R& b) { return CompareValues(a.charName, b.charName); }},
        {"Skill", FieldKind::Text, [](const R& a, const R& b) { return CompareValues(a.skill, b.skill); }},
        {"AttCnt", FieldKind::Integer,
         [](const R& a, const R& b) { return CompareValues(a.attCnt, b.attCnt); }},
        {"CritCnt", FieldKind::Integer,
         [](const R& a, const R& b) { return CompareValues(a.critCnt, b.critCnt); }},
        {"AttDmg", FieldKind::Integer,
         [](const R& a, const R& b) { return CompareValues(a.attDmg, b.attDmg); }},
        {"Class", FieldKind::Integer,
         [](const R& a, const R& b) { return CompareValues(a.skillClass, b.skillClass); }},
    };
    return fields;
}

void SkillStatRow::Normalize() {
    CutTo(charName, kNameWidth);
    CutTo(skill, kNameWidth);
}

namespace {
std::string_view NameOf(const CharacterRow& row) {
    return row.charName;
}
}  // namespace

const TextIndex::Positions& CharacterTable::RowsNamed(std::string_view name) {
    return RowsNamed(TextIndex::Hashed(name));
}

const TextIndex::Positions& CharacterTable::RowsNamed(const HashedText& name) {
    byName_.Follow(*this, NameOf);
    return byName_.Find(name);
}

void CharacterTable::OnAppended(std::size_t pos) {
    byName_.FollowAppend(*this, pos, NameOf);
}

namespace {
std::size_t PairHashOf(const SkillStatRow& row) {
    return TextIndex::PairHash(TextIndex::Hash(row.charName), TextIndex::Hash(row.skill));
}
}  // namespace

const TextIndex::Positions& SkillStatTable::RowsFor(std::string_view name, std::string_view skill) {
    return RowsFor(TextIndex::Hashed(name), TextIndex::Hashed(skill));
}

const TextIndex::Positions& SkillStatTable::RowsFor(const HashedText& name, const HashedText& skill) {
    byPair_.Follow(
        *this, [this](const SkillStatRow& row) { return PairKey(keyBuffer_, row.charName, row.skill); },
        PairHashOf);
    static const TextIndex::Positions kNone;
    if (name.text.size() > kNameWidth || skill.text.size() > kNameWidth)
        return kNone;
    return byPair_.Find(PairKey(keyBuffer_, name.text, skill.text),
                        TextIndex::PairHash(name.hash, skill.hash));
}

void SkillStatTable::OnAppended(std::size_t pos) {
    byPair_.FollowAppend(
        *this, pos, [this](const SkillStatRow& row) { return PairKey(keyBuffer_, row.charName, row.skill); },
        PairHashOf);
}

std::int32_t ChooseOwnerClass(const OwnerClassVotes& votes, std::int32_t classPassed) {
    std::int32_t best = classPassed;
    std::int32_t top = 0;
    for (int k = 1; k < kClassCount; ++k) {
        if (votes[k] > top) {
            best = k;
            top = votes[k];
        }
    }
    return best;
}

void AddCharacterDamage(CharacterTable& mtList, const OwnerClassVotes& votes, std::int32_t charClass,
                        std::string_view name, std::int64_t skillDamage, std::int64_t dotDamage) {
    AddCharacterDamage(mtList, votes, charClass, TextIndex::Hashed(name), skillDamage, dotDamage);
}

void AddCharacterDamage(CharacterTable& mtList, const OwnerClassVotes& votes, std::int32_t charClass,
                        const HashedText& hashedName, std::int64_t skillDamage, std::int64_t dotDamage) {
    const std::string_view name = hashedName.text;
    bool matched = false;
    const bool isOwner = name == phrase::kOwnerName;
    for (const std::uint32_t pos : mtList.RowsNamed(hashedName)) {
        if (!mtList.IsVisible(pos))
            continue;
        matched = true;
        mtList.Update(pos, [&](CharacterRow& row) {
            row.charDamage += skillDamage;
            row.charDots += dotDamage;
            row.dmgAll = row.charDamage + row.charDots;
            if (charClass != 0)
                row.charClass = charClass;
            if (isOwner)
                row.charClass = ChooseOwnerClass(votes, charClass);
        });
    }
    if (matched)
        return;
    CharacterRow row;
    row.charClass = charClass;
    row.charName = std::string(name.substr(0, kNameWidth));  // stored cut: no copy of a huge name
    row.charDamage = skillDamage;
    row.charDots = dotDamage;
    row.dmgAll = skillDamage + dotDamage;
    mtList.Append(std::move(row));
}

void AddSkillStat(SkillStatTable& mtAdv, std::string_view name, std::string_view skill, std::int32_t damage,
                  int critical) {
    AddSkillStat(mtAdv, TextIndex::Hashed(name), TextIndex::Hashed(skill), damage, critical);
}

void AddSkillStat(SkillStatTable& mtAdv, const HashedText& hashedName, const HashedText& hashedSkill,
                  std::int32_t damage, int critical) {
    const std::string_view name = hashedName.text;
    const std::string_view skill = hashedSkill.text;
    bool matched = false;
    for (const std::uint32_t pos : mtAdv.RowsFor(hashedName, hashedSkill)) {
        matched = true;
        mtAdv.Update(pos, [&](SkillStatRow& row) {
            row.attCnt = row.attCnt.value_or(0) + 1;
            row.attDmg = row.attDmg.value_or(0) + damage;
            row.critCnt = row.critCnt.value_or(0) + critical;
        });
    }
    if (matched)
        return;
    SkillStatRow row;
    row.charName = std::string(name.substr(0, kNameWidth));  // stored cut: no copy of a huge name
    row.skill = std::string(skill.substr(0, kNameWidth));
    row.attCnt = 1;
    row.critCnt = critical;
    row.attDmg = damage;
    mtAdv.Append(std::move(row));
}

std::int64_t CriticalRateTenThousandths(std::int64_t crits, std::int64_t attempts) {
    const long double quotient = static_cast<long double>(crits * 100) / attempts;
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);  // ties go to the even neighbour
    const long double scaled = std::nearbyint(quotient * 10000.0L);
    std::fesetround(previous);
    return static_cast<std::int64_t>(scaled);
}

void ComputeCriticalRates(CharacterTable& mtList, const SkillStatTable& mtAdv) {
    struct Sums {
        std::int64_t attempts = 0;
        std::int64_t crits = 0;
    };
    std::unordered_map<std::string_view, Sums> byCharacter;
    for (const SkillStatRow& row : mtAdv.Rows()) {
        Sums& sums = byCharacter[row.charName];
        sums.attempts += row.attCnt.value_or(0);
        sums.crits += row.critCnt.value_or(0);
    }
    for (std::size_t pos = mtList.FirstVisible(); pos != kNoRow; pos = mtList.NextVisible(pos + 1)) {
        const auto it = byCharacter.find(mtList.At(pos).charName);
        if (it == byCharacter.end() || it->second.attempts == 0)
            continue;
        const auto rate = CriticalRateTenThousandths(it->second.crits, it->second.attempts);
        mtList.Update(pos, [rate](CharacterRow& row) { row.critical = rate; });
    }
}

std::string FormatFixed4(std::int64_t tenThousandths, int decimals, char separator) {
    const bool negative = tenThousandths < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths) : tenThousandths;
    std::uint64_t unit = 1;
    for (int d = decimals; d < 4; ++d)
        unit *= 10;
    magnitude = (magnitude + unit / 2) / unit;  // a half rounds away from zero, as the grid shows it
    std::uint64_t scale = 1;
    for (int d = 0; d < decimals; ++d)
        scale *= 10;
    std::string text = std::to_string(magnitude / scale);
    if (decimals > 0) {
        std::string fraction = std::to_string(magnitude % scale);
        text += separator;
        text += std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
    }
    return negative && magnitude != 0 ? "-" + text : text;
}

}  // namespace tally
