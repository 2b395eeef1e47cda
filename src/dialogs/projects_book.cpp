// The Projects book: every project by name or by creation date, a tap to edit one, New, Back.
#include "dialogs/projects_book.h"

#include "core/project_lists.h"
#include "dialogs/frame.h"
#include "dialogs/list_images.h"
#include "res/string_table.h"
#include "store/projects_store.h"

namespace qv {
namespace {

constexpr Rect kBookListPlace{6, 25, 226, 124};
constexpr int kNameColumn = 0;
constexpr int kDateColumn = 1;
constexpr uint32_t kDescending = 1;

class ProjectsBook : public DialogBehaviour {
  public:
    explicit ProjectsBook(ProjectsContext& ctx) : ctx_(ctx), s_(ctx.store.state) {}

    void OnInit(Dialog& d) override;
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnNotify(Dialog& d, int id, NotifyCode code, int item) override;
    void OnActivate(Dialog& d) override;
    void OnHelp(Dialog&) override { ShowHelp(ctx_.host, u"Projects"); }
    void OnPaint(const Dialog& d, Size, PaintList& paint) override {
        paint = PaintTitleBand(ctx_.host, d.Template().band);
    }

  private:
    bool Sort(uint32_t column);
    void Fill(Dialog& d);
    void HeaderTap(Dialog& d, int column);
    void EditProject(Dialog& d);
    void Close(Dialog& d, int result);

