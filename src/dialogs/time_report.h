// The time report by category (template 127, "Define time range"): the time booked to one
// category, or to every category in a sortable list, between two dates, over the current
// project's records.
#pragma once

#include <cstdint>

#include "core/app_state.h"
#include "dialogs/report_dialog.h"
#include "platform/ui/ui_host.h"

namespace qv {

constexpr int kTimeReportTemplate = 127;

enum TimeReportControl : int {
    kTimeReportRangeFrame = 1050,
    kTimeReportStartsLabel = 1051,
    kTimeReportEndsLabel = 1052,
    kTimeReportStart = 1053,
    kTimeReportEnd = 1054,
    kTimeReportCategoryFrame = 1055,
    kTimeReportCategory = 1056,
    kTimeReportAll = 1057,
    kTimeReportView = 1058,
    kTimeReportExport = 1059,
    kTimeReportReset = 1060,
    kTimeReportTotalFrame = 1061,
    kTimeReportTotalLabel = 1062,
    kTimeReportTotal = 1063,
    kTimeReportList = 501,  // created while a list report is shown
};

// The dialog's results: OK, or a list report that could not be built or sorted.
constexpr int kTimeReportOk = kReportOk;
constexpr int kTimeReportFailed = kReportFailed;

enum TimeReportStrings : uint32_t {
    kStrReportCategoryHeader = 40047,
    kStrReportTimeHeader = 40048,
    kStrTooManyCategories = 40051,
    kStrNoReportRecords = 40077,
};

// The list report shows at most this many categories.
constexpr uint16_t kReportListRows = 100;

// Runs the dialog modally; 1 after OK, 0 when a list report could not be built or sorted.
// The range that passed the date check becomes the range dialogs' next default; the order of
// categories and their totals outlive the dialog.
int ShowTimeReport(UiHost& host, AppState& state, ReportExportHook exportReport);

}  // namespace qv
