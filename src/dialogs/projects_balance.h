// The projects balance report (template 133): the time booked to every project between two
// dates, over the records of all projects, in a list sorted by name or by balance.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/app_state.h"
#include "dialogs/report_list.h"
#include "platform/ui/dialog.h"
#include "platform/ui/ui_host.h"
#include "store/store_context.h"

namespace qv {

constexpr int kProjectsBalanceTemplate = 133;

enum ProjectsBalanceControl : int {
    kProjectsBalanceRangeFrame = 1180,
    kProjectsBalanceStartsLabel = 1181,
    kProjectsBalanceStart = 1182,
    kProjectsBalanceEndsLabel = 1183,
    kProjectsBalanceEnd = 1184,
    kProjectsBalanceReport = 1185,
    kProjectsBalanceReset = 1186,
    kProjectsBalanceExport = 1187,
    kProjectsBalanceTotalLabel = 1188,
    kProjectsBalanceTotal = 1189,
    kProjectsBalanceList = 5003,  // created while a report is shown
};

// The dialog's results: OK, or a balance list that could not be built or sorted.
constexpr int kProjectsBalanceOk = 1;
constexpr int kProjectsBalanceFailed = 0;

enum BalanceStrings : uint32_t {
    kStrBalanceProjectHeader = 40086,
    kStrBalanceHeader = 40087,
    kStrNoTimeInRange = 40088,
};

// What "Export..." runs: the balance export dialog, over projects as the report left it.
using BalanceExportHook = std::function<void()>;

// Every project's totalMinutes := the minutes of its records in timeRecords dated from
// startKey to endKey, both included; grandTotal := their sum. True when at least one record
// in the range belongs to a project of projects; records of no listed project count nowhere.
bool ComputeProjectTotals(AppState& state, uint32_t startKey, uint32_t endKey, int32_t& grandTotal);

// Replaces the balance list's rows with one row per project, in the order of projects: the
// name and the duration text of its total. False when there is no project.
bool FillBalanceList(AppState& state, Dialog& dialog);

class ProjectsBalanceDialog : public DialogBehaviour {
  public:
    ProjectsBalanceDialog(UiHost& host, StoreContext& store, BalanceExportHook exportBalance);

    void OnInit(Dialog& d) override;
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnNotify(Dialog& d, int id, NotifyCode code, int item) override;
    void OnSize(Dialog& d, bool landscape) override;
    void OnActivate(Dialog& d) override;
    void OnHelp(Dialog& d) override;

    // timeRecords holds the records of all projects: a report was asked for since the last
    // reload of the current project's records.
    bool HoldsAllRecords() const { return holdsAll_; }
    void ReloadCurrentProject();

  private:
    void BalanceReport(Dialog& d);
    // Loads every record and sums the range kept in balanceRangeStart and balanceRangeEnd.
    bool LoadAndCompute(int32_t& grandTotal);
    // List, headers and order, rows, grand total; false when the list cannot be built.
    bool ShowReport(Dialog& d, int32_t grandTotal);
    void Reset(Dialog& d);
    void HeaderTap(Dialog& d, int column);
    void Export(Dialog& d);
    void Ok(Dialog& d);
    void Fail(Dialog& d);
    void WriteSortSettings();

    UiHost& host_;
    StoreContext& store_;
    AppState& state_;
    BalanceExportHook export_;
    bool landscape_ = false;
    bool holdsAll_ = false;
    // Its sort values are the working copies of SortPBalance and SortOrderPBalance.
    ReportList list_;
};

// Runs the dialog modally; 1 after OK, 0 when the balance list could not be built or sorted.
// However it ends, timeRecords holds the current project's records again.
int ShowProjectsBalance(UiHost& host, StoreContext& store, BalanceExportHook exportBalance);

}  // namespace qv
