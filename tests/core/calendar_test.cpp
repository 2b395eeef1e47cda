// The identifier clock: the digits of a moment and the next second.
#include "core/calendar.h"

#include <gtest/gtest.h>

#include "core/text.h"

namespace qv {
namespace {

CalendarDate At(uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi, uint16_t s) {
    CalendarDate t = MakeDate(y, mo, d);
    t.hour = h;
    t.minute = mi;
    t.second = s;
    return t;
}

TEST(ClockDigitsId, JoinsTheDigitsWithoutLeadingZeros) {
    // every moment of days with one and two digits, against the digits written as text
    for (uint16_t day : {9, 10}) {
        for (CalendarDate t = At(2005, 10, day, 0, 0, 0); t.day == day; t = OneSecondLater(t)) {
            const std::u16string text = FormatDecimal(t.day) + FormatDecimal(t.hour) +
                                        FormatDecimal(t.minute) + FormatDecimal(t.second);
            ASSERT_EQ(ClockDigitsId(t), static_cast<uint32_t>(ParseLong(text)));
        }
    }
}

TEST(OneSecondLater, CarriesIntoMinutesHoursDaysMonthsAndYears) {
    struct Case {
        CalendarDate from, to;
    };
    const Case cases[] = {
        {At(2005, 10, 5, 14, 3, 59), At(2005, 10, 5, 14, 4, 0)},
        {At(2005, 4, 30, 23, 59, 59), At(2005, 5, 1, 0, 0, 0)},
        {At(2005, 2, 28, 23, 59, 59), At(2005, 3, 1, 0, 0, 0)},
        {At(2004, 2, 28, 23, 59, 59), At(2004, 2, 29, 0, 0, 0)},  // leap year
        {At(1900, 2, 28, 23, 59, 59), At(1900, 3, 1, 0, 0, 0)},   // a century is not
        {At(2000, 2, 28, 23, 59, 59), At(2000, 2, 29, 0, 0, 0)},  // unless it divides by 400
        {At(2005, 12, 31, 23, 59, 59), At(2006, 1, 1, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SecondsSinceEpoch(c.to).value_or(0) - SecondsSinceEpoch(c.from).value_or(0), 1);
        CalendarDate next = OneSecondLater(c.from);
        next.dayOfWeek = 0;  // counted on separately below
        EXPECT_EQ(next, c.to) << c.from.year << "-" << c.from.month << "-" << c.from.day;
    }
    CalendarDate t = At(2005, 10, 5, 23, 59, 59);
    t.dayOfWeek = 6;
    t.millisecond = 999;
    const CalendarDate next = OneSecondLater(t);
    EXPECT_EQ(next.dayOfWeek, 0) << "Saturday rolls over to Sunday";
    EXPECT_EQ(next.millisecond, 0);
}

TEST(SecondsSinceEpoch, CountsFromNineteenSeventyAndRefusesWhatIsNoMoment) {
    EXPECT_EQ(SecondsSinceEpoch(At(1970, 1, 1, 0, 0, 0)), 0);
    EXPECT_EQ(SecondsSinceEpoch(At(2005, 10, 29, 14, 3, 9)), 1130594589);
    EXPECT_EQ(SecondsSinceEpoch(At(1969, 12, 31, 23, 59, 59)), -1);
    for (const CalendarDate& no : {At(2005, 13, 1, 0, 0, 0), At(2005, 2, 29, 0, 0, 0),
                                   At(2005, 4, 31, 0, 0, 0), At(2005, 4, 1, 24, 0, 0)}) {
        EXPECT_FALSE(SecondsSinceEpoch(no).has_value());
    }
}

}  // namespace
}  // namespace qv
