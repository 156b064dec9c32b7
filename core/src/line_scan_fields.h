#pragma once
// The line fields worked out from a line already scanned for its phrases; the public functions of the
// same names scan the line first and give the same answers.

#include <cstdint>
#include <string_view>

#include "line_scan.h"

namespace tally {

std::string_view ExtractActorName(const LineScan& scan);
std::string_view ExtractSkillName(const LineScan& scan);
bool IsCriticalHit(const LineScan& scan);
std::int32_t ParseDamageAmount(const LineScan& scan);
// The name before the first " получает", after the nearest ": " or ". " before it.
std::string_view ReceiverName(const LineScan& scan);

class SkillTable;
class DotTable;
std::int32_t ResolveLineClass(const LineScan& scan, std::string_view rawSkill, std::string_view skillKey,
                              SkillTable& mtSkills, DotTable& mtDots);

}  // namespace tally
