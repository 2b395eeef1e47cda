// The difference of the book and the ledger as changes.
#include "sync/capture.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace qv::sync {
namespace {

class Emitter {
  public:
    Emitter(Settings& settings, int64_t now, std::vector<Change>& out)
        : settings_(settings), now_(now), out_(out) {}
    // The change's stamp. An empty key is the key of a new record: this computer and the serial.
    Stamp Emit(Kind kind, std::string key, std::vector<std::string> fields = {}) {
        Change& c = out_.emplace_back();
        c.computer = settings_.computer;
        c.serial = ++settings_.serial;
        c.clock = ++settings_.clock;
        c.written = now_;
        c.kind = kind;
        c.key = key.empty() ? settings_.computer + ":" + std::to_string(c.serial) : std::move(key);
        c.fields = std::move(fields);
        return {c.clock, c.computer};
    }
    const std::string& LastKey() const { return out_.back().key; }

  private:
    Settings& settings_;
    int64_t now_;
    std::vector<Change>& out_;
};

void PutCategories(const Book& book, Ledger& ledger, Emitter& emit) {
    Stamp latest;
    for (const std::string& name : book.categories) {
        auto it = ledger.Categories().find(name);
        if (it == ledger.Categories().end() || !it->second.put || it->second.stamp < latest) {
            CategoryEntry& e = ledger.Category(name);
            e.stamp = emit.Emit(Kind::CategoryPut, name);
            e.put = true;
        }
        latest = std::max(latest, ledger.Categories().at(name).stamp);
    }
}

void PutProjects(const Book& book, Ledger& ledger, Emitter& emit) {
    for (const BookProject& p : book.projects) {
        ProjectEntry* e = ledger.FindProject(p.name);
        // A project made here only because a record named it, before any put of it was read,
        // holds what the ledger noted when it was made: it is not this computer's change.
        const bool same = e != nullptr && e->localId == p.id && e->created == p.created &&
                          e->description == p.description;
        if (same) continue;
        ProjectEntry& entry = ledger.Project(p.name);
        entry.stamp = entry.putStamp =
            emit.Emit(Kind::ProjectPut, p.name, {p.created, p.description});
        entry.put = true;
        entry.created = p.created;
        entry.description = p.description;
        entry.localId = p.id;
    }
}

void PutRecords(const Book& book, Ledger& ledger, Emitter& emit) {
    for (const BookRecord& r : book.records) {
        const Ledger::RecordItem* local = ledger.Local(r.oid);
        if (local != nullptr && local->second.present && local->second.content == r.content)
            continue;
        const std::string* key = local != nullptr ? &local->first : nullptr;
        RecordEntry entry;
        entry.stamp = emit.Emit(Kind::RecordPut, key != nullptr ? *key : std::string(), r.content);
        entry.present = true;
        entry.localId = r.id;
        entry.oid = r.oid;
        entry.content = r.content;
        ledger.SetRecord(emit.LastKey(), std::move(entry));
    }
}

void DeleteRecords(const Book& book, Ledger& ledger, Emitter& emit) {
    // Every stored record has its entry by now: only more entries than records means some went.
    if (ledger.LocalCount() == book.records.size()) return;
    std::unordered_set<uint32_t> ids;
    for (const BookRecord& r : book.records) ids.insert(r.oid);
    std::vector<std::string> gone;
    for (const auto& [key, e] : ledger.Records())
        if (e.localId && ids.count(e.oid) == 0) gone.push_back(key);
    std::sort(gone.begin(), gone.end());
    for (const std::string& key : gone) {
        RecordEntry entry;
        entry.stamp = emit.Emit(Kind::RecordDeleted, key);
        ledger.SetRecord(key, std::move(entry));
    }
}

void DeleteProjects(const Book& book, Ledger& ledger, Emitter& emit) {
    std::unordered_map<std::string, uint32_t> ids;
    for (const BookProject& p : book.projects) ids.emplace(p.name, p.id);
    std::vector<std::string> gone;
    for (const auto& [name, e] : ledger.Projects()) {
        auto it = ids.find(name);
        if (e.localId && (it == ids.end() || it->second != *e.localId)) gone.push_back(name);
    }
    for (const std::string& name : gone) {
        ProjectEntry& e = ledger.Project(name);
        if (e.put) {
            e.stamp = emit.Emit(Kind::ProjectDeleted, name);
            e.put = false;
        }
        e.localId.reset();
    }
}

void DeleteCategories(const Book& book, Ledger& ledger, Emitter& emit) {
    std::unordered_set<std::string> names(book.categories.begin(), book.categories.end());
    std::vector<std::string> gone;
    for (const auto& [name, e] : ledger.Categories())
        if (e.put && names.count(name) == 0) gone.push_back(name);
    for (const std::string& name : gone) {
        CategoryEntry& e = ledger.Category(name);
        e.stamp = emit.Emit(Kind::CategoryDeleted, name);
        e.put = false;
    }
}

}  // namespace

void Capture(const Book& book, Ledger& ledger, Settings& settings, int64_t now,
             std::vector<Change>& out) {
    Emitter emit(settings, now, out);
    PutCategories(book, ledger, emit);
    PutProjects(book, ledger, emit);
    PutRecords(book, ledger, emit);
    DeleteRecords(book, ledger, emit);
    DeleteProjects(book, ledger, emit);
    DeleteCategories(book, ledger, emit);
}

}  // namespace qv::sync
