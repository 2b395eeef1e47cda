// The sums of a week or a month: hours per day per project, per category, per project and in
// all, taken from the report sums over the period's days.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/calendar.h"

namespace qv {

enum class PeriodKind { Week, Month };

// A run of whole days: a week from its first weekday, or a calendar month.
struct Period {
    PeriodKind kind = PeriodKind::Week;
    CalendarDate first;  // year, month, day only
    int days = 0;

    uint32_t FirstKey() const;
    uint32_t LastKey() const;
    // The date of the period's day at index (0 is the first day).
    CalendarDate Day(int index) const;

    friend bool operator==(const Period&, const Period&) = default;
};

// Year * 10000 + month * 100 + day, as records key their dates.
uint32_t DayKey(const CalendarDate& date);
// 1 for Monday to 7 for Sunday.
int Weekday(const CalendarDate& date);
int DaysInMonth(int year, int month);

// The week (starting on firstWeekday, 1 Monday to 7 Sunday) or the month holding the day.
Period PeriodHolding(const CalendarDate& day, PeriodKind kind, int firstWeekday);
// The period steps periods later (earlier when negative).
Period Shifted(const Period& period, int steps);

struct PeriodSums {
    Period period;
    struct ProjectSums {
        uint32_t projectId = 0;
        std::u16string name;
        std::vector<int64_t> perDay;  // one entry per day of the period
        int64_t total = 0;
    };
    std::vector<ProjectSums> projects;  // the listed projects with time in the period, in the
                                        // list's order
    struct CategorySum {
        std::u16string name;
        int64_t minutes = 0;
    };
    std::vector<CategorySum> categories;  // the listed categories with time, largest first
    int64_t total = 0;                    // every listed project's time in the period

    bool Empty() const { return projects.empty(); }
};

// The sums of the period over state's records, categories and projects. The lists' report
// totals and cursors are used as the reports use them.
PeriodSums SumPeriod(AppState& state, const Period& period);

}  // namespace qv
