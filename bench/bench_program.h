// The whole program run on the headless host over a device folder, for the benchmarks that
// drive it through its windows: the device's hive, files and store, a single-instance rule that
// never finds another, and a host fed action by action by the benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/program_resources.h"
#include "bench_device.h"
#include "platform/files/device_files.h"
#include "platform/headless/headless_host.h"
#include "platform/registry/registry_hive.h"

namespace qv::bench {

// Asked for every action while the program waits for the user; none ends the run like a kill.
using NextAction = std::function<std::optional<HeadlessAction>(HeadlessHost&)>;

// Runs the program once on the device with the clock at `now`. The run also ends at the next
// action once the benchmark has reported an error. `events` hears every event the host reports;
// `entering` is called just before the program's entry, with everything opened. The first
// refused action ends the run and becomes the benchmark's error. False when the benchmark has
// an error: then nothing was measured.
inline bool RunProgram(benchmark::State& st, const DeviceFolders& folders, CalendarDate now,
                       const NextAction& next, const HostEventSink& events = {},
                       const std::function<void()>& entering = {}) {
    FixedClock clock(now);
    RegistryHive hive(folders.HiveFile());
    DeviceFiles files(folders);
    auto store = OpenObjectStoreFile(folders.StoreFile());
    NoOtherInstance instances;
    std::string refused;
    HeadlessHost* running = nullptr;
    HeadlessHost host(
        ProgramResources(), clock,
        [&]() -> std::optional<HeadlessAction> {
            if (!refused.empty() || st.error_occurred()) return std::nullopt;
            return next(*running);
        },
        [&events](const HostEvent& e) {
            if (events) events(e);
        },
        [&refused](const std::string& line) {
            if (refused.empty()) refused = line;
        });
    running = &host;
    ProgramServices services{host, hive, *store, files, instances};
    if (entering) entering();
    try {
        QuorvellaMain(services);
    } catch (const HeadlessKill&) {
    }
    if (!refused.empty() && !st.error_occurred()) st.SkipWithError(refused.c_str());
    return !st.error_occurred();
}

// Runs the program once, plays `script`, and sets the iteration's time from the last action to
// the moment the program waits again; `atEnd` then looks at what it shows. False as RunProgram.
inline bool TimeLastAction(benchmark::State& st, const DeviceFolders& folders, CalendarDate now,
                           const std::vector<HeadlessAction>& script,
                           const std::function<void(HeadlessHost&)>& atEnd) {
    size_t next = 0;
    std::chrono::steady_clock::time_point start, done;
    const bool ran =
        RunProgram(st, folders, now, [&](HeadlessHost& host) -> std::optional<HeadlessAction> {
            if (next < script.size()) {
                if (next + 1 == script.size()) start = std::chrono::steady_clock::now();
                return script[next++];
            }
            done = std::chrono::steady_clock::now();
            atEnd(host);
            return HeadlessAction::MakeKill();
        });
    if (ran) st.SetIterationTime(std::chrono::duration<double>(done - start).count());
    return ran;
}

}  // namespace qv::bench