    ProjectsContext& ctx_;
    AppState& s_;
    uint32_t sortColumn_ = kNameColumn;
    uint32_t sortOrder_ = 0;
};

std::u16string CreatedText(const ProjectRecord& p, uint32_t dateView) {
    return std::u16string(DateText(p, dateView).value_or(u""));
}

void ProjectsBook::OnInit(Dialog& d) {
    sortColumn_ = s_.settings.SortProjectsBook;
    sortOrder_ = s_.settings.SortOrderProjectsBook;
    if (!d.CreateListView(kProjectsBookList, kBookListPlace)) return d.End(kProjectsBookFailed);
    const ListColumn columns[] = {
        {LoadString(kStrBookProjectHeader).value_or(u""), 135, kImageNone},
        {LoadString(kStrBookCreatedHeader).value_or(u""), 80, kImageNone},
    };
    for (int c = 0; c < 2; ++c) {
        if (d.InsertColumn(kProjectsBookList, c, columns[c]) < 0) {
            return d.End(kProjectsBookFailed);
        }
    }
    // Without a chosen direction the book goes by name, ascending, and says so with its arrow;
    // the direction it shows is the one a header tap turns round or hands to the other column.
    if (sortOrder_ != kDescending) {
        if (sortOrder_ != 0 && sortColumn_ == kDateColumn) sortColumn_ = kNameColumn;
        sortOrder_ = 0;
    }
    const int shown = sortOrder_ == kDescending ? kImageDown : kImageUp;
    const int sorted = sortColumn_ == kDateColumn ? kDateColumn : kNameColumn;
    d.SetHeaderImage(kProjectsBookList, sorted, shown);
    d.SetHeaderImage(kProjectsBookList, 1 - sorted, kImageNone);
    if (!Sort(sortColumn_)) return d.End(kProjectsBookFailed);
    Fill(d);
    SetInputPanel(ctx_.host, false);
}

bool ProjectsBook::Sort(uint32_t column) {
    return column == kDateColumn ? SortProjectsByDate(s_, sortOrder_)
                                 : SortProjectsByName(s_, sortOrder_);
}

// The rows of the book are projects in the list's order, so row i is the project at i.
void ProjectsBook::Fill(Dialog& d) {
    std::vector<ListRow> rows;
    for (ProjectRecord* p = s_.projects.First(); p != nullptr; p = s_.projects.Next()) {
        rows.push_back(
            {kImageBlank, {p->name.value_or(u""), CreatedText(*p, s_.settings.DateTypeView)}});
    }
    d.SetRows(kProjectsBookList, std::move(rows));
}

void ProjectsBook::OnCommand(Dialog& d, int id, CommandCode code) {
    if (code != CommandCode::Clicked) return;
    if (id == IDOK || id == kProjectsBookBack) return Close(d, kProjectsBookClosed);
    if (id == kProjectsBookNew) {
        s_.bookSelectedRow = -1;
        Close(d, kProjectsBookNew);
    }
}

void ProjectsBook::Close(Dialog& d, int result) {
    s_.settings.SortProjectsBook = sortColumn_;
    s_.settings.SortOrderProjectsBook = sortOrder_;
    d.DestroyControl(kProjectsBookList);
    d.End(result);
}

void ProjectsBook::OnNotify(Dialog& d, int id, NotifyCode code, int item) {
    if (id != kProjectsBookList) return;
    if (code == NotifyCode::Click || code == NotifyCode::Return) EditProject(d);
    if (code == NotifyCode::ColumnClick) HeaderTap(d, item);
}

// The arrow turns round on the sort column; another column takes the current direction.
void ProjectsBook::HeaderTap(Dialog& d, int column) {
    if (column != kNameColumn && column != kDateColumn) return;
    const int shown = d.HeaderImage(kProjectsBookList, column);
    int image = shown;
    if (shown == kImageUp) {
        image = kImageDown;
        sortOrder_ = kDescending;
    } else if (shown == kImageDown) {
        image = kImageUp;
        sortOrder_ = 0;
    } else {
        image = static_cast<int>(sortOrder_);
        sortColumn_ = static_cast<uint32_t>(column);
    }
    d.SetHeaderImage(kProjectsBookList, column, image);
    d.SetHeaderImage(kProjectsBookList, 1 - column, kImageNone);
    if (s_.projects.Empty()) return;
    ctx_.host.SetWaitCursor(true);
    if (Sort(static_cast<uint32_t>(column))) Fill(d);
    ctx_.host.SetWaitCursor(false);
}

void ProjectsBook::EditProject(Dialog& d) {
    s_.bookSelectedRow = d.SelectedRow(kProjectsBookList);
    if (s_.bookSelectedRow == -1) return;
    const auto row = static_cast<uint32_t>(s_.bookSelectedRow);
    s_.projectDialogMode = ProjectDialogMode::Edit;
    Reset(s_.scratchProject);
    const ProjectRecord* r = s_.projects.FindAt(row);
    if (r == nullptr) return;
    CopyFrom(s_.scratchProject, *r);
    const Text oldName = r->name;

    // A project deleted in the dialog is no longer found under its old name.
    if (ShowProjectDialog(ctx_, &d) != kProjectOk) return;
    if (s_.projects.FindByName(oldName) == nullptr) return;
    if (!Tell(ctx_.host, UpdateProjectRecord(ctx_.store, s_.scratchProject))) return;

    ctx_.host.SetWaitCursor(true);
    const ProjectRecord& p = s_.scratchProject;
    s_.projects.ReplaceAt(row, p);
    ctx_.window.RenameProjectEntry(oldName.value_or(u""), p.name.value_or(u""));
    d.SetCell(kProjectsBookList, s_.bookSelectedRow, kNameColumn, p.name.value_or(u""));
    d.SetCell(kProjectsBookList, s_.bookSelectedRow, kDateColumn,
              CreatedText(p, s_.settings.DateTypeView));
    // The project just edited is the one the user is working on.
    Reset(s_.currentProject);
    if (const ProjectRecord* edited = s_.projects.FindByName(p.name)) {
        MakeCurrentProject(ctx_, *edited);
    }
    ctx_.host.SetWaitCursor(false);
}

void ProjectsBook::OnActivate(Dialog& d) {
    if (s_.bookSelectedRow != -1 && d.Has(kProjectsBookList)) {
        d.SelectRow(kProjectsBookList, s_.bookSelectedRow);
        d.SetFocusedRow(kProjectsBookList, s_.bookSelectedRow);
        d.SetFocus(kProjectsBookList);
    }
    SetInputPanel(ctx_.host, false);
}

}  // namespace

int ShowProjectsBook(ProjectsContext& ctx) {
    ProjectsBook book(ctx);
    return ctx.host.RunDialog(kProjectsBookTemplate, book);
}

}  // namespace qv
