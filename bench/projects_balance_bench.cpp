// The projects balance report through the real program on the headless host: from the tap on
// "Balance report" to the filled balance list, over 65,535 records in 15 projects.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "bench_device.h"
#include "bench_program.h"
#include "dialogs/projects_balance.h"
#include "platform/headless/headless_host.h"

namespace {

using namespace qv;

constexpr int kProjects = 15;

// Fifteen projects sharing the largest number of records a database keeps, round robin.
DeviceFolders PrepareBalanceDevice(const std::filesystem::path& root) {
    bench::DeviceBuilder device(root);
    std::vector<uint32_t> ids;
    for (int i = 0; i < kProjects; ++i)
        ids.push_back(device.AddProject(u"Project " + FormatDecimal(i + 1)));
    device.FillRecords(kMaxListRecords, [&ids](uint32_t i) { return ids[i % kProjects]; });
    return device.Folders();
}

const DeviceFolders& PreparedDevice() {
    static DeviceFolders folders = PrepareBalanceDevice(bench::DeviceRoot("balance"));
    return folders;
}

void BM_BalanceReportToTheFilledList(benchmark::State& st) {
    const DeviceFolders& folders = PreparedDevice();
    int rows = 0;
    std::u16string total;
    for (auto _ : st) {
        // The range covers every record; the clock starts at the tap on "Balance report".
        std::vector<HeadlessAction> script = {
            HeadlessAction::MakeCommand(kCmdProjectsBalance),
            HeadlessAction::MakeDate(kProjectsBalanceStart, MakeDate(2000, 1, 1)),
            HeadlessAction::MakeDate(kProjectsBalanceEnd, MakeDate(2005, 12, 31)),
            HeadlessAction::MakeClick(kProjectsBalanceReport)};
        if (!bench::TimeLastAction(st, folders, MakeDate(2005, 10, 29), script,
                                   [&](HeadlessHost& host) {
                                       Dialog* d = host.TopWindow();
                                       rows = d->RowCount(kProjectsBalanceList);
                                       total = d->Text(kProjectsBalanceTotal);
                                   })) {
            return;
        }
    }
    if (rows != kProjects || total.empty()) st.SkipWithError("the balance list was not filled");
    st.counters["rows"] = rows;
}
BENCHMARK(BM_BalanceReportToTheFilledList)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
