// The ledger's entries as tab-separated, escaped texts in the store's own table.
#include "sync/ledger.h"

#include <charconv>
#include <cstdio>

#include "sync/journal_line.h"

namespace qv::sync {
namespace {

constexpr char kRecordsTable[] = "sync.records";
constexpr char kProjectsTable[] = "sync.projects";
constexpr char kCategoriesTable[] = "sync.categories";

std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += '\t';
        out += Escape(parts[i]);
    }
    return out;
}

bool Split(const std::string& text, std::vector<std::string>& parts) {
    parts.clear();
    std::string part;
    for (size_t from = 0;;) {
        const size_t tab = text.find('\t', from);
        const std::string_view piece =
            std::string_view(text).substr(from, tab == std::string::npos ? tab : tab - from);
        if (!Unescape(piece, part)) return false;
        parts.push_back(part);
        if (tab == std::string::npos) return true;
        from = tab + 1;
    }
}

template <class T>
T Number(const std::string& text) {
    T value{};
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string LocalText(const std::optional<uint32_t>& id) {
    return id ? std::to_string(*id) : std::string();
}
std::optional<uint32_t> LocalFrom(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return Number<uint32_t>(text);
}

}  // namespace

bool LoadSettings(ObjectStore& store, Settings& settings) {
    settings = Settings();
    return store.ForEachValue(kSettingsTable, [&](const std::string& key, const std::string& v) {
        if (key == "computer") settings.computer = v;
        if (key == "folder") settings.folder = v;
        if (key == "on") settings.on = v == "1";
        if (key == "clock") settings.clock = Number<uint64_t>(v);
        if (key == "serial") settings.serial = Number<uint64_t>(v);
        if (key == "generation") settings.generation = Number<uint64_t>(v);
        if (key == "written") settings.lastWritten = Number<int64_t>(v);
    });
}

bool SaveSettings(ObjectStore& store, Settings& settings) {
    return store.PutValue(kSettingsTable, "generation", std::to_string(++settings.generation)) &&
           store.PutValue(kSettingsTable, "computer", settings.computer) &&
           store.PutValue(kSettingsTable, "folder", settings.folder) &&
           store.PutValue(kSettingsTable, "on", settings.on ? "1" : "0") &&
           store.PutValue(kSettingsTable, "clock", std::to_string(settings.clock)) &&
           store.PutValue(kSettingsTable, "serial", std::to_string(settings.serial)) &&
           store.PutValue(kSettingsTable, "written", std::to_string(settings.lastWritten));
}

bool LoadPositions(ObjectStore& store, std::map<std::string, Position>& positions) {
    positions.clear();
    std::vector<std::string> parts;
    return store.ForEachValue(kPositionsTable, [&](const std::string& key, const std::string& v) {
        if (!Split(v, parts) || parts.size() != 4) return;
        Position& p = positions[key];
        p.offset = Number<uint64_t>(parts[0]);
        p.serial = Number<uint64_t>(parts[1]);
        p.lastSeen = Number<int64_t>(parts[2]);
        p.changes = Number<uint64_t>(parts[3]);
    });
}

std::optional<uint64_t> StoredGeneration(ObjectStore& store) {
    const std::optional<std::string> v = store.GetValue(kSettingsTable, "generation");
    if (!v) return std::nullopt;
    return Number<uint64_t>(*v);
}

std::string OutboxKey(uint64_t serial) {
    char key[24];
    std::snprintf(key, sizeof key, "%020llu", static_cast<unsigned long long>(serial));
    return key;
}

