// Finding a free record identifier with what earlier searches learnt.
#include "store/record_ids.h"

#include <algorithm>

#include "core/cursor_list.h"

namespace qv {

uint32_t RecordIdSearch::Find(ObjectStore& store, StoreHandle handle, CEOID database,
                              std::optional<uint32_t> records, const CalendarDate& now) {
    if (database != database_ || !records || records != records_) Forget();
    database_ = database;
    records_ = records;

    const std::optional<int64_t> start = SecondsSinceEpoch(now);
    CalendarDate t = now;
    uint32_t tried = 0;  // seconds after now
    const bool inRun = start && runFrom_ && *runFrom_ <= *start && *start <= runTo_;
    if (inRun) {
        t = runToDate_;
        tried = static_cast<uint32_t>(runTo_ - *start);
    }
    // The database holds at most 65,535 records, so one of as many seconds after now is free
    // unless moments share their digits.
    for (; tried <= kMaxListRecords; ++tried, t = OneSecondLater(t)) {
        const uint32_t id = ClockDigitsId(t);
        if (Taken(store, handle, id)) continue;
        if (start) {
            runFrom_ = inRun ? *runFrom_ : *start;
            runTo_ = *start + tried;
            runToDate_ = t;
        } else {
            runFrom_.reset();
        }
        found_ = id;
        return id;
    }
    runFrom_.reset();
    return ClockDigitsId(t);
}

void RecordIdSearch::Written() {
    if (records_) ++*records_;
    if (taken_) taken_->insert(std::upper_bound(taken_->begin(), taken_->end(), found_), found_);
}

void RecordIdSearch::Deleted(uint32_t id) {
    if (records_ && *records_ > 0) --*records_;
    if (taken_) {
        const auto at = std::lower_bound(taken_->begin(), taken_->end(), id);
        if (at != taken_->end() && *at == id) taken_->erase(at);
    }
    // Every second of the run keeps a taken identifier unless the one deleted is among them;
    // the identifier found at its end never is.
    if (id != found_) runFrom_.reset();
}

// An identifier free in memory is confirmed in the store. The first one found taken there
// makes the stored identifiers known, so the following seconds are tried in memory.
bool RecordIdSearch::Taken(ObjectStore& store, StoreHandle handle, uint32_t id) {
    if (taken_ && std::binary_search(taken_->begin(), taken_->end(), id)) return true;
    if (store.CeSeekDatabase(handle, CEDB_SEEK_VALUEFIRSTEQUAL, id) == 0) return false;
    if (taken_) {
        taken_->insert(std::upper_bound(taken_->begin(), taken_->end(), id), id);
    } else if (!keysUnreadable_) {
        std::vector<uint32_t> keys;
        keysUnreadable_ = !store.ReadSortKeys(handle, keys);
        if (!keysUnreadable_) taken_ = std::move(keys);
    }
    return true;
}

void RecordIdSearch::Forget() {
    taken_.reset();
    keysUnreadable_ = false;
    runFrom_.reset();
}

}  // namespace qv
