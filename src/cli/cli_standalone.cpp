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
    const bool syncCommand = request.Is("sync");
    bool syncOn = false;
    if (stored && !syncCommand) {
        AppState peeked;
        StoreContext peek{peeked, *looking, clock};
        syncOn = sync::Engine(peek).On();
    }
    // Declared in this order so that the context goes before the state and the store it uses,
    // and the engine before the context.
    std::unique_ptr<ObjectStore> writable;
    AppState written;
    std::optional<StoreContext> writing;
    std::optional<sync::Engine> engine;
    const auto openWriting = [&](std::string& why) -> StoreContext* {
        if (writing) return &*writing;
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
    };
    // With sync on, what waits in the other computers' journals is applied before the command
    // reads, through the store opened for writing and started as the window starts it; the same
    // engine, with the ledger it read, writes out the command's own change at the end.
    std::string syncErr;
    if (syncOn) {
        std::string why;
        if (openWriting(why) == nullptr) {
            syncErr = "quorvella: " + std::string(says::kSyncProblem) + why + "\n";
        } else {
            engine.emplace(*writing);
            syncErr = SyncNotes(engine->Run());
        }
        // What arrived is read by the store looked at afresh.
        looking = OpenObjectStoreForLooking(folders.StoreFile());
    }
    AppState state;
    TakeSettings(state, settings);
    StoreContext ctx{state, *looking, clock};
    if (stored && !LoadForLooking(ctx)) {
        Answer a;
        a.status = kRefused;
        a.err = syncErr + "quorvella: " + std::string(says::kStoreUnreadable) + "\n";
        return a;
    }
    DeviceFiles files(folders);
    bool changed = false;
    Session session{ctx, files,
                    [&](std::string& why) {
                        changed = true;
                        return openWriting(why);
                    },
                    nullptr, true};
    std::optional<sync::Engine> looker;
    session.syncEngine = [&](std::string& why) -> sync::Engine* {
        // Looking at the status changes nothing, so the store is only looked at.
        if (request.Has("status")) return &looker.emplace(ctx);
        StoreContext* target = openWriting(why);
        if (target == nullptr) return nullptr;
        return &engine.emplace(*target);
    };
    Answer a = Execute(session, request);
    // A change made here is written out before the command ends.
    if (syncOn && engine && changed) {
        engine->LocalChange();
        const std::string notes = SyncNotes(engine->Run());
        if (syncErr.empty()) syncErr = notes;  // a folder's problem is said once
    }
    a.err = syncErr + a.err;
    return a;
}

}  // namespace qv::cli
