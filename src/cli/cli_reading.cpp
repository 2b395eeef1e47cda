// Reading beside the program's state, and loading a store that is only looked at.
#include "cli/cli_reading.h"

#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"

namespace qv::cli {

ReadingState::ReadingState(StoreContext& live, bool leaveRecords)
    : ctx{state, live.store, live.clock}, leaveRecords_(leaveRecords) {
    const AppState& from = live.state;
    state.settings = from.settings;
    for (CategoryItem* c : ItemsOf<CategoryItem>(from.categories)) state.categories.Add(*c);
    for (ProjectRecord* p : ItemsOf<ProjectRecord>(from.projects)) state.projects.Append(*p);
    CopyFrom(state.currentProject, from.currentProject);
    state.mainSortColumn = from.mainSortColumn;
    state.mainSortOrder = from.mainSortOrder;
}

ReadingState::~ReadingState() {
    CloseKeptHandle(ctx.store, state.handles.timeHandle);
#if !defined(__SANITIZE_ADDRESS__)  // under the address checker whatever is left is a leak
    if (leaveRecords_) (void)state.timeRecords.Detach();
#endif
}

namespace {
bool Loaded(const StoreResult& result) {
    return result.ok() || result.failures().empty();  // an empty database has nothing to tell
}
}  // namespace

bool ReadingState::LoadProject(uint32_t projectId) {
    state.currentProject.projectId = projectId;
    if (!Loaded(LoadTimeRecords(ctx))) return false;
    return SortByDate(state);
}

bool ReadingState::LoadAll() {
    return Loaded(LoadAllTimeRecords(ctx));
}

namespace {
// Opens a database that is there and reads its first record, as start-up does before loading
// it; true with nothing loaded when the database is missing or empty.
bool OpenAndLoad(StoreContext& ctx, KeptDatabase db, uint32_t& firstRecordId,
                 bool (*load)(StoreContext&)) {
    if (!Reopen(ctx.store, db)) {
        db.handle = StoreHandles::kInvalidHandle;
        return true;
    }
    DatabaseInfo info;
    if (!ctx.store.CeOidGetInfo(db.databaseId, info)) return false;
    if (info.recordCount == 0) return true;
    std::vector<PropValue> props;
    firstRecordId = ctx.store.CeReadRecordProps(db.handle, props);
    return firstRecordId != 0 && load(ctx);
}
}  // namespace

bool LoadForLooking(StoreContext& ctx) {
    StoreHandles& kept = ctx.state.handles;
    return OpenAndLoad(ctx, CategoriesDatabase(ctx), kept.firstCategoryRecordId, LoadCategories) &&
           OpenAndLoad(ctx, ProjectsDatabase(ctx), kept.firstProjectRecordId, LoadProjects);
}

}  // namespace qv::cli
