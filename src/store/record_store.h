// The time-record database and the start-up and exit rules of all three databases.
#pragma once

#include "store/store_context.h"

namespace qv {

// Start-up: opens or creates the categories, projects and time-record databases in that
// order, loads categories and projects, and discards the time records when the projects
// database is new or empty. On failure every handle is closed.
StoreResult OpenStore(StoreContext& ctx);

bool CreateTimeDatabase(StoreContext& ctx);

// A new record identifier from the clock's digits (day, hour, minute, second), moved on one
// second at a time while a stored record already has it.
uint32_t NewRecordId(StoreContext& ctx);

// Writes the record (its own identifier is ignored) and hands back the new identifier.
StoreResult AddTimeRecord(StoreContext& ctx, const TimeRecord& record, uint32_t& newId);
// A time record from the properties it is stored with (the texts are taken out of props);
// false for properties no record is read from.
bool DecodeTimeRecord(std::vector<PropValue>& props, TimeRecord& record);
// Rewrites the stored record with the record's identifier.
StoreResult UpdateTimeRecord(StoreContext& ctx, const TimeRecord& record);
StoreResult DeleteTimeRecord(StoreContext& ctx, uint32_t recordId);
// Deletes every stored record of a project, loaded or not.
StoreResult DeleteProjectTimeRecords(StoreContext& ctx, uint32_t projectId);

// Replace timeRecords with the current project's records, or with every record, in
// identifier order. Failed, with nothing to tell, when the database holds no records.
StoreResult LoadTimeRecords(StoreContext& ctx);
StoreResult LoadAllTimeRecords(StoreContext& ctx);

// Exit: a database left without records is deleted.
bool DropEmptyTimeDatabase(StoreContext& ctx);
bool DropEmptyProjectsDatabase(StoreContext& ctx);

}  // namespace qv
