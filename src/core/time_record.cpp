// Time record setters and text getters.
#include "core/time_record.h"

namespace qv {

void Reset(TimeRecord& r) {
    r.recordId = kNoRecordId;
    r.dateKey = 0;
    r.dateTexts.Clear();
    r.minutesText.reset();
    r.timeComma.reset();
    r.timeColon.reset();
    r.category.reset();
    r.memo.reset();
}

namespace {
// Date texts are only ever built from a date; when all four are there and the key is the key of
// a date within bounds, they were built from exactly that date (the key names one date only).
bool DateTextsMatchDate(const TimeRecord& r) {
    const CalendarDate& d = r.date;
    if (d.day > 31 || d.month > 12 || d.year < 1000 || d.year > 9999) return false;
    if (r.dateKey != DateKeyOf(d.year, d.month, d.day)) return false;
    return r.dateTexts.HasAll();
}
}  // namespace

void CopyFrom(TimeRecord& target, const TimeRecord& source) {
    if (&target == &source) return;
    target.recordId = source.recordId;
    target.projectId = source.projectId;
    if (DateTextsMatchDate(source)) {
        // What SetDate would build, without building it again.
        target.date = source.date;
        target.dateTexts = source.dateTexts;
        target.dateKey = source.dateKey;
    } else {
        SetDate(target, source.date);
    }
    SetCategory(target, source.category);
    SetMemo(target, source.memo);
    SetMinutes(target, source.minutesText);
}

void CopyAsNew(TimeRecord& target, const TimeRecord& source) {
    if (&target == &source) return;
    target.recordId = source.recordId;
    target.projectId = source.projectId;
    target.date = source.date;
    if (DateTextsMatchDate(source)) {
        // Texts built from this very date: copying them gives what building them again would.
        target.dateTexts = source.dateTexts;
        target.dateKey = source.dateKey;
    } else if (!BuildDateTexts(source.date, /*shortYear=*/false, target.dateTexts,
                               target.dateKey)) {
        target.dateTexts.Clear();
        target.dateKey = 0;
    }
    if (source.category && !source.category->empty()) {
        target.category = source.category;
    } else {
        target.category.reset();
    }
    target.memo = source.memo;
    if (!SetMinutes(target, source.minutesText)) {
        target.minutesText.reset();
        target.timeComma.reset();
        target.timeColon.reset();
    }
}

bool SetCategory(TimeRecord& r, const Text& text) {
    if (!text || text->empty()) return false;
    r.category = text;
    return true;
}

bool SetMemo(TimeRecord& r, const Text& text) {
    if (!text) return false;
    r.memo = text;
    return true;
}

bool SetDate(TimeRecord& r, const CalendarDate& date) {
    r.date = date;
    return BuildDateTexts(date, /*shortYear=*/false, r.dateTexts, r.dateKey);
}

namespace {

struct DurationTexts {
    std::u16string comma;
    std::u16string colon;
};

// The two duration texts of a minutes text; none for a negative duration, which no part of the
// program makes and which is not kept.
std::optional<DurationTexts> DurationTextsOf(const std::u16string& text) {
    const int32_t t = ParseLong(text);
    if (t == 0) return DurationTexts{u"0,0", u"0:0"};
    const int32_t m = t % 60;
    if (m < 0) return std::nullopt;
    const int32_t h = (t - m) / 60;
    return DurationTexts{HoursMinutesText(h, m, u','), HoursMinutesText(h, m, u':')};
}

}  // namespace

bool SetMinutes(TimeRecord& r, const Text& text) {
    if (!text || text->empty()) return false;
    r.minutesText = text;
    r.timeComma.reset();
    r.timeColon.reset();
    std::optional<DurationTexts> texts = DurationTextsOf(*text);
    if (!texts) {
        r.minutesText.reset();
        return false;
    }
    r.timeComma = std::move(texts->comma);
    r.timeColon = std::move(texts->colon);
    return true;
}

bool CopiesAsItself(const TimeRecord& r) {
    if (!DateTextsMatchDate(r)) return false;
    if (r.category && r.category->empty()) return false;
    if (!r.minutesText) return !r.timeComma && !r.timeColon;
    if (r.minutesText->empty()) return false;
    const std::optional<DurationTexts> texts = DurationTextsOf(*r.minutesText);
    return texts && r.timeComma == texts->comma && r.timeColon == texts->colon;
}

DateTextView DateText(const TimeRecord& r, uint32_t type) {
    return r.dateTexts[type <= MonthDayYearSlash ? type : DayMonthYearDash];
}

const Text& TimeText(const TimeRecord& r, uint32_t type) {
    return type == Comma ? r.timeComma : r.timeColon;
}

int32_t MinutesOf(const TimeRecord& r) {
    return r.minutesText ? ParseLong(*r.minutesText) : 0;
}

}  // namespace qv
