// Date and duration texts: the format selectors, the date key, the duration texts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/calendar.h"
#include "core/text.h"

namespace qv {

enum DateViewType : uint32_t {
    DayMonthYearDash = 0,   // 29-10-2005
    DayMonthYearSlash = 1,  // 29/10/2005
    MonthDayYearDash = 2,   // 10-29-2005
    MonthDayYearSlash = 3,  // 10/29/2005
};

enum TimeViewType : uint32_t {
    Comma = 0,  // 13,30
    Colon = 1,  // 13:30
};

enum ExportTimeType : uint32_t {
    Minutes = 0,          // 810
    HoursAndMinutes = 1,  // 13,30 or 13:30
    HoursOnly = 2,        // 13
};

// The four date texts of a record, present together or absent together. They are kept as the
// date they were built from and written out when asked for: every form is a fixed pattern of
// that date's digits, so a record carries eight bytes instead of four strings.
class DateTexts {
  public:
    // The form's text; absent when none were built.
    InlineText operator[](size_t form) const;
    bool Has(size_t) const { return built_; }
    bool HasAll() const { return built_; }
    // Whether the texts are those of this date (day, month and year).
    bool BuiltFrom(const CalendarDate& date) const {
        return built_ && date.year == year_ && date.month == month_ && date.day == day_;
    }
    void Clear() { built_ = false; }
    // All of it in four bytes, for keeping many; Unpack gives it back as it was.
    uint32_t Pack() const {
        return uint32_t{year_} << 16 | uint32_t{month_} << 11 | uint32_t{day_} << 5 |
               uint32_t{shortYear_} << 1 | uint32_t{built_};
    }
    static DateTexts Unpack(uint32_t packed) {
        DateTexts t;
        t.year_ = static_cast<uint16_t>(packed >> 16);
        t.month_ = static_cast<uint8_t>((packed >> 11) & 0x1F);
        t.day_ = static_cast<uint8_t>((packed >> 5) & 0x3F);
        t.shortYear_ = (packed & 2) != 0;
        t.built_ = (packed & 1) != 0;
        return t;
    }

    friend bool operator==(const DateTexts& a, const DateTexts& b) {
        if (a.built_ != b.built_) return false;
        return !a.built_ || (a.year_ == b.year_ && a.month_ == b.month_ && a.day_ == b.day_ &&
                             a.shortYear_ == b.shortYear_);
    }

  private:
    friend bool BuildDateTexts(const CalendarDate&, bool, DateTexts&, uint32_t&);
    uint16_t year_ = 0;
    uint8_t month_ = 0;
    uint8_t day_ = 0;
    bool shortYear_ = false;
    bool built_ = false;
};

// A date text of a record, or none.
using DateTextView = InlineText;

// The form of DateTexts a date view shows: its own, or the first for a value outside the four.
constexpr size_t DateForm(uint32_t dateViewType) {
    return dateViewType <= MonthDayYearSlash ? dateViewType : DayMonthYearDash;
}

// Whether a date view puts the month before the day.
constexpr bool MonthFirst(uint32_t dateViewType) {
    return DateForm(dateViewType) >= MonthDayYearDash;
}

// Builds the four date texts and the date key of a date: four-digit years, or two-digit years
// for projects. False (and nothing written) when the day is above 31, the month above 12 or
// the year outside 1000 to 9999.
bool BuildDateTexts(const CalendarDate& date, bool shortYear, DateTexts& texts, uint32_t& key);

// year * 10000 + month * 100 + day.
constexpr uint32_t DateKeyOf(uint32_t year, uint32_t month, uint32_t day) {
    return year * 10000 + month * 100 + day;
}

// H and M with a separator: "%d,0%d" below ten minutes, "%d,%d" from ten.
std::u16string HoursMinutesText(int32_t hours, int32_t minutes, char16_t separator);

// The duration text of T minutes as a record shows it: "0,0" for none, otherwise hours and
// minutes ("1,30"); absent for a negative duration that is not whole hours.
InlineText DurationText(int32_t minutes, char16_t separator);

// The separator of a duration display: a comma for 0, a colon for anything else.
constexpr char16_t TimeSeparator(uint32_t timeViewType) {
    return timeViewType == Comma ? u',' : u':';
}

// The time cell of an exported row for T minutes.
std::u16string ExportTimeText(int32_t minutes, uint32_t exportTimeType, uint32_t timeViewType);

}  // namespace qv
