// The time-record database: eight properties a record, always written together, ordered by
// the record identifier. Also the start-up sequence and the exit clean-up of the databases.
#include "store/record_store.h"

#include <algorithm>

#include "store/categories_store.h"
#include "store/projects_store.h"

namespace qv {
namespace {

constexpr uint32_t kProjectIdProp = PropId(1, CEVT_UI4);
constexpr uint32_t kDayProp = PropId(2, CEVT_UI4);
constexpr uint32_t kMonthProp = PropId(3, CEVT_UI4);
constexpr uint32_t kYearProp = PropId(4, CEVT_UI4);
constexpr uint32_t kCategoryProp = PropId(5, CEVT_LPWSTR);
constexpr uint32_t kMinutesProp = PropId(6, CEVT_LPWSTR);
constexpr uint32_t kMemoProp = PropId(7, CEVT_LPWSTR);
constexpr int32_t kMaxStoredMinutes = 1499;

std::vector<PropValue> RecordProps(const TimeRecord& r, uint32_t recordId) {
    return {PropValue::Number(kSortPropertyId, recordId),
            PropValue::Number(kProjectIdProp, r.projectId),
            PropValue::Number(kDayProp, r.date.day),
            PropValue::Number(kMonthProp, r.date.month),
            PropValue::Number(kYearProp, r.date.year),
            PropValue::String(kCategoryProp, r.category),
            PropValue::String(kMinutesProp, r.minutesText),
            PropValue::String(kMemoProp, r.memo.value_or(u" "))};
}

// The stored duration, when it lies within 0 to 1499 minutes; a missing one counts as 0.
std::optional<int32_t> StoredMinutes(const std::vector<PropValue>& props) {
    const Text* minutes = nullptr;
    for (const PropValue& p : props) {
        if (p.propid == kMinutesProp) minutes = &p.lpwstr;
    }
    if (minutes == nullptr || !*minutes) return 0;
    const int32_t t = ParseLong(**minutes);
    if (t < 0 || t > kMaxStoredMinutes) return std::nullopt;
    return t;
}

uint32_t StoredProject(const std::vector<PropValue>& props) {
    uint32_t project = 0;
    for (const PropValue& p : props) {
        if (p.propid == kProjectIdProp) project = p.ulVal;
    }
    return project;
}

// The count a stored duration text reads as; true when the text is already the one the
// program writes for it (plain digits, no leading zero), so the record can keep it as it is.
int32_t StoredCount(const std::u16string& text, bool& canonical) {
    const int32_t t = ParseLong(text);
    canonical = !text.empty() && text.size() <= 4 && (text[0] != u'0' || text.size() == 1);
    for (char16_t c : text) canonical = canonical && c >= u'0' && c <= u'9';
    return t;
}

// Fills a reset record from its stored properties, in whatever order they come, in one pass;
// where a property comes twice the last one counts (an empty category or an absent memo
// leaves the one before). The texts are taken out of props. False when the stored duration
// lies outside 0 to 1499 minutes; a missing duration counts as none. copiesAsItself tells
// whether the record is one CopyAsNew would give back value for value (its date is one the
// date texts can be built from).
bool DecodeRecord(std::vector<PropValue>& props, TimeRecord& r, bool& copiesAsItself) {
    PropValue* minutes = nullptr;
    PropValue* category = nullptr;
    PropValue* memo = nullptr;
    uint16_t day = 0, month = 0, year = 0;
    for (PropValue& p : props) {
        switch (p.propid) {
            case kSortPropertyId:
                r.recordId = p.ulVal;
                break;
            case kProjectIdProp:
                r.projectId = p.ulVal;
                break;
            case kDayProp:
                day = static_cast<uint16_t>(p.ulVal);
                break;
            case kMonthProp:
                month = static_cast<uint16_t>(p.ulVal);
                break;
            case kYearProp:
                year = static_cast<uint16_t>(p.ulVal);
                break;
            case kCategoryProp:
                if (p.lpwstr && !p.lpwstr->empty()) category = &p;
                break;
            case kMinutesProp:
                minutes = &p;
                break;
            case kMemoProp:
                if (p.lpwstr) memo = &p;
                break;
            default:
                break;
        }
    }
    int32_t count = 0;
    bool canonical = false;
    if (minutes != nullptr && minutes->lpwstr) count = StoredCount(*minutes->lpwstr, canonical);
    if (count < 0 || count > kMaxStoredMinutes) return false;
    if (category != nullptr) r.category = std::move(category->lpwstr);
    if (memo != nullptr) r.memo = std::move(memo->lpwstr);
    if (canonical) {
        r.minutesText = std::move(minutes->lpwstr);  // stored as the program writes it
    } else {
        r.minutesText = FormatDecimal(count);  // stored 0090 reads back as 90
    }
    copiesAsItself = SetDate(r, MakeDate(year, month, day));
    return true;
}

bool DecodeRecord(std::vector<PropValue>& props, TimeRecord& r) {
    bool copiesAsItself = false;
    return DecodeRecord(props, r, copiesAsItself);
}

StoreResult Unreadable() {
    return StoreResult::Failed(StoreFault::Unreadable);
}

enum class Keep { CurrentProject, All };

StoreResult Load(StoreContext& ctx, Keep keep) {
    AppState& s = ctx.state;
    StoreHandles& kept = s.handles;
    DatabaseInfo info;
    if (!Reopen(ctx.store, TimeDatabase(ctx)) ||
        !ctx.store.CeOidGetInfo(kept.timeDatabaseId, info)) {
        return Unreadable();
    }
    s.timeRecords.Clear();
    if (info.recordCount == 0) return StoreResult::Failed();  // "no records": nothing to tell
    // Each record is read into `decoded` and, when the list keeps it, moved there whole: a
    // record the setters built is its own copy. Another project's record is only checked.
    // The scratch record ends as the last record read, as if every one had passed through it.
    TimeRecord decoded;
    const TimeRecord* last = nullptr;
    std::vector<PropValue> props;
    for (uint32_t i = 0; i < info.recordCount; ++i) {
        if (ctx.store.CeReadRecordProps(kept.timeHandle, props) == 0) {
            CloseKeptHandle(ctx.store, kept.timeHandle);
            return Unreadable();
        }
        const bool keepIt = keep == Keep::All || StoredProject(props) == s.currentProject.projectId;
        if (!keepIt && i + 1 < info.recordCount) {
            if (!StoredMinutes(props)) return Unreadable();
            continue;
        }
        decoded = TimeRecord();
        Reset(decoded);
        bool copiesAsItself = false;
        if (!DecodeRecord(props, decoded, copiesAsItself)) return Unreadable();
        last = &decoded;
        if (keepIt) {
            TimeRecord* listed = copiesAsItself ? s.timeRecords.AppendMoved(std::move(decoded))
                                                : s.timeRecords.Append(decoded);
            if (listed != nullptr) last = listed;
        }
    }
    // Every page of the database was read once and none is needed again until the next full
    // read: their memory goes back now, before the list is built and painted.
    ctx.store.ReleaseReadPages();
    if (last != nullptr) {
        s.scratchRecord = *last;
    } else {
        s.scratchRecord = TimeRecord();
        Reset(s.scratchRecord);
    }
    return {};
}

// Opens a database of the start-up sequence, creating it when it does not exist; when it
// holds records, reads the first one and loads them all. records is its record count (0 for a
// new one).
StoreResult OpenOrCreate(StoreContext& ctx, KeptDatabase db, uint32_t& firstRecordId,
                         bool (*create)(StoreContext&), bool (*load)(StoreContext&),
                         uint16_t& records) {
    records = 0;
    if (!Reopen(ctx.store, db)) {
        if (create(ctx)) return {};
        return StoreResult::Failed(StoreFault::Building, db.name);
    }
    DatabaseInfo info;
    if (!ctx.store.CeOidGetInfo(db.databaseId, info)) {
        CloseKeptHandle(ctx.store, db.handle);
        return StoreResult::Failed(StoreFault::BuildingHalted);
    }
    records = info.recordCount;
    if (records == 0) return {};
    std::vector<PropValue> props;
    firstRecordId = ctx.store.CeReadRecordProps(db.handle, props);
    if (firstRecordId == 0) return StoreResult::Failed();
    if (!load(ctx)) return StoreResult::Failed(StoreFault::Building, db.name);
    return {};
}

bool DropIfEmpty(StoreContext& ctx, KeptDatabase db) {
    CloseKeptHandle(ctx.store, db.handle);
    CEOID oid = 0;
    StoreHandle h = OpenByName(ctx.store, db.name, oid);
    if (h == kInvalidStoreHandle) return false;
    ctx.store.CloseHandle(h);
    DatabaseInfo info;
    if (!ctx.store.CeOidGetInfo(oid, info)) return false;
    if (info.recordCount != 0) return true;
    return ctx.store.CeDeleteDatabase(oid);
}

StoreResult OpenStoreSteps(StoreContext& ctx) {
    StoreHandles& kept = ctx.state.handles;
    uint16_t records = 0;

    StoreResult opened = OpenOrCreate(ctx, CategoriesDatabase(ctx), kept.firstCategoryRecordId,
                                      CreateCategoryStore, LoadCategories, records);
    if (!opened) return opened;
    opened = OpenOrCreate(ctx, ProjectsDatabase(ctx), kept.firstProjectRecordId,
                          CreateProjectsDatabase, LoadProjects, records);
    if (!opened) return opened;

    // No time record outlives the projects it was booked to.
    if (records == 0) {
        CEOID oid = 0;
        StoreHandle old = OpenByName(ctx.store, kTimeDatabaseName, oid);
        if (old != kInvalidStoreHandle) {
            ctx.store.CloseHandle(old);
            if (!ctx.store.CeDeleteDatabase(oid)) return StoreResult::Failed();
        }
    }

    if (!Reopen(ctx.store, TimeDatabase(ctx)) && !CreateTimeDatabase(ctx)) {
        return StoreResult::Failed(StoreFault::Building, kTimeDatabaseName);
    }
    return {};
}

}  // namespace

StoreResult OpenStore(StoreContext& ctx) {
    StoreResult opened = OpenStoreSteps(ctx);
    if (opened) return opened;
    StoreHandles& kept = ctx.state.handles;
    CloseKeptHandle(ctx.store, kept.categoriesHandle);
    CloseKeptHandle(ctx.store, kept.projectsHandle);
    CloseKeptHandle(ctx.store, kept.timeHandle);
    return opened;
}

bool CreateTimeDatabase(StoreContext& ctx) {
    return CreateAndOpen(ctx.store, TimeDatabase(ctx));
}

uint32_t NewRecordId(StoreContext& ctx) {
    const CalendarDate now = ctx.clock.GetSystemTime();
    StoreHandles& kept = ctx.state.handles;
    if (kept.timeHandle == 0 || kept.timeHandle == kInvalidStoreHandle) return ClockDigitsId(now);
    DatabaseInfo info;
    const bool counted = ctx.store.CeOidGetInfo(kept.timeDatabaseId, info);
    return ctx.timeIds.Find(ctx.store, kept.timeHandle, kept.timeDatabaseId,
                            counted ? std::optional<uint32_t>(info.recordCount) : std::nullopt,
                            now);
}

bool DecodeTimeRecord(std::vector<PropValue>& props, TimeRecord& record) {
    return DecodeRecord(props, record);
}

StoreResult AddTimeRecord(StoreContext& ctx, const TimeRecord& record, uint32_t& newId) {
    StoreHandles& kept = ctx.state.handles;
    DatabaseInfo info;
    if (ctx.store.CeOidGetInfo(kept.timeDatabaseId, info) && info.recordCount >= kMaxListRecords) {
        return StoreResult::Failed(StoreFault::TooManyRecords);
    }
    newId = NewRecordId(ctx);
    StoreResult written = WriteNewRecord(ctx, TimeDatabase(ctx), RecordProps(record, newId));
    if (written) ctx.timeIds.Written();
    return written;
}

StoreResult UpdateTimeRecord(StoreContext& ctx, const TimeRecord& record) {
    return RewriteStoredRecord(ctx, TimeDatabase(ctx), record.recordId,
                               RecordProps(record, record.recordId));
}

StoreResult DeleteTimeRecord(StoreContext& ctx, uint32_t recordId) {
    StoreResult deleted = DeleteStoredRecord(ctx, TimeDatabase(ctx), recordId);
    if (deleted) ctx.timeIds.Deleted(recordId);
    return deleted;
}

StoreResult DeleteProjectTimeRecords(StoreContext& ctx, uint32_t projectId) {
    StoreHandles& kept = ctx.state.handles;
    DatabaseInfo info;
    if (!Reopen(ctx.store, TimeDatabase(ctx)) ||
        !ctx.store.CeOidGetInfo(kept.timeDatabaseId, info)) {
        return Unreadable();
    }
    if (info.recordCount == 0) return StoreResult::Failed();
    // Every stored record is read and checked first; the project's are then deleted by their
    // own object identifiers, so a record identifier shared with another project's record
    // (possible in data from older versions) can never take the wrong one.
    std::vector<CEOID> doomed;
    TimeRecord r;
    std::vector<PropValue> props;
    for (uint32_t i = 0; i < info.recordCount; ++i) {
        r = TimeRecord();
        Reset(r);
        const CEOID oid = ctx.store.CeReadRecordProps(kept.timeHandle, props);
        if (oid == 0 || !DecodeRecord(props, r)) return Unreadable();
        if (r.projectId == projectId) doomed.push_back(oid);
    }
    // All of them or none: one change, and thousands of records in one write to disk.
    StoreTransaction change(ctx.store);
    for (CEOID oid : doomed) {
        if (!ctx.store.CeDeleteRecord(kept.timeHandle, oid)) {
            return StoreResult::Failed(StoreFault::Deleting, kTimeDatabaseName);
        }
    }
    if (!change.Commit()) return StoreResult::Failed(StoreFault::Deleting, kTimeDatabaseName);
    return {};
}

StoreResult LoadTimeRecords(StoreContext& ctx) {
    return Load(ctx, Keep::CurrentProject);
}
StoreResult LoadAllTimeRecords(StoreContext& ctx) {
    return Load(ctx, Keep::All);
}

bool DropEmptyTimeDatabase(StoreContext& ctx) {
    return DropIfEmpty(ctx, TimeDatabase(ctx));
}

bool DropEmptyProjectsDatabase(StoreContext& ctx) {
    return DropIfEmpty(ctx, ProjectsDatabase(ctx));
}

}  // namespace qv