bool Ledger::Load(ObjectStore& store) {
    *this = Ledger();
    std::vector<std::string> parts;
    bool ok = store.ForEachValue(kRecordsTable, [&](const std::string& key, const std::string& v) {
        if (!Split(v, parts) || parts.size() < 5) return;
        RecordEntry e;
        e.stamp = {Number<uint64_t>(parts[0]), parts[1]};
        e.present = parts[2] == "1";
        e.localId = LocalFrom(parts[3]);
        e.oid = Number<uint32_t>(parts[4]);
        e.content.assign(parts.begin() + 5, parts.end());
        Place(key, std::move(e));
    });
    ok =
        ok && store.ForEachValue(kProjectsTable, [&](const std::string& key, const std::string& v) {
            if (!Split(v, parts) || parts.size() != 8) return;
            ProjectEntry& e = projects_[key];
            e.stamp = {Number<uint64_t>(parts[0]), parts[1]};
            e.put = parts[2] == "1";
            e.putStamp = {Number<uint64_t>(parts[3]), parts[4]};
            e.created = parts[5];
            e.description = parts[6];
            e.localId = LocalFrom(parts[7]);
        });
    ok = ok &&
         store.ForEachValue(kCategoriesTable, [&](const std::string& key, const std::string& v) {
             if (!Split(v, parts) || parts.size() != 3) return;
             CategoryEntry& e = categories_[key];
             e.stamp = {Number<uint64_t>(parts[0]), parts[1]};
             e.put = parts[2] == "1";
         });
    ok = ok && LoadPositions(store, positions_);
    return ok;
}

bool Ledger::Save(ObjectStore& store) {
    for (const std::string& key : changedRecords_) {
        const RecordEntry& e = records_.at(key);
        std::vector<std::string> parts = {std::to_string(e.stamp.clock), e.stamp.computer,
                                          e.present ? "1" : "0", LocalText(e.localId),
                                          std::to_string(e.oid)};
        parts.insert(parts.end(), e.content.begin(), e.content.end());
        if (!store.PutValue(kRecordsTable, key, Join(parts))) return false;
    }
    for (const std::string& key : changedProjects_) {
        const ProjectEntry& e = projects_.at(key);
        if (!store.PutValue(
                kProjectsTable, key,
                Join({std::to_string(e.stamp.clock), e.stamp.computer, e.put ? "1" : "0",
                      std::to_string(e.putStamp.clock), e.putStamp.computer, e.created,
                      e.description, LocalText(e.localId)})))
            return false;
    }
    for (const std::string& key : changedCategories_) {
        const CategoryEntry& e = categories_.at(key);
        if (!store.PutValue(
                kCategoriesTable, key,
                Join({std::to_string(e.stamp.clock), e.stamp.computer, e.put ? "1" : "0"})))
            return false;
    }
    for (const std::string& key : changedPositions_) {
        const Position& p = positions_.at(key);
        if (!store.PutValue(kPositionsTable, key,
                            Join({std::to_string(p.offset), std::to_string(p.serial),
                                  std::to_string(p.lastSeen), std::to_string(p.changes)})))
            return false;
    }
    changedRecords_.clear();
    changedProjects_.clear();
    changedCategories_.clear();
    changedPositions_.clear();
    return true;
}

const RecordEntry* Ledger::FindRecord(const std::string& key) const {
    auto it = records_.find(key);
    return it == records_.end() ? nullptr : &it->second;
}

const std::string* Ledger::KeyOfLocal(uint32_t oid) const {
    const RecordItem* item = Local(oid);
    return item == nullptr ? nullptr : &item->first;
}

const Ledger::RecordItem* Ledger::Local(uint32_t oid) const {
    auto it = byLocal_.find(oid);
    return it == byLocal_.end() ? nullptr : it->second;
}

void Ledger::SetRecord(const std::string& key, RecordEntry entry) {
    Place(key, std::move(entry));
    changedRecords_.insert(key);
}

void Ledger::Place(const std::string& key, RecordEntry entry) {
    RecordItem& item = *records_.try_emplace(key).first;
    RecordEntry& e = item.second;
    if (e.localId) byLocal_.erase(e.oid);
    if (e.present && e.content.size() == 5) --named_[e.content[2]];
    e = std::move(entry);
    if (e.localId) byLocal_[e.oid] = &item;
    if (e.present && e.content.size() == 5) ++named_[e.content[2]];
}

ProjectEntry* Ledger::FindProject(const std::string& name) {
    auto it = projects_.find(name);
    return it == projects_.end() ? nullptr : &it->second;
}

ProjectEntry& Ledger::Project(const std::string& name) {
    changedProjects_.insert(name);
    return projects_[name];
}

size_t Ledger::Named(const std::string& project) const {
    auto it = named_.find(project);
    return it == named_.end() ? 0 : it->second;
}

CategoryEntry& Ledger::Category(const std::string& name) {
    changedCategories_.insert(name);
    return categories_[name];
}

}  // namespace qv::sync
