// The runners of the main window's commands. Each screen is put here as it is built; until
// then its runner returns nothing and its commands open nothing.
#include "app/command_dialogs.h"

#include "app/app.h"
#include "dialogs/about.h"
#include "dialogs/projects_balance.h"

namespace qv {

DialogResult RunRegisterTime(App&) {
    return std::nullopt;
}
DialogResult RunNewProject(App&) {
    return std::nullopt;
}
DialogResult RunNewProjectFirst(App&) {
    return std::nullopt;
}
DialogResult RunProjectsBook(App&) {
    return std::nullopt;
}
namespace {
// Export... of the balance: the balance export dialog (template 1091) is not built yet, so
// until it is the button opens nothing.
void RunBalanceExport(App&) {}
}  // namespace

DialogResult RunProjectsBalance(App& app) {
    return ShowProjectsBalance(app.host, app.store, [&app] { RunBalanceExport(app); });
}
DialogResult RunTimeReport(App&) {
    return std::nullopt;
}
DialogResult RunEditCategoriesLoop(App&) {
    return std::nullopt;
}
DialogResult RunDeleteByRange(App&) {
    return std::nullopt;
}
DialogResult RunExportTimeRecords(App&) {
    return std::nullopt;
}
DialogResult RunViewOptions(App&) {
    return std::nullopt;
}
DialogResult RunUndoDeleting(App&) {
    return std::nullopt;
}
DialogResult RunEmptyUndo(App&) {
    return std::nullopt;
}

DialogResult RunAbout(App& app) {
    const AppSettings& settings = app.state.settings;
    return ShowAbout(app.host, static_cast<int>(settings.MajorVersion),
                     static_cast<int>(settings.MinorVersion));
}

void AfterEditingRecord(App&, int) {}

}  // namespace qv
