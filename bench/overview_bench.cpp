// The overview on the standard store (65,535 records over three years), drawn offscreen:
// opened on a month with its charts painted, moved to the next month, and a booking shown in
// the open window. Beside them in the same run, the floor of every refresh: reading every
// record beside the program's state.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <filesystem>

#include "app/app.h"
#include "app/program_resources.h"
#include "bench_device.h"
#include "cli/cli_reading.h"
#include "desktop/overview_window.h"
#include "desktop/watched_store.h"
#include "platform/qt/qt_host.h"
#include "platform/registry/registry_hive.h"
#include "store/record_store.h"

namespace {

using namespace qv;
using Clock = std::chrono::steady_clock;

struct Stop {};

std::filesystem::path BenchRoot() {
    return std::filesystem::temp_directory_path() /
           ("qv-overview-bench-" + std::to_string(getpid()));
}

const DeviceFolders& PreparedDevice() {
    static DeviceFolders folders = bench::PrepareStandardDevice(BenchRoot());
    return folders;
}

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs the program on the prepared device with an overview beside it; `act` is called once it
// waits for the user.
void RunWithOverview(benchmark::State& st,
                     const std::function<void(QtHost&, App&, OverviewWindow&)>& act) {
    const DeviceFolders& folders = PreparedDevice();
    FixedClock clock(MakeDate(2005, 10, 29));
    RegistryHive hive(folders.HiveFile());
    DeviceFiles files(folders);
    auto store = OpenObjectStoreFile(folders.StoreFile());
    bench::NoOtherInstance instances;
    QtHost host(ProgramResources(), clock, 2, {});
    OverviewWindow overview(host);
    App* running = nullptr;
    host.SetScriptedStep([&] {
        act(host, *running, overview);
        throw Stop{};
    });
    host.SetScriptedAnswer([&](QWidget*, bool) {
        st.SkipWithError("a message box came up");
        throw Stop{};
    });
    WatchedStore watched(*store, kTimeDatabaseName);  // wired as the program's main does
    watched.onChange = [&overview] { overview.ChangeSoon(); };
    watched.onRecordAdded = [&overview](const std::vector<PropValue>& props) {
        overview.RecordAdded(props);
    };
    ProgramServices services{host, hive, watched, files, instances};
    try {
        QuorvellaMain(services, ProgramEnd::Tidy, [&](App* app) {
            running = app;
            overview.Attach(app);
        });
    } catch (const Stop&) {
    }
}

void BM_ReadEveryRecord(benchmark::State& st) {
    RunWithOverview(st, [&](QtHost&, App& app, OverviewWindow&) {
        for (auto _ : st) {
            cli::ReadingState reading(app.store, false);
            if (!reading.LoadAll()) st.SkipWithError("the records were not read");
        }
    });
}
BENCHMARK(BM_ReadEveryRecord)->Unit(benchmark::kMillisecond);

void BM_OpenOnAMonthPainted(benchmark::State& st) {
    RunWithOverview(st, [&](QtHost&, App&, OverviewWindow& overview) {
        for (auto _ : st) {
            const Clock::time_point start = Clock::now();
            overview.SetKind(PeriodKind::Month);
            overview.Open();
            overview.grab();
            st.SetIterationTime(Since(start));
            overview.hide();
            overview.SetKind(PeriodKind::Week);
        }
        if (overview.Sums().Empty()) st.SkipWithError("the month has no records");
        st.counters["projects"] = static_cast<double>(overview.Sums().projects.size());
    });
}
BENCHMARK(BM_OpenOnAMonthPainted)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_NextMonthPainted(benchmark::State& st) {
    RunWithOverview(st, [&](QtHost&, App&, OverviewWindow& overview) {
        overview.SetKind(PeriodKind::Month);
        overview.Open();
        int step = 1;
        for (auto _ : st) {
            const Clock::time_point start = Clock::now();
            overview.Step(step);
            overview.grab();
            st.SetIterationTime(Since(start));
            step = -step;  // back and forth between two months with records
        }
    });
}
BENCHMARK(BM_NextMonthPainted)->UseManualTime()->Unit(benchmark::kMillisecond);

// A record stored as Register Time stores it, to the moment the open overview has taken it in
// (told by the store) and painted its charts again.
void BM_BookingShownPainted(benchmark::State& st) {
    RunWithOverview(st, [&](QtHost&, App& app, OverviewWindow& overview) {
        overview.SetKind(PeriodKind::Month);
        overview.Open();
        TimeRecord r;
        SetDate(r, MakeDate(2005, 10, 28));
        SetMinutes(r, u"30");
        SetCategory(r, u"Travel");
        SetMemo(r, u"");
        r.projectId = app.state.currentProject.projectId;
        // The standard store is full: each booking is taken back before the next.
        const TimeRecord* first = app.state.timeRecords.First();
        if (first == nullptr || !DeleteTimeRecord(app.store, first->recordId).ok()) {
            return st.SkipWithError("no room for a booking");
        }
        overview.Refresh();
        const int64_t before = overview.Sums().total;
        double overviewSeconds = 0;  // the overview's own share, after the store's write
        double grabSeconds = 0;
        for (auto _ : st) {
            uint32_t id = 0;
            const Clock::time_point start = Clock::now();
            if (!AddTimeRecord(app.store, r, id).ok()) return st.SkipWithError("not booked");
            const Clock::time_point stored = Clock::now();
            QCoreApplication::processEvents();
            const Clock::time_point drawn = Clock::now();
            overview.grab();
            st.SetIterationTime(Since(start));
            grabSeconds += Since(drawn);
            overviewSeconds += Since(stored);
            if (overview.Sums().total != before + 30) st.SkipWithError("the booking is not shown");
            if (!DeleteTimeRecord(app.store, id).ok()) return st.SkipWithError("not taken back");
            QCoreApplication::processEvents();
        }
        st.counters["paint_ms"] =
            benchmark::Counter(grabSeconds * 1000, benchmark::Counter::kAvgIterations);
        st.counters["overview_ms"] =
            benchmark::Counter(overviewSeconds * 1000, benchmark::Counter::kAvgIterations);
    });
}
BENCHMARK(BM_BookingShownPainted)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(BenchRoot());
    return 0;
}
