// The projects balance report (template 133): the time booked to every project between two
// dates, over the records of all projects, in a list sorted by name or by balance.
#pragma once

#include <cstdint>

#include "dialogs/report_dialog.h"
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
constexpr int kProjectsBalanceOk = kReportOk;
constexpr int kProjectsBalanceFailed = kReportFailed;

enum BalanceStrings : uint32_t {
    kStrBalanceProjectHeader = 40086,
    kStrBalanceHeader = 40087,
    kStrNoTimeInRange = 40088,
};

// Runs the dialog modally; 1 after OK, 0 when the balance list could not be built or sorted.
// However it ends, timeRecords holds the current project's records again.
int ShowProjectsBalance(UiHost& host, StoreContext& store, ReportExportHook exportBalance);

}  // namespace qv
