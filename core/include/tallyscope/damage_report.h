#pragma once
// The short text report the copy button puts on the clipboard.

#include <string>

#include "tallyscope/result_tables.h"

namespace tally {

// Players (classes 1..11) as "Name - total (dots)", a separator line of a single carriage return,
// then summons (class 12) as "Name - total"; every line ends with CR LF. Walks mtList in its current
// order through its filter and leaves the last row current. The result is UTF-8.
std::string BuildDamageReport(CharacterTable& mtList);

}  // namespace tally
