// The identifier clock: digits of a moment and the moment one second later.
#include "core/calendar.h"

#include "core/text.h"

namespace qv {

uint32_t ClockDigitsId(const CalendarDate& now) {
    std::u16string digits = FormatDecimal(now.day) + FormatDecimal(now.hour) +
                            FormatDecimal(now.minute) + FormatDecimal(now.second);
    return static_cast<uint32_t>(ParseLong(TrimBlanks(digits)));
}

namespace {
uint16_t DaysInMonth(uint16_t year, uint16_t month) {
    static const uint16_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 31;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}
}  // namespace

CalendarDate OneSecondLater(CalendarDate t) {
    t.millisecond = 0;
    if (++t.second < 60) return t;
    t.second = 0;
    if (++t.minute < 60) return t;
    t.minute = 0;
    if (++t.hour < 24) return t;
    t.hour = 0;
    t.dayOfWeek = static_cast<uint16_t>((t.dayOfWeek + 1) % 7);
    if (++t.day <= DaysInMonth(t.year, t.month)) return t;
    t.day = 1;
    if (++t.month <= 12) return t;
    t.month = 1;
    ++t.year;
    return t;
}

}  // namespace qv
