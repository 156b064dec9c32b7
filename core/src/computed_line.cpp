#include "computed_line.h"

#include <cstring>

#include "line_class.h"
#include "line_facts.h"
#include "line_scan_fields.h"
#include "tallyscope/fights.h"
#include "tallyscope/line_fields.h"

namespace tally {

ReferenceLookup::ReferenceLookup(const SkillTable& mtSkills, const DotTable& mtDots) {
    skills_.Reset(0);
    for (std::size_t pos = 0; pos < mtSkills.RowCount(); ++pos) {
        skills_.Add(mtSkills.At(pos).skillName, pos);
        skillClasses_.push_back(mtSkills.At(pos).classNo);
    }
    dots_.Reset(0);
    for (std::size_t pos = 0; pos < mtDots.RowCount(); ++pos) {
        dots_.Add(mtDots.At(pos).skillName, pos);
        dotClasses_.push_back(mtDots.At(pos).classNo);
    }
}

std::string_view TextStore::Keep(std::string_view text) {
    if (text.empty())
        return {};
    if (chunks_.empty() || chunkSize_ - used_ < text.size()) {
        chunkSize_ = std::max(kChunk, text.size());
        chunks_.push_back(std::make_unique<char[]>(chunkSize_));
        used_ = 0;
    }
    char* at = chunks_.back().get() + used_;
    std::memcpy(at, text.data(), text.size());
    used_ += text.size();
    return {at, text.size()};
}

void TextStore::Clear() {
    // The first chunk is kept for the next block; larger ones, made for a huge line, are let go.
    if (chunks_.size() > 1 || chunkSize_ > kChunk) {
        chunks_.clear();
        chunkSize_ = 0;
    }
    used_ = 0;
}

namespace {

void Set(ComputedLine& out, const LineScan& scan, Mark mark) {
    if (scan.Has(mark))
        out.marks |= 1u << static_cast<unsigned>(mark);
}

}  // namespace

void ComputeLine(std::string_view line, const LineWork& work, const ReferenceLookup& lookup, TextStore& store,
                 LineScratch& scratch, ComputedLine& out) {
    out = ComputedLine{};
    out.text = line;
    const LineScan scan(line);
    for (const Mark mark : {Mark::Units, Mark::OfDamage, Mark::Uses})
        Set(out, scan, mark);
    const bool units = scan.Has(Mark::Units);
    const bool ofDamage = scan.Has(Mark::OfDamage);
    const bool uses = scan.Has(Mark::Uses);
    out.damage = units && ofDamage;
    if (work.splitFights) {
        out.time = ParseLineTime(line);
        if (out.damage)
            out.receiver = ReceiverName(scan);
    }

    // Which answers the rules of the method can ask for this line.
    bool actorAndSkill = out.damage;
    if (!out.damage && !work.dividing && !units && !ofDamage) {
        Set(out, scan, Mark::ShowsUp);
        if (scan.Has(Mark::ShowsUp))
            Set(out, scan, Mark::OfCharacter);
        actorAndSkill = uses || (scan.Has(Mark::ShowsUp) && scan.Has(Mark::OfCharacter));
    } else if (!out.damage && !work.dividing) {
        actorAndSkill = uses;
    }
    if (!actorAndSkill)
        return;

    std::string& skillKey = scratch.skillKey;
    std::string& actorKey = scratch.actorKey;
    out.actor = ExtractActorName(scan);
    const std::string_view rawSkill = ExtractSkillName(scan);
    StripRankNumeralsInto(rawSkill, skillKey);
    // Most skills carry no rank numeral: their key is the line's own bytes, and a huge one is not held
    // a third time.
    out.skillKey = skillKey == rawSkill ? rawSkill : store.Keep(skillKey);
    out.skillKeyHash = TextIndex::Hash(out.skillKey);
    out.actorHash = TextIndex::Hash(out.actor);
    out.actorIsSkill = StripsTo(out.actor, skillKey, actorKey);
    out.isDot = lookup.IsDot(out.skillKey, out.skillKeyHash);
    if (!out.damage)
        return;

    for (const Mark mark : {Mark::Hits, Mark::MagicDamage, Mark::OwnerHit, Mark::Receives})
        Set(out, scan, mark);
    const bool magic = scan.Has(Mark::MagicDamage);
    if (scan.Has(Mark::Receives) && !uses && !magic) {
        Set(out, scan, Mark::Decomposition);
        if (scan.Has(Mark::Decomposition))
            out.elemental = ElementalName(line);
    }
    if (magic)
        out.magicSource = scan.Between(Mark::Separator, phrase::kMagicSourceEnd);
    out.lineClass = ResolveLineClassWith(
        scan, rawSkill, out.skillKey,
        [&](std::string_view key) { return lookup.SkillClass(key, out.skillKeyHash); },
        [&](std::string_view key) { return lookup.DotClass(key, out.skillKeyHash); });
    out.critical = IsCriticalHit(scan) ? 1 : 0;
    try {
        out.amount = ParseDamageAmount(scan);
    } catch (...) {
        out.amountFailed = true;
        out.amountError = std::current_exception();
    }
}

}  // namespace tally
