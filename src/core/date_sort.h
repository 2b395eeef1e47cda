// The chronological sort of the main list.
#pragma once

#include <cstdint>

#include "core/time_record.h"

namespace qv {

// Sorts the records by date key: oldest day first, or newest first when sortOrder is 1.
// Records of the same day keep their order ascending and come out exactly reversed
// descending. sortBuffer keeps the sorted copies (in ascending order) until the next sort;
// an empty list succeeds at once and leaves sortBuffer alone. Both cursors end on their last
// record.
bool SortByDate(TimeRecordList& records, TimeRecordList& sortBuffer, uint32_t sortOrder);

}  // namespace qv
