// The time report by category (template 127, "Define time range"): the time booked to one
// category, or to every category in a sortable list, between two dates, over the current
// project's records.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/app_state.h"
#include "dialogs/report_list.h"
#include "platform/ui/dialog.h"
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
constexpr int kTimeReportOk = 1;
constexpr int kTimeReportFailed = 0;

enum TimeReportStrings : uint32_t {
    kStrReportCategoryHeader = 40047,
    kStrReportTimeHeader = 40048,
    kStrTooManyCategories = 40051,
    kStrNoReportRecords = 40077,
};

// The list report shows at most this many categories.
constexpr uint16_t kReportListRows = 100;

// Every category's totalMinutes := the minutes of the records of timeRecords with exactly its
// name, dated from startKey to endKey, both included. True when at least one record in the
// range belongs to a category of categories; records of an unlisted category count nowhere.
// With no records at all nothing is computed and the totals stay as they were.
bool ComputeCategoryTotals(AppState& state, uint32_t startKey, uint32_t endKey);

// Reorder categories through categorySortBuffer; order 1 is descending, 0 and 2 ascending.
// Names sort by code units; equal totals keep their order ascending and come out reversed
// descending. A failed name sort leaves categories as they were.
bool SortCategoriesByName(AppState& state, uint32_t order);
bool SortCategoriesByTime(AppState& state, uint32_t order);

// Replaces the report list's rows with one row per category, in the order of categories, the
// first hundred only: the name and the report time text of its total. False when there is
// no category.
bool FillReportList(AppState& state, Dialog& dialog);

// A total as the report shows it: hours in full and two-digit minutes, "1,05" or "1:05"; no
// time at all is "0,0" or "0:0".
std::u16string ReportTimeText(int32_t minutes, uint32_t timeViewType);

// What "Export..." runs: the export dialog of the report, over categories as the report left
// them.
using ReportExportHook = std::function<void()>;

// Runs the dialog modally; 1 after OK, 0 when a list report could not be built or sorted.
// The range that passed the date check becomes the range dialogs' next default; the order of
// categories and their totals outlive the dialog.
int ShowTimeReport(UiHost& host, AppState& state, ReportExportHook exportReport);

}  // namespace qv
