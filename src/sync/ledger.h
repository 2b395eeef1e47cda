// What the engine remembers, kept in the store's own table beside the book and written in the
// same transactions: this computer's identity and clock, per record, project and category the
// change that last won (and, for records and projects, the local identifier and content it
// left), where the reading of each other journal stopped, and the lines not yet appended to
// this computer's journal (the outbox).
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/objectstore/object_store.h"

namespace qv::sync {

// Which of two changes to one object wins: the greater clock, then the greater computer.
struct Stamp {
    uint64_t clock = 0;
    std::string computer;  // empty: no change seen
    friend auto operator<=>(const Stamp&, const Stamp&) = default;
    friend bool operator==(const Stamp&, const Stamp&) = default;
};

struct RecordEntry {
    Stamp stamp;
    bool present = false;              // the winner is a put
    std::optional<uint32_t> localId;   // the record in this store, while present
    uint32_t oid = 0;                  // and its object identifier
    std::vector<std::string> content;  // date, minutes, project, category, memo
};

struct ProjectEntry {
    Stamp stamp;                       // the winner
    bool put = false;                  // the winner is a put
    Stamp putStamp;                    // the latest put, whose content the project has
    std::string created, description;  // of the latest put
    std::optional<uint32_t> localId;   // the project in this store
};

struct CategoryEntry {
    Stamp stamp;
    bool put = false;
};

// Where the reading of another computer's journal stopped.
struct Position {
    uint64_t offset = 0;  // bytes read
    uint64_t serial = 0;  // the serial of the last line read
    int64_t lastSeen = 0;
    uint64_t changes = 0;
};

struct Settings {
    std::string computer;  // empty until first turned on
    std::string folder;
    bool on = false;
    uint64_t clock = 0;   // the greatest clock written or applied
    uint64_t serial = 0;  // the serial of the last line made
    // Moves on with every save, so an engine can tell that another one changed the store.
    uint64_t generation = 0;
    int64_t lastWritten = 0;  // seconds since 1970 of the newest line made
};

// The keys of the store's own table.
inline constexpr char kSettingsTable[] = "sync";
inline constexpr char kOutboxTable[] = "sync.outbox";
inline constexpr char kPositionsTable[] = "sync.read";

bool LoadSettings(ObjectStore& store, Settings& settings);
// Moves the generation on.
bool SaveSettings(ObjectStore& store, Settings& settings);
std::optional<uint64_t> StoredGeneration(ObjectStore& store);
bool LoadPositions(ObjectStore& store, std::map<std::string, Position>& positions);
std::string OutboxKey(uint64_t serial);

class Ledger {
  public:
    bool Load(ObjectStore& store);
    // Writes every entry changed since the last Load or Save.
    bool Save(ObjectStore& store);

    const std::unordered_map<std::string, RecordEntry>& Records() const { return records_; }
    const std::map<std::string, ProjectEntry>& Projects() const { return projects_; }
    const std::map<std::string, CategoryEntry>& Categories() const { return categories_; }
    std::map<std::string, Position>& Positions() { return positions_; }

    const RecordEntry* FindRecord(const std::string& key) const;
    // The global identity of the local record (by object identifier), when it has one. Record
    // identifiers are given again after a deletion; object identifiers never are, so a new
    // record is never taken for an edit of a deleted one.
    const std::string* KeyOfLocal(uint32_t oid) const;
    // The same with its entry.
    using RecordItem = std::pair<const std::string, RecordEntry>;
    const RecordItem* Local(uint32_t oid) const;
    // How many entries have a record in this store.
    size_t LocalCount() const { return byLocal_.size(); }
    void SetRecord(const std::string& key, RecordEntry entry);

    ProjectEntry* FindProject(const std::string& name);
    ProjectEntry& Project(const std::string& name);  // made empty when absent; marked changed
    // How many present records name the project.
    size_t Named(const std::string& project) const;

    CategoryEntry& Category(const std::string& name);  // marked changed
    void PositionChanged(const std::string& computer) { changedPositions_.insert(computer); }

  private:
    void Place(const std::string& key, RecordEntry entry);  // SetRecord without marking it

    std::unordered_map<std::string, RecordEntry> records_;
    std::unordered_map<uint32_t, const RecordItem*> byLocal_;  // elements of records_ stay put
    std::unordered_map<std::string, size_t> named_;
    std::map<std::string, ProjectEntry> projects_;
    std::map<std::string, CategoryEntry> categories_;
    std::map<std::string, Position> positions_;
    std::set<std::string> changedRecords_, changedProjects_, changedCategories_, changedPositions_;
};

}  // namespace qv::sync
