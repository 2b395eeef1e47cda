// Whole processes on the standard store (65,535 records, fifteen projects, twenty categories,
// three years): the program started on the headless host, given one task and closed, each run
// alternated with the floor, a bare SQLite program that reads the same records and sorts them.
// Each figure is the wall time from the spawn to the end of the process; beside it are the
// medians of both, the median ratio of each run to the floor's run before it, and the peak
// memory of the program's and the floor's last runs. The desktop window's start and close is
// measured against a Qt floor instead: a bare Qt Widgets program painting the same records.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
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

// The wall time of one run to its end, in seconds; negative when it failed.
double TimeOf(const std::vector<std::string>& args, rusage& usage) {
    const auto start = std::chrono::steady_clock::now();
    if (!Spawn(args, usage)) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Each step runs the floor and then the program, so that both see the same state of the machine;
// the step's time is the program's. Beside it: the medians of both, the median of the steps'
// ratios, and the program's peak memory.
void MeasureAgainst(benchmark::State& st, const std::vector<std::string>& floor,
                    const std::vector<std::string>& args) {
    rusage usage{}, floorUsage{};
    std::vector<double> floors, programs, ratios;
    for (auto _ : st) {
        const double f = TimeOf(floor, floorUsage);
        const double p = TimeOf(args, usage);
        if (f < 0 || p < 0) {
            st.SkipWithError(("the process failed: " + args[0]).c_str());
            return;
        }
        floors.push_back(f);
        programs.push_back(p);
        ratios.push_back(p / f);
        st.SetIterationTime(p);
    }
    st.counters["program_ms"] = Median(programs) * 1000;
    st.counters["floor_ms"] = Median(floors) * 1000;
    // Each run against the floor's run just before it: the machine's speed drifts over a
    // benchmark, and a pair sees it in one state.
    st.counters["x_floor"] = Median(ratios);
    st.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    st.counters["floor_peak_MiB"] = static_cast<double>(floorUsage.ru_maxrss) / 1024.0;
    st.counters["x_floor_peak"] =
        static_cast<double>(usage.ru_maxrss) / static_cast<double>(floorUsage.ru_maxrss);
}

// Against the bare SQLite program.
void MeasureAgainstFloor(benchmark::State& st, const std::vector<std::string>& args) {
    MeasureAgainst(st, {QV_FLOOR_SCAN, Device().StoreFile().string()}, args);
}

// The program on the headless host, started on the standard store with its 64,000-record
// project listed, given one task (qv-start-close's TASK), then closed: the exit steps run and
// the settings are saved.
void BM_Program(benchmark::State& st, const char* task) {
    MeasureAgainstFloor(st, {QV_START_CLOSE, Device().dataDir.string(),
                             std::to_string(bench::kStandardLargeProject), task});
}

// The start and close through the replay tool, which also carries the desktop's libraries.
void BM_ReplayStartAndClose(benchmark::State& st) {
    Device();  // its folder holds the script
    const std::string script = (bench::DeviceRoot("process") / "start-close.replay").string();
    std::ofstream(script) << "start\nclose\n";
    MeasureAgainstFloor(st, {QV_REPLAY, "--root", Device().dataDir.string(), script});
}

// The start and close of the desktop window (the replay tool's Qt host, offscreen, painting the
// main window with its list), against a bare Qt Widgets program that reads and sorts the same
// records and paints them once in a tree view.
void BM_ReplayQtStartAndClose(benchmark::State& st) {
    Device();
    const std::string script = (bench::DeviceRoot("process") / "start-close.replay").string();
    std::ofstream(script) << "start\nclose\n";
    MeasureAgainst(st, {QV_QT_FLOOR, Device().StoreFile().string()},
                   {QV_REPLAY, "--root", Device().dataDir.string(), "--host", "qt", script});
}

// The standard store as the desktop program finds it in its data folder (XDG_DATA_HOME/quorvella),
// with the last hundred records (of the small projects) taken out, so that bookings fit.
const DeviceFolders& CommandLineDevice() {
    static DeviceFolders folders = [] {
        const std::filesystem::path home = bench::DeviceRoot("process", "cli");
        DeviceFolders f = bench::PrepareStandardDevice(home / "quorvella");
        {
            std::unique_ptr<ObjectStore> store = OpenObjectStoreFile(f.StoreFile());
            CEOID oid = 0;
            const StoreHandle h = OpenByName(*store, kTimeDatabaseName, oid);
            for (uint32_t id = 65436; id <= 65535; ++id) {
                const CEOID record = store->CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, id);
                if (record != 0) store->CeDeleteRecord(h, record);
            }
            store->CloseHandle(h);
        }
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return f;
    }();
    return folders;
}

