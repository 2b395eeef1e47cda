// Date texts, the date key and duration texts.
#include "core/formatting.h"

namespace qv {
namespace {

// Two digits with a leading zero below ten.
void AppendTwoDigits(std::u16string& out, uint32_t value) {
    out.push_back(static_cast<char16_t>(u'0' + value / 10));
    out.push_back(static_cast<char16_t>(u'0' + value % 10));
}

}  // namespace

bool BuildDateTexts(const CalendarDate& date, bool shortYear, DateTexts& texts, uint32_t& key) {
    if (date.day > 31 || date.month > 12 || date.year < 1000 || date.year > 9999) return false;
    std::u16string day, month;
    AppendTwoDigits(day, date.day);
    AppendTwoDigits(month, date.month);
    std::u16string year = FormatDecimal(date.year);
    if (shortYear) year = year.substr(year.size() - 2);
    // Each text is written into the string already there, so rebuilding reuses its storage.
    auto form = [&](Text& out, const std::u16string& a, const std::u16string& b, char16_t sep) {
        if (!out) out.emplace();
        std::u16string& t = *out;
        t.clear();
        t += a;
        t += sep;
        t += b;
        t += sep;
        t += year;
    };
    form(texts[DayMonthYearDash], day, month, u'-');
    form(texts[DayMonthYearSlash], day, month, u'/');
    form(texts[MonthDayYearDash], month, day, u'-');
    form(texts[MonthDayYearSlash], month, day, u'/');
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
