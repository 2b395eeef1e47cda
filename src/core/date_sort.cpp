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
namespace {

// Asks for a record's memory before it is needed.
void Prefetch(const TimeRecord* r) {
    const char* p = reinterpret_cast<const char*>(r);
    for (size_t line = 0; line < sizeof(TimeRecord); line += 64) __builtin_prefetch(p + line);
}

}  // namespace

bool SortByDate(TimeRecordList& records, TimeRecordList& sortBuffer, SortOrder sortOrder) {
    const uint16_t n = records.Count();
    if (n == 0) return true;

    // First only the links and keys are walked; then each record is copied, with the records a
    // few places ahead already on their way from memory (the lists' records lie scattered after
    // earlier sorts, and a walk by links alone would wait for each one in turn). The buffer's
    // previous copies are reused, so a sort after a sort allocates nothing.
    std::vector<uint64_t> keys;  // (date key, place): the place keeps equal days in order
    std::vector<TimeRecord*> originals;
    keys.reserve(n);
    originals.reserve(n);
    for (TimeRecord* r = records.First(); r != nullptr; r = records.Next()) {
        keys.push_back(uint64_t{r->dateKey} << 32 | originals.size());
        originals.push_back(r);
    }
    std::vector<TimeRecord*> spare = sortBuffer.Detach();
    std::vector<TimeRecord*> copies(n);
    constexpr size_t kAhead = 6;
    for (size_t place = 0; place < n; ++place) {
        if (place + kAhead < n) {
            Prefetch(originals[place + kAhead]);
            if (place + kAhead < spare.size()) Prefetch(spare[place + kAhead]);
        }
        TimeRecord& original = *originals[place];
        TimeRecord* copy;
        if (place < spare.size()) {
            copy = spare[place];
            CopyAsNew(*copy, original);
        } else {
            copy = new TimeRecord();
            CopyFrom(*copy, original);
        }
        original = *copy;  // the list keeps what a copy of the copy would hold
        copies[place] = copy;
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
    if (sortOrder == SortOrder::Descending) {
        records.Relink(sortedOriginals.rbegin(), sortedOriginals.rend());
    } else {
        records.Relink(sortedOriginals.begin(), sortedOriginals.end());
    }
    return true;
}

}  // namespace qv
