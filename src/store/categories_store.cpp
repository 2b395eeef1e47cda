// The categories database. Each record holds the category's position (property 0, which
// orders the database) and its name (property 1).
#include "store/categories_store.h"

namespace qv {
namespace {
constexpr uint32_t kCategoryNameProp = PropId(1, CEVT_LPWSTR);  // 0x0001001F
}  // namespace

bool CreateCategoryStore(StoreContext& ctx) {
    return CreateAndOpen(ctx.store, CategoriesDatabase(ctx));
}

bool LoadCategories(StoreContext& ctx) {
    StoreHandles& kept = ctx.state.handles;
    DatabaseInfo info;
    if (!ctx.store.CeOidGetInfo(kept.categoriesDatabaseId, info) || info.recordCount == 0) {
        return false;
    }
    if (ctx.store.CeSeekDatabase(kept.categoriesHandle, CEDB_SEEK_CEOID,
                                 kept.firstCategoryRecordId) == 0) {
        return false;
    }
    std::vector<PropValue> props;
    for (uint32_t i = 0; i < info.recordCount; ++i) {
        if (ctx.store.CeReadRecordProps(kept.categoriesHandle, props) == 0) return false;
        for (const PropValue& p : props) {
            if (p.propid != kCategoryNameProp) continue;
            CategoryItem item;
            if (SetName(item, p.lpwstr)) ctx.state.categories.Add(item);
        }
    }
    return true;
}

StoreResult SaveCategories(StoreContext& ctx) {
    StoreHandles& kept = ctx.state.handles;
    if (kept.categoriesHandle != 0 && kept.categoriesHandle != kInvalidStoreHandle) {
        ctx.store.CloseHandle(kept.categoriesHandle);
        kept.categoriesHandle = 0;
    }

    // The old database goes and the new one is written in one change, so the category list
    // is never lost half way.
    StoreTransaction change(ctx.store);
    CEOID oid = 0;
    StoreHandle old = OpenByName(ctx.store, kCategoriesDatabaseName, oid);
    if (old != kInvalidStoreHandle) {
        ctx.store.CloseHandle(old);
        if (!ctx.store.CeDeleteDatabase(oid)) return StoreResult::Failed();
    }
    if (ctx.state.categories.Count() == 0) {
        return change.Commit() ? StoreResult() : StoreResult::Failed();
    }

    ctx.store.CeCreateDatabase(kCategoriesDatabaseName, 0);
    StoreHandle handle = OpenByName(ctx.store, kCategoriesDatabaseName, oid);
    bool ok = handle != kInvalidStoreHandle;
    uint32_t counter = 0;
    for (CategoryItem* c = ctx.state.categories.First(); ok && c != nullptr;
         c = ctx.state.categories.Next()) {
        std::vector<PropValue> props = {PropValue::Number(kSortPropertyId, counter++),
                                        PropValue::String(kCategoryNameProp, c->name)};
        ok = ctx.store.CeWriteRecordProps(handle, 0, props) != 0;
    }
    if (handle != kInvalidStoreHandle) ctx.store.CloseHandle(handle);
    kept.categoriesHandle = 0;
    if (ok) ok = change.Commit();
    if (!ok) return StoreResult::Failed(StoreFault::Editing, kCategoriesDatabaseName);
    kept.categoriesDatabaseId = oid;  // only now: a rolled-back database never existed
    return {};
}

}  // namespace qv
