// Delete by Range (template 129): its controls and results, and the dialog that deletes the
// current project's records of a range of days.
#pragma once

#include <cstdint>

#include "platform/ui/ui_host.h"
#include "store/store_context.h"

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

enum DeleteByRangeString : uint32_t {
    kStrNoRecordsFound = 40077,
    kStrRecordsWillBeDeleted = 40078,
};

// Runs the dialog. On Yes to its question every found record is deleted as one store change
// (all of them or none), timeRecords is loaded again and the result is kDeleteByRangeFind;
// otherwise kDeleteByRangeCancel.
int ShowDeleteByRange(UiHost& host, StoreContext& store);

}  // namespace qv
