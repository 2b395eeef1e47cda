// The daily work on the headless host with a full time-record database: booking one record
// through Register Time, from OK to the listed row (with the durable write), in a store of
// ordinary identifiers and in one whose records were booked one second apart up to the
// clock; Undo Deleting of one record; and View Options rebuilding the list. The record booked or
// brought back is deleted again between the timed steps, outside the timing, so every step starts
// from the same store.
#include <benchmark/benchmark.h>

#include <chrono>
#include <deque>
#include <string>

#include "app/app.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "bench_device.h"
#include "bench_program.h"
#include "dialogs/register_time.h"
#include "dialogs/view_options.h"
#include "platform/headless/headless_host.h"
#include "store/categories_store.h"
#include "store/record_store.h"

namespace {

using namespace qv;
using Clock = std::chrono::steady_clock;

// One fewer than the database holds, so the booked record makes it full.
constexpr uint32_t kStoredRecords = kMaxListRecords - 1;

CalendarDate Now() {
    CalendarDate t = MakeDate(2005, 10, 29);
    t.hour = 12;
    return t;
}

enum class Ids { Ordinary, BookedEverySecond };

DeviceFolders PrepareDevice(Ids ids) {
    bench::DeviceBuilder device(bench::DeviceRoot("daily", std::to_string(static_cast<int>(ids))),
                                Now());
    const uint32_t pid = device.AddProject(u"Alpha");
    device.AddCategory(u"Meeting");
    if (ids == Ids::Ordinary) {
        device.FillRecords(kStoredRecords, [pid](uint32_t) { return pid; });
    } else {
        StoreTransaction bulk(device.Store());
        CalendarDate t = Now();
        for (uint32_t i = 0; i < kStoredRecords; ++i, t = OneSecondLater(t)) {
            device.Store().CeWriteRecordProps(
                device.TimeHandle(), 0,
                {PropValue::Number(0x00000013, ClockDigitsId(t)),
                 PropValue::Number(0x00010013, pid), PropValue::Number(0x00020013, 29),
                 PropValue::Number(0x00030013, 10), PropValue::Number(0x00040013, 2005),
                 PropValue::String(0x0005001F, u"Meeting"), PropValue::String(0x0006001F, u"30"),
                 PropValue::String(0x0007001F, u"weekly review with the team")});
        }
        bulk.Commit();
    }
    return device.Folders();
}

const DeviceFolders& Device(Ids ids) {
    static DeviceFolders ordinary = PrepareDevice(Ids::Ordinary);
    static DeviceFolders dense = PrepareDevice(Ids::BookedEverySecond);
    return ids == Ids::Ordinary ? ordinary : dense;
}

int Rows(HeadlessHost& host) {
    return host.Main()->Child()->RowCount(kMainList);
}

// The steps that delete the last listed record: open it, Delete, yes.
void DeleteLastRow(std::deque<HeadlessAction>& script, int lastRow) {
    script.push_back(HeadlessAction::MakeTap(kMainList, lastRow));
    script.push_back(HeadlessAction::MakeClick(kRegisterTimeDelete));
    script.push_back(HeadlessAction::MakeAnswer(true));
}

void BookOneRecord(benchmark::State& st, Ids ids) {
    std::deque<HeadlessAction> script;
    Clock::time_point ok;
    bool timing = false;
    int rows = 0;
    bench::RunProgram(
        st, Device(ids), Now(), [&](HeadlessHost& host) -> std::optional<HeadlessAction> {
            if (timing) {
                st.SetIterationTime(std::chrono::duration<double>(Clock::now() - ok).count());
                timing = false;
                if (Rows(host) != rows + 1) {
                    st.SkipWithError("the booked record is not listed");
                    return std::nullopt;
                }
                DeleteLastRow(script, rows);
                script.push_back(HeadlessAction::MakeCommand(kCmdEmptyUndo));
            }
            if (script.empty()) {
                if (!st.KeepRunning()) return std::nullopt;
                rows = Rows(host);
                script.push_back(HeadlessAction::MakeCommand(kCmdNew));
                script.push_back(HeadlessAction::MakeChoose(kRegisterTimeHours, u"01"));
                script.push_back(HeadlessAction::MakeChoose(kRegisterTimeCategory, u""));
                script.push_back(HeadlessAction::MakeClick(kRegisterTimeOk));
            }
            HeadlessAction a = script.front();
            script.pop_front();
            if (a.kind == HeadlessAction::Kind::Choose && a.id == kRegisterTimeCategory) {
                // the first category offered
                a.text = host.TopDialog()->GetLBText(kRegisterTimeCategory, 0).value_or(u"");
            }
            if (a.kind == HeadlessAction::Kind::Click && a.id == kRegisterTimeOk) {
                timing = true;
                ok = Clock::now();
            }
            return a;
        });
    st.counters["rows"] = rows + 1;
}

void BM_BookOneRecord(benchmark::State& st) {
    BookOneRecord(st, Ids::Ordinary);
}
void BM_BookOneRecordAmongRecordsBookedEverySecond(benchmark::State& st) {
    BookOneRecord(st, Ids::BookedEverySecond);
}
BENCHMARK(BM_BookOneRecord)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BookOneRecordAmongRecordsBookedEverySecond)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Delete the last listed record (not timed), then Undo Deleting brings it back listed.
void BM_UndoDeletingOneRecord(benchmark::State& st) {
    std::deque<HeadlessAction> script;
    Clock::time_point undo;
    bool timing = false;
    int rows = 0;
    bench::RunProgram(
        st, Device(Ids::Ordinary), Now(), [&](HeadlessHost& host) -> std::optional<HeadlessAction> {
            if (timing) {
                st.SetIterationTime(std::chrono::duration<double>(Clock::now() - undo).count());
                timing = false;
                if (Rows(host) != rows) {
                    st.SkipWithError("the record brought back is not listed");
                    return std::nullopt;
                }
            }
            if (script.empty()) {
                if (!st.KeepRunning()) return std::nullopt;
                rows = Rows(host);
                DeleteLastRow(script, rows - 1);
                script.push_back(HeadlessAction::MakeCommand(kCmdUndoDeleting));
            }
            HeadlessAction a = script.front();
            script.pop_front();
            if (a.kind == HeadlessAction::Kind::Command && a.id == kCmdUndoDeleting) {
                timing = true;
                undo = Clock::now();
            }
            return a;
        });
    st.counters["rows"] = rows;
}
BENCHMARK(BM_UndoDeletingOneRecord)->UseManualTime()->Unit(benchmark::kMillisecond);

