// The program's entry, start-up and exit.
#include "app/startup.h"

#include <memory>

#include "app/main_window.h"
#include "app/store_lifetime.h"
#include "app/sync_runs.h"
#include "core/formatting.h"
#include "res/menus.h"
#include "res/string_table.h"

#if !defined(QV_VERSION_MAJOR) || !defined(QV_VERSION_MINOR)
#error "QV_VERSION_MAJOR and QV_VERSION_MINOR must be defined by the build"
#endif

namespace qv {

bool InitInstance(App& app) {
    app.className = LoadString(kStrClassName).value_or(u"");
    app.title = LoadString(kStrTitle).value_or(u"");
    app.company = LoadString(kStrCompany).value_or(u"");

    if (app.services.instances.RaiseRunningInstance(app.className, app.title)) return false;

    AppState& s = app.state;
    LoadSettings(s.settings, app.services.registry, app.company, app.title);
    s.mainSortColumn = s.settings.Sort;
    s.mainSortOrder = SortOrderFromStored(s.settings.SortOrder);
    app.host.SetMonthFirst(MonthFirst(s.settings.DateTypeView));

    if (!OpenStoreAtStart(app)) return false;
    // What the other computers changed is in the lists before the window shows them.
    app.sync = std::make_shared<sync::Engine>(app.store);
    if (app.sync->On()) app.syncAtStart = RunSync(app);
    // A new installation records its version; a start that ends here leaves every file alone.
    ProvisionVersion(s.settings, app.services.registry, QV_VERSION_MAJOR, QV_VERSION_MINOR);
    return true;
}

void ExitCleanup(App& app) {
    AppState& s = app.state;
    // This computer's last changes are written out while the store still holds them all.
    if (app.sync && app.sync->On()) RunSync(app);
    TidyStoreAtExit(app);
    s.settings.Sort = s.mainSortColumn;
    s.settings.SortOrder = StoredSortOrder(s.mainSortOrder);
    SetLastProject(s.settings, s.currentProject.name);
    SaveSettings(s.settings, app.services.registry);
    ReleaseSettings(s.settings);
    // The undo list and every other list go with the program's state; nothing of them is kept.
}

// Under the address checker every run is tidy, so that whatever it leaves behind is a leak.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLeavesToProcessEnd = false;
#else
constexpr bool kLeavesToProcessEnd = true;
#endif

int QuorvellaMain(ProgramServices& services, ProgramEnd end, const ProgramWatch& watch) {
    auto app = std::make_unique<App>(services);
    if (!InitInstance(*app)) return 0;
    MainWindow window(*app);  // outlives the frame, which owns the bar the window drives
    MainFrame frame(app->title, MainMenuBar());
    app->mainWindow = &window;
    if (watch) watch(app.get());
    const int code = app->host.RunMainWindow(frame, window);
    if (watch) watch(nullptr);
    app->mainWindow = nullptr;
    if (end == ProgramEnd::ProcessEnds && kLeavesToProcessEnd) (void)app.release();
    return code;
}

}  // namespace qv
