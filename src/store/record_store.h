// The time-record database and the start-up and exit rules of all three databases.
#pragma once

#include "store/store_context.h"

namespace qv {

// Start-up: opens or creates the categories, projects and time-record databases in that
// order, loads categories and projects, and discards the time records when the projects
// database is new or empty. Shows its own messages; on failure every handle is closed.
bool OpenStore(StoreContext& ctx);

bool CreateTimeDatabase(StoreContext& ctx);

// A new record identifier from the clock's digits (day, hour, minute, second), moved on one
// second at a time while a stored record already has it.
uint32_t NewRecordId(StoreContext& ctx);

// Writes the record (its own identifier is ignored) and hands back the new identifier.
bool AddTimeRecord(StoreContext& ctx, const TimeRecord& record, uint32_t& newId);
// Rewrites the stored record with the record's identifier.
bool UpdateTimeRecord(StoreContext& ctx, const TimeRecord& record);
bool DeleteTimeRecord(StoreContext& ctx, uint32_t recordId);
// Deletes every stored record of a project, loaded or not.
bool DeleteProjectTimeRecords(StoreContext& ctx, uint32_t projectId);

// Replace timeRecords with the current project's records, or with every record, in
// identifier order. False without a message when the database holds no records.
bool LoadTimeRecords(StoreContext& ctx);
bool LoadAllTimeRecords(StoreContext& ctx);

// Exit: a database left without records is deleted.
bool DropEmptyTimeDatabase(StoreContext& ctx);
bool DropEmptyProjectsDatabase(StoreContext& ctx);

}  // namespace qv
