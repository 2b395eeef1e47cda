// Choosing another project in the project bar on a full database: from the choice to the main
// list filled with that project's records, into the project holding 64,000 records and back
// out to the one holding the rest.
#include <benchmark/benchmark.h>

#include <chrono>

#include "app/main_window.h"
#include "app/project_bar.h"
#include "bench_device.h"
#include "bench_program.h"

namespace {

using namespace qv;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kLargeProjectRecords = 64000;

const DeviceFolders& Device() {
    static DeviceFolders folders = [] {
        bench::DeviceBuilder device(bench::DeviceRoot("project-switch"));
        const uint32_t large = device.AddProject(u"Large");
        const uint32_t small = device.AddProject(u"Small");
        device.FillRecords(kMaxListRecords, [large, small](uint32_t i) {
            return i < kLargeProjectRecords ? large : small;
        });
        return device.Folders();
    }();
    return folders;
}

int Rows(HeadlessHost& host) {
    return host.Main()->Child()->RowCount(kMainList);
}

// Each step chooses `to`, timed until the program waits again with that project's rows listed.
void Switch(benchmark::State& st, const char16_t* to, int rowsExpected, const char16_t* away) {
    bool chosen = false;
    bool timing = false;
    Clock::time_point start;
    bench::RunProgram(
        st, Device(), MakeDate(2005, 10, 29),
        [&](HeadlessHost& host) -> std::optional<HeadlessAction> {
            if (timing) {
                st.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
                timing = false;
                if (Rows(host) != rowsExpected) {
                    st.SkipWithError("the chosen project's records are not listed");
                    return std::nullopt;
                }
            }
            // Every timed choice starts from the other project.
            if (!chosen) {
                chosen = true;
                return HeadlessAction::MakeProject(kProjectCombo, away);
            }
            chosen = false;
            if (!st.KeepRunning()) return std::nullopt;
            timing = true;
            start = Clock::now();
            return HeadlessAction::MakeProject(kProjectCombo, to);
        });
    st.counters["rows"] = rowsExpected;
}

void BM_SwitchToTheLargeProject(benchmark::State& st) {
    Switch(st, u"Large", static_cast<int>(kLargeProjectRecords), u"Small");
}
void BM_SwitchToTheSmallProject(benchmark::State& st) {
    Switch(st, u"Small", static_cast<int>(kMaxListRecords - kLargeProjectRecords), u"Large");
}
BENCHMARK(BM_SwitchToTheLargeProject)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchToTheSmallProject)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
