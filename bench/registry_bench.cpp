// Saving the settings block at exit into a hive file in a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "core/settings.h"
#include "platform/registry/registry_hive.h"

namespace qv {
namespace {

std::filesystem::path BenchFolder(const char* name) {
    auto folder = std::filesystem::temp_directory_path() /
                  (std::string(name) + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

AppSettings ChangedSettings() {
    AppSettings s;
    s.companyText = u"Brumo";
    s.productText = u"Quorvella";
    s.SortOrder = 1;
    s.DateTypeView = 2;
    s.LastProject = u"Week 12";
    return s;
}

// The exit of a program that has run before: both keys exist, every value is rewritten.
void BM_SaveSettingsOverAnExistingHive(benchmark::State& state) {
    const auto folder = BenchFolder("qv-registry-bench");
    RegistryHive hive(folder / "registry.hive");
    AppSettings s = ChangedSettings();
    if (!SaveSettings(s, hive)) state.SkipWithError("the first save failed");
    for (auto _ : state) {
        s.CatRecsApply ^= 1;  // a real change each time
        if (!SaveSettings(s, hive)) state.SkipWithError("a save failed");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveSettingsOverAnExistingHive)->Unit(benchmark::kMicrosecond);

// The first exit: the keys are made as well.
void BM_SaveSettingsIntoANewHive(benchmark::State& state) {
    const auto folder = BenchFolder("qv-registry-bench-new");
    const AppSettings s = ChangedSettings();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(folder / "registry.hive");
        state.ResumeTiming();
        RegistryHive hive(folder / "registry.hive");
        if (!SaveSettings(s, hive)) state.SkipWithError("a save failed");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveSettingsIntoANewHive)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qv

BENCHMARK_MAIN();
