// Start-up of the whole program on the headless host, from the entry to the filled main list,
// with 65,535 records of the current project in the store.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "app/app.h"
#include "app/main_window.h"
#include "bench_device.h"
#include "platform/headless/headless_host.h"
#include "platform/registry/registry_hive.h"

namespace {

using namespace qv;

const DeviceFolders& PreparedDevice() {
    static DeviceFolders folders = bench::PrepareFullDevice(
        std::filesystem::temp_directory_path() / ("qv-startup-bench-" + std::to_string(getpid())));
    return folders;
}

void BM_StartUpToTheFilledList(benchmark::State& st) {
    const DeviceFolders& folders = PreparedDevice();
    FixedClock clock(MakeDate(2005, 10, 29));
    int rows = 0;
    for (auto _ : st) {
        RegistryHive hive(folders.HiveFile());
        DeviceFiles files(folders);
        auto store = OpenObjectStoreFile(folders.StoreFile());
        bench::NoOtherInstance instances;
        std::chrono::steady_clock::time_point start, listed;
        HeadlessHost* hostPtr = nullptr;
        HeadlessHost host(
            clock,
            [&]() -> std::optional<HeadlessAction> {
                listed = std::chrono::steady_clock::now();
                rows = hostPtr->Main()->Child()->RowCount(kMainList);
                return HeadlessAction::MakeKill();
            },
            [](const HostEvent&) {}, [](const std::string&) {});
        hostPtr = &host;
        ProgramServices services{host, hive, *store, files, instances};
        start = std::chrono::steady_clock::now();
        try {
            QuorvellaMain(services);
        } catch (const HeadlessKill&) {
        }
        st.SetIterationTime(std::chrono::duration<double>(listed - start).count());
    }
    st.counters["rows"] = rows;
}
BENCHMARK(BM_StartUpToTheFilledList)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
