// Start-up of the whole program on the headless host, from the entry to the filled main list,
// on the standard store: 65,535 records, 64,000 of them the current project's.
#include <benchmark/benchmark.h>

#include <chrono>

#include "app/app.h"
#include "app/main_window.h"
#include "bench_device.h"
#include "bench_program.h"
#include "platform/headless/headless_host.h"

namespace {

using namespace qv;

const DeviceFolders& PreparedDevice() {
    static DeviceFolders folders = bench::PrepareStandardDevice(bench::DeviceRoot("startup"));
    return folders;
}

void BM_StartUpToTheFilledList(benchmark::State& st) {
    const DeviceFolders& folders = PreparedDevice();
    int rows = 0;
    for (auto _ : st) {
        std::chrono::steady_clock::time_point start, listed;
        const bool ran = bench::RunProgram(
            st, folders, MakeDate(2005, 10, 29),
            [&](HeadlessHost& host) -> std::optional<HeadlessAction> {
                listed = std::chrono::steady_clock::now();
                rows = host.Main()->Child()->RowCount(kMainList);
                return HeadlessAction::MakeKill();
            },
            {}, [&] { start = std::chrono::steady_clock::now(); });
        if (!ran) return;
        st.SetIterationTime(std::chrono::duration<double>(listed - start).count());
    }
    if (rows != static_cast<int>(bench::kStandardLargeProject))
        st.SkipWithError("the main list was not filled");
    st.counters["rows"] = rows;
}
BENCHMARK(BM_StartUpToTheFilledList)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
