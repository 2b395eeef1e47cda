// The chronological sort in O(n log n).
//
// The sort is defined by its effect: the records in stable date-key order go into sortBuffer
// as copies, and the list is refilled with copies of those, forwards or backwards. Copying a
// copy gives the copy again, so the list's own records are reused for the refill: each takes
// the contents of its copy, and both lists are relinked in the final order.
#include "core/date_sort.h"

#include <algorithm>
#include <vector>

namespace qv {

bool SortByDate(TimeRecordList& records, TimeRecordList& sortBuffer, uint32_t sortOrder) {
    const uint16_t n = records.Count();
    if (n == 0) return true;

    // Copy in list order, where the records lie one after the other in memory, and only then
    // put the copies and the records in date order by relinking them. The buffer's previous
    // copies are reused, so a sort after a sort allocates nothing.
    std::vector<TimeRecord*> spare = sortBuffer.Detach();
    std::vector<uint64_t> keys;  // (date key, place): the place keeps equal days in order
    std::vector<TimeRecord*> originals;
    std::vector<TimeRecord*> copies;
    keys.reserve(n);
    originals.reserve(n);
    copies.reserve(n);
    for (TimeRecord* r = records.First(); r != nullptr; r = records.Next()) {
        const size_t place = originals.size();
        keys.push_back(uint64_t{r->dateKey} << 32 | place);
        TimeRecord* copy;
        if (place < spare.size()) {
            copy = spare[place];
            CopyAsNew(*copy, *r);
        } else {
            copy = new TimeRecord();
            CopyFrom(*copy, *r);
        }
        *r = *copy;  // the list keeps what a copy of the copy would hold
        originals.push_back(r);
        copies.push_back(copy);
    }
    for (size_t i = n; i < spare.size(); ++i) delete spare[i];
    std::sort(keys.begin(), keys.end());

    std::vector<TimeRecord*> sortedCopies(n), sortedOriginals(n);
    for (size_t i = 0; i < n; ++i) {
        const size_t place = keys[i] & 0xFFFFFFFF;
        sortedCopies[i] = copies[place];
        sortedOriginals[i] = originals[place];
    }
    sortBuffer.Relink(sortedCopies.begin(), sortedCopies.end());
    if (sortOrder == 1) {
        records.Relink(sortedOriginals.rbegin(), sortedOriginals.rend());
    } else {
        records.Relink(sortedOriginals.begin(), sortedOriginals.end());
    }
    return true;
}

}  // namespace qv