// View Options confirmed with other formats: from OK to the main list rebuilt with every row
// in the new date and time texts. The formats alternate, so every step changes them.
void BM_ViewOptionsRebuildsTheList(benchmark::State& st) {
    std::deque<HeadlessAction> script;
    Clock::time_point ok;
    bool timing = false;
    bool slashes = false;
    bench::RunProgram(
        st, Device(Ids::Ordinary), Now(), [&](HeadlessHost& host) -> std::optional<HeadlessAction> {
            if (timing) {
                st.SetIterationTime(std::chrono::duration<double>(Clock::now() - ok).count());
                timing = false;
                const std::u16string first = host.Main()->Child()->Cell(kMainList, 0, 0);
                if (first.find(slashes ? u'/' : u'-') == std::u16string::npos) {
                    st.SkipWithError("the list does not show the new format");
                    return std::nullopt;
                }
            }
            if (script.empty()) {
                if (!st.KeepRunning()) return std::nullopt;
                slashes = !slashes;
                script.push_back(HeadlessAction::MakeCommand(kCmdViewOptions));
                script.push_back(HeadlessAction::MakeChoose(
                    kViewOptionsDateType, slashes ? u"dd / mm / yyyy" : u"dd - mm - yyyy"));
                script.push_back(HeadlessAction::MakeChoose(
                    kViewOptionsTimeType, slashes ? u" , (comma)" : u" : (colon)"));
                script.push_back(HeadlessAction::MakeClick(kViewOptionsOk));
            }
            HeadlessAction a = script.front();
            script.pop_front();
            if (a.kind == HeadlessAction::Kind::Click && a.id == kViewOptionsOk) {
                timing = true;
                ok = Clock::now();
            }
            return a;
        });
}
BENCHMARK(BM_ViewOptionsRebuildsTheList)->UseManualTime()->Unit(benchmark::kMillisecond);

// The first booking after a start in the store booked every second: the search reads the
// stored identifiers once and walks the 65,534 taken seconds in memory. Timed at the store,
// from a fresh start's memory to the free identifier.
void BM_FirstNewIdAmongRecordsBookedEverySecond(benchmark::State& st) {
    const DeviceFolders& folders = Device(Ids::BookedEverySecond);
    auto store = OpenObjectStoreFile(folders.StoreFile());
    AppState state;
    FixedClock clock(Now());
    uint32_t id = 0;
    const auto closeHandles = [&] {
        CloseKeptHandle(*store, state.handles.categoriesHandle);
        CloseKeptHandle(*store, state.handles.projectsHandle);
        CloseKeptHandle(*store, state.handles.timeHandle);
    };
    for (auto _ : st) {
        st.PauseTiming();
        closeHandles();
        StoreContext ctx{state, *store, clock};
        if (!OpenStore(ctx)) {
            st.SkipWithError("the store does not open");
            return;
        }
        st.ResumeTiming();
        id = NewRecordId(ctx);
        benchmark::DoNotOptimize(id);
    }
    closeHandles();
    if (id == ClockDigitsId(Now())) st.SkipWithError("the clock's own digits are taken");
}
BENCHMARK(BM_FirstNewIdAmongRecordsBookedEverySecond)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
