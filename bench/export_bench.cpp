// Exporting a full list of 65,535 time records, in each encoding, to a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "export/csv_export.h"
#include "export/csv_lines.h"

namespace qv {
namespace {

// A full list: 65,535 records with a long category, a memo with two non-ASCII letters, and
// dates and durations that vary.
void FillFullList(TimeRecordList& records) {
    TimeRecord r;
    SetCategory(r, u"Meeting with the customer");
    SetMemo(r, u"weekly review, caf\u00e9 \u20ac");
    for (uint32_t i = 0; i < kMaxListRecords; ++i) {
        SetDate(r, MakeDate(static_cast<uint16_t>(2000 + i % 20), static_cast<uint16_t>(1 + i % 12),
                            static_cast<uint16_t>(1 + i % 28)));
        SetMinutes(r, FormatDecimal(i % 1000));
        records.Append(r);
    }
}

// The line building alone, without the file.
void BM_TimeRecordsCsv(benchmark::State& state) {
    TimeRecordList records;
    FillFullList(records);
    for (auto _ : state) {
        benchmark::DoNotOptimize(TimeRecordsCsv(records, HoursAndMinutes, 0, 1));
    }
    state.SetItemsProcessed(state.iterations() * kMaxListRecords);
}
BENCHMARK(BM_TimeRecordsCsv)->Unit(benchmark::kMillisecond);

void BM_ExportTimeRecords(benchmark::State& state) {
    char pattern[] = "/tmp/qv_export_bench_XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::filesystem::path root = pattern;
    DeviceFolders folders = DeviceFolders::UnderRoot(root);
    folders.Provision();
    DeviceFiles files(folders);
    // Every run writes over the file the run before left.
    ExportContext ctx{files, [](const std::u16string&) { return true; }, 0, 1};

    TimeRecordList records;
    FillFullList(records);
    const uint32_t encoding = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) {
        if (!ExportTimeRecords(ctx, records, u"bench", HoursAndMinutes, encoding, 0)) {
            state.SkipWithError("export failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kMaxListRecords);
    state.SetBytesProcessed(static_cast<int64_t>(
        state.iterations() *
        std::filesystem::file_size(folders.documentsDir / "Business" / "bench.csv")));
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_ExportTimeRecords)
    ->Arg(ExportAscii)
    ->Arg(ExportUnicode)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

BENCHMARK_MAIN();
