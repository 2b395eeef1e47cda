// Commands handed to the running window.
#include "app/window_commands.h"

#include <variant>

#include "app/main_window.h"
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
    return cli::Execute(session, std::get<cli::Request>(read));
}

}  // namespace qv
