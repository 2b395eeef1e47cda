// The reports' shared half: range check, list building, header taps, Reset, Export..., OK.
#include "dialogs/report_dialog.h"

#include <algorithm>
#include <vector>

#include "core/date_range.h"
#include "core/reports.h"
#include "dialogs/frame.h"
#include "dialogs/list_images.h"
#include "res/string_table.h"

namespace qv {
namespace {

template <typename List>
bool FillRows(Dialog& d, int listId, List& items, size_t most, uint32_t timeView) {
    d.DeleteAllRows(listId);
    if (items.Empty()) return false;
    std::vector<ListRow> rows;
    rows.reserve(std::min<size_t>(items.Size(), most));
    for (auto* item = items.First(); item != nullptr && rows.size() < most; item = items.Next()) {
        ListRow& row = rows.emplace_back();
        row.image = kImageBlank;
        row.cells = {item->name.value_or(u""), ReportTimeText(item->totalMinutes, timeView)};
    }
    return d.SetRows(listId, std::move(rows));
}

}  // namespace

bool FillReportRows(Dialog& d, int listId, CategoryList& items, size_t most, uint32_t timeView) {
    return FillRows(d, listId, items, most, timeView);
}

bool FillReportRows(Dialog& d, int listId, ProjectList& items, size_t most, uint32_t timeView) {
    return FillRows(d, listId, items, most, timeView);
}

void ReportDialog::OnInit(Dialog& d) {
    d.SetDate(shape_.start, s_.rangeStartDate);
    d.SetDate(shape_.end, s_.rangeEndDate);
    // Until a report loads them, the working sort values are the settings' own: OK then
    // writes back what was there.
    LoadSortSettings();
    InitControls(d);
}

void ReportDialog::OnCommand(Dialog& d, int id, CommandCode code) {
    if (code == CommandCode::Clicked) {
        if (id == IDOK) return Ok(d);
        if (id == shape_.run) return MakeReport(d);
        if (id == shape_.reset) return Reset(d);
        if (id == shape_.exportButton) return Export(d);
    }
    OtherCommand(d, id, code);
}

void ReportDialog::OnNotify(Dialog& d, int id, NotifyCode code, int item) {
    if (id == shape_.list.id) {
        SetInputPanel(host_, false);
        if (code == NotifyCode::ColumnClick) HeaderTap(d, item);
        return;
    }
    if ((id == shape_.start || id == shape_.end) && code == NotifyCode::DateDropDown) {
        SetInputPanel(host_, false);
    }
}

void ReportDialog::OnSize(Dialog& d, bool landscape) {
    landscape_ = landscape;
    d.ApplyLayout(landscape);
    Rebuild(d);
}

void ReportDialog::OnActivate(Dialog&) {
    SetInputPanel(host_, false);
}

void ReportDialog::OnHelp(Dialog&) {
    ShowHelp(host_, shape_.helpTopic);
}

bool ReportDialog::TakeRange(Dialog& d) {
    const CalendarDate now = host_.GetClock().GetLocalTime();
    const CalendarDate start = d.Date(shape_.start).value_or(now);
    const CalendarDate end = d.Date(shape_.end).value_or(now);
    const auto [first, last] = KeepRange(start, end);
    // A single day is a valid range.
    if (!IsOrderedRange(first, last)) {
        ShowNotice(host_, kStrStartsAfterEnds);
        d.SetFocus(shape_.start);
        return false;
    }
    s_.rangeStartDate = start;
    s_.rangeEndDate = end;
    return true;
}

void ReportDialog::LoadSortSettings() {
    list_.sortColumn = s_.settings.*shape_.sortColumn;
    list_.sortOrder = s_.settings.*shape_.sortOrder;
}

void ReportDialog::WriteSortSettings() {
    s_.settings.*shape_.sortColumn = list_.sortColumn;
    s_.settings.*shape_.sortOrder = list_.sortOrder;
}

bool ReportDialog::BuildList(Dialog& d) {
    if (!list_.Create(d, landscape_) || !list_.Sort(s_)) return false;
    FillRows(d);
    return true;
}

void ReportDialog::ShowResult(Dialog& d, bool withList) {
    d.Show(shape_.reset, true);
    if (withList) {
        d.Show(shape_.run, false);
        d.Show(shape_.exportButton, true);
    } else {
        d.Enable(shape_.run, false);
    }
    d.Enable(shape_.start, false);
    d.Enable(shape_.end, false);
    d.Enable(shape_.reset, true);
    d.SetDefaultButton(shape_.reset);
    // The tapped button is out of reach: the focus goes to the one that now leads back.
    d.SetFocus(shape_.reset);
}

void ReportDialog::HeaderTap(Dialog& d, int column) {
    if (!list_.HeaderTap(d, column) || NothingListed()) return;
    // A sort that fails leaves the rows as they were.
    const bool wait = column == kReportByName || shape_.waitOnTimeSort;
    if (wait) host_.SetWaitCursor(true);
    if (list_.SortBy(s_, column)) FillRows(d);
    if (wait) host_.SetWaitCursor(false);
}

// With no list shown the working sort values are still the settings' own.
void ReportDialog::Reset(Dialog& d) {
    d.DestroyControl(shape_.list.id);
    WriteSortSettings();
    ResetControls(d);
    d.Enable(shape_.start, true);
    d.Enable(shape_.end, true);
    d.Enable(shape_.reset, false);
    d.Show(shape_.reset, false);
    d.Show(shape_.exportButton, false);
    d.Show(shape_.run, true);
    d.Enable(shape_.run, true);
    d.SetDefaultButton(shape_.run);
    d.SetFocus(shape_.run);
}

void ReportDialog::Export(Dialog& d) {
    if (export_) export_();
    d.SetDefaultButton(shape_.reset);
}

void ReportDialog::Ok(Dialog& d) {
    WriteSortSettings();
    d.DestroyControl(shape_.list.id);
    BeforeEnd();
    d.End(kReportOk);
}

void ReportDialog::Fail(Dialog& d) {
    d.DestroyControl(shape_.list.id);
    BeforeEnd();
    d.End(kReportFailed);
}

}  // namespace qv
