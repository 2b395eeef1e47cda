// The overview's period, sums and day records.
#include "desktop/overview_model.h"

#include <unordered_map>

#include "app/app.h"
#include "cli/cli_reading.h"
#include "store/record_store.h"

namespace qv {

OverviewModel::OverviewModel() = default;
OverviewModel::~OverviewModel() = default;

void OverviewModel::Attach(App* app, int firstWeekday) {
    app_ = app;
    firstWeekday_ = firstWeekday;
    reading_.reset();
    sums_ = {};
    if (app_ != nullptr) period_ = ThisPeriod(period_.kind);
}

Period OverviewModel::ThisPeriod(PeriodKind kind) const {
    const CalendarDate today =
        app_ != nullptr ? app_->host.GetClock().GetLocalTime() : MakeDate(2000, 1, 1);
    return PeriodHolding(today, kind, firstWeekday_);
}

bool OverviewModel::Refresh() {
    sums_ = {};
    sums_.period = period_;
    reading_.reset();
    if (app_ == nullptr) return false;
    // Settings, categories and projects are copied as they are now: renames and deletions show.
    reading_ = std::make_unique<cli::ReadingState>(app_->store, false);
    const bool loaded = reading_->LoadAll();
    // No handle stays open between reads: a database with an open handle cannot be deleted.
    CloseKeptHandle(reading_->ctx.store, reading_->state.handles.timeHandle);
    if (!loaded) return false;
    sums_ = SumPeriod(reading_->state, period_);
    return true;
}

bool OverviewModel::Added(std::vector<PropValue> props) {
    if (!reading_) return false;
    TimeRecord record;
    if (!DecodeTimeRecord(props, record)) return false;
    return reading_->state.timeRecords.Append(record) != nullptr;
}

bool OverviewModel::Resum() {
    if (!reading_ || app_ == nullptr) return Refresh();
    sums_ = SumPeriod(reading_->state, period_);
    return true;
}

std::vector<OverviewModel::DayRecord> OverviewModel::Day(int index) const {
    std::vector<DayRecord> day;
    if (!reading_ || index < 0 || index >= period_.days) return day;
    AppState& s = reading_->state;
    std::unordered_map<uint32_t, std::u16string> names;
    for (ProjectRecord* p = s.projects.First(); p != nullptr; p = s.projects.Next()) {
        names.emplace(p->projectId, p->name.value_or(u""));
    }
    const uint32_t key = DayKey(period_.Day(index));
    for (TimeRecord* r = s.timeRecords.First(); r != nullptr; r = s.timeRecords.Next()) {
        if (r->dateKey != key) continue;
        const auto name = names.find(r->projectId);
        if (name == names.end()) continue;  // the records of no listed project count nowhere
        day.push_back({r->recordId, r->projectId, name->second, r->category.value_or(u""),
                       MinutesOf(*r), r->memo.value_or(u"")});
    }
    return day;
}

}  // namespace qv
