// The time report by category: one category's total or the sortable list of every category's
// total, and the controls that choose between them.
#include "dialogs/time_report.h"

#include <string>

#include "core/reports.h"
#include "dialogs/frame.h"

namespace qv {
namespace {

// The list of every category's total, sorted as SortRapport and SortOrderRapport say.
constexpr ReportDialogShape kShape{
    {kTimeReportList,
     {7, 160, 223, 92},
     {164, 13, 153, 110},
     {{kStrReportCategoryHeader, 125, 80}, {kStrReportTimeHeader, 85, 70}},
     SortCategoriesByName,
     SortCategoriesByTime},
    kTimeReportStart,
    kTimeReportEnd,
    kTimeReportView,
    kTimeReportReset,
    kTimeReportExport,
    u"Workwithrapport",
    &AppSettings::SortRapport,
    &AppSettings::SortOrderRapport,
    false};

// The drop-down list's text is read into a buffer of forty characters.
constexpr size_t kCategoryReadChars = 40;

enum class ReportMode { Choosing, Single, List };

class TimeReport : public ReportDialog {
  public:
    TimeReport(UiHost& host, AppState& state, ReportExportHook exportReport)
        : ReportDialog(host, state, kShape, std::move(exportReport)) {}

  private:
    void InitControls(Dialog& d) override;
    void OtherCommand(Dialog& d, int id, CommandCode code) override;
    void MakeReport(Dialog& d) override;
    void Rebuild(Dialog& d) override;
    std::pair<uint32_t, uint32_t> KeepRange(const CalendarDate& start,
                                            const CalendarDate& end) override;
    bool NothingListed() const override { return s_.categories.Empty(); }
    void FillRows(Dialog& d) override;
    void ResetControls(Dialog& d) override;

    void AllChanged(Dialog& d);
    void SingleTotal(Dialog& d);
    void ListReport(Dialog& d);
    bool ComputeTotals();

    ReportMode mode_ = ReportMode::Choosing;
};

void TimeReport::InitControls(Dialog& d) {
    // The control sorts the names; none is chosen yet.
    for (CategoryItem* c = s_.categories.First(); c != nullptr; c = s_.categories.Next()) {
        d.AddString(kTimeReportCategory, c->name.value_or(u""));
    }
    d.SetCurSel(kTimeReportCategory, -1);
    d.SetChecked(kTimeReportAll, false);
    d.Enable(kTimeReportView, false);
    d.SetFocus(kTimeReportStart);
}

void TimeReport::OtherCommand(Dialog& d, int id, CommandCode code) {
    if (id == kTimeReportCategory) {
        if (code == CommandCode::DropDown) SetInputPanel(host_, false);
        if (code == CommandCode::SelectionChange) {
            d.SetChecked(kTimeReportAll, false);
            d.Enable(kTimeReportView, true);
            d.SetDefaultButton(kTimeReportView);
        }
    } else if (id == kTimeReportAll && code == CommandCode::Clicked) {
        AllChanged(d);
    }
}

// The list is built again at its place in the new layout, in the order chosen so far.
void TimeReport::Rebuild(Dialog& d) {
    if (mode_ != ReportMode::List || !d.IsChecked(kTimeReportAll)) return;
    d.DestroyControl(kTimeReportList);
    WriteSortSettings();
    if (!ComputeTotals()) return;
    if (!BuildList(d)) Fail(d);
}

void TimeReport::AllChanged(Dialog& d) {
    const bool all = d.IsChecked(kTimeReportAll);
    d.Show(kTimeReportCategory, !all);
    d.Enable(kTimeReportView, all);
    if (all) {
        d.SetDefaultButton(kTimeReportView);
    } else {
        d.Enable(kTimeReportCategory, true);
    }
}

std::pair<uint32_t, uint32_t> TimeReport::KeepRange(const CalendarDate& start,
                                                    const CalendarDate& end) {
    qv::Reset(s_.rangeStart);
    SetDate(s_.rangeStart, start);
    SetDate(s_.rangeEnd, end);
    return {s_.rangeStart.dateKey, s_.rangeEnd.dateKey};
}

void TimeReport::MakeReport(Dialog& d) {
    if (!TakeRange(d)) return;
    if (d.IsChecked(kTimeReportAll)) {
        ListReport(d);
    } else {
        SingleTotal(d);
    }
}

void TimeReport::SingleTotal(Dialog& d) {
    const std::u16string chosen = d.Text(kTimeReportCategory, kCategoryReadChars);
    if (chosen.empty()) return RefuseEntry(host_, d, kTimeReportCategory);
    host_.SetWaitCursor(true);
    const int64_t sum = CategoryMinutes(s_.timeRecords, TrimBlanks(chosen), s_.rangeStart.dateKey,
                                        s_.rangeEnd.dateKey);
    const std::u16string total =
        ReportTimeText(static_cast<int32_t>(sum), s_.settings.TimeTypeView);
    host_.SetWaitCursor(false);

    mode_ = ReportMode::Single;
    d.Show(kTimeReportTotalFrame, true);
    d.Show(kTimeReportTotalLabel, true);
    d.Show(kTimeReportTotal, true);
    d.SetText(kTimeReportTotal, total);
    d.Enable(kTimeReportCategory, false);
    d.Enable(kTimeReportAll, false);
    ShowResult(d, false);
}

void TimeReport::ListReport(Dialog& d) {
    host_.SetWaitCursor(true);
    const bool found = ComputeTotals();
    host_.SetWaitCursor(false);
    if (!found) {
        ShowNotice(host_, kStrNoReportRecords);
        d.SetFocus(kTimeReportStart);
        return;
    }
    LoadSortSettings();
    if (!BuildList(d)) return Fail(d);

    mode_ = ReportMode::List;
    d.Enable(kTimeReportCategory, false);
    d.Enable(kTimeReportAll, false);
    ShowResult(d, true);
}

bool TimeReport::ComputeTotals() {
    return ComputeCategoryTotals(s_.categories, s_.timeRecords, s_.rangeStart.dateKey,
                                 s_.rangeEnd.dateKey);
}

// The warning comes with an empty list behind it, each time the list is filled.
void TimeReport::FillRows(Dialog& d) {
    if (s_.categories.Size() > kReportListRows) {
        d.DeleteAllRows(kTimeReportList);
        ShowNotice(host_, kStrTooManyCategories);
    }
    FillReportRows(d, kTimeReportList, s_.categories, kReportListRows, s_.settings.TimeTypeView);
}

void TimeReport::ResetControls(Dialog& d) {
    if (mode_ == ReportMode::List) {
        d.SetChecked(kTimeReportAll, false);
        d.Show(kTimeReportCategory, true);
    } else {
        d.Show(kTimeReportTotalFrame, false);
        d.Show(kTimeReportTotalLabel, false);
        d.Show(kTimeReportTotal, false);
    }
    mode_ = ReportMode::Choosing;
    d.Enable(kTimeReportCategory, true);
    d.Enable(kTimeReportAll, true);
}

}  // namespace

int ShowTimeReport(UiHost& host, AppState& state, ReportExportHook exportReport) {
    TimeReport dialog(host, state, std::move(exportReport));
    return host.RunDialog(kTimeReportTemplate, dialog);
}

}  // namespace qv
