// The command line on its own: settings and store read from the data folder, a change written
// through a store opened for it.
#include "cli/cli_standalone.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "cli/cli_reading.h"
#include "cli/cli_texts.h"
#include "platform/objectstore/object_store.h"
#include "platform/registry/registry_hive.h"
#include "res/string_table.h"
#include "store/record_store.h"

namespace qv::cli {

namespace {

void TakeSettings(AppState& state, const AppSettings& settings) {
    state.settings = settings;
    state.mainSortColumn = settings.Sort;
    state.mainSortOrder = SortOrderFromStored(settings.SortOrder);
}

}  // namespace

Answer RunOnOwn(const DeviceFolders& folders, const Request& request, const Clock& clock) {
    AppSettings settings;
    {
        RegistryHive hive(folders.HiveFile());
        LoadSettings(settings, hive, LoadString(kStrCompany), LoadString(kStrTitle));
    }
    std::error_code ec;
    const bool stored = std::filesystem::exists(folders.StoreFile(), ec);
    std::unique_ptr<ObjectStore> looking =
        stored ? OpenObjectStoreForLooking(folders.StoreFile()) : MakeUnavailableObjectStore();
    AppState state;
    TakeSettings(state, settings);
    StoreContext ctx{state, *looking, clock};
    if (stored && !LoadForLooking(ctx)) {
        Answer a;
        a.status = kRefused;
        a.err = "quorvella: " + std::string(says::kStoreUnreadable) + "\n";
        return a;
    }

    // Declared in this order so that the context goes before the state and the store it uses.
    std::unique_ptr<ObjectStore> writable;
    AppState written;
    std::optional<StoreContext> writing;
    DeviceFiles files(folders);
    Session session{ctx, files,
                    [&](std::string& why) -> StoreContext* {
                        writable = OpenObjectStoreFile(folders.StoreFile());
                        if (writable == nullptr) {
                            why = says::kStoreUnusable;
                            return nullptr;
                        }
                        TakeSettings(written, settings);
                        writing.emplace(StoreContext{written, *writable, clock});
                        if (!OpenStore(*writing)) {
                            why = says::kStoreUnusable;
                            return nullptr;
                        }
                        return &*writing;
                    },
                    nullptr, true};
    return Execute(session, request);
}

}  // namespace qv::cli
