// The merge: each incoming change against the ledger, written through the store layer.
#include "sync/merge.h"

#include <algorithm>

#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"

namespace qv::sync {
namespace {

// The record a put describes; false when its content is not one the program could have made.
bool BuildRecord(const std::vector<std::string>& fields, TimeRecord& r) {
    Reset(r);
    CalendarDate date;
    const std::string& minutes = fields[kMinutes];
    if (!ParseDate(fields[kDate], date) || !SetDate(r, date) || fields[kProject].empty() ||
        minutes.empty() || minutes.size() > 4 || (minutes[0] == '0' && minutes.size() > 1) ||
        !std::all_of(minutes.begin(), minutes.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
        std::stoi(minutes) > 1499 || !SetMinutes(r, FromUtf8(minutes)))
        return false;
    if (!fields[kCategory].empty()) qv::SetCategory(r, FromUtf8(fields[kCategory]));
    SetMemo(r, FromUtf8(fields[kMemo]));
    return true;
}

bool Told(const StoreResult& result) {
    return !result.failures().empty();
}

}  // namespace

Merge::Merge(StoreContext& ctx, Ledger& ledger, Book& book)
    : ctx_(ctx), ledger_(ledger), book_(book) {
    for (const BookProject& p : book_.projects) projectIds_.emplace(p.name, p.id);
}

Merge::~Merge() {
    CloseRecords();
}

void Merge::CloseRecords() {
    if (records_ != kInvalidStoreHandle) ctx_.store.CloseHandle(records_);
    records_ = kInvalidStoreHandle;
}

Outcome Merge::Apply(const Change& c) {
    const Stamp stamp{c.clock, c.computer};
    switch (c.kind) {
        case Kind::RecordPut:
            return PutRecord(c, stamp);
        case Kind::RecordDeleted:
            return DeleteRecord(c, stamp);
        case Kind::ProjectPut:
            return PutProject(c, stamp);
        case Kind::ProjectDeleted:
            return DeleteProject(c, stamp);
        case Kind::CategoryPut:
            return SetCategory(c, stamp, true);
        case Kind::CategoryDeleted:
            return SetCategory(c, stamp, false);
    }
    return Outcome::Noted;
}

bool Merge::ReadyRecords() {
    if (recordsReady_) return true;
    recordsReady_ = Reopen(ctx_.store, TimeDatabase(ctx_)) || CreateTimeDatabase(ctx_);
    CEOID oid = 0;
    if (recordsReady_) records_ = OpenByName(ctx_.store, kTimeDatabaseName, oid);
    recordsReady_ = records_ != kInvalidStoreHandle;
    return recordsReady_;
}

// New projects take identifiers not held by any listed project, so the list is made to hold
// what the store holds first.
bool Merge::ReadyProjects() {
    if (projectsReady_) return true;
    if (!Reopen(ctx_.store, ProjectsDatabase(ctx_)) && !CreateProjectsDatabase(ctx_)) return false;
    AppState& s = ctx_.state;
    s.projects.Clear();
    for (const BookProject& p : book_.projects) {
        Reset(s.scratchProject);
        s.scratchProject.projectId = p.id;
        s.scratchProject.name = FromUtf8(p.name);
        s.projects.Append(s.scratchProject);
    }
    projectsReady_ = true;
    return true;
}

Outcome Merge::EnsureProject(const std::string& name, const CalendarDate& fallback, uint32_t& id) {
    auto it = projectIds_.find(name);
    if (it != projectIds_.end()) {
        id = it->second;
        return Outcome::Noted;
    }
    if (projectIds_.size() >= projectLimit_) return Outcome::Limit;
    if (!ReadyProjects()) return Outcome::Failed;
    ProjectRecord p;
    Reset(p);
    p.name = FromUtf8(name);
    CalendarDate created = fallback;
    const ProjectEntry* e = ledger_.FindProject(name);
    if (e != nullptr && !e->putStamp.computer.empty()) {
        ParseDate(e->created, created);
        p.description = FromUtf8(e->description);
    } else {
        p.description = u"";
    }
    SetDate(p, created);
    if (!AddProjectRecord(ctx_, p, p.projectId)) return Outcome::Failed;
    ctx_.state.projects.Append(p);
    id = p.projectId;
    projectIds_.emplace(name, id);
    BookProject& bp = book_.projects.emplace_back();
    bp.id = id;
    bp.name = name;
    bp.created = DateText(p.date);
    bp.description = ProjectText(p.description);
    ProjectEntry& entry = ledger_.Project(name);
    entry.localId = id;
    if (entry.putStamp.computer.empty()) {
        entry.created = bp.created;
        entry.description = bp.description;
    }
    return Outcome::Changed;
}

Outcome Merge::PutRecord(const Change& c, const Stamp& stamp) {
    const RecordEntry* old = ledger_.FindRecord(c.key);
    if (old != nullptr && !(old->stamp < stamp)) return Outcome::Noted;  // a later one is in
    TimeRecord r;
    if (!BuildRecord(c.fields, r)) return Outcome::Noted;  // not a record: passed over
    const std::string& project = c.fields[kProject];
    std::optional<uint32_t> localId = old != nullptr ? old->localId : std::nullopt;
    uint32_t oid = old != nullptr ? old->oid : 0;
    if (!localId && book_.storedRecords >= kMaxListRecords) return Outcome::Limit;
    const Outcome made = EnsureProject(project, r.date, r.projectId);
    if (made == Outcome::Limit || made == Outcome::Failed) return made;
    if (!ReadyRecords()) return Outcome::Failed;
    if (localId) {
        r.recordId = *localId;
        const StoreResult updated = UpdateTimeRecord(ctx_, r);
        if (!updated && Told(updated)) return Outcome::Failed;
        if (!updated) localId.reset();  // no longer stored: written anew
    }
    if (!localId) {
        uint32_t id = 0;
        if (!AddTimeRecord(ctx_, r, id)) return Outcome::Failed;
        ++book_.storedRecords;
        localId = id;
        oid = ctx_.store.CeSeekDatabase(records_, CEDB_SEEK_VALUEFIRSTEQUAL, id);
        if (oid == 0) return Outcome::Failed;
    }
    const std::string oldProject =
        old != nullptr && old->present ? old->content[kProject] : std::string();
    RecordEntry entry;
    entry.stamp = stamp;
    entry.present = true;
    entry.localId = localId;
    entry.oid = oid;
    entry.content = RecordContent(r, project);
    ledger_.SetRecord(c.key, std::move(entry));
    if (!oldProject.empty() && oldProject != project && DropIfUnused(oldProject) == Outcome::Failed)
        return Outcome::Failed;
    return Outcome::Changed;
}

Outcome Merge::DeleteRecord(const Change& c, const Stamp& stamp) {
    const RecordEntry* old = ledger_.FindRecord(c.key);
    if (old != nullptr && !(old->stamp < stamp)) return Outcome::Noted;
    Outcome outcome = Outcome::Noted;
    std::string oldProject;
    if (old != nullptr && old->present) oldProject = old->content[kProject];
    if (old != nullptr && old->localId) {
        const StoreResult deleted = DeleteTimeRecord(ctx_, *old->localId);
        if (!deleted && Told(deleted)) return Outcome::Failed;
        if (deleted && book_.storedRecords > 0) --book_.storedRecords;
        outcome = Outcome::Changed;
    }
    RecordEntry entry;
    entry.stamp = stamp;
    ledger_.SetRecord(c.key, std::move(entry));
    if (!oldProject.empty() && DropIfUnused(oldProject) == Outcome::Failed) return Outcome::Failed;
    return outcome;
}

Outcome Merge::PutProject(const Change& c, const Stamp& stamp) {
    CalendarDate created;
    ProjectRecord checked;
    if (c.key.empty() || !ParseDate(c.fields[0], created) || !SetDate(checked, created))
        return Outcome::Noted;
    const ProjectEntry* old = ledger_.FindProject(c.key);
    const bool winner = old == nullptr || old->stamp < stamp;
    const bool latestPut = old == nullptr || old->putStamp < stamp;
    if (!latestPut) return Outcome::Noted;
    auto local = projectIds_.find(c.key);
    const bool present = winner || old->put || ledger_.Named(c.key) > 0;
    if (local == projectIds_.end() && present && projectIds_.size() >= projectLimit_)
        return Outcome::Limit;
    ProjectEntry& e = ledger_.Project(c.key);
    if (winner) {
        e.stamp = stamp;
        e.put = true;
    }
    e.putStamp = stamp;
    e.created = DateText(created);
    e.description = c.fields[1];
    if (local != projectIds_.end()) {
        auto bp = std::find_if(book_.projects.begin(), book_.projects.end(),
                               [&](const BookProject& p) { return p.name == c.key; });
        if (bp == book_.projects.end() ||
            (bp->created == e.created && bp->description == e.description))
            return Outcome::Noted;
        ProjectRecord p;
        Reset(p);
        p.projectId = local->second;
        p.name = FromUtf8(c.key);
        p.description = FromUtf8(e.description);
        SetDate(p, created);
        if (!ReadyProjects() || !UpdateProjectRecord(ctx_, p)) return Outcome::Failed;
        bp->created = e.created;
        bp->description = e.description;
        return Outcome::Changed;
    }
    if (!present) return Outcome::Noted;
    uint32_t id = 0;
    return EnsureProject(c.key, created, id);
}

Outcome Merge::DeleteProject(const Change& c, const Stamp& stamp) {
    const ProjectEntry* old = ledger_.FindProject(c.key);
    if (old != nullptr && !(old->stamp < stamp)) return Outcome::Noted;
    ProjectEntry& e = ledger_.Project(c.key);
    e.stamp = stamp;
    e.put = false;
    return DropIfUnused(c.key);
}

Outcome Merge::DropIfUnused(const std::string& project) {
    ProjectEntry* e = ledger_.FindProject(project);
    if (e == nullptr || e->put || ledger_.Named(project) > 0) return Outcome::Noted;
    auto local = projectIds_.find(project);
    if (local == projectIds_.end()) return Outcome::Noted;
    if (!ReadyProjects()) return Outcome::Failed;
    const StoreResult deleted = DeleteProjectRecord(ctx_, local->second);
    if (!deleted && Told(deleted)) return Outcome::Failed;
    ProjectList& listed = ctx_.state.projects;
    if (const ProjectRecord* p =
            listed.FindFirst([&](const ProjectRecord& r) { return r.projectId == local->second; }))
        listed.RemoveAt(p->position);
    std::erase_if(book_.projects, [&](const BookProject& p) { return p.name == project; });
    projectIds_.erase(local);
    ledger_.Project(project).localId.reset();
    return Outcome::Changed;
}

Outcome Merge::SetCategory(const Change& c, const Stamp& stamp, bool put) {
    if (c.key.empty()) return Outcome::Noted;
    auto old = ledger_.Categories().find(c.key);
    const bool wasPut = old != ledger_.Categories().end() && old->second.put;
    if (old != ledger_.Categories().end() && !(old->second.stamp < stamp)) return Outcome::Noted;
    CategoryEntry& e = ledger_.Category(c.key);
    e.stamp = stamp;
    e.put = put;
    if (!put && !wasPut) return Outcome::Noted;
    categoriesChanged_ = true;
    return Outcome::Changed;
}

bool Merge::Finish() {
    CloseRecords();
    recordsReady_ = false;
    if (!categoriesChanged_) return true;
    categoriesChanged_ = false;
    std::vector<std::pair<Stamp, std::string>> listed;
    for (const auto& [name, e] : ledger_.Categories())
        if (e.put) listed.emplace_back(e.stamp, name);
    std::sort(listed.begin(), listed.end());
    std::vector<std::string> names;
    for (auto& [stamp, name] : listed) names.push_back(std::move(name));
    if (names == book_.categories) return true;
    CategoryList& list = ctx_.state.categories;
    listsWritten_ = true;
    list.Clear();
    for (const std::string& name : names) {
        CategoryItem item;
        if (qv::SetName(item, FromUtf8(name))) list.Add(item);
    }
    if (!SaveCategories(ctx_)) return false;
    book_.categories = std::move(names);
    return true;
}

}  // namespace qv::sync
