// The changes that reach many stored records at once, each inside one store transaction.
#include "store/batch_changes.h"

#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"

namespace qv {
namespace {

// Renames (or, without a new name, deletes) every stored record of the category as one change
// of its own, then loads the current project's records again.
void ApplyToRecords(StoreContext& ctx, const std::u16string& name, const Text& newName,
                    StoreResult& told) {
    AppState& s = ctx.state;
    const StoreFault fault = newName ? StoreFault::Editing : StoreFault::Deleting;
    s.recordsChanged = false;
    if (told.Take(LoadAllTimeRecords(ctx))) {
        StoreTransaction change(ctx.store);
        bool ok = change.ok();
        if (!ok) told.Tell(fault, kTimeDatabaseName);
        bool changed = false;
        for (TimeRecord* r = s.timeRecords.First(); ok && r != nullptr; r = s.timeRecords.Next()) {
            if (r->category != name) continue;  // exact: work is not Work
            if (newName) {
                SetCategory(*r, newName);
                ok = told.Take(UpdateTimeRecord(ctx, *r));
            } else {
                ok = told.Take(DeleteTimeRecord(ctx, r->recordId));
            }
            changed = changed || ok;
        }
        if (ok && changed && !change.Commit()) {
            told.Tell(fault, kTimeDatabaseName);
            ok = false;
        }
        if (!ok) told.Fail();
        s.recordsChanged = ok && changed;
    }
    told.Take(LoadTimeRecords(ctx));
}

// Commits the outer change of a category edit; a failed commit undid the records as well.
void CommitCategoryChange(StoreContext& ctx, StoreTransaction& change, bool grouped,
                          StoreFault fault, StoreResult& told) {
    if (change.Commit() || !grouped) return;
    told.Tell(fault, kCategoriesDatabaseName);
    told.Fail();
    ctx.state.recordsChanged = false;
    told.Take(LoadTimeRecords(ctx));
}

}  // namespace

StoreResult DeleteTimeRecords(StoreContext& ctx, TimeRecordList& records) {
    StoreResult told;
    StoreTransaction change(ctx.store);
    bool ok = change.ok();
    if (!ok) told.Tell(StoreFault::Deleting, kTimeDatabaseName);
    for (TimeRecord* r = records.First(); ok && r != nullptr; r = records.Next()) {
        ok = told.Take(DeleteTimeRecord(ctx, r->recordId));
    }
    if (ok && !change.Commit()) {
        told.Tell(StoreFault::Deleting, kTimeDatabaseName);
        ok = false;
    }
    if (!ok) told.Fail();
    return told;
}

StoreResult SaveCategoryRename(StoreContext& ctx, const std::u16string& oldName,
                               const std::u16string& newName, bool records) {
    StoreResult told;
    StoreTransaction change(ctx.store);
    const bool grouped = change.ok();
    if (!told.Take(SaveCategories(ctx))) {
        told.Fail();
    } else if (records) {
        ApplyToRecords(ctx, oldName, newName, told);
    }
    CommitCategoryChange(ctx, change, grouped, StoreFault::Editing, told);
    return told;
}

StoreResult SaveCategoryDeletion(StoreContext& ctx, const std::u16string& name, bool records) {
    StoreResult told;
    StoreTransaction change(ctx.store);
    const bool grouped = change.ok();
    if (!told.Take(SaveCategories(ctx))) told.Fail();
    if (records) ApplyToRecords(ctx, name, std::nullopt, told);
    CommitCategoryChange(ctx, change, grouped, StoreFault::Deleting, told);
    return told;
}

StoreResult DeleteProjectWithRecords(StoreContext& ctx, uint32_t projectId) {
    StoreTransaction change(ctx.store);
    const bool grouped = change.ok();
    StoreResult told = DeleteProjectRecord(ctx, projectId);
    if (!told) return told;
    told.Take(DeleteProjectTimeRecords(ctx, projectId));
    if (!change.Commit() && grouped) {
        told.Tell(StoreFault::Deleting, kProjectsDatabaseName);
        told.Fail();
    }
    return told;
}

}  // namespace qv
