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

namespace {

// Sorts (date key, place) pairs by date key, then place: three passes of eleven bits over the
// 32-bit date key, each pass keeping the order of the one before.
void SortKeysStable(std::vector<uint64_t>& keys) {
    constexpr int kBits = 11;
    constexpr size_t kBuckets = size_t{1} << kBits;
    std::vector<uint64_t> other(keys.size());
    std::vector<uint32_t> count(kBuckets);
    for (int shift = 32; shift < 32 + 3 * kBits; shift += kBits) {
        std::fill(count.begin(), count.end(), 0);
        for (uint64_t k : keys) ++count[(k >> shift) & (kBuckets - 1)];
        uint32_t at = 0;
        for (uint32_t& c : count) {
            const uint32_t n = c;
            c = at;
            at += n;
        }
        for (uint64_t k : keys) other[count[(k >> shift) & (kBuckets - 1)]++] = k;
        keys.swap(other);
    }
}

}  // namespace

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
    // Every pair is distinct, so both sorts give one order; the passes pay off on long lists.
    if (n >= 1024) {
        SortKeysStable(keys);
    } else {
        std::sort(keys.begin(), keys.end());
    }

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
