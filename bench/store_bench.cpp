// Start-up store work with a full time-record database: opening the three databases and
// loading the current project's records, loading every record, and the bare reading of the
// stored records beneath both (the share of the object store and SQLite).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "bench_records.h"
#include "store/projects_store.h"
#include "store/record_store.h"

namespace {

using namespace qv;

constexpr int kProjects = 15;
constexpr int kOtherProjectRecords = 100;  // each of the fourteen other projects

struct Device {
    std::filesystem::path dir;
    std::filesystem::path file;
    uint32_t currentProject = 0;
};

const Device& PreparedDevice() {
    static Device device = [] {
        Device d;
        d.dir =
            std::filesystem::temp_directory_path() / ("qv-store-bench-" + std::to_string(getpid()));
        std::filesystem::remove_all(d.dir);
        std::filesystem::create_directories(d.dir);
        d.file = d.dir / "objectstore.sqlite";
        auto store = OpenObjectStoreFile(d.file);
        AppState state;
        FixedClock clock(MakeDate(2005, 10, 29));
        StoreContext ctx{state, *store, clock};
        (void)OpenStore(ctx);
        StoreTransaction bulk(*store);
        for (int p = 0; p < kProjects; ++p) {
            ProjectRecord project;
            project.name = u"Project " + FormatDecimal(p);
            SetDate(project, MakeDate(2005, 1, 1));
            uint32_t id = 0;
            (void)AddProjectRecord(ctx, project, id);
            project.projectId = id;
            state.projects.Append(project);
            if (p == 0) d.currentProject = id;
        }
        bulk.Commit();
        const uint32_t mine = kMaxListRecords - (kProjects - 1) * kOtherProjectRecords;
        bench::FillTimeDatabase(*store, state.handles.timeHandle, kMaxListRecords, [&](uint32_t i) {
            return state.projects.FindAt(i < mine ? 0 : 1 + i % (kProjects - 1))->projectId;
        });
        return d;
    }();
    return device;
}

void BM_OpenStoreAndLoadCurrentProject(benchmark::State& st) {
    const Device& d = PreparedDevice();
    size_t loaded = 0;
    for (auto _ : st) {
        auto store = OpenObjectStoreFile(d.file);
        AppState state;
        state.settings.LastProject = u"Project 0";
        FixedClock clock;
        StoreContext ctx{state, *store, clock};
        (void)OpenStore(ctx);
        (void)LoadTimeRecords(ctx);
        loaded = state.timeRecords.Size();
        st.PauseTiming();  // tearing the lists down is not start-up
        state.timeRecords.Clear();
        st.ResumeTiming();
    }
    st.counters["records"] = static_cast<double>(loaded);
}
BENCHMARK(BM_OpenStoreAndLoadCurrentProject)->Unit(benchmark::kMillisecond);

void BM_LoadAllTimeRecords(benchmark::State& st) {
    const Device& d = PreparedDevice();
    auto store = OpenObjectStoreFile(d.file);
    AppState state;
    FixedClock clock;
    StoreContext ctx{state, *store, clock};
    (void)OpenStore(ctx);
    for (auto _ : st) {
        (void)LoadAllTimeRecords(ctx);
        st.PauseTiming();
        state.timeRecords.Clear();
        st.ResumeTiming();
    }
    st.counters["records"] = static_cast<double>(kMaxListRecords);
}
BENCHMARK(BM_LoadAllTimeRecords)->Unit(benchmark::kMillisecond);

// Only the object store: every record read, nothing decoded into time records.
void BM_ReadAllStoredRecords(benchmark::State& st) {
    const Device& d = PreparedDevice();
    auto store = OpenObjectStoreFile(d.file);
    for (auto _ : st) {
        CEOID oid = 0;
        StoreHandle h = store->CeOpenDatabase(oid, u"Brumo Quorvella", 0x13, CEDB_AUTOINCREMENT);
        std::vector<PropValue> props;
        size_t n = 0;
        while (store->CeReadRecordProps(h, props) != 0) ++n;
        store->CloseHandle(h);
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_ReadAllStoredRecords)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
