// The real clock in universal and in local time.
#include "platform/files/system_clock.h"

#include <time.h>

namespace qv {
namespace {

CalendarDate FromTm(const tm& t, uint16_t millisecond) {
    CalendarDate date;
    date.year = static_cast<uint16_t>(t.tm_year + 1900);
    date.month = static_cast<uint16_t>(t.tm_mon + 1);
    date.dayOfWeek = static_cast<uint16_t>(t.tm_wday);
    date.day = static_cast<uint16_t>(t.tm_mday);
    date.hour = static_cast<uint16_t>(t.tm_hour);
    date.minute = static_cast<uint16_t>(t.tm_min);
    // A leap second reads as the last second of its minute.
    date.second = static_cast<uint16_t>(t.tm_sec > 59 ? 59 : t.tm_sec);
    date.millisecond = millisecond;
    return date;
}

CalendarDate Now(bool local) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm t{};
    if (local) {
        ::tzset();  // localtime_r reads TZ afresh only after it
        ::localtime_r(&now.tv_sec, &t);
    } else {
        ::gmtime_r(&now.tv_sec, &t);
    }
    return FromTm(t, static_cast<uint16_t>(now.tv_nsec / 1000000));
}

}  // namespace

CalendarDate SystemClock::GetSystemTime() const {
    return Now(false);
}

CalendarDate SystemClock::GetLocalTime() const {
    return Now(true);
}

CalendarDate LocalTimeOf(const CalendarDate& utc) {
    const std::optional<int64_t> seconds = SecondsSinceEpoch(utc);
    if (!seconds) return utc;
    const time_t moment = static_cast<time_t>(*seconds);
    tm t{};
    ::tzset();
    if (::localtime_r(&moment, &t) == nullptr || t.tm_year + 1900 < 0 ||
        t.tm_year + 1900 > 0xFFFF) {
        return utc;
    }
    return FromTm(t, utc.millisecond);
}

}  // namespace qv
