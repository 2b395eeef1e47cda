// The real clock: universal time, and the user's local time (the TZ variable, else the
// system's time zone).
#pragma once

#include "core/calendar.h"

namespace qv {

class SystemClock : public Clock {
  public:
    // Now in UTC, with the day of the week (0 Sunday) and milliseconds.
    CalendarDate GetSystemTime() const override;
    // Now in the user's time zone, likewise.
    CalendarDate GetLocalTime() const override;
};

// The moment `utc` on the calendar of the user's time zone, with its day of the week; the
// milliseconds are kept. Fields that are no moment of the calendar come back as they are.
CalendarDate LocalTimeOf(const CalendarDate& utc);

// A clock that stands still at a moment of universal time set from outside, read in the user's
// time zone like the real one: the replay tool's.
class ZonedFixedClock : public FixedClock {
  public:
    using FixedClock::FixedClock;
    CalendarDate GetLocalTime() const override { return LocalTimeOf(GetSystemTime()); }
};

}  // namespace qv
