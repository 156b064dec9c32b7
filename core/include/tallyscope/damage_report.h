#pragma once
// The short text report the copy button puts on the clipboard.

#include <string>

#include "tallyscope/fights.h"
#include "tallyscope/result_tables.h"

namespace tally {

// Players (classes 1..11) as "Name - total (dots)", a separator line of a single carriage return,
// then summons (class 12) as "Name - total"; every line ends with CR LF. Walks mtList in its current
// order through its filter and leaves the last row current. The result is UTF-8.
std::string BuildDamageReport(CharacterTable& mtList);

// The same report over one fight's table: the heading names the fight, its start, end and length,
// "Урон персонажей(в т.ч. доты), бой №3 21:14:03–21:16:40 (2:37):", and every player's line ends
// with the damage per second, "Лиана - 15230 (2100) 97 ДПС". A fight without a timed damage line has
// only its number in the heading and no damage per second.
std::string BuildFightDamageReport(CharacterTable& mtList, const Fight& fight);

// "бой №3 21:14:03–21:16:40 (2:37)", or "бой №3" without a timed damage line.
std::string FightCaption(const Fight& fight);

// The fight as the fight selector lists it: "№3  21:14:03–21:16:40  2:37  Тёмный жрец", or
// "№3  Тёмный жрец" without a timed damage line. UTF-8.
std::string FightSummary(const Fight& fight);

}  // namespace tally
