// What a store operation reports: whether it did what it was asked, and, in order, every
// failure the user is to be told about. A failure may go untold (a record that is not there,
// a database without records); a success may still carry one (a project's records that could
// not follow it). The store shows nothing itself: the caller tells the failures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class StoreFault : uint8_t {
    Adding,          // a record could not be added to the database named
    Editing,         // a record (or the category list) could not be rewritten
    Deleting,        // a record or a database could not be deleted
    Building,        // a database could not be opened, made or read at start-up
    BuildingHalted,  // start-up could not learn a database's size: no name, a stop
    Unreadable,      // the time records could not be read: a beep and a stop
    TooManyRecords,  // the time-record database holds all it may
};

struct StoreFailure {
    StoreFault fault;
    std::u16string database;  // the database the message names; empty when it names none
    friend bool operator==(const StoreFailure&, const StoreFailure&) = default;
};

class [[nodiscard]] StoreResult {
  public:
    StoreResult() = default;  // done
    static StoreResult Failed() {
        StoreResult r;
        r.ok_ = false;
        return r;
    }
    static StoreResult Failed(StoreFault fault, std::u16string_view database = {}) {
        StoreResult r = Failed();
        r.Tell(fault, database);
        return r;
    }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const std::vector<StoreFailure>& failures() const { return failures_; }

    // Adds a failure to tell, leaving ok() as it is.
    void Tell(StoreFault fault, std::u16string_view database = {}) {
        failures_.push_back({fault, std::u16string(database)});
    }
    // Takes over what another step has to tell; returns whether that step succeeded.
    bool Take(const StoreResult& step) {
        failures_.insert(failures_.end(), step.failures_.begin(), step.failures_.end());
        return step.ok_;
    }
    void Fail() { ok_ = false; }

  private:
    bool ok_ = true;
    std::vector<StoreFailure> failures_;
};

}  // namespace qv
