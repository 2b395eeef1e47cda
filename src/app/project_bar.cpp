// The project bar: choosing the current project, and its frames and balance line.
#include "app/project_bar.h"

#include "app/main_window.h"
#include "core/date_sort.h"
#include "core/project_lists.h"
#include "dialogs/frame.h"
#include "res/string_table.h"
#include "store/record_store.h"

namespace qv {
namespace {
constexpr uint32_t kBlue = 0x00FF0000;
constexpr uint32_t kChosenNameChars = 80;
}  // namespace

void ProjectBar::PlaceProjectList(Dialog& d) {
    d.Move(kProjectCombo,
           IsLandscapeLayout(app_.host) ? Rect{90, 15, 150, 150} : Rect{80, 15, 142, 150});
}

void ProjectBar::SelectCurrentProject(Dialog& d) {
    const Text& name = app_.state.currentProject.name;
    if (app_.state.projects.Empty() || !name) return;
    const int entry = FindEntryExact(d, kProjectCombo, *name);
    if (entry >= 0) {
        d.SetCurSel(kProjectCombo, entry);
    } else {
        d.SelectString(kProjectCombo, *name);
    }
}

void ProjectBar::SelectCurrentProject() {
    if (Dialog* bar = Bar()) SelectCurrentProject(*bar);
}

void ProjectBar::AddProjectEntry(std::u16string_view name) {
    if (Dialog* bar = Bar()) bar->AddString(kProjectCombo, name);
}

void ProjectBar::RenameProjectEntry(std::u16string_view oldName, std::u16string_view newName) {
    Dialog* bar = Bar();
    if (bar == nullptr) return;
    const int entry = FindEntryExact(*bar, kProjectCombo, oldName);
    if (entry < 0) return;
    bar->DeleteString(kProjectCombo, entry);
    bar->AddString(kProjectCombo, newName);
    const int renamed = FindEntryExact(*bar, kProjectCombo, newName);
    if (renamed >= 0) bar->SetCurSel(kProjectCombo, renamed);
}

void ProjectBar::RemoveProjectEntry(std::u16string_view name) {
    Dialog* bar = Bar();
    if (bar == nullptr) return;
    const int entry = FindEntryExact(*bar, kProjectCombo, name);
    if (entry >= 0) bar->DeleteString(kProjectCombo, entry);
}

void ProjectBar::RefillRecords() {
    if (app_.mainWindow != nullptr) app_.mainWindow->RefillList();
}

void ProjectBar::UpdateMenuStates() {
    if (app_.mainWindow != nullptr) app_.mainWindow->UpdateListCommands();
}

Dialog* ProjectBar::Bar() {
    return app_.mainWindow != nullptr ? app_.mainWindow->Bar() : nullptr;
}

void ProjectBar::OnInit(Dialog& d) {
    AppState& s = app_.state;
    PlaceProjectList(d);
    for (ProjectRecord* p = s.projects.First(); p != nullptr; p = s.projects.Next()) {
        d.AddString(kProjectCombo, p->name.value_or(u""));
    }
    SelectCurrentProject(d);
    if (s.projects.Empty() && app_.mainWindow != nullptr) {
        app_.mainWindow->Frame().EnableMenuItem(kCmdProjectsBalance, false);
    }
    UpdateProjectBalance(s);
}

void ProjectBar::OnCommand(Dialog& d, int id, CommandCode code) {
    if (id != kProjectCombo) return;
    if (code == CommandCode::DropDown) {
        SetInputPanel(app_.host, false);
    } else if (code == CommandCode::SelectionChange) {
        ChooseProject(d);
    }
    app_.host.Repaint(d);
}

void ProjectBar::ChooseProject(Dialog& d) {
    AppState& s = app_.state;
    app_.host.SetWaitCursor(true);
    Reset(s.currentProject);
    const std::u16string name = TrimBlanks(d.Text(kProjectCombo, kChosenNameChars));
    if (ProjectRecord* p = s.projects.FindByName(name)) {
        CopyFrom(s.currentProject, *p);
        SetLastProject(s.settings, p->name);
    }
    Tell(app_.host, LoadTimeRecords(app_.store));
    SortByDate(s);
    if (app_.mainWindow != nullptr) app_.mainWindow->RefillList();
    UpdateProjectBalance(s);
    app_.host.SetWaitCursor(false);
}

void ProjectBar::OnNotify(Dialog& d, int id, NotifyCode code, int item) {
    if (id != kMainList || app_.mainWindow == nullptr) return;
    app_.state.selectedRecordRow = d.SelectedRow(kMainList);
    app_.mainWindow->ListNotify(code, item);
}

void ProjectBar::OnPaint(const Dialog&, Size client, PaintList& paint) {
    const FontSpec font = TitleBandFont(app_.host);
    const int w = client.width;
    const int h = client.height;
    paint.push_back(PaintRectangle{{4, 6}, {w - 5, 43}, kBlue});
    paint.push_back(
        PaintText{{15, 16}, LoadString(kStrProjectBarLabel).value_or(u""), kBlue, font});
    paint.push_back(PaintRectangle{{4, h - 28}, {w - 5, h - 6}, kBlue});
    std::u16string line = LoadString(kStrBalanceLine).value_or(u"%s");
    const size_t at = line.find(u"%s");
    const InlineText balance = TimeText(app_.state.balanceRecord, app_.state.settings.TimeTypeView);
    if (at != std::u16string::npos) line.replace(at, 2, balance.value_or(u""));
    paint.push_back(PaintText{{15, h - 25}, line, kBlue, font});
}

}  // namespace qv
