// Date texts, the date key and duration texts.
#include "core/formatting.h"

namespace qv {
namespace {

constexpr char16_t Digit(uint32_t value) {
    return static_cast<char16_t>(u'0' + value);
}

// The decimal digits of a non-negative number into buf, which holds at least eleven; their count.
size_t DigitsOf(uint32_t value, char16_t* buf) {
    char16_t reversed[10];
    size_t n = 0;
    do {
        reversed[n++] = Digit(value % 10);
        value /= 10;
    } while (value != 0);
    for (size_t i = 0; i < n; ++i) buf[i] = reversed[n - 1 - i];
    return n;
}

}  // namespace

bool BuildDateTexts(const CalendarDate& date, bool shortYear, DateTexts& texts, uint32_t& key) {
    if (date.day > 31 || date.month > 12 || date.year < 1000 || date.year > 9999) return false;
    texts.year_ = date.year;
    texts.month_ = static_cast<uint8_t>(date.month);
    texts.day_ = static_cast<uint8_t>(date.day);
    texts.shortYear_ = shortYear;
    texts.built_ = true;
    key = DateKeyOf(date.year, date.month, date.day);
    return true;
}

// dd-mm-yyyy, or dd-mm-yy for projects: the last two digits of the year.
InlineText DateTexts::operator[](size_t form) const {
    if (!built_) return InlineText();
    const char16_t day[2] = {Digit(day_ / 10u), Digit(day_ % 10u)};
    const char16_t month[2] = {Digit(month_ / 10u), Digit(month_ % 10u)};
    const char16_t year[4] = {Digit(year_ / 1000u), Digit(year_ / 100u % 10),
                              Digit(year_ / 10u % 10), Digit(year_ % 10u)};
    const bool monthFirst = form == MonthDayYearDash || form == MonthDayYearSlash;
    const char16_t sep = form == DayMonthYearSlash || form == MonthDayYearSlash ? u'/' : u'-';
    const char16_t* a = monthFirst ? month : day;
    const char16_t* b = monthFirst ? day : month;
    char16_t t[10] = {a[0], a[1], sep, b[0], b[1], sep};
    size_t n = 6;
    for (size_t i = shortYear_ ? 2 : 0; i < 4; ++i) t[n++] = year[i];
    return InlineText(std::u16string_view(t, n));
}

std::u16string HoursMinutesText(int32_t hours, int32_t minutes, char16_t separator) {
    std::u16string t = FormatDecimal(hours);
    t += separator;
    if (minutes < 10) t += u'0';
    t += FormatDecimal(minutes);
    return t;
}

InlineText DurationText(int32_t t, char16_t separator) {
    char16_t text[24];
    if (t == 0) {
        text[0] = u'0';
        text[1] = separator;
        text[2] = u'0';
        return InlineText(std::u16string_view(text, 3));
    }
    const int32_t m = t % 60;
    if (m < 0) return InlineText();
    const int32_t h = (t - m) / 60;
    size_t n = 0;
    if (h < 0) text[n++] = u'-';
    n += DigitsOf(h < 0 ? 0u - static_cast<uint32_t>(h) : static_cast<uint32_t>(h), text + n);
    text[n++] = separator;
    if (m < 10) text[n++] = u'0';
    n += DigitsOf(static_cast<uint32_t>(m), text + n);
    return InlineText(std::u16string_view(text, n));
}

std::u16string ExportTimeText(int32_t t, uint32_t exportTimeType, uint32_t timeViewType) {
    const int32_t m = t % 60;
    if (exportTimeType == HoursAndMinutes) {
        // "0,0" for none; a negative duration that is not whole hours as "0"
        if (m < 0) return u"0";
        return std::u16string(*DurationText(t, TimeSeparator(timeViewType)));
    }
    const int32_t value = exportTimeType == HoursOnly ? (t - m) / 60 : t;
    char16_t text[12];
    size_t n = 0;
    if (value < 0) text[n++] = u'-';
    n += DigitsOf(value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value),
                  text + n);
    return std::u16string(text, n);
}

}  // namespace qv
