// The undo list: copies of records deleted one at a time, last deleted first back.
#include "app/undo.h"

#include "app/commands.h"
#include "app/main_window.h"
#include "core/project_lists.h"
#include "dialogs/frame.h"
#include "dialogs/register_time.h"
#include "store/record_store.h"

namespace qv {

void UpdateUndoCommands(App& app) {
    const bool kept = !app.state.UndoList.Empty();
    MainFrame& frame = app.mainWindow->Frame();
    frame.EnableMenuItem(kCmdUndoDeleting, kept);
    frame.SetButtonEnabled(kButtonUndo, kept);
    frame.EnableMenuItem(kCmdEmptyUndo, kept);
}

bool RoomForUndo(App& app) {
    if (app.state.UndoList.Count() < kUndoCapacity) return true;
    return AskYesNo(app.host, kStrUndoFull);
}

void KeepUndoCopy(App& app, const TimeRecord& copy) {
    TimeRecordList& undo = app.state.UndoList;
    // the oldest copy is gone for good
    if (undo.Count() >= kUndoCapacity) undo.RemoveAt(0);
    undo.Append(copy);
    UpdateUndoCommands(app);
}

void UndoDeleting(App& app) {
    AppState& s = app.state;
    if (!s.UndoList.Empty()) {
        Reset(s.scratchRecord);
        CopyFrom(s.scratchRecord, *s.UndoList.Last());
        uint32_t newId = 0;
        // A refused write keeps the copy for another try.
        if (Tell(app.host, AddTimeRecord(app.store, s.scratchRecord, newId))) {
            app.host.SetWaitCursor(true);
            s.scratchRecord.recordId = newId;  // never the old identifier
            s.UndoList.RemoveAt(s.UndoList.Last()->position);
            app.mainWindow->ListRestoredRecord();
            app.host.SetWaitCursor(false);
            if (Dialog* bar = app.mainWindow->Bar()) app.host.Repaint(*bar);
        }
    }
    UpdateUndoCommands(app);
}

void EmptyUndo(App& app) {
    if (!app.state.UndoList.Empty()) app.state.UndoList.Clear();
    UpdateUndoCommands(app);
}

}  // namespace qv
