// The Project dialog: a project's date, name and description, its checks, its deletion; and
// the creation flow around it.
#include "core/project_lists.h"
#include "dialogs/frame.h"
#include "dialogs/projects_book.h"
#include "res/string_table.h"
#include "store/batch_changes.h"
#include "store/projects_store.h"
#include "store/record_store.h"

namespace qv {
namespace {

class ProjectDialog : public DialogBehaviour {
  public:
    ProjectDialog(ProjectsContext& ctx, Dialog* book)
        : ctx_(ctx), s_(ctx.store.state), book_(book) {}

    void OnInit(Dialog& d) override;
    void OnSize(Dialog& d, bool landscape) override { d.ApplyLayout(landscape); }
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnNotify(Dialog& d, int id, NotifyCode code, int item) override;
    void OnHelp(Dialog&) override { ShowHelp(ctx_.host, u"Projects"); }
    void OnPaint(const Dialog& d, Size, PaintList& paint) override {
        paint = PaintTitleBand(ctx_.host, d.Template().band);
    }

  private:
    void OnOk(Dialog& d);
    void OnDelete(Dialog& d);
    void DeleteBookProject();
    void Leave(Dialog& d, int result) {
        ctx_.activeEntryDialog = nullptr;
        d.End(result);
    }
    // The name field again, its text selected for typing over.
    void BackToName(Dialog& d) {
        d.SetFocus(kProjectName);
        d.SelectAllText(kProjectName);
    }

