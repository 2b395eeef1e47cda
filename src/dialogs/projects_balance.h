// The projects balance report (template 133): its controls.
#pragma once

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

}  // namespace qv
