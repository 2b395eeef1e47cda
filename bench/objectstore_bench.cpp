// Object-store speed: one durable write, reading a full database, opening a full store.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "platform/objectstore/object_store.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// A scratch folder on the same disk as the program's data would be, removed at exit.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "qvbench-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    fs::path operator/(const char* name) const { return path_ / name; }

  private:
    fs::path path_;
};

ScratchDir& Scratch() {
    static ScratchDir dir;
    return dir;
}

// A time record as the program writes it: eight properties, about 100 bytes stored.
std::vector<PropValue> TimeRecord(uint32_t id) {
    return {PropValue::Number(kSortPropertyId, id),
            PropValue::Number(PropId(1, CEVT_UI4), 3),
            PropValue::Number(PropId(2, CEVT_UI4), 1 + id % 28),
            PropValue::Number(PropId(3, CEVT_UI4), 1 + id % 12),
            PropValue::Number(PropId(4, CEVT_UI4), 2026),
            PropValue::String(PropId(5, CEVT_LPWSTR), u"Work"),
            PropValue::String(PropId(6, CEVT_LPWSTR), u"90"),
            PropValue::String(PropId(7, CEVT_LPWSTR), u"meeting notes")};
}

StoreHandle OpenTimes(ObjectStore& store) {
    CEOID oid = 0;
    return store.CeOpenDatabase(oid, u"Times", kSortPropertyId, CEDB_AUTOINCREMENT);
}

// The store with one full database of 65,535 time records, made once.
const fs::path& FullStore() {
    static const fs::path file = [] {
        fs::path f = Scratch() / "full.db";
        auto store = OpenObjectStoreFile(f);
        store->CeCreateDatabase(u"Times", 0);
        const StoreHandle h = OpenTimes(*store);
        StoreTransaction t(*store);
        for (uint32_t i = 0; i < 65535; ++i) store->CeWriteRecordProps(h, 0, TimeRecord(i * 7));
        t.Commit();
        return f;
    }();
    return file;
}

void BM_DurableWrite(benchmark::State& state) {
    const fs::path file = Scratch() / "writes.db";
    fs::remove(file);
    auto store = OpenObjectStoreFile(file);
    store->CeCreateDatabase(u"Times", 0);
    StoreHandle h = OpenTimes(*store);
    std::vector<double> micros;
    uint32_t id = 0;
    for (auto _ : state) {
        if (id != 0 && id % 65000 == 0) {  // a database holds 65,535 records at most
            state.PauseTiming();
            CEOID oid = 0;
            const std::u16string name = u"Times" + std::u16string(1, char16_t(u'A' + id / 65000));
            store->CeCreateDatabase(name, 0);
            h = store->CeOpenDatabase(oid, name, kSortPropertyId, CEDB_AUTOINCREMENT);
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        const CEOID oid = store->CeWriteRecordProps(h, 0, TimeRecord(++id));
        const auto end = std::chrono::steady_clock::now();
        if (oid == 0) state.SkipWithError("write failed");
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) state.counters["median_us"] = micros[micros.size() / 2];
}
BENCHMARK(BM_DurableWrite)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_ReadAllRecords(benchmark::State& state) {
    auto store = OpenObjectStoreFile(FullStore());
    std::vector<PropValue> props;
    size_t records = 0;
    for (auto _ : state) {
        const StoreHandle h = OpenTimes(*store);
        records = 0;
        while (store->CeReadRecordProps(h, props) != 0) ++records;
        store->CloseHandle(h);
    }
    if (records != 65535) state.SkipWithError("not every record was read");
    state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(BM_ReadAllRecords)->Unit(benchmark::kMillisecond);

// The floor: SQLite itself stepping the same rows and touching each record's bytes.
void BM_BareSqliteScan(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(FullStore().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT props FROM records", -1, &s, nullptr);
    size_t rows = 0, bytes = 0;
    for (auto _ : state) {
        rows = bytes = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_blob(s, 0));
            bytes += static_cast<size_t>(sqlite3_column_bytes(s, 0));
            ++rows;
        }
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    if (rows != 65535) state.SkipWithError("not every row was read");
    state.counters["bytes_per_record"] = static_cast<double>(bytes) / std::max<size_t>(rows, 1);
}
BENCHMARK(BM_BareSqliteScan)->Unit(benchmark::kMillisecond);

// Start-up: opening a store file that holds 65,535 records.
void BM_OpenFullStore(benchmark::State& state) {
    FullStore();
    for (auto _ : state) {
        auto store = OpenObjectStoreFile(FullStore());
        if (store == nullptr) state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenFullStore)->Unit(benchmark::kMicrosecond);

// What a full structural check of that file would add to start-up.
void BM_QuickCheckFullStore(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(FullStore().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state) sqlite3_exec(db, "PRAGMA quick_check", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}
BENCHMARK(BM_QuickCheckFullStore)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

BENCHMARK_MAIN();
