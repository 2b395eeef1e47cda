// The main window's command table and the flows it runs that are the window's own.
#include "app/command_table.h"

#include "app/app.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "dialogs/delete_by_range.h"
#include "dialogs/projects_book.h"
#include "dialogs/view_options.h"
#include "platform/ui/shell.h"

namespace qv {
namespace {

// New Time: Register Time, or the first project while there is none.
DialogResult RunNewTime(App& app) {
    return app.mainWindow->NewRecord();
}

// Projects: the book again after each of its New, until it is left.
DialogResult RunProjectsBookLoop(App& app) {
    app.state.bookSelectedRow = -1;
    DialogResult result = RunProjectsBook(app);
    while (result == kProjectsBookNew) {
        RunNewProject(app);
        result = RunProjectsBook(app);
    }
    return result;
}

DialogResult RequestClose(App& app) {
    app.mainWindow->Frame().PostClose();
    return IDOK;
}

using S = Selection;

constexpr CommandRow kRows[] = {
    {.command = kCmdNew, .run = RunNewTime, .selection = S::LeftToRunner},
    {.command = kCmdNewProject,
     .run = RunNewProject,
     .selection = S::RestoreUnlessAccepted,
     .accept = Accept::OnResult,
     .accepted = {kNewProjectAdded, kNoResult}},
    {.command = kCmdProjects,
     .run = RunProjectsBookLoop,
     .always = kReloadRecords | kResortAndRefill | kUpdateBalance},
    {.command = kCmdProjectsBalance, .run = RunProjectsBalance, .always = kResortAndRefill},
    {.command = kCmdUndoDeleting,
     .button = kButtonUndo,
     .run = RunUndoDeleting,
     .selection = S::Untouched},
    {.command = kCmdTimeReport, .button = kButtonTimeReport, .run = RunTimeReport},
    {.command = kCmdExit, .run = RequestClose, .selection = S::Untouched},
    {.command = kCmdEditCategories,
     .button = kButtonEditCategories,
     .run = RunEditCategoriesLoop,
     .always = kResortAndRefill,
     .accept = Accept::OnRecordsChanged,
     .onAccepted = kUpdateBalance | kRepaintBar | kClearRecordsChanged},
    {.command = kCmdDeleteByRange,
     .run = RunDeleteByRange,
     .accept = Accept::OnResult,
     .accepted = {kDeleteByRangeFind, kNoResult},
     .onAccepted = kResortAndRefill | kUpdateBalance | kRepaintBar},
    {.command = kCmdEmptyUndo, .run = RunEmptyUndo, .selection = S::Untouched},
    {.command = kCmdExportTimeRecords, .run = RunExportTimeRecords},
    // Done ends View Options as its OK does.
    {.command = kCmdViewOptions,
     .run = RunViewOptions,
     .always = kUpdateBalance | kRepaintBar,
     .accept = Accept::OnResult,
     .accepted = {kViewOptionsOk, IDOK},
     .onAccepted = kResortUnderWaitCursor},
    {.command = kCmdAbout, .run = RunAbout},
};

}  // namespace

bool IsAccepted(const CommandRow& row, int result, bool recordsChanged) {
    switch (row.accept) {
        case Accept::Never:
            return false;
        case Accept::OnResult:
            return result == row.accepted[0] || result == row.accepted[1];
        case Accept::OnRecordsChanged:
            return recordsChanged;
    }
    return false;
}

std::span<const CommandRow> MainCommandTable() {
    return kRows;
}

const CommandRow* FindCommandRow(int command) {
    for (const CommandRow& row : kRows) {
        if (row.command == command || (row.button != kNoButton && row.button == command))
            return &row;
    }
    return nullptr;
}

}  // namespace qv
