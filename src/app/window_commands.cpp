// Commands handed to the running window.
#include "app/window_commands.h"

#include <variant>

#include "app/main_window.h"
#include "app/sync_runs.h"
#include "cli/cli_texts.h"

namespace qv {

cli::Answer RunInWindow(App* app, bool inTheMiddle, const std::vector<std::string>& args,
                        const WindowTimer& timer) {
    auto read = cli::ReadCommandLine(args);
    if (const cli::Answer* early = std::get_if<cli::Answer>(&read)) return *early;
    if (app == nullptr || app->mainWindow == nullptr || app->mainWindow->Bar() == nullptr) {
        return {cli::kRefused, {}, "quorvella: " + std::string(cli::says::kWindowStarting) + "\n"};
    }
    cli::Session session{
        app->store, app->services.files,
        [app, inTheMiddle](std::string& why) -> StoreContext* {
            if (!inTheMiddle) return &app->store;
            why = cli::says::kDialogOpen;
            return nullptr;
        },
        [app](const TimeRecord& record) { app->mainWindow->ListBookedRecord(record); }};
    if (inTheMiddle) session.refuseChanges = cli::says::kDialogOpen;
    session.timerChanged = timer.changed;
    session.openStopDialog = timer.openStopDialog;
    session.syncEngine = [app](std::string&) { return app->sync.get(); };
    session.syncApplied = [app] { ShowSyncedBook(*app); };
    // The store's changes during the command's own sync run are the engine's.
    const bool syncs = std::get<cli::Request>(read).Is("sync");
    if (syncs) app->syncing = true;
    cli::Answer a = cli::Execute(session, std::get<cli::Request>(read));
    app->syncing = false;
    return a;
}

}  // namespace qv
