#include "tallyscope/line_time.h"

namespace tally {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kHalfDay = kSecondsPerDay / 2;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits of text at the positions of the pattern's 'D', the other characters as written; text holds
// at least the pattern's length, which is fixed for each pattern.
template <std::size_t N>
bool MatchesPattern(const char* text, const char (&pattern)[N]) {
    bool matches = true;
    for (std::size_t i = 0; i + 1 < N; ++i)
        matches &= pattern[i] == 'D' ? IsDigit(text[i]) : text[i] == pattern[i];
    return matches;
}

int Number(std::string_view text, std::size_t at, std::size_t width) {
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

constexpr char kDatedPattern[] = "DDDD.DD.DD DD:DD:DD";
constexpr char kTimePattern[] = "DD:DD:DD";
constexpr std::size_t kDatedLength = sizeof(kDatedPattern) - 1;
constexpr std::size_t kTimeLength = sizeof(kTimePattern) - 1;

// Whether the line starts with a text of the pattern's length followed by " : ", tested byte by byte.
bool SeparatorAfter(std::string_view line, std::size_t length) {
    return line.size() >= length + 3 && line[length] == ' ' && line[length + 1] == ':' &&
           line[length + 2] == ' ';
}

}  // namespace

std::optional<LineTime> ParseLineTime(std::string_view line) {
    // Neither pattern holds " : ", so the line's first separator must stand right after the time.
    std::string_view head;
    if (SeparatorAfter(line, kTimeLength) && MatchesPattern(line.data(), kTimePattern))
        head = line.substr(0, kTimeLength);
    else if (SeparatorAfter(line, kDatedLength) && MatchesPattern(line.data(), kDatedPattern))
        head = line.substr(0, kDatedLength);
    if (head.empty())
        return std::nullopt;
    LineTime time;
    time.text = head;
    std::size_t clock = 0;
    if (head.size() == kDatedLength) {
        time.hasDate = true;
        time.year = Number(head, 0, 4);
        time.month = Number(head, 5, 2);
        time.day = Number(head, 8, 2);
        if (time.month < 1 || time.month > 12 || time.day < 1 ||
            time.day > DaysInMonth(time.year, time.month))
            return std::nullopt;
        clock = 11;
    }
    time.hour = Number(head, clock, 2);
    time.minute = Number(head, clock + 3, 2);
    time.second = Number(head, clock + 6, 2);
    if (time.hour > 23 || time.minute > 59 || time.second > 59)
        return std::nullopt;
    return time;
}

std::int64_t DaysFromCivil(int year, int month, int day) {
    // Howard Hinnant's days_from_civil.
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t LineClock::Advance(const LineTime& time) {
    const std::int64_t ofDay = time.hour * 3600 + time.minute * 60 + time.second;
    std::int64_t seconds;
    if (time.hasDate) {
        seconds = DaysFromCivil(time.year, time.month, time.day) * kSecondsPerDay + ofDay;
    } else {
        const std::int64_t lastDay = last_ ? *last_ / kSecondsPerDay : 0;
        seconds = lastDay * kSecondsPerDay + ofDay;
        if (last_ && seconds < *last_ - kHalfDay)
            seconds += kSecondsPerDay;
    }
    if (last_ && seconds < *last_)
        seconds = *last_;
    last_ = seconds;
    return seconds;
}

namespace {
void AppendTwoDigits(std::string& out, std::int64_t value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}
}  // namespace

std::string FormatTimeOfDay(std::int64_t seconds) {
    std::int64_t ofDay = seconds % kSecondsPerDay;
    if (ofDay < 0)
        ofDay += kSecondsPerDay;
    std::string out;
    AppendTwoDigits(out, ofDay / 3600);
    out += ':';
    AppendTwoDigits(out, ofDay / 60 % 60);
    out += ':';
    AppendTwoDigits(out, ofDay % 60);
    return out;
}

std::string FormatDuration(std::int64_t seconds) {
    if (seconds < 0)
        seconds = 0;
    std::string out;
    if (seconds >= 3600) {
        out = std::to_string(seconds / 3600) + ':';
        AppendTwoDigits(out, seconds / 60 % 60);
    } else {
        out = std::to_string(seconds / 60);
    }
    out += ':';
    AppendTwoDigits(out, seconds % 60);
    return out;
}

}  // namespace tally
