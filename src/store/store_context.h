// What the store operations work on: the program's state, the object store and the clock for
// new identifiers. The operations tell their failures through the result they return.
#pragma once

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/calendar.h"
#include "platform/objectstore/object_store.h"
#include "store/record_ids.h"
#include "store/store_result.h"

namespace qv {

inline constexpr char16_t kTimeDatabaseName[] = u"Brumo Quorvella";
inline constexpr char16_t kProjectsDatabaseName[] = u"Brumo QuorvellaPr";
inline constexpr char16_t kCategoriesDatabaseName[] = u"Brumo QuorvellaCustom";

struct StoreContext {
    AppState& state;
    ObjectStore& store;
    const Clock& clock;
    RecordIdSearch timeIds = {};  // what finding new time record identifiers has learnt
};

// Opens a database by name with the one sort order and auto-increment reads; fills in its
// identifier. The invalid handle when it does not exist.
StoreHandle OpenByName(ObjectStore& store, const std::u16string& name, CEOID& oid);

// Closes a kept handle unless it is the invalid value; it is 0 afterwards.
void CloseKeptHandle(ObjectStore& store, uint32_t& handle);

// A database of the program, and the handle and identifier kept for it.
struct KeptDatabase {
    const char16_t* name;
    uint32_t& handle;
    uint32_t& databaseId;
};
KeptDatabase TimeDatabase(StoreContext& ctx);
KeptDatabase ProjectsDatabase(StoreContext& ctx);
KeptDatabase CategoriesDatabase(StoreContext& ctx);

// Opens the database by name, keeping handle and identifier (after closing a kept handle).
// The handle is the invalid value when the database does not exist.
bool Reopen(ObjectStore& store, KeptDatabase db);
// Creates the database with the one sort order, then opens it.
bool CreateAndOpen(ObjectStore& store, KeptDatabase db);

// Writes a new record through the kept handle as it stands; a failure is Adding, named.
StoreResult WriteNewRecord(StoreContext& ctx, KeptDatabase db, const std::vector<PropValue>& props);
// Reopens the database, finds the stored record whose property 0 equals key and replaces its
// properties / deletes it. A failed open or write is Editing / Deleting, named; a missing
// record fails untold.
StoreResult RewriteStoredRecord(StoreContext& ctx, KeptDatabase db, uint32_t key,
                                const std::vector<PropValue>& props);
StoreResult DeleteStoredRecord(StoreContext& ctx, KeptDatabase db, uint32_t key);

// The date a record keeps as day, month and year properties, in whatever order they come; a
// missing one reads as 0.
CalendarDate StoredDate(const std::vector<PropValue>& props, uint32_t dayProp, uint32_t monthProp,
                        uint32_t yearProp);

}  // namespace qv
