// The identifier clock: digits of a moment and the moment one second later.
#include "core/calendar.h"

#include <initializer_list>

namespace qv {

uint32_t ClockDigitsId(const CalendarDate& now) {
    // Worked out in numbers, not text: finding a free identifier may try many moments.
    uint64_t id = 0;
    for (const uint16_t part : {now.day, now.hour, now.minute, now.second}) {
        uint64_t scale = 10;
        while (scale <= part) scale *= 10;
        id = id * scale + part;
    }
    return static_cast<uint32_t>(id);
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

std::optional<int64_t> SecondsSinceEpoch(const CalendarDate& t) {
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month) ||
        t.hour > 23 || t.minute > 59 || t.second > 59) {
        return std::nullopt;
    }
    // days from the civil date, counted in 400-year eras from 1 March of year 0
    const int64_t y = int64_t{t.year} - (t.month <= 2 ? 1 : 0);
    const int64_t era = y / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (t.month > 2 ? t.month - 3 : t.month + 9) + 2) / 5 + t.day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const int64_t days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

}  // namespace qv
