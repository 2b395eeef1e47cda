// The calendar value: the handheld's date structure of eight unsigned 16-bit numbers.
#pragma once

#include <cstdint>
#include <optional>

namespace qv {

struct CalendarDate {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t millisecond = 0;

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// Only year, month and day carry meaning in stored dates.
inline CalendarDate MakeDate(uint16_t year, uint16_t month, uint16_t day) {
    CalendarDate d;
    d.year = year;
    d.month = month;
    d.day = day;
    return d;
}

// The clock: the moment in universal time (GetSystemTime), which identifiers are made of, and
// the same moment on the user's own calendar (GetLocalTime), which says what day "today" is.
// Tests set it.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual CalendarDate GetSystemTime() const = 0;
    virtual CalendarDate GetLocalTime() const = 0;
};

// The digits of day, hour, minute and second written one after the other, each without
// leading zeros: the 5th at 14:03:09 gives 51439. Records and projects take it as their
// identifier.
uint32_t ClockDigitsId(const CalendarDate& now);

// The same moment one second later, across minutes, hours, days, months and years; the
// milliseconds are dropped.
CalendarDate OneSecondLater(CalendarDate t);

// The seconds from 1 January 1970 to the moment (milliseconds dropped); none when the fields
// are not a moment of the calendar (a 13th month, a 30th of February, a 60th second).
std::optional<int64_t> SecondsSinceEpoch(const CalendarDate& t);

// A clock that stands still until it is set again, in a time zone of its own that is universal
// time.
class FixedClock : public Clock {
  public:
    explicit FixedClock(CalendarDate now = {}) : now_(now) {}
    CalendarDate GetSystemTime() const override { return now_; }
    CalendarDate GetLocalTime() const override { return now_; }
    void Set(CalendarDate now) { now_ = now; }

  private:
    CalendarDate now_;
};

}  // namespace qv
