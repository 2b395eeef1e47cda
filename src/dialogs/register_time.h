// Register Time (template 108): its controls and results, and what it needs from the main
// window. The dialog books, edits or deletes the record in scratchRecord.
#pragma once

#include "core/time_record.h"
#include "platform/ui/dialog.h"
#include "platform/ui/ui_host.h"
#include "store/store_context.h"

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

enum RegisterTimeString : uint32_t {
    kStrTimeRecordHeading = 40004,
    kStrDeleteRecord = 40040,
    kStrUndoFull = 40072,
    kStrRepeatDelete = 40091,
};

// How many characters OK reads from each field.
constexpr size_t kDurationChars = 5;
constexpr size_t kCategoryChars = 39;
constexpr size_t kProjectNameReadChars = 79;
constexpr int kMemoChars = 29;
// The largest duration the dialog accepts, in minutes.
constexpr int32_t kMaxRecordMinutes = 1499;

// What the dialog's Delete asks of the main window: room for the undo copy, and, once the
// stored record is gone, the list record, its row and the undo copy.
class RecordDeletion {
  public:
    virtual ~RecordDeletion() = default;
    // True when a copy can be kept; with the undo list full the user is asked first.
    virtual bool RoomForUndo() = 0;
    // The stored record copy.recordId was deleted: its list record and row go, wherever a
    // sort has put them since the dialog opened; `copy` is what undo brings back.
    virtual void RecordDeleted(const TimeRecord& copy) = 0;
};

struct RegisterTimeContext {
    UiHost& host;
    StoreContext& store;
    RecordDeletion& deletion;
    Dialog*& activeEntryDialog;
    // The project the project box starts at instead of the current one (a record proposed
    // from elsewhere), or null.
    const std::u16string* startProject = nullptr;
};

// Runs the dialog on scratchRecord; editingExisting says what for. An existing record is the
// listed record of scratchRecord's identifier: the rows may be sorted anew while the dialog is
// open (a turn of the screen), so no row number taken at its opening names it.
int ShowRegisterTime(RegisterTimeContext& ctx);

}  // namespace qv
