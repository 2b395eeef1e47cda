// Helpers shared by the store operations.
#include "store/store_context.h"

namespace qv {

StoreHandle OpenByName(ObjectStore& store, const std::u16string& name, CEOID& oid) {
    oid = 0;
    return store.CeOpenDatabase(oid, name, kSortPropertyId, CEDB_AUTOINCREMENT);
}

void CloseKeptHandle(ObjectStore& store, uint32_t& handle) {
    if (handle == StoreHandles::kInvalidHandle) return;
    if (handle != 0) store.CloseHandle(handle);
    handle = 0;
}

KeptDatabase TimeDatabase(StoreContext& ctx) {
    StoreHandles& kept = ctx.state.handles;
    return {kTimeDatabaseName, kept.timeHandle, kept.timeDatabaseId};
}

KeptDatabase ProjectsDatabase(StoreContext& ctx) {
    StoreHandles& kept = ctx.state.handles;
    return {kProjectsDatabaseName, kept.projectsHandle, kept.projectsDatabaseId};
}

KeptDatabase CategoriesDatabase(StoreContext& ctx) {
    StoreHandles& kept = ctx.state.handles;
    return {kCategoriesDatabaseName, kept.categoriesHandle, kept.categoriesDatabaseId};
}

bool Reopen(ObjectStore& store, KeptDatabase db) {
    CloseKeptHandle(store, db.handle);
    CEOID oid = 0;
    db.handle = OpenByName(store, db.name, oid);
    if (db.handle == kInvalidStoreHandle) return false;
    db.databaseId = oid;
    return true;
}

bool CreateAndOpen(ObjectStore& store, KeptDatabase db) {
    db.databaseId = store.CeCreateDatabase(db.name, 0);
    return Reopen(store, db);
}

StoreResult WriteNewRecord(StoreContext& ctx, KeptDatabase db,
                           const std::vector<PropValue>& props) {
    if (ctx.store.CeWriteRecordProps(db.handle, 0, props) == 0) {
        return StoreResult::Failed(StoreFault::Adding, db.name);
    }
    return {};
}

namespace {
// Reopens the database and finds the record: its record identifier, or 0 (with the failure
// told when the database would not open).
CEOID ReopenAndFind(StoreContext& ctx, KeptDatabase db, uint32_t key, StoreFault fault,
                    StoreResult& result) {
    if (!Reopen(ctx.store, db)) {
        result = StoreResult::Failed(fault, db.name);
        return 0;
    }
    const CEOID found = ctx.store.CeSeekDatabase(db.handle, CEDB_SEEK_VALUEFIRSTEQUAL, key);
    if (found == 0) result = StoreResult::Failed();
    return found;
}
}  // namespace

StoreResult RewriteStoredRecord(StoreContext& ctx, KeptDatabase db, uint32_t key,
                                const std::vector<PropValue>& props) {
    StoreResult result;
    const CEOID found = ReopenAndFind(ctx, db, key, StoreFault::Editing, result);
    if (found == 0) return result;
    if (ctx.store.CeWriteRecordProps(db.handle, found, props) == 0) {
        return StoreResult::Failed(StoreFault::Editing, db.name);
    }
    return result;
}

StoreResult DeleteStoredRecord(StoreContext& ctx, KeptDatabase db, uint32_t key) {
    StoreResult result;
    const CEOID found = ReopenAndFind(ctx, db, key, StoreFault::Deleting, result);
    if (found == 0) return result;
    if (!ctx.store.CeDeleteRecord(db.handle, found)) {
        return StoreResult::Failed(StoreFault::Deleting, db.name);
    }
    return result;
}

CalendarDate StoredDate(const std::vector<PropValue>& props, uint32_t dayProp, uint32_t monthProp,
                        uint32_t yearProp) {
    uint16_t day = 0, month = 0, year = 0;
    for (const PropValue& p : props) {
        if (p.propid == dayProp) day = static_cast<uint16_t>(p.ulVal);
        if (p.propid == monthProp) month = static_cast<uint16_t>(p.ulVal);
        if (p.propid == yearProp) year = static_cast<uint16_t>(p.ulVal);
    }
    return MakeDate(year, month, day);
}

}  // namespace qv
