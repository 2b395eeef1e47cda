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

// With sync on, what waits in the other computers' journals is applied before the command
// reads: through a store opened for writing and started as the window starts it, and closed
// again before the command looks. Problems are added to `err`.
void SyncFirst(const DeviceFolders& folders, const AppSettings& settings, const Clock& clock,
               std::string& err) {
    std::unique_ptr<ObjectStore> writable = OpenObjectStoreFile(folders.StoreFile());
    if (writable == nullptr) {
        err += "quorvella: " + std::string(says::kSyncProblem) + std::string(says::kStoreUnusable) +
               "\n";
        return;
    }
    AppState state;
    TakeSettings(state, settings);
    StoreContext ctx{state, *writable, clock};
    if (!OpenStore(ctx)) {
        err += "quorvella: " + std::string(says::kSyncProblem) + std::string(says::kStoreUnusable) +
               "\n";
        return;
    }
    sync::Engine engine(ctx);
    err += SyncNotes(engine.Run());
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
    const bool syncCommand = request.Is("sync");
    bool syncOn = false;
    if (stored) {
        sync::Engine peek(ctx);
        syncOn = peek.On();
    }
    std::string syncErr;
    if (syncOn && !syncCommand) SyncFirst(folders, settings, clock, syncErr);
    if (stored && !LoadForLooking(ctx)) {
        Answer a;
        a.status = kRefused;
        a.err = syncErr + "quorvella: " + std::string(says::kStoreUnreadable) + "\n";
        return a;
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
    DeviceFiles files(folders);
    Session session{ctx, files, openWriting, nullptr, true};
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
    if (syncOn && !syncCommand && writing) {
        engine.emplace(*writing);
        engine->LocalChange();
        const std::string notes = SyncNotes(engine->Run());
        if (syncErr.empty()) syncErr = notes;  // a folder's problem is said once
    }
    a.err = syncErr + a.err;
    return a;
}

}  // namespace qv::cli
