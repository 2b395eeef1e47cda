// The chronological sort of the main list.
#pragma once

#include <cstdint>

#include "core/sort_order.h"
#include "core/time_record.h"

namespace qv {

// Sorts the records by date key: newest first when descending, otherwise oldest first.
// Records of the same day keep their order ascending and come out exactly reversed
// descending; each record ends up as a copy of itself would be. sortBuffer is emptied: no
// second copy of the list is kept. An empty list succeeds at once and leaves sortBuffer
// alone. The list's cursor ends on its last record. The records move among the list's own
// places in memory, so that a walk in the new order reads memory in order: a pointer to a
// record taken before the sort may name another record after it.
bool SortByDate(TimeRecordList& records, TimeRecordList& sortBuffer, SortOrder sortOrder);

// The same with the direction as the settings store it.
inline bool SortByDate(TimeRecordList& records, TimeRecordList& sortBuffer, uint32_t storedOrder) {
    return SortByDate(records, sortBuffer, SortOrderFromStored(storedOrder));
}

}  // namespace qv
