// Date texts, the date key and duration texts.
#include "core/formatting.h"

namespace qv {
namespace {

constexpr char16_t Digit(uint32_t value) {
    return static_cast<char16_t>(u'0' + value);
}

}  // namespace

bool BuildDateTexts(const CalendarDate& date, bool shortYear, DateTexts& texts, uint32_t& key) {
    if (date.day > 31 || date.month > 12 || date.year < 1000 || date.year > 9999) return false;
    const char16_t day[2] = {Digit(date.day / 10), Digit(date.day % 10)};
    const char16_t month[2] = {Digit(date.month / 10), Digit(date.month % 10)};
    const char16_t year[4] = {Digit(date.year / 1000), Digit(date.year / 100 % 10),
                              Digit(date.year / 10 % 10), Digit(date.year % 10)};
    // dd-mm-yyyy, or dd-mm-yy for projects: the last two digits of the year.
    const std::u16string_view yearPart =
        shortYear ? std::u16string_view(year + 2, 2) : std::u16string_view(year, 4);
    auto form = [&](size_t which, const char16_t* a, const char16_t* b, char16_t sep) {
        char16_t t[DateTexts::kMaxChars];
        t[0] = a[0];
        t[1] = a[1];
        t[2] = sep;
        t[3] = b[0];
        t[4] = b[1];
        t[5] = sep;
        yearPart.copy(t + 6, yearPart.size());
        texts.Set(which, std::u16string_view(t, 6 + yearPart.size()));
    };
    form(DayMonthYearDash, day, month, u'-');
    form(DayMonthYearSlash, day, month, u'/');
    form(MonthDayYearDash, month, day, u'-');
    form(MonthDayYearSlash, month, day, u'/');
    key = DateKeyOf(date.year, date.month, date.day);
    return true;
}

std::u16string HoursMinutesText(int32_t hours, int32_t minutes, char16_t separator) {
    std::u16string t = FormatDecimal(hours);
    t += separator;
    if (minutes < 10) t += u'0';
    t += FormatDecimal(minutes);
    return t;
}

std::u16string ExportTimeText(int32_t t, uint32_t exportTimeType, uint32_t timeViewType) {
    std::u16string text;
    const int32_t m = t % 60;
    if (exportTimeType == HoursAndMinutes) {
        char16_t sep = TimeSeparator(timeViewType);
        if (t == 0) {
            text = std::u16string(u"0") + sep + u"0";
        } else if (m < 0) {
            text = u"0";
        } else {
            text = HoursMinutesText((t - m) / 60, m, sep);
        }
    } else if (exportTimeType == HoursOnly) {
        text = t == 0 ? u"0" : FormatDecimal((t - m) / 60);
    } else {
        text = t == 0 ? u"0" : FormatDecimal(t);
    }
    return TrimBlanks(text);
}

}  // namespace qv
