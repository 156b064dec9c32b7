#pragma once
// The per-line accounting of the two DoT crediting methods. Method 1 credits each DoT tick to the
// character last seen using that DoT skill (the log owner when nobody is known yet); Method 2 pools
// DoT damage per class and shares it out equally once the whole log has been read.

#include <array>
#include <cstdint>
#include <string_view>

#include "tallyscope/reference_tables.h"
#include "tallyscope/result_tables.h"

namespace tally {

inline constexpr int kPlayerClassCount = 11;  // classes 1..11

// DoT damage pooled per player class; entry k-1 holds class k.
using ClassDotPool = std::array<std::int64_t, kPlayerClassCount>;

// The four tables an analysis works on, and the run-wide counters. The front end owns them for the
// life of the program; the core receives them.
struct AnalysisTables {
    CharacterTable mtList;
    SkillStatTable mtAdv;
    DotTable mtDots;
    SkillTable mtSkills;
    OwnerClassVotes ownerClassVotes{};
    ClassDotPool classDotPool{};
};

// Method 1. With withStatistics, hits are also counted per character and skill in mtAdv.
void ProcessLineDotsToLast(std::string_view line, AnalysisTables& tables, bool withStatistics);

// Method 2.
void ProcessLineDotsDividing(std::string_view line, AnalysisTables& tables);

// After the last line of a Method 2 run: every character of a player class gets an equal share of
// that class's pool (integer division; the remainder goes to nobody), and every total is refreshed.
void DivideClassDots(CharacterTable& mtList, const ClassDotPool& pool);

}  // namespace tally
