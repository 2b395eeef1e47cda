// The desktop's timer: started when work begins, stopped when it ends, and booked as a time
// record then. These are its rules: the duration proposed for the elapsed time, the text of
// its file and the checks a file's text must pass before it is trusted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/calendar.h"

namespace qv {

// One running timer: when it started, and what it is booked to when it stops.
struct RunningTimer {
    int64_t start = 0;        // seconds since 1 January 1970, universal time
    std::u16string project;   // the project's name, never empty
    std::u16string category;  // empty: none chosen yet
    std::u16string memo;

    friend bool operator==(const RunningTimer&, const RunningTimer&) = default;
};

// The longest duration a record can be given in ten-minute steps: 23:50.
constexpr int32_t kTimerLongestMinutes = 23 * 60 + 50;
// How far a start may lie ahead of the clock (another machine's clock, a clock set back a
// little) before the file is not believed.
constexpr int64_t kTimerFutureSlack = 5 * 60;
// What a field of a record takes: longer texts are refused when a timer starts or is read.
constexpr size_t kTimerProjectChars = 79;
constexpr size_t kTimerCategoryChars = 39;
constexpr size_t kTimerMemoChars = 29;

// The duration proposed for `elapsed` seconds: the nearest ten minutes (half-way goes up), at
// least ten; beyond 23:50, 23:50 and the minutes that are left over.
struct TimerDuration {
    int32_t minutes = 0;
    int32_t unbookedMinutes = 0;
};
TimerDuration ProposeDuration(int64_t elapsedSeconds);

// "1:25" for 85 minutes; hours go on past a day ("27:05").
std::u16string HoursMinutes(int64_t minutes);

// The moment `seconds` after 1 January 1970 as a universal-time calendar value.
CalendarDate UtcDateOf(int64_t seconds);

// The file's text: a first line naming it, then start, project, category and memo, a line
// each, and a closing line, so that a file cut short is told from a whole one.
std::string TimerFileText(const RunningTimer& timer);

// What is wrong with a text that is not a timer, in words for the user ("cut short", ...).
// None when the text is a whole timer with sound values started at most kTimerFutureSlack
// after `now`; then `timer` holds it.
std::optional<std::string> ParseTimerFile(std::string_view text, int64_t now, RunningTimer& timer);

// Whether a timer with these values may be kept: a project, and texts a record can take.
bool IsKeepableTimer(const RunningTimer& timer);

}  // namespace qv
