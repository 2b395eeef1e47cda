// The program as one whole process on the headless host, without the desktop's libraries:
// started on a device folder, given one task, then closed as soon as it waits for the user, its
// exit steps run.
//
//   qv-start-close ROOT ROWS [TASK]      exits with 0 when the main list showed ROWS rows and the
//                                        task was done
//
// TASK: start (nothing more; the default), resort (the date header tapped once), report (the
// time report over everything, to its filled list) or export (every listed record exported to
// "all records.csv" in the personal folder, to "Done!").
#include <cstdio>
#include <deque>
#include <filesystem>
#include <string>

#include "app/commands.h"
#include "app/main_window.h"
#include "app/program_resources.h"
#include "bench_device.h"
#include "dialogs/export_options.h"
#include "dialogs/time_report.h"
#include "platform/headless/headless_host.h"
#include "platform/registry/registry_hive.h"

namespace {

using namespace qv;

struct Task {
    std::deque<HeadlessAction> actions;
    int reportRows = 0;          // rows the time report must show at the end; 0: no report
    std::filesystem::path file;  // the file the task must leave; empty: none
};

std::optional<Task> TaskNamed(const std::string& name, const DeviceFolders& folders) {
    Task task;
    if (name == "start") return task;
    if (name == "resort") {
        task.actions = {HeadlessAction::MakeHeader(kMainList, 0)};
        return task;
    }
    if (name == "report") {
        task.actions = {HeadlessAction::MakeCommand(kCmdTimeReport),
                        HeadlessAction::MakeDate(kTimeReportStart, MakeDate(2003, 1, 1)),
                        HeadlessAction::MakeDate(kTimeReportEnd, MakeDate(2005, 12, 31)),
                        HeadlessAction::MakeCheck(kTimeReportAll),
                        HeadlessAction::MakeClick(kTimeReportView)};
        task.reportRows = 1;
        return task;
    }
    if (name == "export") {
        const int first = kExportRecordsFirst;
        task.file = folders.documentsDir / "Personal" / "all records.csv";
        task.actions = {HeadlessAction::MakeCommand(kCmdExportTimeRecords),
                        HeadlessAction::MakeCheck(ExportControl(first, kExportPersonal)),
                        HeadlessAction::MakeType(ExportControl(first, kExportName), u"all records"),
                        HeadlessAction::MakeClick(ExportControl(first, kExportOk))};
        return task;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: qv-start-close ROOT ROWS [start|resort|report|export]\n");
        return 2;
    }
    const DeviceFolders folders = DeviceFolders::UnderRoot(argv[1]);
    const int expected = std::stoi(argv[2]);
    std::optional<Task> task = TaskNamed(argc == 4 ? argv[3] : "start", folders);
    if (!task) {
        std::fprintf(stderr, "qv-start-close: no task named %s\n", argv[3]);
        return 2;
    }
    // The export's file from an earlier run would bring the replace question.
    if (!task->file.empty()) std::filesystem::remove(task->file);
    FixedClock clock(MakeDate(2005, 10, 29));
    RegistryHive hive(folders.HiveFile());
    DeviceFiles files(folders);
    auto store = OpenObjectStoreFile(folders.StoreFile());
    if (store == nullptr) return 1;
    bench::NoOtherInstance instances;
    HeadlessHost* running = nullptr;
    int rows = -1;
    bool reported = task->reportRows == 0;
    bool closed = false;
    std::u16string message;  // the last message box shown
    HeadlessHost host(
        ProgramResources(), clock,
        [&]() -> std::optional<HeadlessAction> {
            if (closed) return std::nullopt;
            if (rows < 0) rows = running->Main()->Child()->RowCount(kMainList);
            if (!task->actions.empty()) {
                HeadlessAction next = task->actions.front();
                task->actions.pop_front();
                return next;
            }
            if (!reported) {
                reported = running->TopWindow()->RowCount(kTimeReportList) >= task->reportRows;
                if (!reported) return std::nullopt;
                return HeadlessAction::MakeClick(kTimeReportOk);
            }
            closed = true;
            return HeadlessAction::MakeClose();
        },
        [&](const HostEvent& e) {
            if (e.kind == HostEvent::Kind::Message) message = e.text;
        },
        [](const std::string&) {});
    running = &host;
    ProgramServices services{host, hive, *store, files, instances};
    const int code = QuorvellaMain(services, ProgramEnd::ProcessEnds);
    const bool written =
        task->file.empty() || (message == u"Done!" && std::filesystem::exists(task->file));
    return code == 0 && rows == expected && reported && written ? 0 : 1;
}
