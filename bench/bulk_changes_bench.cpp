// Changes of many stored records through the real dialogs on the headless host: a category
// rename applied to 20,000 records, and Delete by Range of 10,000 records, each from the
// confirming tap to the dialog showing again or gone.
#include <benchmark/benchmark.h>

#include <chrono>
#include <deque>
#include <functional>

#include "app/app.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "bench_device.h"
#include "bench_program.h"
#include "dialogs/delete_by_range.h"
#include "dialogs/edit_categories.h"
#include "platform/headless/headless_host.h"
#include "platform/registry/registry_hive.h"
#include "store/categories_store.h"

namespace {

using namespace qv;
using Clock = std::chrono::steady_clock;
using A = HeadlessAction;

// One project holding `records` records of the category "Meeting", the category listed, and
// the rename applied to records.
DeviceFolders MakeDevice(uint32_t records) {
    bench::DeviceBuilder device(bench::DeviceRoot("bulk"));
    const uint32_t pid = device.AddProject(u"Alpha");
    device.FillRecords(records, [pid](uint32_t) { return pid; });
    device.AddCategory(u"Meeting");
    const DeviceFolders& f = device.Folders();
    RegistryHive hive(f.HiveFile());
    if (auto key = hive.CreateKey(u"Software\\Brumo\\Quorvella\\Settings")) {
        hive.SetDwordValue(*key, u"CatRecsApply", 1);
        hive.CloseKey(*key);
    }
    return device.Folders();
}

// The actions in turn, killing the program after the last one.
bench::NextAction InTurn(std::deque<std::function<A()>> steps) {
    return [steps = std::move(steps)](HeadlessHost&) mutable -> std::optional<A> {
        if (steps.empty()) return A::MakeKill();
        auto step = std::move(steps.front());
        steps.pop_front();
        return step();
    };
}

void BM_CategoryRenameAppliedToRecords(benchmark::State& st) {
    const DeviceFolders folders = MakeDevice(static_cast<uint32_t>(st.range(0)));
    bool toOffice = true;
    for (auto _ : st) {
        Clock::time_point confirmed, shown;
        const std::u16string name = toOffice ? u"Office" : u"Meeting";
        const bool ran = bench::RunProgram(st, folders, MakeDate(2005, 10, 29),
                                           InTurn({
                                               [] { return A::MakeCommand(kCmdEditCategories); },
                                               [] { return A::MakeTap(kEditCategoriesList, 0); },
                                               [] { return A::MakeClick(kEditCategoriesRename); },
                                               [&] { return A::MakeType(kEditCategoryName, name); },
                                               [&] {
                                                   confirmed = Clock::now();
                                                   return A::MakeClick(kEditCategoryOk);
                                               },
                                               [&] {
                                                   shown = Clock::now();
                                                   return A::MakeClick(IDOK);
                                               },
                                           }));
        if (!ran) return;
        st.SetIterationTime(std::chrono::duration<double>(shown - confirmed).count());
        toOffice = !toOffice;
    }
}
BENCHMARK(BM_CategoryRenameAppliedToRecords)
    ->Arg(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_DeleteByRange(benchmark::State& st) {
    for (auto _ : st) {
        st.PauseTiming();
        const DeviceFolders folders = MakeDevice(static_cast<uint32_t>(st.range(0)));
        st.ResumeTiming();
        Clock::time_point confirmed, done;
        const bool ran = bench::RunProgram(
            st, folders, MakeDate(2005, 10, 29),
            InTurn({
                [] { return A::MakeCommand(kCmdDeleteByRange); },
                [] { return A::MakeDate(kDeleteByRangeStart, MakeDate(2000, 1, 1)); },
                [] { return A::MakeDate(kDeleteByRangeEnd, MakeDate(2005, 12, 31)); },
                [] { return A::MakeClick(kDeleteByRangeFind); },
                [&] {
                    confirmed = Clock::now();
                    return A::MakeAnswer(true);
                },
                [&] {
                    done = Clock::now();
                    return A::MakeKill();
                },
            }));
        if (!ran) return;
        st.SetIterationTime(std::chrono::duration<double>(done - confirmed).count());
    }
}
BENCHMARK(BM_DeleteByRange)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
