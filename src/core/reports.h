// The reports' sums over a range of days: every category's total, one category's total, every
// project's total, the category sorts, and the duration text the report lists show.
#pragma once

#include <cstdint>
#include <string>

#include "core/app_state.h"

namespace qv {

// Every category's totalMinutes := the minutes of the records with exactly its name, dated
// from firstKey to lastKey, both included. True when at least one record in the range belongs
// to a listed category; records of an unlisted category count nowhere. With no records at all
// nothing is computed and the totals stay as they were.
bool ComputeCategoryTotals(CategoryList& categories, TimeRecordList& records, uint32_t firstKey,
                           uint32_t lastKey);

// The minutes of the records with exactly this category, dated from firstKey to lastKey.
int64_t CategoryMinutes(TimeRecordList& records, const std::u16string& category, uint32_t firstKey,
                        uint32_t lastKey);

// Every project's totalMinutes := the minutes of its records dated from firstKey to lastKey,
// both included; grandTotal := their sum. True when at least one record in the range belongs to
// a listed project; records of no listed project count nowhere.
bool ComputeProjectTotals(ProjectList& projects, TimeRecordList& records, uint32_t firstKey,
                          uint32_t lastKey, int32_t& grandTotal);

// Reorder categories through categorySortBuffer; order 1 is descending, 0 and 2 ascending.
// Names sort by code units; equal totals keep their order ascending and come out reversed
// descending. A failed name sort leaves categories as they were.
bool SortCategoriesByName(AppState& state, uint32_t order);
bool SortCategoriesByTime(AppState& state, uint32_t order);

// A total as the report lists show it: hours in full and two-digit minutes, "1,05" or "1:05";
// no time at all is "0,0" or "0:0". A total of 60,000 minutes or more shows its hours in full
// too, where a blank would read as no time at all.
std::u16string ReportTimeText(int32_t minutes, uint32_t timeViewType);

}  // namespace qv
