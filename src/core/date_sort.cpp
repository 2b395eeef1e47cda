// The chronological sort in O(n log n).
//
// The sort is defined by its effect: the records in stable date-key order go into sortBuffer
// as copies, and the list is refilled with copies of those, forwards or backwards. Copying a
// copy gives the copy again, so the list's own records can be reused for the refill: each is
// given the contents of its sortBuffer copy and relinked in the final order.
#include "core/date_sort.h"

#include <algorithm>
#include <vector>

namespace qv {

bool SortByDate(TimeRecordList& records, TimeRecordList& sortBuffer, uint32_t sortOrder) {
    const uint16_t n = records.Count();
    if (n == 0) return true;

    // Sort (key, place) pairs: comparing them never touches the records themselves, and the
    // place breaks ties so equal days keep their order.
    std::vector<uint64_t> keys;
    std::vector<TimeRecord*> nodes;
    keys.reserve(n);
    nodes.reserve(n);
    for (TimeRecord* r = records.First(); r != nullptr; r = records.Next()) {
        keys.push_back(uint64_t{r->dateKey} << 32 | nodes.size());
        nodes.push_back(r);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<TimeRecord*> order;
    order.reserve(n);
    for (uint64_t k : keys) order.push_back(nodes[k & 0xFFFFFFFF]);

    sortBuffer.Clear();
    for (TimeRecord* r : order) {
        TimeRecord* copy = sortBuffer.Append(*r);
        if (copy == nullptr) return false;
        *r = *copy;  // the list keeps what a copy of the copy would hold
    }

    if (sortOrder == 1) {
        records.Relink(order.rbegin(), order.rend());
    } else {
        records.Relink(order.begin(), order.end());
    }
    return true;
}

}  // namespace qv
