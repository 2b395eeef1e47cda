// The program as one whole process on the headless host, without the desktop's libraries:
// started on a device folder, closed as soon as it waits for the user, its exit steps run.
//
//   qv-start-close ROOT ROWS      exits with 0 when the main list showed ROWS rows
#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "app/program_resources.h"
#include "bench_device.h"
#include "platform/headless/headless_host.h"
#include "platform/registry/registry_hive.h"

int main(int argc, char** argv) {
    using namespace qv;
    if (argc != 3) {
        std::fprintf(stderr, "usage: qv-start-close ROOT ROWS\n");
        return 2;
    }
    const DeviceFolders folders = DeviceFolders::UnderRoot(argv[1]);
    const int expected = std::stoi(argv[2]);
    FixedClock clock(MakeDate(2005, 10, 29));
    RegistryHive hive(folders.HiveFile());
    DeviceFiles files(folders);
    auto store = OpenObjectStoreFile(folders.StoreFile());
    if (store == nullptr) return 1;
    bench::NoOtherInstance instances;
    HeadlessHost* running = nullptr;
    int rows = -1;
    bool closed = false;
    HeadlessHost host(
        ProgramResources(), clock,
        [&]() -> std::optional<HeadlessAction> {
            if (closed) return std::nullopt;
            rows = running->Main()->Child()->RowCount(kMainList);
            closed = true;
            return HeadlessAction::MakeClose();
        },
        [](const HostEvent&) {}, [](const std::string&) {});
    running = &host;
    ProgramServices services{host, hive, *store, files, instances};
    const int code = QuorvellaMain(services);
    return code == 0 && rows == expected ? 0 : 1;
}
