// The real clock in universal time.
#pragma once

#include "core/calendar.h"

namespace qv {

class SystemClock : public Clock {
  public:
    // Now in UTC, with the day of the week (0 Sunday) and milliseconds.
    CalendarDate GetSystemTime() const override;
};

}  // namespace qv
