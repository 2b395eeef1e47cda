// The chronological sort in O(n log n).
//
// The sort is defined by its effect: the records, in stable date-key order, end up as copies
// of themselves in the list, forwards or backwards. A record the setters built is its own copy,
// so only records whose texts disagree with their values are rewritten; the list's own records
// are relinked in the final order, and no second copy of the list is kept.
#include "core/date_sort.h"

#include <algorithm>
#include <vector>

namespace qv {

bool SortByDate(TimeRecordList& records, TimeRecordList& sortBuffer, SortOrder sortOrder) {
    const uint16_t n = records.Count();
    if (n == 0) return true;
    if (!sortBuffer.Empty()) sortBuffer.Clear();

    std::vector<uint64_t> keys;  // (date key, place): the place keeps equal days in order
    std::vector<TimeRecord*> originals;
    keys.reserve(n);
    originals.reserve(n);
    TimeRecord copy;
    for (TimeRecord* r = records.First(); r != nullptr; r = records.Next()) {
        keys.push_back(uint64_t{r->dateKey} << 32 | originals.size());
        originals.push_back(r);
        if (!CopiesAsItself(*r)) {
            CopyAsNew(copy, *r);
            *r = copy;  // the place in the list stays
        }
    }
    std::sort(keys.begin(), keys.end());

    std::vector<TimeRecord*> sorted(n);
    for (size_t i = 0; i < n; ++i) sorted[i] = originals[keys[i] & 0xFFFFFFFF];
    if (sortOrder == SortOrder::Descending) {
        records.Relink(sorted.rbegin(), sorted.rend());
    } else {
        records.Relink(sorted.begin(), sorted.end());
    }
    return true;
}

}  // namespace qv
