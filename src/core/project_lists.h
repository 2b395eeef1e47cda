// The project sorts and the current project's balance.
#pragma once

#include <cstdint>
#include <string>

#include "core/app_state.h"

namespace qv {

// Each sort reorders projects in place through projectSortBuffer; order 1 is descending, 0 and
// 2 ascending. Equal dates or totals keep their order ascending and come out reversed
// descending; names sort by code units (every capital before every small letter).
bool SortProjectsByName(AppState& state, uint32_t order);
bool SortProjectsByDate(AppState& state, uint32_t order);
bool SortProjectsByTotal(AppState& state, uint32_t order);

// balanceRecord := the minutes of the current project's records in timeRecords.
bool UpdateProjectBalance(AppState& state);
// Moves the balance by one record's minutes: +1 as it joins timeRecords, -1 as it leaves.
// Booking into a long list stays quick: the list is not walked.
void AdjustProjectBalance(AppState& state, const TimeRecord& record, int direction);

// The category a new timer starts with: that of the latest record in timeRecords (by date, the
// last listed of that day) while it is still a category, else the first category; empty when
// there is none. The lists' cursors stay where they are.
std::u16string LastUsedCategory(const AppState& state);

}  // namespace qv
