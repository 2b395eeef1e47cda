// The chronological sort in O(n log n).
//
// The sort is defined by its effect: the records, in stable date-key order, end up as copies
// of themselves in the list, forwards or backwards. A record the setters built is its own copy,
// so only records whose texts disagree with their values are rewritten; the list's own records
// are moved into the final order among their own places in memory and relinked, and no second
// copy of the list is kept. Later walks of the list then read memory in order. A list whose new
// order already walks memory nearly in order (one sorted before) is only relinked.
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

// Moves the records among their own places so that the k-th record of the new order comes to
// the place of the k-th record of the old order. A list read from
// the store lies in memory in its old order, and a sorted one stays so: walking the list in
// its new order then reads memory in order. No record is copied; each is moved once (the
// first of each cycle twice).
void LayOutInOrder(const std::vector<TimeRecord*>& slots, const std::vector<uint64_t>& keys) {
    const size_t n = slots.size();
    // Slot k must receive the record now in slot source(k). The cycles of that exchange are
    // written down first, so that the moves can ask for records well before they reach them;
    // each cycle then moves with one record held aside.
    const auto source = [&](size_t k) { return static_cast<size_t>(keys[k] & 0xFFFFFFFF); };
    std::vector<uint32_t> cycles;  // the slots of each cycle, each cycle closed by kEnd
    constexpr uint32_t kEnd = 0xFFFFFFFF;
    cycles.reserve(n + n / 2);
    std::vector<bool> placed(n);
    for (size_t k = 0; k < n; ++k) {
        if (placed[k] || source(k) == k) continue;
        size_t j = k;
        do {
            cycles.push_back(static_cast<uint32_t>(j));
            placed[j] = true;
            j = source(j);
        } while (j != k);
        cycles.push_back(kEnd);
    }
    constexpr size_t kAhead = 16;
    size_t i = 0;
    while (i < cycles.size()) {
        TimeRecord held(std::move(*slots[cycles[i]]));
        for (; cycles[i + 1] != kEnd; ++i) {
            if (i + kAhead < cycles.size() && cycles[i + kAhead] != kEnd) {
                // every cache line of the record
                const char* ahead = reinterpret_cast<const char*>(slots[cycles[i + kAhead]]);
                for (size_t line = 0; line < sizeof(TimeRecord); line += 64) {
                    __builtin_prefetch(ahead + line, 1);
                }
            }
            *slots[cycles[i]] = std::move(*slots[cycles[i + 1]]);
        }
        *slots[cycles[i]] = std::move(held);
        i += 2;  // past the cycle's last slot and its end
    }
}

// Whether walking the records in the order of the sorted (date key, place) pairs goes from
// each record to one lying within a short reach of it in memory, all the way: then moving the
// records into that order would buy nothing. A list sorted before and turned round, or sorted
// again, walks so.
bool WalksNearby(const std::vector<TimeRecord*>& slots, const std::vector<uint64_t>& keys) {
    constexpr uintptr_t kReach = 256 * 1024;  // bytes
    for (size_t k = 1; k < keys.size(); ++k) {
        const auto at = reinterpret_cast<uintptr_t>(slots[keys[k] & 0xFFFFFFFF]);
        const auto before = reinterpret_cast<uintptr_t>(slots[keys[k - 1] & 0xFFFFFFFF]);
        if ((at > before ? at - before : before - at) > kReach) return false;
    }
    return true;
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

    std::vector<TimeRecord*> sorted;
    if (WalksNearby(originals, keys)) {
        sorted.reserve(n);
        for (uint64_t k : keys) sorted.push_back(originals[k & 0xFFFFFFFF]);
    } else {
        LayOutInOrder(originals, keys);  // the old places now hold the records in the new order
        sorted.swap(originals);
    }
    if (sortOrder == SortOrder::Descending) {
        records.Relink(sorted.rbegin(), sorted.rend());
    } else {
        records.Relink(sorted.begin(), sorted.end());
    }
    return true;
}

}  // namespace qv
