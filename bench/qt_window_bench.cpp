// The desktop window on the standard store (65,535 records, 64,000 of them the current
// project's), drawn offscreen: start-up to the first painted window with the list's rows
// shown, and a Date header tap to the list shown in its new order.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QTreeView>
#include <chrono>
#include <filesystem>

#include "app/app.h"
#include "app/main_window.h"
#include "app/program_resources.h"
#include "bench_device.h"
#include "platform/qt/qt_host.h"
#include "platform/registry/registry_hive.h"
#include "platform/ui/user_input.h"

namespace {

using namespace qv;
using Clock = std::chrono::steady_clock;

// Leaves the program from inside its message loop once the figures are taken.
struct Stop {};

std::filesystem::path BenchRoot() {
    return std::filesystem::temp_directory_path() /
           ("qv-qt-window-bench-" + std::to_string(getpid()));
}

const DeviceFolders& PreparedDevice() {
    static DeviceFolders folders = bench::PrepareStandardDevice(BenchRoot());
    return folders;
}

// Runs the program on the prepared device; `atFirstWait` is called when it first waits for
// the user and ends the run by throwing Stop. False when a message box came up instead.
bool RunProgram(const std::function<void(QtHost&)>& atFirstWait) {
    const DeviceFolders& folders = PreparedDevice();
    FixedClock clock(MakeDate(2005, 10, 29));
    RegistryHive hive(folders.HiveFile());
    DeviceFiles files(folders);
    auto store = OpenObjectStoreFile(folders.StoreFile());
    bench::NoOtherInstance instances;
    QtHost host(ProgramResources(), clock, 2, {});
    bool boxed = false;
    host.SetScriptedStep([&] { atFirstWait(host); });
    host.SetScriptedAnswer([&](QWidget*, bool) {
        boxed = true;
        throw Stop{};
    });
    ProgramServices services{host, hive, *store, files, instances};
    try {
        QuorvellaMain(services);
    } catch (const Stop&) {
    }
    return !boxed;
}

QTreeView* MainListView(QtHost& host) {
    return qobject_cast<QTreeView*>(host.WidgetOf(kMainList));
}

void BM_LaunchToThePaintedWindow(benchmark::State& st) {
    PreparedDevice();
    int rows = 0;
    for (auto _ : st) {
        const Clock::time_point start = Clock::now();
        Clock::time_point painted;
        const bool ran = RunProgram([&](QtHost& host) {
            // The rows reach the view with the first events; the grab paints every widget.
            QTreeView* view = MainListView(host);
            while (view != nullptr && view->model()->rowCount() == 0) {
                QCoreApplication::processEvents();
            }
            host.Window()->grab();
            painted = Clock::now();
            rows = view != nullptr ? view->model()->rowCount() : 0;
            throw Stop{};
        });
        if (!ran) return st.SkipWithError("a message box came up");
        st.SetIterationTime(std::chrono::duration<double>(painted - start).count());
    }
    if (rows != static_cast<int>(bench::kStandardLargeProject)) {
        st.SkipWithError("the main list was not filled");
    }
    st.counters["rows"] = rows;
}
BENCHMARK(BM_LaunchToThePaintedWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DateHeaderTapToTheNewOrder(benchmark::State& st) {
    PreparedDevice();
    int rows = 0;
    const bool ran = RunProgram([&](QtHost& host) {
        QTreeView* view = MainListView(host);
        if (view == nullptr) {
            st.SkipWithError("no main list");
            throw Stop{};
        }
        int resets = 0;
        QObject::connect(view->model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
        // The program's own work (sorting, rows into the model) apart from the view's.
        double programSeconds = 0;
        for (auto _ : st) {
            const Clock::time_point start = Clock::now();
            const int before = resets;
            input::TapHeader(*host.Main()->Child(), kMainList, 0);
            const Clock::time_point tapped = Clock::now();
            while (resets == before) QCoreApplication::processEvents();
            view->viewport()->repaint();
            const Clock::time_point shown = Clock::now();
            programSeconds += std::chrono::duration<double>(tapped - start).count();
            st.SetIterationTime(std::chrono::duration<double>(shown - start).count());
        }
        st.counters["program_ms"] =
            benchmark::Counter(programSeconds * 1000, benchmark::Counter::kAvgIterations);
        rows = view->model()->rowCount();
        throw Stop{};
    });
    if (!ran) st.SkipWithError("a message box came up");
    st.counters["rows"] = rows;
}
BENCHMARK(BM_DateHeaderTapToTheNewOrder)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(BenchRoot());
    return 0;
}
