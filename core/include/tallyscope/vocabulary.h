#pragma once
// The fixed phrases of the Russian-language game client by which the analysis recognises chat-log
// lines and cuts their fields, as Windows-1251 byte strings. Leading and trailing blanks belong to
// the phrases.

#include <string_view>

#include "tallyscope/phrase_literal.h"

namespace tally::phrase {

using namespace tally::literals;

inline constexpr Phrase kSeparator = " : "_cp;
inline constexpr Phrase kUses = "использует"_cp;
inline constexpr Phrase kUsesActorEnd = " использует"_cp;
inline constexpr Phrase kUsesColon = "использует: "_cp;
inline constexpr Phrase kUsesSpace = "использует "_cp;
inline constexpr Phrase kHits = "наносит"_cp;
inline constexpr Phrase kHitsActorEnd = " наносит"_cp;
inline constexpr Phrase kCritical = "Критический удар!"_cp;
inline constexpr Phrase kCriticalActorStart = "Критический удар! "_cp;
inline constexpr Phrase kCriticalSkillStart = "кий удар! "_cp;
inline constexpr Phrase kUnits = "ед. "_cp;
inline constexpr Phrase kUnitsAmountEnd = " ед. "_cp;
inline constexpr Phrase kOfDamage = "урона"_cp;
inline constexpr Phrase kShowsUp = "появляется"_cp;
inline constexpr Phrase kOfCharacter = "персонажа"_cp;
inline constexpr Phrase kOfCharacterNameStart = "персонажа "_cp;
inline constexpr Phrase kReflects = "отражает атаку"_cp;
inline constexpr Phrase kReflectsActorEnd = " отражает"_cp;
inline constexpr Phrase kReceives = "получает"_cp;
inline constexpr Phrase kOwnerHit = "Вы нанесли"_cp;
inline constexpr Phrase kOwnerName = "ВЫ"_cp;
inline constexpr Phrase kAutoAttack = "Автоатака"_cp;
inline constexpr Phrase kMagicDamage = "Магический урон"_cp;
inline constexpr Phrase kMagicSourceEnd = ": "_cp;
inline constexpr Phrase kElemental = "Элементаль"_cp;
inline constexpr Phrase kHolyEnergyUses = "Святая энергия использует"_cp;
inline constexpr Phrase kHolyPowerUses = "Святая мощь использует"_cp;
inline constexpr Phrase kHoly = "Святая"_cp;
inline constexpr Phrase kHolyEnergy = "Святая энергия"_cp;
inline constexpr Phrase kHolyPower = "Святая мощь"_cp;
inline constexpr Phrase kDecomposition = "Команда: Разложение"_cp;
inline constexpr Phrase kElementStart = "("_cp;
inline constexpr Phrase kElementEnd = ")"_cp;
inline constexpr Phrase kFire = "огонь"_cp;
inline constexpr Phrase kEarth = "земля"_cp;
inline constexpr Phrase kWater = "вода"_cp;
inline constexpr Phrase kAir = "воздух"_cp;
inline constexpr Phrase kFireElemental = "Элементаль огня"_cp;
inline constexpr Phrase kEarthElemental = "Элементаль земли"_cp;
inline constexpr Phrase kWaterElemental = "Элементаль воды"_cp;
inline constexpr Phrase kAirElemental = "Элементаль воздуха"_cp;
inline constexpr Phrase kUnknownElemental = "Элементаль ?????"_cp;
inline constexpr Phrase kColon = ":"_cp;
inline constexpr Phrase kFullStop = "."_cp;

}  // namespace tally::phrase
