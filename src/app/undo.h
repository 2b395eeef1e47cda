// The undo list of deleted records: room for a copy, keeping it, restoring the last one,
// forgetting them all, and the commands that say whether there is anything to undo.
#pragma once

#include "app/app.h"

namespace qv {

// The undo list holds twelve copies at most.
constexpr uint16_t kUndoCapacity = 12;

// Undo Deleting (menu and button) and Empty Undo enabled while a copy is kept.
void UpdateUndoCommands(App& app);
// True when a copy can be kept: with twelve kept the user is asked whether the oldest may go.
bool RoomForUndo(App& app);
// Keeps the copy of a record whose stored record is gone, dropping the oldest when full.
void KeepUndoCopy(App& app, const TimeRecord& copy);
// Stores the last deleted record again under a new identifier; the copy stays when that fails.
void UndoDeleting(App& app);
void EmptyUndo(App& app);

}  // namespace qv
