// Helpers shared by the store operations.
#include "store/store_context.h"

#include "res/string_table.h"

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

bool WriteNewRecord(StoreContext& ctx, KeptDatabase db, const std::vector<PropValue>& props) {
    if (ctx.store.CeWriteRecordProps(db.handle, 0, props) == 0) {
        ShowNamedNotice(ctx.shell, kStrErrorAdding, db.name);
        return false;
    }
    return true;
}

namespace {
// Reopens the database and finds the record: its record identifier, or 0. An open failure
// shows the named message of messageId.
CEOID ReopenAndFind(StoreContext& ctx, KeptDatabase db, uint32_t key, uint32_t messageId) {
    if (!Reopen(ctx.store, db)) {
        ShowNamedNotice(ctx.shell, messageId, db.name);
        return 0;
    }
    return ctx.store.CeSeekDatabase(db.handle, CEDB_SEEK_VALUEFIRSTEQUAL, key);
}
}  // namespace

bool RewriteStoredRecord(StoreContext& ctx, KeptDatabase db, uint32_t key,
                         const std::vector<PropValue>& props) {
    const CEOID found = ReopenAndFind(ctx, db, key, kStrErrorEditing);
    if (found == 0) return false;
    if (ctx.store.CeWriteRecordProps(db.handle, found, props) == 0) {
        ShowNamedNotice(ctx.shell, kStrErrorEditing, db.name);
        return false;
    }
    return true;
}

bool DeleteStoredRecord(StoreContext& ctx, KeptDatabase db, uint32_t key) {
    const CEOID found = ReopenAndFind(ctx, db, key, kStrErrorDeleting);
    if (found == 0) return false;
    if (!ctx.store.CeDeleteRecord(db.handle, found)) {
        ShowNamedNotice(ctx.shell, kStrErrorDeleting, db.name);
        return false;
    }
    return true;
}

void ShowNamedNotice(Shell& shell, uint32_t stringId, const std::u16string& databaseName) {
    ShowNotice(shell, NamedMessage(stringId, databaseName));
}

}  // namespace qv
