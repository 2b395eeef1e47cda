// A proposed record through Register Time, and what the proposal is made of.
#include "app/prefilled_booking.h"

#include "app/main_window.h"
#include "core/project_lists.h"
#include "core/time_record.h"

namespace qv {

std::u16string CurrentProjectName(App& app) {
    if (app.state.projects.Empty()) return u"";
    return app.state.currentProject.name.value_or(u"");
}

bool HasProject(App& app, const std::u16string& name) {
    return app.state.projects.FindByName(name) != nullptr;
}

bool HasCategory(App& app, const std::u16string& name) {
    return app.state.categories.FindByName(name) != nullptr;
}

std::u16string LastUsedCategory(App& app) {
    return LastUsedCategory(app.state);
}

bool BookPrefilled(App& app, const PrefilledRecord& prefill) {
    AppState& s = app.state;
    MainWindow& window = *app.mainWindow;
    if (s.projects.Empty()) return false;
    window.RememberSelection();
    Reset(s.scratchRecord);
    SetDate(s.scratchRecord, prefill.date);
    SetMinutes(s.scratchRecord, FormatDecimal(prefill.minutes));
    if (!prefill.category.empty()) SetCategory(s.scratchRecord, prefill.category);
    SetMemo(s.scratchRecord, prefill.memo);
    RegisterTimeContext ctx{app.host, app.store, window, app.activeEntryDialog};
    if (!prefill.project.empty()) ctx.startProject = &prefill.project;
    return window.AfterNewRecord(ShowRegisterTime(ctx));
}

}  // namespace qv
