// The identifier of a new time record: the clock's digits, moved on a second at a time while
// a stored record has them. What one search learnt serves the next, so records booked a
// second apart do not make every booking try thousands of moments: the stored identifiers
// are read once, and the seconds found taken last time are passed over at once. The memory
// is trusted only while the database holds the records it expects, so every new record must
// take its identifier from here; a deletion made another way (a range, a project's records)
// makes it start again.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/calendar.h"
#include "platform/objectstore/object_store.h"

namespace qv {

class RecordIdSearch {
  public:
    // The identifier for a record about to be written to `database` (open through `handle`),
    // which holds `records` records now (none: not known). The same as trying the clock's
    // digits and then each following second against the store, up to 65,535 seconds on.
    uint32_t Find(ObjectStore& store, StoreHandle handle, CEOID database,
                  std::optional<uint32_t> records, const CalendarDate& now);
    // The record with the identifier found last was written.
    void Written();
    // A record with this identifier was deleted from the database.
    void Deleted(uint32_t id);

  private:
    bool Taken(ObjectStore& store, StoreHandle handle, uint32_t id);
    void Forget();

    CEOID database_ = 0;
    std::optional<uint32_t> records_;  // what the database holds while the memory is right
    std::optional<std::vector<uint32_t>> taken_;  // the stored identifiers, ascending
    bool keysUnreadable_ = false;                 // then every second is looked up in the store
    // Every second from runFrom_ up to, not including, runTo_ gives a taken identifier;
    // runTo_'s own identifier was found free.
    std::optional<int64_t> runFrom_;
    int64_t runTo_ = 0;
    CalendarDate runToDate_{};
    uint32_t found_ = 0;
};

}  // namespace qv
