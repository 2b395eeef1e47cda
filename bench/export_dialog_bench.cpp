// Exporting the time records from their dialog on the headless host with a full database: all
// 65,535 records of the current project, from OK to "Done!", in either encoding, with the file
// flushed to disk. The file is removed between the timed steps, outside the timing, so the
// replace question never comes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "app/app.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "bench_device.h"
#include "bench_program.h"
#include "dialogs/export_dialog.h"
#include "platform/headless/headless_host.h"

namespace {

using namespace qv;
using Clock = std::chrono::steady_clock;

const DeviceFolders& Device() {
    static DeviceFolders folders = bench::PrepareFullDevice(bench::DeviceRoot("export-dialog"));
    return folders;
}

// Line ends in either encoding: every line ends with a line-feed byte, and no other byte of
// these files is one.
int LinesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return static_cast<int>(
        std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
}

// One run of the program: each step opens the dialog, names the file and presses OK; the time
// runs from OK to the success message.
void ExportFromDialog(benchmark::State& st, int encodingControl) {
    const DeviceFolders& folders = Device();
    const std::filesystem::path file = folders.documentsDir / "Personal" / "all records.csv";
    std::filesystem::remove(file);
    std::string failed;
    std::deque<HeadlessAction> script;
    Clock::time_point ok;
    bool timing = false;
    int done = 0;
    auto next = [&](HeadlessHost&) -> std::optional<HeadlessAction> {
        if (!failed.empty()) return std::nullopt;
        if (script.empty()) {
            std::filesystem::remove(file);
            if (!st.KeepRunning()) return std::nullopt;
            const int first = kExportRecordsFirst;
            script = {HeadlessAction::MakeCommand(kCmdExportTimeRecords),
                      HeadlessAction::MakeCheck(ExportControl(first, kExportPersonal)),
                      HeadlessAction::MakeCheck(encodingControl),
                      HeadlessAction::MakeType(ExportControl(first, kExportName), u"all records"),
                      HeadlessAction::MakeClick(ExportControl(first, kExportOk))};
        }
        HeadlessAction a = script.front();
        script.pop_front();
        if (a.kind == HeadlessAction::Kind::Click) {
            timing = true;
            ok = Clock::now();
        }
        return a;
    };
    auto events = [&](const HostEvent& e) {
        if (!timing || e.kind != HostEvent::Kind::Message) return;
        st.SetIterationTime(std::chrono::duration<double>(Clock::now() - ok).count());
        timing = false;
        if (e.text != u"Done!") failed = "the export did not succeed";
        if (LinesOf(file) != static_cast<int>(kMaxListRecords) + 1) {
            failed = "the file does not hold every record";
        }
        ++done;
    };
    if (bench::RunProgram(st, folders, MakeDate(2005, 10, 29), next, events) && !failed.empty()) {
        st.SkipWithError(failed.c_str());
    }
    st.counters["records"] = kMaxListRecords;
    st.counters["exports"] = done;
}

void BM_ExportAllRecordsAscii(benchmark::State& st) {
    ExportFromDialog(st, ExportControl(kExportRecordsFirst, kExportAscii));
}
void BM_ExportAllRecordsUnicode(benchmark::State& st) {
    ExportFromDialog(st, ExportControl(kExportRecordsFirst, kExportUnicode));
}
BENCHMARK(BM_ExportAllRecordsAscii)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportAllRecordsUnicode)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
