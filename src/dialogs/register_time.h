// Register Time (template 108): its controls and results. The dialog books, edits or deletes
// the record in scratchRecord.
#pragma once

namespace qv {

constexpr int kRegisterTimeTemplate = 108;

enum RegisterTimeControl : int {
    kRegisterTimeDateLabel = 1015,
    kRegisterTimeDate = 1016,
    kRegisterTimeDurationLabel = 1017,
    kRegisterTimeHours = 1018,
    kRegisterTimeMinutes = 1019,
    kRegisterTimeCategoryLabel = 1020,
    kRegisterTimeCategory = 1021,
    kRegisterTimeProjectLabel = 1022,
    kRegisterTimeProject = 1023,
    kRegisterTimeMemoLabel = 1024,
    kRegisterTimeMemo = 1025,
    // The buttons are also the dialog's results.
    kRegisterTimeCancel = 1026,
    kRegisterTimeOk = 1027,
    kRegisterTimeDelete = 1028,
};

}  // namespace qv
