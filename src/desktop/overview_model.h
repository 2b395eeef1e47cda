// What the overview shows, without the window: the period, its sums and a day's records, read
// from every record beside the program's state so that the window's list and report orders stay
// as they are.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/period_sums.h"
#include "platform/objectstore/object_store.h"

namespace qv {

struct App;
namespace cli {
class ReadingState;
}

class OverviewModel {
  public:
    OverviewModel();
    ~OverviewModel();

    // The running program, or null once it has ended; a new one starts on the week of today.
    void Attach(App* app, int firstWeekday);
    App* Running() const { return app_; }

    const Period& Shown() const { return period_; }
    void Show(const Period& period) { period_ = period; }
    // The week or the month of today.
    Period ThisPeriod(PeriodKind kind) const;

    // Reads every record anew and sums the period; false (sums empty) when they cannot be read.
    bool Refresh();
    // A record stored since the last read, from its stored properties, taken in beside the
    // records read; false (nothing taken) when there are none or the properties are no record.
    bool Added(std::vector<PropValue> props);
    // Sums the period over the records read last (reading them when none were): another period
    // of the same records.
    bool Resum();
    const PeriodSums& Sums() const { return sums_; }

    struct DayRecord {
        uint32_t recordId;
        uint32_t projectId;
        std::u16string project;
        std::u16string category;
        int32_t minutes;
        std::u16string memo;
    };
    // The records of the period's day at index, in the order they were read.
    std::vector<DayRecord> Day(int index) const;

  private:
    App* app_ = nullptr;
    int firstWeekday_ = 1;
    Period period_;
    std::unique_ptr<cli::ReadingState> reading_;
    PeriodSums sums_;
};

}  // namespace qv
