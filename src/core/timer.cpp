// The timer's rules: the proposed duration and the text of its file.
#include "core/timer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "core/text.h"

namespace qv {
namespace {

constexpr std::string_view kFirstLine = "Quorvella timer 1";
constexpr std::string_view kLastLine = "end";
constexpr std::array<std::string_view, 4> kKeys = {"start", "project", "category", "memo"};

// A field the record would keep as it is: valid UTF-8 without control characters, at most
// `limit` UTF-16 code units.
bool IsKeepableText(std::u16string_view text, size_t limit) {
    if (text.size() > limit) return false;
    for (char16_t c : text) {
        if (c < 0x20 || c == 0x7F || c == 0xFFFD) return false;
    }
    return true;
}

// "2026-12-07 13:25:00": digits where digits belong, and a moment of the calendar.
std::optional<int64_t> ParseStart(std::string_view text) {
    constexpr std::string_view kShape = "dddd-dd-dd dd:dd:dd";
    if (text.size() != kShape.size()) return std::nullopt;
    for (size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) return std::nullopt;
    }
    auto number = [&](size_t at, size_t width) {
        uint16_t n = 0;
        for (size_t i = at; i < at + width; ++i)
            n = static_cast<uint16_t>(n * 10 + (text[i] - '0'));
        return n;
    };
    CalendarDate t = MakeDate(number(0, 4), number(5, 2), number(8, 2));
    t.hour = number(11, 2);
    t.minute = number(14, 2);
    t.second = number(17, 2);
    if (t.year < 1970) return std::nullopt;
    return SecondsSinceEpoch(t);
}

}  // namespace

TimerDuration ProposeDuration(int64_t elapsedSeconds) {
    const int64_t elapsed = elapsedSeconds < 0 ? 0 : elapsedSeconds;
    const int64_t rounded = std::max<int64_t>(10, (elapsed + 300) / 600 * 10);
    if (rounded > kTimerLongestMinutes) {
        const int64_t rest = rounded - kTimerLongestMinutes;
        return {kTimerLongestMinutes, static_cast<int32_t>(std::min<int64_t>(rest, INT32_MAX))};
    }
    return {static_cast<int32_t>(rounded), 0};
}

std::u16string HoursMinutes(int64_t minutes) {
    if (minutes < 0) minutes = 0;
    const int64_t m = minutes % 60;
    return FormatDecimal(minutes / 60) + (m < 10 ? u":0" : u":") + FormatDecimal(m);
}

CalendarDate UtcDateOf(int64_t seconds) {
    // the civil date of a day count, in 400-year eras from 1 March of year 0
    const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int64_t secondOfDay = seconds - days * 86400;
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    CalendarDate t = MakeDate(static_cast<uint16_t>(year), static_cast<uint16_t>(month),
                              static_cast<uint16_t>(day));
    t.dayOfWeek = static_cast<uint16_t>((days % 7 + 11) % 7);  // 1 January 1970 was a Thursday
    t.hour = static_cast<uint16_t>(secondOfDay / 3600);
    t.minute = static_cast<uint16_t>(secondOfDay / 60 % 60);
    t.second = static_cast<uint16_t>(secondOfDay % 60);
    return t;
}

std::string TimerFileText(const RunningTimer& timer) {
    const CalendarDate s = UtcDateOf(timer.start);
    char start[64];
    std::snprintf(start, sizeof start, "%04u-%02u-%02u %02u:%02u:%02u", unsigned{s.year},
                  unsigned{s.month}, unsigned{s.day}, unsigned{s.hour}, unsigned{s.minute},
                  unsigned{s.second});
    std::string text(kFirstLine);
    text += "\nstart ";
    text += start;
    text += "\nproject " + ToUtf8(timer.project);
    text += "\ncategory " + ToUtf8(timer.category);
    text += "\nmemo " + ToUtf8(timer.memo);
    text += "\n";
    text += kLastLine;
    text += "\n";
    return text;
}

bool IsKeepableTimer(const RunningTimer& timer) {
    return !timer.project.empty() && IsKeepableText(timer.project, kTimerProjectChars) &&
           IsKeepableText(timer.category, kTimerCategoryChars) &&
           IsKeepableText(timer.memo, kTimerMemoChars);
}

std::optional<std::string> ParseTimerFile(std::string_view text, int64_t now, RunningTimer& timer) {
    std::array<std::string_view, kKeys.size() + 2> lines;
    size_t count = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) return "it is cut short";
        if (count == lines.size()) return "it has lines it should not have";
        lines[count++] = text.substr(0, end);
        text.remove_prefix(end + 1);
    }
    if (count == 0) return "it is empty";
    if (lines[0] != kFirstLine) return "it is not a timer of this program";
    if (count < lines.size() || lines[count - 1] != kLastLine) return "it is cut short";
    std::array<std::string, kKeys.size()> values;
    for (size_t i = 0; i < kKeys.size(); ++i) {
        const std::string_view line = lines[i + 1];
        if (line.substr(0, kKeys[i].size()) != kKeys[i] || line.size() == kKeys[i].size() ||
            line[kKeys[i].size()] != ' ') {
            return "a line is not what it should be";
        }
        values[i] = line.substr(kKeys[i].size() + 1);
    }
    RunningTimer read;
    const std::optional<int64_t> start = ParseStart(values[0]);
    if (!start) return "its start is not a moment";
    read.start = *start;
    read.project = FromUtf8(values[1]);
    read.category = FromUtf8(values[2]);
    read.memo = FromUtf8(values[3]);
    if (!IsKeepableTimer(read) || ToUtf8(read.project) != values[1] ||
        ToUtf8(read.category) != values[2] || ToUtf8(read.memo) != values[3]) {
        return "its project, category or memo cannot be booked";
    }
    if (read.start > now + kTimerFutureSlack) return "it started in the future";
    timer = std::move(read);
    return std::nullopt;
}

}  // namespace qv
