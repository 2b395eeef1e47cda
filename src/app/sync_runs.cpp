// The program's runs of the sync engine.
#include "app/sync_runs.h"

#include "app/main_window.h"
#include "cli/cli_reading.h"

namespace qv {

namespace {

template <typename Step>
sync::RunResult Syncing(App& app, Step step) {
    if (!app.sync) return {false, {}};
    app.syncing = true;
    const sync::RunResult result = step(*app.sync);
    app.syncing = false;
    if (result.BookChanged()) ShowSyncedBook(app);
    return result;
}

}  // namespace

sync::RunResult RunSync(App& app) {
    return Syncing(app, [](sync::Engine& engine) { return engine.Run(); });
}

sync::RunResult TurnSyncOn(App& app, const std::filesystem::path& folder) {
    return Syncing(app, [&folder](sync::Engine& engine) { return engine.TurnOn(folder); });
}

void ShowSyncedBook(App& app) {
    AppState& s = app.state;
    s.categories.Clear();
    s.projects.Clear();
    Reset(s.currentProject);
    cli::LoadForLooking(app.store);
    if (app.mainWindow != nullptr) app.mainWindow->ShowSyncedBook();
}

}  // namespace qv
