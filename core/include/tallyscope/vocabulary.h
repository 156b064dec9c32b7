#pragma once
// The fixed phrases of the Russian-language game client by which the analysis recognises chat-log
// lines and cuts their fields, as Windows-1251 byte strings. Leading and trailing blanks belong to
// the phrases.

#include <string_view>

#include "tallyscope/phrase_literal.h"

namespace tally::phrase {

using namespace tally::literals;

inline constexpr std::string_view kSeparator = " : "_cp;
inline constexpr std::string_view kUses = "использует"_cp;
inline constexpr std::string_view kUsesActorEnd = " использует"_cp;
inline constexpr std::string_view kUsesColon = "использует: "_cp;
inline constexpr std::string_view kUsesSpace = "использует "_cp;
inline constexpr std::string_view kHits = "наносит"_cp;
inline constexpr std::string_view kHitsActorEnd = " наносит"_cp;
inline constexpr std::string_view kCritical = "Критический удар!"_cp;
inline constexpr std::string_view kCriticalActorStart = "Критический удар! "_cp;
inline constexpr std::string_view kCriticalSkillStart = "кий удар! "_cp;
inline constexpr std::string_view kUnits = "ед. "_cp;
inline constexpr std::string_view kUnitsAmountEnd = " ед. "_cp;
inline constexpr std::string_view kOfDamage = "урона"_cp;
inline constexpr std::string_view kShowsUp = "появляется"_cp;
inline constexpr std::string_view kOfCharacter = "персонажа"_cp;
inline constexpr std::string_view kOfCharacterNameStart = "персонажа "_cp;
inline constexpr std::string_view kReflects = "отражает атаку"_cp;
inline constexpr std::string_view kReflectsActorEnd = " отражает"_cp;
inline constexpr std::string_view kReceives = "получает"_cp;
inline constexpr std::string_view kOwnerHit = "Вы нанесли"_cp;
inline constexpr std::string_view kOwnerName = "ВЫ"_cp;
inline constexpr std::string_view kAutoAttack = "Автоатака"_cp;
inline constexpr std::string_view kMagicDamage = "Магический урон"_cp;
inline constexpr std::string_view kMagicSourceEnd = ": "_cp;
inline constexpr std::string_view kElemental = "Элементаль"_cp;
inline constexpr std::string_view kHolyEnergyUses = "Святая энергия использует"_cp;
inline constexpr std::string_view kHolyPowerUses = "Святая мощь использует"_cp;
inline constexpr std::string_view kHoly = "Святая"_cp;
inline constexpr std::string_view kHolyEnergy = "Святая энергия"_cp;
inline constexpr std::string_view kHolyPower = "Святая мощь"_cp;
inline constexpr std::string_view kDecomposition = "Команда: Разложение"_cp;
inline constexpr std::string_view kElementStart = "("_cp;
inline constexpr std::string_view kElementEnd = ")"_cp;
inline constexpr std::string_view kFire = "огонь"_cp;
inline constexpr std::string_view kEarth = "земля"_cp;
inline constexpr std::string_view kWater = "вода"_cp;
inline constexpr std::string_view kAir = "воздух"_cp;
inline constexpr std::string_view kFireElemental = "Элементаль огня"_cp;
inline constexpr std::string_view kEarthElemental = "Элементаль земли"_cp;
inline constexpr std::string_view kWaterElemental = "Элементаль воды"_cp;
inline constexpr std::string_view kAirElemental = "Элементаль воздуха"_cp;
inline constexpr std::string_view kUnknownElemental = "Элементаль ?????"_cp;
inline constexpr std::string_view kColon = ":"_cp;
inline constexpr std::string_view kFullStop = "."_cp;

}  // namespace tally::phrase
