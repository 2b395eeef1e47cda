// The running timer's file in the data folder: read and checked, started, stopped, discarded.
// One timer at a time; a file that is not a sound timer is moved aside under a name of its own,
// never deleted, and never trusted.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/calendar.h"
#include "core/timer.h"

namespace qv {

// What the data folder holds.
struct TimerReading {
    enum class State {
        None,     // no timer runs
        Running,  // `timer` runs
        Damaged,  // the file was no timer: `problem` says why, `movedTo` where it went (empty:
                  // it could not be moved, and `moveFailure` says why)
    };
    State state = State::None;
    RunningTimer timer;
    std::string problem;
    std::filesystem::path movedTo;
    std::string moveFailure;
};

// Booking a stopped timer: the day it started on the user's calendar and the duration for
// the time it ran.
struct TimerStop {
    CalendarDate date;  // year, month and day
    TimerDuration duration;
};

// The timer's file of a data folder ("timer" in it).
std::filesystem::path TimerFilePath(const std::filesystem::path& dataDir);

// Reads the timer with the clock at `now` (seconds since 1970); a damaged file is moved aside
// as "timer.damaged-YYYYMMDD-HHMMSS" (".1", ".2"... when that is taken).
TimerReading ReadTimer(const std::filesystem::path& dataDir, int64_t now);

// Keeps `timer` as the one running: written whole to a temporary, flushed and renamed into
// place. Refused, with `why`, while a timer file is there or the values cannot be kept.
bool StartTimer(const std::filesystem::path& dataDir, const RunningTimer& timer, std::string& why);

// The day and the duration a stop at `now` proposes.
TimerStop ProposeStop(const RunningTimer& timer, int64_t now);

// Forgets the timer (after its record was booked, or when it is discarded): the file goes and
// the folder is flushed. No file is no failure.
bool RemoveTimer(const std::filesystem::path& dataDir, std::string& why);

// Now in seconds since 1970, from the clock's universal time.
int64_t SecondsNow(const Clock& clock);

}  // namespace qv
