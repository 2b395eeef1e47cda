// The date sort carried out step by step as it was first described, with list operations
// only: a quadratic number of record visits. Kept as the reference the real sort must match.
#pragma once

#include <algorithm>
#include <vector>

#include "core/comparisons.h"
#include "core/time_record.h"

namespace qv::testing {

inline bool LiteralSortByDate(TimeRecordList& records, TimeRecordList& sortBuffer,
                              uint32_t sortOrder) {
    const uint16_t n = records.Count();
    if (n == 0) return true;
    std::vector<uint32_t> keys;
    for (TimeRecord* r = records.First(); r != nullptr; r = records.Next()) {
        keys.push_back(r->dateKey);
    }
    std::sort(keys.begin(), keys.end(),
              [](uint32_t a, uint32_t b) { return CompareUnsigned(a, b) < 0; });
    if (!sortBuffer.Empty()) sortBuffer.Clear();
    for (uint32_t key : keys) {
        TimeRecord* r = FindByDateKey(records, key);
        if (r == nullptr) return false;
        sortBuffer.Append(*r);
        records.RemoveAt(r->position);
    }
    if (records.Count() != 0) return false;
    if (sortOrder == 1) {
        for (TimeRecord* r = sortBuffer.Last(); r != nullptr; r = r->prev) records.Append(*r);
    } else {
        for (TimeRecord* r = sortBuffer.First(); r != nullptr; r = sortBuffer.Next()) {
            records.Append(*r);
        }
    }
    return true;
}

}  // namespace qv::testing
