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

// The four date texts of a record, each present or absent. A date text is at most ten
// characters (dd-mm-yyyy), so the texts live inside the record: no record owns four small
// heap strings, and copying or sorting records stays cheap.
class DateTexts {
  public:
    static constexpr size_t kMaxChars = 10;

    std::optional<std::u16string_view> operator[](size_t form) const {
        if (length_[form] == kAbsent) return std::nullopt;
        return std::u16string_view(text_[form], length_[form]);
    }
    bool Has(size_t form) const { return length_[form] != kAbsent; }
    bool HasAll() const { return Has(0) && Has(1) && Has(2) && Has(3); }
    // Texts longer than kMaxChars are cut; no date text is.
    void Set(size_t form, std::u16string_view text) {
        const size_t n = text.size() < kMaxChars ? text.size() : kMaxChars;
        text.copy(text_[form], n);
        length_[form] = static_cast<uint8_t>(n);
    }
    void Clear() { length_.fill(kAbsent); }

    friend bool operator==(const DateTexts& a, const DateTexts& b) {
        for (size_t i = 0; i < 4; ++i) {
            if (a[i] != b[i]) return false;
        }
        return true;
    }

  private:
    static constexpr uint8_t kAbsent = 0xFF;
    char16_t text_[4][kMaxChars] = {};
    std::array<uint8_t, 4> length_{kAbsent, kAbsent, kAbsent, kAbsent};
};

// A date text of a record, or none.
using DateTextView = std::optional<std::u16string_view>;

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

// The separator of a duration display: a comma for 0, a colon for anything else.
constexpr char16_t TimeSeparator(uint32_t timeViewType) {
    return timeViewType == Comma ? u',' : u':';
}

// The time cell of an exported row for T minutes.
std::u16string ExportTimeText(int32_t minutes, uint32_t exportTimeType, uint32_t timeViewType);

}  // namespace qv
