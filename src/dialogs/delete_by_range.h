// Delete by Range (template 129): its controls and results.
#pragma once

namespace qv {

constexpr int kDeleteByRangeTemplate = 129;

enum DeleteByRangeControl : int {
    kDeleteByRangeStart = 1105,
    kDeleteByRangeEnd = 1106,
    // The buttons are also the dialog's results: Find Records ends it when records were
    // deleted, Cancel (and Done) when none were.
    kDeleteByRangeFind = 1107,
    kDeleteByRangeCancel = 1108,
    kDeleteByRangeExport = 1059,  // in the template, never shown
};

}  // namespace qv