    ProjectsContext& ctx_;
    AppState& s_;
    Dialog* book_;
};

void ProjectDialog::OnInit(Dialog& d) {
    ctx_.activeEntryDialog = &d;
    const ProjectRecord& p = s_.scratchProject;
    d.SetDate(kProjectDate, p.date);
    d.SetEditLimit(kProjectName, kProjectNameChars);
    d.SetText(kProjectName, p.name.value_or(u""));
    d.SetEditLimit(kProjectDescription, kProjectDescriptionChars);
    d.SetText(kProjectDescription, p.description.value_or(u""));
    BackToName(d);
    d.Show(kProjectDelete, s_.projectDialogMode == ProjectDialogMode::Edit);
    SetInputPanel(ctx_.host, true);
}

void ProjectDialog::OnCommand(Dialog& d, int id, CommandCode code) {
    if (code == CommandCode::EditSetFocus) {
        if (id == kProjectName || id == kProjectDescription) SetInputPanel(ctx_.host, true);
        return;
    }
    if (code != CommandCode::Clicked) return;
    switch (id) {
        case IDOK:  // the Done button confirms as OK does
        case kProjectOk:
            OnOk(d);
            return;
        case kProjectBack:
            Leave(d, kProjectBack);
            return;
        case kProjectDelete:
            OnDelete(d);
            return;
        default:
            return;
    }
}

void ProjectDialog::OnNotify(Dialog&, int id, NotifyCode code, int) {
    if (id != kProjectDate) return;
    // the calendar needs the room the input panel takes
    if (code == NotifyCode::DateDropDown) SetInputPanel(ctx_.host, false);
    if (code == NotifyCode::DateCloseUp) SetInputPanel(ctx_.host, true);
}

// Each refusal leaves everything but the date as it was; the date is kept for the next
// project even when a later check fails.
void ProjectDialog::OnOk(Dialog& d) {
    ProjectRecord& p = s_.scratchProject;
    SetInputPanel(ctx_.host, false);
    const CalendarDate date = d.Date(kProjectDate).value_or(ctx_.host.GetClock().GetLocalTime());
    SetDate(p, date);
    s_.lastUsedDate = date;

    const Text name = TrimBlanks(d.Text(kProjectName));
    if (name->empty()) return RefuseEntry(ctx_.host, d, kProjectName);
    if (!IsValidName(*name)) {
        ShowNotice(ctx_.host, kStrInvalidName);
        return BackToName(d);
    }
    // Names are compared exactly: Alpha and alpha are two projects.
    const ProjectRecord* same = s_.projects.FindByName(name);
    const bool conflict = same != nullptr && (s_.projectDialogMode == ProjectDialogMode::Create ||
                                              same->projectId != p.projectId);
    if (conflict) {
        ShowNotice(ctx_.host, kStrProjectExists);
        return BackToName(d);
    }
    p.name = name;
    p.description = TrimBlanks(d.Text(kProjectDescription));
    Leave(d, kProjectOk);
}

void ProjectDialog::OnDelete(Dialog& d) {
    SetInputPanel(ctx_.host, false);
    if (!AskYesNo(ctx_.host, kStrDeleteProject)) {
        BackToName(d);
        SetInputPanel(ctx_.host, true);
        return;
    }
    if (s_.bookSelectedRow != -1) {
        ctx_.host.SetWaitCursor(true);
        DeleteBookProject();
        ctx_.host.SetWaitCursor(false);
    }
    // The dialog stays open: Back leaves it, and OK finds the old name gone and stores nothing.
}

void ProjectDialog::DeleteBookProject() {
    const auto row = static_cast<uint32_t>(s_.bookSelectedRow);
    const ProjectRecord* r = s_.projects.FindAt(row);
    if (r == nullptr) return;
    const uint32_t projectId = r->projectId;
    const std::u16string name = r->name.value_or(u"");
    // The project and its records leave the store in one change: a crash half way keeps both.
    if (!Tell(ctx_.host, DeleteProjectWithRecords(ctx_.store, projectId))) return;
    // The row now holds the next project: a second Delete in this dialog must not reach it.
    s_.bookSelectedRow = -1;
    Tell(ctx_.host, LoadTimeRecords(ctx_.store));
    s_.projects.RemoveAt(row);
    if (book_ != nullptr) book_->DeleteRow(kProjectsBookList, static_cast<int>(row));
    ctx_.window.RemoveProjectEntry(name);
    if (s_.projects.Empty()) {
        Reset(s_.currentProject);
        ctx_.window.UpdateMenuStates();
    } else if (s_.currentProject.name == name) {
        MakeCurrentProject(ctx_, *s_.projects.FindAt(0));
    }
}

}  // namespace

void MakeCurrentProject(ProjectsContext& ctx, const ProjectRecord& project) {
    AppState& s = ctx.store.state;
    CopyFrom(s.currentProject, project);
    SetLastProject(s.settings, project.name);
    ctx.window.SelectCurrentProject();
}

int ShowProjectDialog(ProjectsContext& ctx, Dialog* book) {
    ProjectDialog dialog(ctx, book);
    return ctx.host.RunDialog(kProjectTemplate, dialog);
}

bool NewProject(ProjectsContext& ctx, bool limitCheck) {
    AppState& s = ctx.store.state;
    if (limitCheck && s.projects.Count() >= kMaxProjects) {
        ShowNotice(ctx.host, kStrTooManyProjects);
        return false;
    }
    s.projectDialogMode = ProjectDialogMode::Create;
    Reset(s.scratchProject);
    SetDate(s.scratchProject, s.lastUsedDate);
    if (ShowProjectDialog(ctx, nullptr) != kProjectOk) return false;
    if (s.projects.FindByName(s.scratchProject.name) != nullptr) return false;

    uint32_t id = 0;
    if (!Tell(ctx.host, AddProjectRecord(ctx.store, s.scratchProject, id))) return false;
    ctx.host.SetWaitCursor(true);
    s.scratchProject.projectId = id;
    s.projects.Append(s.scratchProject);
    ctx.window.AddProjectEntry(s.scratchProject.name.value_or(u""));
    MakeCurrentProject(ctx, s.scratchProject);

    Tell(ctx.host, LoadTimeRecords(ctx.store));
    if (SortByDate(s)) ctx.window.RefillRecords();
    // The first project makes Projects Balance available.
    ctx.window.UpdateMenuStates();
    UpdateProjectBalance(s);
    ctx.host.SetWaitCursor(false);
    return true;
}

}  // namespace qv
