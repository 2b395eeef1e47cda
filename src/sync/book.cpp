// Reading the book through the store layer's own decoders.
#include "sync/book.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"

namespace qv::sync {
namespace {

// Opens the database on a scratch state and notes its first record, as start-up does, so the
// store layer's loader can read it. False when the database does not exist or is empty.
bool OpenForLoading(ObjectStore& store, KeptDatabase db, uint32_t& firstRecord) {
    if (!Reopen(store, db)) return false;
    std::vector<PropValue> props;
    firstRecord = store.CeReadRecordProps(db.handle, props);
    return firstRecord != 0;
}

void CloseAll(ObjectStore& store, StoreHandles& kept) {
    CloseKeptHandle(store, kept.categoriesHandle);
    CloseKeptHandle(store, kept.projectsHandle);
    CloseKeptHandle(store, kept.timeHandle);
}

}  // namespace

std::string DateText(const CalendarDate& date) {
    std::string text = "0000-00-00";
    const auto digits = [&text](size_t end, unsigned value, int count) {
        for (int i = 1; i <= count; ++i, value /= 10)
            text[end - i] = static_cast<char>('0' + value % 10);
    };
    digits(4, date.year, 4);
    digits(7, date.month, 2);
    digits(10, date.day, 2);
    return text;
}

bool ParseDate(std::string_view text, CalendarDate& date) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    unsigned y = 0, m = 0, d = 0;
    const auto number = [&](size_t at, size_t size, unsigned& value) {
        const char* end = text.data() + at + size;
        const auto r = std::from_chars(text.data() + at, end, value);
        return r.ec == std::errc() && r.ptr == end;
    };
    if (!number(0, 4, y) || !number(5, 2, m) || !number(8, 2, d)) return false;
    date = MakeDate(static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d));
    return true;
}

std::string ProjectText(const Text& text) {
    return text ? ToUtf8(*text) : std::string();
}

std::vector<std::string> RecordContent(const TimeRecord& r, const std::string& project) {
    return {DateText(r.date), ProjectText(r.minutesText), project, ProjectText(r.category),
            ProjectText(r.memo)};
}

bool ReadBook(StoreContext& ctx, Book& book) {
    book = Book();
    auto scratch = std::make_unique<AppState>();
    StoreContext sc{*scratch, ctx.store, ctx.clock};
    StoreHandles& kept = scratch->handles;
    bool ok = true;
    if (OpenForLoading(ctx.store, CategoriesDatabase(sc), kept.firstCategoryRecordId))
        ok = LoadCategories(sc);
    if (ok && OpenForLoading(ctx.store, ProjectsDatabase(sc), kept.firstProjectRecordId))
        ok = LoadProjects(sc);
    if (!ok) {
        CloseAll(ctx.store, kept);
        return false;
    }
    for (CategoryItem* c = scratch->categories.First(); c != nullptr;
         c = scratch->categories.Next())
        book.categories.push_back(ProjectText(c->name));
    std::unordered_map<uint32_t, std::string> projectNames;
    for (ProjectRecord* p = scratch->projects.First(); p != nullptr; p = scratch->projects.Next()) {
        if (!p->name) continue;
        BookProject& bp = book.projects.emplace_back();
        bp.id = p->projectId;
        bp.name = ToUtf8(*p->name);
        bp.created = DateText(p->date);
        bp.description = ProjectText(p->description);
        projectNames.emplace(bp.id, bp.name);
    }

    if (Reopen(ctx.store, TimeDatabase(sc))) {
        DatabaseInfo info;
        ok = ctx.store.CeOidGetInfo(kept.timeDatabaseId, info);
        book.storedRecords = ok ? info.recordCount : 0;
        book.records.reserve(book.storedRecords);
        std::unordered_set<uint32_t> seen;
        std::vector<PropValue> props;
        TimeRecord r;
        for (size_t i = 0; ok && i < book.storedRecords; ++i) {
            const CEOID oid = ctx.store.CeReadRecordProps(kept.timeHandle, props);
            if (oid == 0) {
                ok = false;
                break;
            }
            r = TimeRecord();
            Reset(r);
            if (!DecodeTimeRecord(props, r)) {
                ok = false;
                break;
            }
            auto project = projectNames.find(r.projectId);
            // A record of no project is not shown by the program and does not travel.
            if (project == projectNames.end() || !seen.insert(r.recordId).second) continue;
            book.records.push_back({r.recordId, oid, RecordContent(r, project->second)});
        }
    }
    CloseAll(ctx.store, kept);
    return ok;
}

}  // namespace qv::sync
