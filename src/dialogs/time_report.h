// The time report by category (template 127, "Define time range"): its controls.
#pragma once

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

}  // namespace qv
