// The period's sums: the report totals for the whole period, and one walk for the days.
#include "core/period_sums.h"

#include <algorithm>
#include <unordered_map>

#include "core/date_range.h"
#include "core/reports.h"

namespace qv {
namespace {

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CalendarDate CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    return MakeDate(static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d));
}

int64_t DaysOf(const CalendarDate& d) {
    return DaysFromCivil(d.year, d.month, d.day);
}

}  // namespace

uint32_t DayKey(const CalendarDate& date) {
    return date.year * 10000u + date.month * 100u + date.day;
}

int Weekday(const CalendarDate& date) {
    // 1 January 1970 was a Thursday (4).
    const int64_t days = DaysOf(date);
    return static_cast<int>(((days % 7 + 7) % 7 + 3) % 7) + 1;
}

int DaysInMonth(int year, int month) {
    const int next = month == 12 ? 1 : month + 1;
    const int nextYear = month == 12 ? year + 1 : year;
    return static_cast<int>(DaysFromCivil(nextYear, next, 1) - DaysFromCivil(year, month, 1));
}

CalendarDate Period::Day(int index) const {
    return CivilFromDays(DaysOf(first) + index);
}

uint32_t Period::FirstKey() const {
    return DayKey(first);
}

uint32_t Period::LastKey() const {
    return DayKey(Day(days - 1));
}

Period PeriodHolding(const CalendarDate& day, PeriodKind kind, int firstWeekday) {
    Period p;
    p.kind = kind;
    if (kind == PeriodKind::Month) {
        p.first = MakeDate(day.year, day.month, 1);
        p.days = DaysInMonth(day.year, day.month);
    } else {
        const int back = (Weekday(day) - firstWeekday + 7) % 7;
        p.first = CivilFromDays(DaysOf(day) - back);
        p.days = 7;
    }
    return p;
}

Period Shifted(const Period& period, int steps) {
    if (period.kind == PeriodKind::Week) {
        Period p = period;
        p.first = CivilFromDays(DaysOf(period.first) + 7 * static_cast<int64_t>(steps));
        return p;
    }
    const int months = period.first.year * 12 + (period.first.month - 1) + steps;
    return PeriodHolding(
        MakeDate(static_cast<uint16_t>(months / 12), static_cast<uint16_t>(months % 12 + 1), 1),
        PeriodKind::Month, 1);
}

PeriodSums SumPeriod(AppState& state, const Period& period) {
    PeriodSums sums;
    sums.period = period;
    const uint32_t firstKey = period.FirstKey();
    const uint32_t lastKey = period.LastKey();

    int32_t grandTotal = 0;
    ComputeProjectTotals(state.projects, state.timeRecords, firstKey, lastKey, grandTotal);
    std::unordered_map<uint32_t, size_t> indexOf;
    std::vector<PeriodSums::ProjectSums> all;
    for (ProjectRecord* p = state.projects.First(); p != nullptr; p = state.projects.Next()) {
        if (indexOf.count(p->projectId) != 0) continue;  // a project listed twice counts once
        indexOf.emplace(p->projectId, all.size());
        all.push_back({p->projectId, p->name.value_or(u""),
                       std::vector<int64_t>(static_cast<size_t>(period.days), 0), p->totalMinutes});
    }
    // The days: one walk over the records of the period.
    std::vector<uint32_t> keys;
    for (int i = 0; i < period.days; ++i) keys.push_back(DayKey(period.Day(i)));
    for (TimeRecord* r = state.timeRecords.First(); r != nullptr; r = state.timeRecords.Next()) {
        if (!DayInRange(r->dateKey, firstKey, lastKey)) continue;
        const auto at = indexOf.find(r->projectId);
        if (at == indexOf.end()) continue;
        const auto day = std::lower_bound(keys.begin(), keys.end(), r->dateKey);
        all[at->second].perDay[static_cast<size_t>(day - keys.begin())] += MinutesOf(*r);
    }
    for (PeriodSums::ProjectSums& p : all) {
        bool booked = p.total != 0;
        for (int64_t m : p.perDay) booked = booked || m != 0;
        sums.total += p.total;
        if (booked) sums.projects.push_back(std::move(p));
    }

    ComputeCategoryTotals(state.categories, state.timeRecords, firstKey, lastKey);
    for (CategoryItem* c = state.categories.First(); c != nullptr; c = state.categories.Next()) {
        if (c->totalMinutes != 0 && c->name) sums.categories.push_back({*c->name, c->totalMinutes});
    }
    std::stable_sort(sums.categories.begin(), sums.categories.end(),
                     [](const auto& a, const auto& b) { return a.minutes > b.minutes; });
    return sums;
}

}  // namespace qv
