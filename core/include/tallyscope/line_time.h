#pragma once
// The time at the head of a chat-log line, and the clock that turns the times of a log into a
// running count of seconds. The game client writes "2026.12.09 21:14:03 : ..."; logs cut by hand or
// written by older clients may carry only "21:14:03 : ...".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tally {

struct LineTime {
    bool hasDate = false;
    int year = 0, month = 0, day = 0;  // when hasDate
    int hour = 0, minute = 0, second = 0;
    std::string_view text;  // as the line wrote it: "2026.12.09 21:14:03" or "21:14:03"
};

// The line's time when the text before its first " : " is exactly "DDDD.DD.DD DD:DD:DD" or
// "DD:DD:DD" (D a digit) and the values are a valid date and time of day; otherwise none.
std::optional<LineTime> ParseLineTime(std::string_view line);

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(int year, int month, int day);

// Turns line times into seconds that never run backwards. A time without a date belongs to the day
// of the line timed before it (the day of the last dated line, moved on at every midnight); when it
// is more than 12 hours earlier than that line, midnight has passed and it belongs to the next day.
// Any other step back counts as no time passing.
class LineClock {
  public:
    // Seconds since 1970-01-01 00:00:00 of the day the clock assigns, never less than the last result.
    std::int64_t Advance(const LineTime& time);

  private:
    std::optional<std::int64_t> last_;
};

// A count of seconds as the time of day it falls on, "21:14:03".
std::string FormatTimeOfDay(std::int64_t seconds);

// A length of time as "2:37" (minutes and seconds), or "1:02:37" from one hour on.
std::string FormatDuration(std::int64_t seconds);

}  // namespace tally
