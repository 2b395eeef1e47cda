// The real clock in universal time.
#include "platform/files/system_clock.h"

#include <time.h>

namespace qv {

CalendarDate SystemClock::GetSystemTime() const {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm utc{};
    ::gmtime_r(&now.tv_sec, &utc);
    CalendarDate date;
    date.year = static_cast<uint16_t>(utc.tm_year + 1900);
    date.month = static_cast<uint16_t>(utc.tm_mon + 1);
    date.dayOfWeek = static_cast<uint16_t>(utc.tm_wday);
    date.day = static_cast<uint16_t>(utc.tm_mday);
    date.hour = static_cast<uint16_t>(utc.tm_hour);
    date.minute = static_cast<uint16_t>(utc.tm_min);
    // A leap second reads as the last second of its minute.
    date.second = static_cast<uint16_t>(utc.tm_sec > 59 ? 59 : utc.tm_sec);
    date.millisecond = static_cast<uint16_t>(now.tv_nsec / 1000000);
    return date;
}

}  // namespace qv