// A subcommand of the desktop program, run on its own, against the floor on the same store.
void BM_CommandLine(benchmark::State& st, std::vector<std::string> args) {
    const DeviceFolders& f = CommandLineDevice();
    args.insert(args.begin(), QV_QUORVELLA);
    MeasureAgainst(st, {QV_FLOOR_SCAN, f.StoreFile().string()}, args);
}

// A booking handed to the desktop window running on the same store (offscreen): to another
// project (stored only), or to its current project (stored, listed as its 64,001st row and
// added to the balance; the list redraws after the answer).
void BM_CommandLineToWindow(benchmark::State& st, const char* project) {
    const DeviceFolders& f = CommandLineDevice();
    pid_t window = 0;
    const char* argv[] = {QV_QUORVELLA, nullptr};
    posix_spawn(&window, QV_QUORVELLA, nullptr, nullptr, const_cast<char**>(argv), environ);
    for (int i = 0; i < 100 && !std::filesystem::exists(f.dataDir / "objectstore.sqlite-wal");
         ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    MeasureAgainst(st, {QV_FLOOR_SCAN, f.StoreFile().string()},
                   {QV_QUORVELLA, "add", "--time", "1:30", "--project", project, "--category",
                    "Travel", "--date", "2005-06-01"});
    kill(window, SIGTERM);
    int status = 0;
    waitpid(window, &status, 0);
}

// 31 runs of each, every one beside a run of the floor.
const bool kRegistered = [] {
    constexpr int kRuns = 31;
    const auto each = [](benchmark::internal::Benchmark* b) {
        b->UseManualTime()->Iterations(kRuns)->Unit(benchmark::kMillisecond);
    };
    for (const char* task : {"start", "resort", "report", "export"}) {
        each(benchmark::RegisterBenchmark((std::string("BM_Program/") + task).c_str(), BM_Program,
                                          task));
    }
    each(benchmark::RegisterBenchmark("BM_ReplayStartAndClose", BM_ReplayStartAndClose));
    each(benchmark::RegisterBenchmark("BM_ReplayQtStartAndClose", BM_ReplayQtStartAndClose));
    each(benchmark::RegisterBenchmark(
        "BM_CommandLine/add", BM_CommandLine,
        std::vector<std::string>{"add", "--time", "1:30", "--project", "Beta", "--category",
                                 "Travel", "--date", "2005-06-01"}));
    // The least the program's process costs: its libraries loaded, --version answered.
    each(benchmark::RegisterBenchmark("BM_CommandLine/version", BM_CommandLine,
                                      std::vector<std::string>{"--version"}));
    each(benchmark::RegisterBenchmark("BM_CommandLine/list_json", BM_CommandLine,
                                      std::vector<std::string>{"list", "--json"}));
    each(benchmark::RegisterBenchmark("BM_CommandLine/add_to_window", BM_CommandLineToWindow,
                                      "Beta"));
    each(benchmark::RegisterBenchmark("BM_CommandLine/add_to_window_listed", BM_CommandLineToWindow,
                                      "Alpha"));
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
