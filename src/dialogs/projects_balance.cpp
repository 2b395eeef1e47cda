// The projects balance report: totals of every project over all stored records, the sortable
// balance list with its grand total, and the current project's records back however it ends.
#include "dialogs/projects_balance.h"

#include "core/project_lists.h"
#include "core/reports.h"
#include "dialogs/frame.h"
#include "store/record_store.h"

namespace qv {
namespace {

// The list of every project's balance, sorted as SortPBalance and SortOrderPBalance say.
constexpr ReportDialogShape kShape{
    {kProjectsBalanceList,
     {7, 120, 223, 108},
     {140, 5, 173, 105},
     {{kStrBalanceProjectHeader, 120, 95}, {kStrBalanceHeader, 95, 100}},
     SortProjectsByName,
     SortProjectsByTotal},
    kProjectsBalanceStart,
    kProjectsBalanceEnd,
    kProjectsBalanceReport,
    kProjectsBalanceReset,
    kProjectsBalanceExport,
    u"Projectsstat",
    &AppSettings::SortPBalance,
    &AppSettings::SortOrderPBalance,
    true};

class ProjectsBalance : public ReportDialog {
  public:
    ProjectsBalance(UiHost& host, StoreContext& store, ReportExportHook exportBalance)
        : ReportDialog(host, store.state, kShape, std::move(exportBalance)), store_(store) {}

    // timeRecords holds the records of all projects: a report was asked for since the last
    // reload of the current project's records.
    bool HoldsAllRecords() const { return holdsAll_; }
    void ReloadCurrentProject() {
        Tell(host_, LoadTimeRecords(store_));
        holdsAll_ = false;
    }

  private:
    void InitControls(Dialog& d) override;
    void OtherCommand(Dialog&, int, CommandCode) override {}
    void MakeReport(Dialog& d) override;
    void Rebuild(Dialog& d) override;
    std::pair<uint32_t, uint32_t> KeepRange(const CalendarDate& start,
                                            const CalendarDate& end) override;
    bool NothingListed() const override { return s_.projects.Empty(); }
    void FillRows(Dialog& d) override;
    void ResetControls(Dialog& d) override;
    void BeforeEnd() override { ReloadCurrentProject(); }

    // Loads every record and sums the range kept in balanceRangeStart and balanceRangeEnd;
    // false, with the notice and the dialog reset, when no project has time in it.
    bool LoadAndCompute(Dialog& d, int32_t& grandTotal);
    // List, headers and order, rows, grand total; false when the list cannot be built.
    bool ShowReport(Dialog& d, int32_t grandTotal);

    StoreContext& store_;
    bool holdsAll_ = false;
};

void ProjectsBalance::InitControls(Dialog& d) {
    d.Show(kProjectsBalanceReport, true);
    d.Enable(kProjectsBalanceReport, true);
    d.SetDefaultButton(kProjectsBalanceReport);
}

// The report is built again for the new layout, from the store as it is now.
void ProjectsBalance::Rebuild(Dialog& d) {
    if (!d.Has(kProjectsBalanceList)) return;
    d.DestroyControl(kProjectsBalanceList);
    int32_t grandTotal = 0;
    if (!LoadAndCompute(d, grandTotal)) return;
    if (!ShowReport(d, grandTotal)) Fail(d);
}

std::pair<uint32_t, uint32_t> ProjectsBalance::KeepRange(const CalendarDate& start,
                                                         const CalendarDate& end) {
    qv::Reset(s_.balanceRangeStart);
    qv::Reset(s_.balanceRangeEnd);
    SetDate(s_.balanceRangeStart, start);
    SetDate(s_.balanceRangeEnd, end);
    return {s_.balanceRangeStart.dateKey, s_.balanceRangeEnd.dateKey};
}

void ProjectsBalance::MakeReport(Dialog& d) {
    if (!TakeRange(d)) return;
    LoadSortSettings();
    int32_t grandTotal = 0;
    if (!LoadAndCompute(d, grandTotal)) return;
    if (!ShowReport(d, grandTotal)) return Fail(d);
    d.Show(kProjectsBalanceTotalLabel, true);
    d.Show(kProjectsBalanceTotal, true);
    ShowResult(d, true);
}

bool ProjectsBalance::LoadAndCompute(Dialog& d, int32_t& grandTotal) {
    host_.SetWaitCursor(true);
    holdsAll_ = true;
    Tell(host_, LoadAllTimeRecords(store_));  // an empty store leaves no records: nothing in range
    const bool found =
        ComputeProjectTotals(s_.projects, s_.timeRecords, s_.balanceRangeStart.dateKey,
                             s_.balanceRangeEnd.dateKey, grandTotal);
    host_.SetWaitCursor(false);
    if (!found) {
        ShowNotice(host_, kStrNoTimeInRange);
        Reset(d);
    }
    return found;
}

bool ProjectsBalance::ShowReport(Dialog& d, int32_t grandTotal) {
    if (!BuildList(d)) return false;
    s_.projectsBalanceTotal = TimeRecord();
    SetMinutes(s_.projectsBalanceTotal, TrimBlanks(FormatDecimal(grandTotal)));
    d.SetText(kProjectsBalanceTotal,
              TimeText(s_.projectsBalanceTotal, s_.settings.TimeTypeView).value_or(u""));
    return true;
}

void ProjectsBalance::FillRows(Dialog& d) {
    FillReportRows(d, kProjectsBalanceList, s_.projects, s_.projects.Size(),
                   s_.settings.TimeTypeView);
}

void ProjectsBalance::ResetControls(Dialog& d) {
    d.Show(kProjectsBalanceTotalLabel, false);
    d.Show(kProjectsBalanceTotal, false);
}

}  // namespace

int ShowProjectsBalance(UiHost& host, StoreContext& store, ReportExportHook exportBalance) {
    ProjectsBalance dialog(host, store, std::move(exportBalance));
    const int result = host.RunDialog(kProjectsBalanceTemplate, dialog);
    // Closed by the shell with a report shown: the main list must not meet other projects.
    if (dialog.HoldsAllRecords()) dialog.ReloadCurrentProject();
    return result;
}

}  // namespace qv
