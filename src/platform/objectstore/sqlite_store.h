// What the object store's file holds, and the store on an open connection: shared by the
// store and the code that makes, checks and opens its file.
//
// File layout (schema version 1, application_id "QVOS"):
//   meta(next_oid)                          the next object identifier to hand out
//   databases(oid, name, type, records)     name as UTF-16LE bytes, records = record count
//   records(db, sortkey, oid, props)        clustered on (db, sortkey, oid), so a database
//                                           reads in sort order straight off the table;
//                                           sortkey is property 0, or 2^32 when it is missing
// Object identifiers only grow, so (sortkey, oid) keeps records with equal property 0 in the
// order they were first written.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "platform/objectstore/object_store.h"

namespace qv::sqlite {

inline constexpr uint32_t kApplicationId = 0x51564F53;  // "QVOS"
inline constexpr int kSchemaVersion = 1;

inline constexpr const char* kCreateSchema = R"(
PRAGMA application_id = 1364610899;
PRAGMA user_version = 1;
BEGIN;
CREATE TABLE meta(next_oid INTEGER NOT NULL);
INSERT INTO meta VALUES(1);
CREATE TABLE databases(oid INTEGER PRIMARY KEY, name BLOB NOT NULL UNIQUE,
                       type INTEGER NOT NULL, records INTEGER NOT NULL);
CREATE TABLE records(db INTEGER NOT NULL, sortkey INTEGER NOT NULL, oid INTEGER NOT NULL,
                     props BLOB NOT NULL, PRIMARY KEY(db, sortkey, oid)) WITHOUT ROWID;
CREATE UNIQUE INDEX records_by_oid ON records(oid);
COMMIT;
)";
static_assert(kApplicationId == 1364610899);

// A private folder, removed with everything in it when the store reading from it has closed.
class ScratchFolder {
  public:
    ScratchFolder() = default;
    explicit ScratchFolder(std::filesystem::path folder) : path(std::move(folder)) {}
    ScratchFolder(ScratchFolder&& other) noexcept : path(std::exchange(other.path, {})) {}
    ScratchFolder& operator=(ScratchFolder&&) = delete;
    ~ScratchFolder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

// The store on an open connection, which it takes over in every case, as it does the folder
// holding the copy it reads (if any). Checks the file's layout and readies the statements:
// null with `why` set when the file is not ours. A store for looking only refuses every change
// before it reaches SQLite.
// How much of the store's file reads map at most (PRAGMA mmap_size).
constexpr const char* kMapStoreFile = "PRAGMA mmap_size = 268435456";

std::unique_ptr<ObjectStore> StoreOnConnection(sqlite3* db, bool forLooking, ScratchFolder scratch,
                                               std::string& why);

}  // namespace qv::sqlite
