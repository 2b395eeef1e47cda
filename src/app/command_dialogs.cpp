// The runners of the main window's commands: each builds its dialog's context and runs it.
#include "app/command_dialogs.h"

#include "app/app.h"
#include "app/main_window.h"
#include "app/undo.h"
#include "core/formatting.h"
#include "dialogs/about.h"
#include "dialogs/delete_by_range.h"
#include "dialogs/edit_categories.h"
#include "dialogs/export_dialog.h"
#include "dialogs/projects_balance.h"
#include "dialogs/projects_book.h"
#include "dialogs/time_report.h"
#include "dialogs/view_options.h"

namespace qv {
namespace {

// What the project dialogs work on: the store, and the main window's side of a change.
ProjectsContext Projects(App& app) {
    return {app.host, app.store, app.mainWindow->BarBehaviour(), app.activeEntryDialog};
}

// The export dialogs work on the lists as the screens left them, and on the device's files.
int RunExport(App& app, ExportVariant variant) {
    ExportDialogContext ctx{app.host, app.state, app.services.files, app.activeEntryDialog};
    return ShowExportDialog(ctx, variant);
}

// Export... of the balance and of the category report (template 1091): the projects and the
// categories with the totals of the last report; both propose the same remembered name.
void RunBalanceExport(App& app) {
    RunExport(app, ExportVariant::ProjectsBalance);
}
void RunReportExport(App& app) {
    RunExport(app, ExportVariant::CategoryReport);
}

}  // namespace

DialogResult RunRegisterTime(App& app) {
    RegisterTimeContext ctx{app.host, app.store, *app.mainWindow, app.activeEntryDialog};
    return ShowRegisterTime(ctx);
}

DialogResult RunNewProject(App& app) {
    ProjectsContext ctx = Projects(app);
    return NewProject(ctx, true) ? kNewProjectAdded : 0;
}

DialogResult RunNewProjectFirst(App& app) {
    ProjectsContext ctx = Projects(app);
    return NewProject(ctx, false) ? kNewProjectAdded : 0;
}

DialogResult RunProjectsBook(App& app) {
    ProjectsContext ctx = Projects(app);
    return ShowProjectsBook(ctx);
}

DialogResult RunProjectsBalance(App& app) {
    return ShowProjectsBalance(app.host, app.store, [&app] { RunBalanceExport(app); });
}

DialogResult RunTimeReport(App& app) {
    return ShowTimeReport(app.host, app.state, [&app] { RunReportExport(app); });
}

DialogResult RunEditCategoriesLoop(App& app) {
    CategoriesContext ctx{app.host, app.store, app.activeEntryDialog};
    return EditCategoriesLoop(ctx);
}

DialogResult RunDeleteByRange(App& app) {
    return ShowDeleteByRange(app.host, app.store);
}

DialogResult RunExportTimeRecords(App& app) {
    return RunExport(app, ExportVariant::TimeRecords);
}

DialogResult RunViewOptions(App& app) {
    const DialogResult result = ShowViewOptions(app.host, app.state.settings);
    app.host.SetMonthFirst(MonthFirst(app.state.settings.DateTypeView));
    if (app.onViewsChanged) app.onViewsChanged();
    return result;
}

DialogResult RunUndoDeleting(App& app) {
    UndoDeleting(app);
    return 0;
}

DialogResult RunEmptyUndo(App& app) {
    EmptyUndo(app);
    return 0;
}

DialogResult RunAbout(App& app) {
    const AppSettings& settings = app.state.settings;
    return ShowAbout(app.host, static_cast<int>(settings.MajorVersion),
                     static_cast<int>(settings.MinorVersion));
}

}  // namespace qv
