// The time report by category through the real program on the headless host: from the tap on
// "View report" with "All" checked to the filled report list, over 65,535 records of the
// current project in twenty categories and three years.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "bench_device.h"
#include "bench_program.h"
#include "dialogs/time_report.h"
#include "platform/headless/headless_host.h"

namespace {

using namespace qv;

constexpr uint32_t kCategories = 20;

std::u16string CategoryName(uint32_t i) {
    return u"Category " + FormatDecimal(static_cast<int32_t>(i + 1));
}

// One project holding the largest number of records a database keeps, round robin over the
// categories, dated over 2003 to 2005.
DeviceFolders PrepareReportDevice(const std::filesystem::path& root) {
    bench::DeviceBuilder device(root);
    const uint32_t alpha = device.AddProject(u"Alpha");
    for (uint32_t c = 0; c < kCategories; ++c) device.AddCategory(CategoryName(c));
    ObjectStore& store = device.Store();
    StoreTransaction bulk(store);
    for (uint32_t i = 0; i < kMaxListRecords; ++i) {
        std::vector<PropValue> props = {
            PropValue::Number(0x00000013, 1 + i),
            PropValue::Number(0x00010013, alpha),
            PropValue::Number(0x00020013, 1 + i % 28),
            PropValue::Number(0x00030013, 1 + i / 28 % 12),
            PropValue::Number(0x00040013, 2003 + i % 3),
            PropValue::String(0x0005001F, CategoryName(i % kCategories)),
            PropValue::String(0x0006001F, FormatDecimal(static_cast<int32_t>(10 + i % 1400))),
            PropValue::String(0x0007001F, u"weekly review with the team")};
        store.CeWriteRecordProps(device.TimeHandle(), 0, props);
    }
    bulk.Commit();
    return device.Folders();
}

const DeviceFolders& PreparedDevice() {
    static DeviceFolders folders = PrepareReportDevice(bench::DeviceRoot("report"));
    return folders;
}

void BM_TimeReportAllToTheFilledList(benchmark::State& st) {
    const DeviceFolders& folders = PreparedDevice();
    int rows = 0;
    for (auto _ : st) {
        // The range covers every record; the clock starts at the tap on "View report".
        std::vector<HeadlessAction> script = {
            HeadlessAction::MakeCommand(kCmdTimeReport),
            HeadlessAction::MakeDate(kTimeReportStart, MakeDate(2003, 1, 1)),
            HeadlessAction::MakeDate(kTimeReportEnd, MakeDate(2005, 12, 31)),
            HeadlessAction::MakeCheck(kTimeReportAll), HeadlessAction::MakeClick(kTimeReportView)};
        if (!bench::TimeLastAction(
                st, folders, MakeDate(2005, 12, 31), script,
                [&](HeadlessHost& host) { rows = host.TopWindow()->RowCount(kTimeReportList); })) {
            return;
        }
    }
    if (rows != static_cast<int>(kCategories)) st.SkipWithError("the report list was not filled");
    st.counters["rows"] = rows;
}
BENCHMARK(BM_TimeReportAllToTheFilledList)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
