// The main window: creation, the list of the current project's records, the command table,
// the list's notifications and the window's own events.
#include "app/main_window.h"

#include "app/command_dialogs.h"
#include "app/record_rows.h"
#include "app/startup.h"
#include "app/undo.h"
#include "core/date_sort.h"
#include "core/project_lists.h"
#include "dialogs/frame.h"
#include "dialogs/register_time.h"
#include "res/string_table.h"
#include "store/record_store.h"

namespace qv {
namespace {

struct ColumnSpec {
    uint32_t header;
    int portraitWidth;
    int landscapeWidth;
};
constexpr ColumnSpec kColumns[] = {
    {kStrDateHeader, 88, 105}, {kStrCategoryHeader, 90, 105}, {kStrTimeHeader, 55, 90}};

std::u16string Or(const Text& text) {
    return text.value_or(u"");
}
std::u16string Or(const InlineText& text) {
    return text.value_or(u"");
}

}  // namespace

std::u16string RowTimeText(const TimeRecord& r, uint32_t timeViewType) {
    const char16_t sep = timeViewType == Colon ? u':' : u',';
    if (!r.minutesText) return std::u16string(u"0") + sep + u"0";
    const int32_t t = ParseLong(*r.minutesText);
    const int32_t m = t % 60;
    const int32_t h = (t - m) / 60;
    if (m < 0 || m > 59 || h < 0 || h > 24) return u"";
    return HoursMinutesText(h, m, sep);
}

MainWindow::MainWindow(App& app) : app_(app), bar_(app) {}

void MainWindow::OnCreate(MainFrame& frame) {
    frame_ = &frame;
    AppState& s = app_.state;
    const CalendarDate now = app_.host.GetClock().GetLocalTime();
    s.lastUsedDate = s.rangeStartDate = s.rangeEndDate = now;
    s.listSorted = false;
    app_.activeEntryDialog = nullptr;

    const bool loaded = Tell(app_.host, LoadTimeRecords(app_.store));

    Dialog* bar = app_.host.CreateChildDialog(frame, kProjectBarTemplate, bar_);
    if (bar == nullptr) {
        frame.Destroy();
        return;
    }
    const Size client = app_.host.MainClientSize();
    bar->SetWindowRect({0, 27, client.width, client.height - 26});
    if (!CreateMainList()) {
        frame.Destroy();
        return;
    }

    if (!loaded) {
        UpdateListCommands();
    } else {
        if (!ApplyListSort()) return;
        RefillList();
    }
    SetCommand(kCmdUndoDeleting, false);
    frame.SetButtonEnabled(kButtonUndo, false);
    SetCommand(kCmdEmptyUndo, false);
    if (s.mainSortOrder != SortOrder::NoneChosen) s.listSorted = true;
    s.editingExisting = false;
    s.projectDialogMode = ProjectDialogMode::Create;
}

bool MainWindow::CreateMainList() {
    Dialog* bar = Bar();
    if (bar == nullptr) return false;
    const bool landscape = IsLandscapeLayout(app_.host);
    const Rect client = bar->WindowRect();
    if (!bar->CreateListView(kMainList, {4, 47, client.w - 9, client.h - 79})) return false;
    for (int c = 0; c < 3; ++c) {
        ListColumn column;
        column.header = LoadString(kColumns[c].header).value_or(u"");
        column.width = landscape ? kColumns[c].landscapeWidth : kColumns[c].portraitWidth;
        if (static_cast<uint32_t>(c) == app_.state.mainSortColumn) {
            column.headerImage = HeaderImage(app_.state.mainSortOrder);
        }
        if (bar->InsertColumn(kMainList, c, column) < 0) return false;
    }
    return true;
}

bool MainWindow::ApplyListSort() {
    AppState& s = app_.state;
    Bar()->SetHeaderImage(kMainList, static_cast<int>(s.mainSortColumn),
                          HeaderImage(s.mainSortOrder));
    if (!SortByDate(s)) {
        // The list could no longer show row for row what it holds: the program ends the way
        // a close request ends it.
        ExitCleanup(app_);
        frame_->Destroy();
        return false;
    }
    if (s.mainSortOrder != SortOrder::NoneChosen) s.listSorted = true;
    return true;
}

void MainWindow::RefillList() {
    Dialog& bar = *Bar();
    AppState& s = app_.state;
    // The rows are handed over whole, one change however many, and each is built when shown.
    bar.SetRows(kMainList, s.timeRecords.Size(),
                RecordRowsOf(s.timeRecords, s.settings.DateTypeView, s.settings.TimeTypeView));
    const int rows = bar.RowCount(kMainList);
    // the newest rows in view
    if (rows > 0 && s.mainSortOrder != SortOrder::Descending) bar.ScrollBy(kMainList, rows);
    UpdateListCommands();
}

void MainWindow::AddRow(const TimeRecord& r) {
    Dialog& bar = *Bar();
    const int row = bar.RowCount(kMainList);
    if (bar.InsertRow(kMainList, row, Or(DateText(r, app_.state.settings.DateTypeView)),
                      RecordRowImage(r)) < 0) {
        return;
    }
    bar.SetCell(kMainList, row, 1, Or(r.category));
    bar.SetCell(kMainList, row, 2, RowTimeText(r, app_.state.settings.TimeTypeView));
    bar.ScrollBy(kMainList, row);
}

void MainWindow::UpdateRow(int row, const TimeRecord& r) {
    Dialog& bar = *Bar();
    bar.SetCell(kMainList, row, 0, Or(DateText(r, app_.state.settings.DateTypeView)));
    bar.SetRowImage(kMainList, row, RecordRowImage(r));
    bar.SetCell(kMainList, row, 1, Or(r.category));
    bar.SetCell(kMainList, row, 2, RowTimeText(r, app_.state.settings.TimeTypeView));
}

// The one place the list commands follow the list: available with rows, grey without.
void MainWindow::UpdateListCommands() {
    const bool rows = Bar()->RowCount(kMainList) > 0;
    frame_->SetButtonEnabled(kButtonTimeReport, rows);
    SetCommand(kCmdTimeReport, rows);
    SetCommand(kCmdExportTimeRecords, rows);
    SetCommand(kCmdDeleteByRange, rows);
    SetCommand(kCmdProjectsBalance, !app_.state.projects.Empty());
}

void MainWindow::SetCommand(int command, bool enabled) {
    frame_->EnableMenuItem(command, enabled);
}

void MainWindow::RememberSelection() {
    Dialog* bar = Bar();
    app_.state.selectedRecordRow = bar ? bar->SelectedRow(kMainList) : -1;
}

void MainWindow::RestoreSelection() {
    Dialog* bar = Bar();
    if (bar == nullptr || !bar->Has(kMainList)) return;
    bar->SetFocus(kMainList);
    const int row = app_.state.selectedRecordRow;
    if (row != -1) {
        bar->SelectRow(kMainList, row);
        bar->SetFocusedRow(kMainList, row);
    }
}

void MainWindow::OnCommand(MainFrame&, int command) {
    if (const CommandRow* row = FindCommandRow(command)) {
        RunCommand(*row);
        return;
    }
    // Any other command only keeps the selection.
    RememberSelection();
    RestoreSelection();
}

void MainWindow::RunCommand(const CommandRow& row) {
    if (row.selection != Selection::Untouched) RememberSelection();
    const DialogResult result = row.run(app_);
    const bool accepted = result && IsAccepted(row, *result, app_.state.recordsChanged);
    if (result) FollowUp(row.always | (accepted ? row.onAccepted : kNoFollowUp));
    if (row.selection == Selection::Restore ||
        (row.selection == Selection::RestoreUnlessAccepted && !accepted)) {
        RestoreSelection();
    }
}

void MainWindow::FollowUp(uint32_t steps) {
    AppState& s = app_.state;
    if (steps & kReloadRecords) Tell(app_.host, LoadTimeRecords(app_.store));
    if (steps & kResortAndRefill) {
        if (SortByDate(s)) RefillList();
    }
    if (steps & kResortUnderWaitCursor) {
        app_.host.SetWaitCursor(true);
        if (SortByDate(s)) RefillList();
        app_.host.SetWaitCursor(false);
    }
    if (steps & kUpdateBalance) UpdateProjectBalance(s);
    if (steps & kRepaintBar) app_.host.Repaint(*Bar());
    if (steps & kClearRecordsChanged) s.recordsChanged = false;
}

DialogResult MainWindow::NewRecord() {
    AppState& s = app_.state;
    if (s.projects.Empty()) {
        // Time is always booked to a project: without one, New makes the first project.
        const DialogResult result = RunNewProjectFirst(app_);
        if (result != kNewProjectAdded) RestoreSelection();
        return result;
    }
    Reset(s.scratchRecord);
    SetDate(s.scratchRecord, s.lastUsedDate);
    const DialogResult result = RunRegisterTime(app_);
    if (!result) {
        RestoreSelection();
        return result;
    }
    AfterNewRecord(*result);
    return result;
}

bool MainWindow::AfterNewRecord(int result) {
    AppState& s = app_.state;
    if (result != kRegisterTimeOk) {
        RestoreSelection();
        return false;
    }
    uint32_t newId = 0;
    if (!Tell(app_.host, AddTimeRecord(app_.store, s.scratchRecord, newId))) return false;
    s.scratchRecord.recordId = newId;
    ShowStoredRecord();
    app_.host.PlaySoundResource(u"IDW_TIME_ADDED");
    return true;
}

void MainWindow::ShowStoredRecord() {
    app_.host.SetWaitCursor(true);
    Dialog& bar = *Bar();
    // booked to another project: listed when that one is current
    if (!ListRestoredRecord()) bar.SetFocus(kMainList);
    app_.host.SetWaitCursor(false);
    app_.host.Repaint(bar);
}

void MainWindow::ShowSyncedBook() {
    Dialog* bar = Bar();
    if (bar == nullptr || !bar->Has(kMainList)) return;
    AppState& s = app_.state;
    bar->ResetContent(kProjectBarCombo);
    for (ProjectRecord* p = s.projects.First(); p != nullptr; p = s.projects.Next()) {
        bar->AddString(kProjectBarCombo, p->name.value_or(u""));
    }
    bar_.SelectCurrentProject(*bar);
    Tell(app_.host, LoadTimeRecords(app_.store));
    s.selectedRecordRow = -1;  // the rows are new
    if (SortByDate(s)) RefillList();
    UpdateProjectBalance(s);
    app_.host.Repaint(*bar);
    if (app_.onViewsChanged) app_.onViewsChanged();
}

void MainWindow::ListBookedRecord(const TimeRecord& record) {
    Reset(app_.state.scratchRecord);
    CopyFrom(app_.state.scratchRecord, record);
    ShowStoredRecord();
}

bool MainWindow::ListRestoredRecord() {
    AppState& s = app_.state;
    if (s.scratchRecord.projectId != s.currentProject.projectId) return false;
    if (s.timeRecords.Append(s.scratchRecord) == nullptr) return false;
    AdjustProjectBalance(s, s.scratchRecord, +1);
    Dialog& bar = *Bar();
    AddRow(s.scratchRecord);
    UpdateListCommands();
    bar.SetFocus(kMainList);
    const int last = bar.RowCount(kMainList) - 1;
    bar.SelectRow(kMainList, last);
    bar.SetFocusedRow(kMainList, last);
    return true;
}

// The record edited is found by its identifier: a turn of the screen while the dialog was open
// sorts the rows anew, and the row it had then may hold another record now.
void MainWindow::AfterEditRecord(int result) {
    AppState& s = app_.state;
    Dialog& bar = *Bar();
    if (result == kRegisterTimeOk) {
        app_.host.SetWaitCursor(true);
        if (Tell(app_.host, UpdateTimeRecord(app_.store, s.scratchRecord))) {
            TimeRecord* listed = FindByRecordId(s.timeRecords, s.scratchRecord.recordId);
            const int row = listed != nullptr ? listed->position : -1;
            if (listed == nullptr) {
                s.selectedRecordRow = -1;
            } else if (s.scratchRecord.projectId != s.currentProject.projectId) {
                // moved to another project: listed when that one is current
                AdjustProjectBalance(s, *listed, -1);
                s.timeRecords.RemoveAt(listed->position);
                bar.DeleteRow(kMainList, row);
                UpdateListCommands();
                s.selectedRecordRow = -1;
            } else {
                AdjustProjectBalance(s, *listed, -1);
                CopyFrom(*listed, s.scratchRecord);
                UpdateRow(row, *listed);
                AdjustProjectBalance(s, *listed, +1);  // as it is listed now
                s.selectedRecordRow = row;
            }
        }
        app_.host.SetWaitCursor(false);
    }
    app_.host.Repaint(bar);
    RestoreSelection();
}

bool MainWindow::RoomForUndo() {
    return qv::RoomForUndo(app_);
}

void MainWindow::RecordDeleted(const TimeRecord& copy) {
    AppState& s = app_.state;
    if (const TimeRecord* listed = FindByRecordId(s.timeRecords, copy.recordId)) {
        const int row = listed->position;
        AdjustProjectBalance(s, copy, -1);
        s.timeRecords.RemoveAt(listed->position);
        Bar()->DeleteRow(kMainList, row);
        UpdateListCommands();
        s.selectedRecordRow = row;  // the next record, selected when the dialog is left
    }
    KeepUndoCopy(app_, copy);
}

void MainWindow::EditRecord() {
    AppState& s = app_.state;
    Reset(s.scratchRecord);
    TimeRecord* r = s.timeRecords.FindAt(static_cast<uint32_t>(s.selectedRecordRow));
    if (r == nullptr) return;
    CopyFrom(s.scratchRecord, *r);
    s.editingExisting = true;
    if (const DialogResult result = RunRegisterTime(app_)) AfterEditRecord(*result);
    s.editingExisting = false;
}

bool MainWindow::OpenRecord(uint32_t projectId, uint32_t recordId) {
    AppState& s = app_.state;
    if (projectId != s.currentProject.projectId) return false;
    const TimeRecord* r = FindByRecordId(s.timeRecords, recordId);
    if (r == nullptr) return false;
    s.selectedRecordRow = static_cast<int>(r->position);
    RestoreSelection();
    EditRecord();
    return true;
}

void MainWindow::ListNotify(NotifyCode code, int item) {
    switch (code) {
        case NotifyCode::Click:
        case NotifyCode::Return:
            EditRecord();
            return;
        case NotifyCode::ColumnClick:
            HeaderTap(item);
            return;
        default:
            return;
    }
}

void MainWindow::HeaderTap(int column) {
    SetInputPanel(app_.host, false);
    if (column != kDateColumn) return;
    AppState& s = app_.state;
    Dialog& bar = *Bar();
    // The arrow shown says which way the list goes now: a tap turns it round. Without an arrow
    // the tap shows the direction already applied, or ascending when none was.
    const int shown = bar.HeaderImage(kMainList, kDateColumn);
    if (shown == kImageUp) {
        s.mainSortOrder = SortOrder::Descending;
    } else if (shown == kImageDown) {
        s.mainSortOrder = SortOrder::Ascending;
    } else if (s.listSorted) {
        s.mainSortColumn = kDateColumn;
    } else {
        s.mainSortOrder = SortOrder::Ascending;
        s.mainSortColumn = kDateColumn;
    }
    bar.SetHeaderImage(kMainList, kDateColumn, HeaderImage(s.mainSortOrder));
    if (s.timeRecords.Empty()) return;
    app_.host.SetWaitCursor(true);
    if (SortByDate(s)) {
        RefillList();
        s.listSorted = true;
    }
    app_.host.SetWaitCursor(false);
}

void MainWindow::OnClose(MainFrame& frame) {
    ExitCleanup(app_);
    frame.Destroy();
}

void MainWindow::OnWorkAreaChange(MainFrame& frame) {
    Dialog* bar = Bar();
    if (bar == nullptr) return;
    bar_.PlaceProjectList(*bar);
    const Size client = app_.host.MainClientSize();
    bar->SetWindowRect({0, 27, client.width, client.height - 26});
    bar->DestroyControl(kMainList);
    if (!CreateMainList()) {
        ExitCleanup(app_);
        frame.Destroy();
        return;
    }
    if (app_.state.timeRecords.Empty()) {
        UpdateListCommands();
    } else {
        if (!ApplyListSort()) return;
        RefillList();
    }
    UpdateProjectBalance(app_.state);
}

void MainWindow::OnActivate(MainFrame&) {
    if (app_.activeEntryDialog != nullptr) {
        SetInputPanel(app_.host, true);
        return;
    }
    SetInputPanel(app_.host, false);
    if (Dialog* bar = Bar(); bar != nullptr && bar->Has(kMainList)) bar->SetFocus(kMainList);
}

void MainWindow::OnHelp(MainFrame&) {
    RememberSelection();
    ShowHelp(app_.host, u"Navigating");
    RestoreSelection();
}

}  // namespace qv
