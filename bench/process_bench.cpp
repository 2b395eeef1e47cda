// Whole processes on the standard store (65,535 records, fifteen projects, twenty categories,
// three years): the program started and closed on the headless host, beside the floor, a bare
// SQLite program that reads the same records and sorts them. Each figure is the wall time from the
// spawn to the end of the process; the peak memory of the last run is reported beside it.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "bench_device.h"

extern char** environ;

namespace {

using namespace qv;

const DeviceFolders& Device() {
    static DeviceFolders folders = bench::PrepareStandardDevice(bench::DeviceRoot("process"));
    return folders;
}

// Runs the program to its end with its output thrown away; false when it could not be started
// or did not end with status 0.
bool Spawn(const std::vector<std::string>& args, rusage& usage) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    int status = 0;
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Measure(benchmark::State& st, const std::vector<std::string>& args) {
    rusage usage{};
    for (auto _ : st) {
        const auto start = std::chrono::steady_clock::now();
        if (!Spawn(args, usage)) {
            st.SkipWithError(("the process failed: " + args[0]).c_str());
            return;
        }
        st.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    st.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_FloorReadAndSort(benchmark::State& st) {
    Measure(st, {QV_FLOOR_SCAN, Device().StoreFile().string()});
}
BENCHMARK(BM_FloorReadAndSort)->UseManualTime()->Unit(benchmark::kMillisecond);

// The program on the headless host, started on the standard store with its 64,000-record
// project listed, then closed: the exit steps run and the settings are saved.
void BM_ProgramStartAndClose(benchmark::State& st) {
    Measure(st, {QV_START_CLOSE, Device().dataDir.string(),
                 std::to_string(bench::kStandardLargeProject)});
}
BENCHMARK(BM_ProgramStartAndClose)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same through the replay tool, which also carries the desktop's libraries.
void BM_ReplayStartAndClose(benchmark::State& st) {
    const std::string script = (bench::DeviceRoot("process") / "start-close.replay").string();
    std::ofstream(script) << "start\nclose\n";
    Measure(st, {QV_REPLAY, "--root", Device().dataDir.string(), script});
}
BENCHMARK(BM_ReplayStartAndClose)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
