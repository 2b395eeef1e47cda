// One time book on several computers: applying 10,000 changes another computer wrote, beside
// adding the same records through the store layer in one transaction; a check that finds
// nothing new on a store of 65,535 records, beside reading the sizes of the folder's journals,
// and a run after a local change that changed nothing; the journal a year of daily use writes
// (2,000 bookings, 500 edits).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench_records.h"
#include "files/temp_dir.h"
#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"
#include "sync/sync_engine.h"

namespace {

using namespace qv;
namespace fs = std::filesystem;

constexpr uint32_t kIncoming = 10000;

// A computer with its store opened as the program opens it and sync on in its own folder.
struct Computer {
    test::TempDir dir;
    FixedClock clock{MakeDate(2026, 1, 5)};
    std::unique_ptr<ObjectStore> store = OpenObjectStoreFile(dir / "objectstore.sqlite");
    AppState state;
    StoreContext ctx{state, *store, clock};
    std::unique_ptr<sync::Engine> engine;

    Computer() { (void)OpenStore(ctx); }
    fs::path Folder() const { return dir / "folder"; }
    void TurnOn() {
        engine = std::make_unique<sync::Engine>(ctx);
        (void)engine->TurnOn(Folder());
    }
    fs::path Journal() {
        return Folder() / ("quorvella-" + engine->GetStatus().computer + ".journal");
    }
    uint32_t AddProject(const char16_t* name) {
        ProjectRecord p;
        p.name = name;
        SetDate(p, MakeDate(2026, 1, 1));
        (void)AddProjectRecord(ctx, p, p.projectId);
        state.projects.Append(p);
        clock.Set(OneSecondLater(clock.GetSystemTime()));
        return p.projectId;
    }
    void AddCategory(const char16_t* name) {
        CategoryItem item;
        SetName(item, name);
        state.categories.Add(item);
        (void)SaveCategories(ctx);
    }
    TimeRecord Record(uint32_t project, uint32_t i) {
        static constexpr const char16_t* kMemos[] = {u" ", u"call", u"weekly review with the team",
                                                     u"preparing the quarterly report"};
        TimeRecord r;
        Reset(r);
        SetDate(r, MakeDate(2026, 1 + i / 28 % 12, 1 + i % 28));
        r.projectId = project;
        SetCategory(r, u"Meeting");
        SetMinutes(r, FormatDecimal(15 + 5 * (i % 100)));
        SetMemo(r, kMemos[i % 4]);
        return r;
    }
};

// A journal of another computer holding a project, a category and `records` records.
fs::path OtherJournal(test::TempDir& keep, uint32_t records) {
    Computer other;
    const uint32_t alpha = other.AddProject(u"Alpha");
    other.AddCategory(u"Meeting");
    bench::FillTimeDatabase(*other.store, other.state.handles.timeHandle, records,
                            [alpha](uint32_t) { return alpha; });
    other.TurnOn();
    const fs::path copy = keep / other.Journal().filename().string();
    fs::copy_file(other.Journal(), copy);
    return copy;
}

void BM_ApplyIncomingChanges(benchmark::State& st) {
    test::TempDir keep;
    const fs::path journal = OtherJournal(keep, kIncoming);
    for (auto _ : st) {
        st.PauseTiming();
        auto pc = std::make_unique<Computer>();
        pc->TurnOn();
        fs::copy_file(journal, pc->Folder() / journal.filename());
        st.ResumeTiming();
        const sync::RunResult r = pc->engine->Run();
        st.PauseTiming();
        if (r.applied < kIncoming) st.SkipWithError("the changes were not applied");
        pc.reset();
        st.ResumeTiming();
    }
    st.counters["changes"] = kIncoming;
}
BENCHMARK(BM_ApplyIncomingChanges)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor: the same records added through the store layer in one transaction.
void BM_FloorAddRecordsInOneTransaction(benchmark::State& st) {
    for (auto _ : st) {
        st.PauseTiming();
        auto pc = std::make_unique<Computer>();
        const uint32_t alpha = pc->AddProject(u"Alpha");
        pc->AddCategory(u"Meeting");
        st.ResumeTiming();
        StoreTransaction change(*pc->store);
        for (uint32_t i = 0; i < kIncoming; ++i) {
            uint32_t id = 0;
            (void)AddTimeRecord(pc->ctx, pc->Record(alpha, i), id);
        }
        (void)change.Commit();
        st.PauseTiming();
        pc.reset();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_FloorAddRecordsInOneTransaction)->Unit(benchmark::kMillisecond)->Iterations(3);

// A computer whose store holds 65,535 records, 100 of them from another computer's journal,
// with everything written and applied.
Computer& FullComputer() {
    static test::TempDir keep;
    static Computer pc;
    if (!pc.engine) {
        const fs::path journal = OtherJournal(keep, 100);
        const uint32_t alpha = pc.AddProject(u"Alpha");
        pc.AddCategory(u"Meeting");
        bench::FillTimeDatabase(*pc.store, pc.state.handles.timeHandle, kMaxListRecords - 100,
                                [alpha](uint32_t) { return alpha; });
        pc.TurnOn();
        fs::copy_file(journal, pc.Folder() / journal.filename());
        (void)pc.engine->Run();
        (void)pc.engine->Run();
    }
    return pc;
}

void BM_RunWithNothingNew(benchmark::State& st) {
    Computer& pc = FullComputer();
    for (auto _ : st) {
        const sync::RunResult r = pc.engine->Run();
        if (r.written + r.applied != 0) st.SkipWithError("the run found something to do");
    }
}
BENCHMARK(BM_RunWithNothingNew)->Unit(benchmark::kMillisecond);

void BM_NothingNew(benchmark::State& st) {
    Computer& pc = FullComputer();
    for (auto _ : st) {
        if (!pc.engine->NothingNew()) st.SkipWithError("the check found something new");
    }
    DatabaseInfo info;
    if (pc.store->CeOidGetInfo(pc.state.handles.timeDatabaseId, info)) {
        st.counters["records"] = info.recordCount;
    }
}
BENCHMARK(BM_NothingNew)->Unit(benchmark::kMillisecond);

// After a local change that changed nothing: the whole book is compared with what was written.
void BM_RunAfterLocalChangeWithNothingNew(benchmark::State& st) {
    Computer& pc = FullComputer();
    for (auto _ : st) {
        pc.engine->LocalChange();
        const sync::RunResult r = pc.engine->Run();
        if (r.written + r.applied != 0) st.SkipWithError("the run found something to do");
    }
}
BENCHMARK(BM_RunAfterLocalChangeWithNothingNew)->Unit(benchmark::kMillisecond);

// The floor of a check: the size of every journal in the folder.
void BM_FloorJournalSizes(benchmark::State& st) {
    Computer& pc = FullComputer();
    for (auto _ : st) {
        uintmax_t bytes = 0;
        for (const auto& entry : fs::directory_iterator(pc.Folder())) bytes += entry.file_size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_FloorJournalSizes)->Unit(benchmark::kMillisecond);

// A year of daily use: 2,000 bookings and 500 edits, each followed by a run as the program
// runs after every local change. The journal's size is the counter.
void BM_YearOfDailyUse(benchmark::State& st) {
    for (auto _ : st) {
        Computer pc;
        const uint32_t projects[] = {pc.AddProject(u"Alpha"), pc.AddProject(u"Customer support"),
                                     pc.AddProject(u"Internal")};
        pc.AddCategory(u"Meeting");
        pc.TurnOn();
        std::vector<TimeRecord> booked;
        for (uint32_t i = 0; i < 2500; ++i) {
            pc.clock.Set(OneSecondLater(pc.clock.GetSystemTime()));
            if (i % 5 == 4) {
                TimeRecord& r = booked[i * 7 % booked.size()];
                SetMinutes(r, FormatDecimal(MinutesOf(r) + 5));
                (void)UpdateTimeRecord(pc.ctx, r);
            } else {
                booked.push_back(pc.Record(projects[i % 3], i));
                (void)AddTimeRecord(pc.ctx, booked.back(), booked.back().recordId);
            }
            pc.engine->LocalChange();
            (void)pc.engine->Run();
        }
        st.counters["journal_bytes"] = static_cast<double>(fs::file_size(pc.Journal()));
    }
}
BENCHMARK(BM_YearOfDailyUse)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
