// The object store kept in one SQLite file: databases, records and their properties.
//
// File layout (schema version 1, application_id "QVOS"):
//   meta(next_oid)                          the next object identifier to hand out
//   databases(oid, name, type, records)     name as UTF-16LE bytes, records = record count
//   records(db, sortkey, oid, props)        clustered on (db, sortkey, oid), so a database
//                                           reads in sort order straight off the table;
//                                           sortkey is property 0, or 2^32 when it is missing
// Object identifiers only grow, so (sortkey, oid) keeps records with equal property 0 in the
// order they were first written.
#include <fcntl.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <system_error>

#include "platform/files/small_file.h"
#include "platform/objectstore/object_store.h"
#include "platform/objectstore/record_codec.h"

namespace qv {

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kApplicationId = 0x51564F53;  // "QVOS"
constexpr int kSchemaVersion = 1;
constexpr int64_t kNoSortValue = int64_t{1} << 32;  // records without property 0 come last
constexpr int64_t kAfterAll = kNoSortValue + 1;
constexpr int64_t kRecordLimit = 65535;  // the record count is 16 bits wide
constexpr size_t kFirstBatch = 16;
constexpr size_t kLargestBatch = 1024;
// The write-ahead log is folded into the store file once it holds this many pages (a booking
// writes about five), so its file is written over from the start again and stays small. Folding
// after every change would keep it smaller still, but costs three more flushes to disk a change
// (the file's, and the log's first page when it starts again) for little: a flush is most of
// what a booking costs.
constexpr int kFoldPages = 16;
// What the log keeps of its file once folded: room for the pages written before the next fold.
// A larger change grows it for as long as it lasts.
constexpr int64_t kLogSizeLimit = 128 * 1024;

const char* const kCreateSchema = R"(
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

class Statement {
  public:
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(stmt_); }
    bool Prepare(sqlite3* db, const char* sql) {
        return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) ==
               SQLITE_OK;
    }
    sqlite3_stmt* get() const { return stmt_; }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

// One use of a prepared statement; resetting it at the end means no read stays open between
// calls (an open read would keep the write-ahead log from being checkpointed).
class Query {
  public:
    explicit Query(Statement& s) : s_(s.get()) {}
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    ~Query() {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }
    Query& Int(int index, int64_t value) {
        ok_ = ok_ && sqlite3_bind_int64(s_, index, value) == SQLITE_OK;
        return *this;
    }
    // The data must stay alive until the query ends.
    Query& Blob(int index, const void* data, size_t size) {
        ok_ = ok_ && sqlite3_bind_blob64(s_, index, data, size, SQLITE_STATIC) == SQLITE_OK;
        return *this;
    }
    bool Row() { return ok_ && (rc_ = sqlite3_step(s_)) == SQLITE_ROW; }
    // Runs a statement that returns no rows (or ignores them).
    bool Run() {
        if (!ok_) return false;
        rc_ = sqlite3_step(s_);
        return rc_ == SQLITE_DONE || rc_ == SQLITE_ROW;
    }
    bool Done() const { return rc_ == SQLITE_DONE; }
    int64_t ColumnInt(int i) const { return sqlite3_column_int64(s_, i); }
    const uint8_t* ColumnBlob(int i) const {
        return static_cast<const uint8_t*>(sqlite3_column_blob(s_, i));
    }
    size_t ColumnSize(int i) const { return static_cast<size_t>(sqlite3_column_bytes(s_, i)); }

  private:
    sqlite3_stmt* s_;
    bool ok_ = true;
    int rc_ = SQLITE_OK;
};

std::vector<uint8_t> NameBytes(const std::u16string& name) {
    std::vector<uint8_t> bytes;
    bytes.reserve(name.size() * 2);
    for (char16_t c : name) {
        bytes.push_back(static_cast<uint8_t>(c));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

std::u16string NameFromBytes(const uint8_t* p, size_t size) {
    std::u16string name(size / 2, u'\0');
    for (size_t i = 0; i < name.size(); ++i)
        name[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    return name;
}

int64_t SortKey(const std::vector<PropValue>& props) {
    for (const PropValue& p : props)
        if (p.propid == kSortPropertyId) return p.ulVal;
    return kNoSortValue;
}

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// One integer from a statement returning one row, e.g. a pragma.
std::optional<int64_t> QueryInt(sqlite3* db, const char* sql) {
    Statement s;
    if (!s.Prepare(db, sql)) return std::nullopt;
    Query q(s);
    if (!q.Row()) return std::nullopt;
    return q.ColumnInt(0);
}

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

fs::path WithSuffix(const fs::path& file, const char* suffix) {
    fs::path p = file;
    p += suffix;
    return p;
}

uintmax_t SizeOrZero(const fs::path& file) {
    std::error_code ec;
    uintmax_t size = fs::file_size(file, ec);
    return ec ? 0 : size;
}

// Reads only the file's first 100 bytes (the SQLite header) with plain file I/O, so nothing is
// written to a file that turns out not to be ours. Refuses files of other programs, files of a
// newer layout, and files shorter than their header says (truncated) when no write-ahead log
// could still supply the missing pages. `why` says which.
bool HeaderIsOurs(const fs::path& file, uintmax_t size, std::string& why) {
    std::array<uint8_t, 100> h{};
    std::ifstream in(file, std::ios::binary);
    why = std::string("open: ") + sqlite3_errstr(SQLITE_NOTADB);
    if (!in.read(reinterpret_cast<char*>(h.data()), h.size())) return false;
    if (std::memcmp(h.data(), "SQLite format 3", 16) != 0) return false;
    uint32_t pageSize = (uint32_t{h[16]} << 8) | h[17];
    if (pageSize == 1) pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) return false;
    why = "open: a database of another program";
    if (BigEndian32(&h[68]) != kApplicationId) return false;
    why = "open: a store of another version (" + std::to_string(BigEndian32(&h[60])) + ")";
    if (BigEndian32(&h[60]) != static_cast<uint32_t>(kSchemaVersion)) return false;
    const uint32_t changeCounter = BigEndian32(&h[24]);
    const uint32_t pageCount = BigEndian32(&h[28]);
    const uint32_t validFor = BigEndian32(&h[92]);
    why = "open: the file is shorter than its header says";
    if (validFor == changeCounter && SizeOrZero(WithSuffix(file, "-wal")) == 0 &&
        uintmax_t{pageCount} * pageSize > size)
        return false;
    why.clear();
    return true;
}

void SyncDirectory(const fs::path& dir) {
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Builds an empty store beside the file and moves it into place in one step, so a crash never
// leaves a half-made store under the real name.
bool CreateStoreFile(const fs::path& file, const char* vfs, std::string& why) {
    // A name of our own beside the file, so no file that happens to be there is touched.
    std::string name = file.string() + ".init-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        why = std::string("create: ") + std::strerror(errno);
        return false;
    }
    ::close(fd);
    const fs::path temp = name;
    std::error_code ec;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, vfs);
    bool ok = rc == SQLITE_OK && Exec(db, "PRAGMA synchronous = FULL") && Exec(db, kCreateSchema) &&
              Exec(db, "PRAGMA journal_mode = WAL");
    if (!ok) why = std::string("create: ") + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    ok = sqlite3_close(db) == SQLITE_OK && ok;
    // A link, not a rename: a store another program made in the meantime is never replaced,
    // and is opened instead of ours. Only an empty file in its place is replaced.
    bool madeElsewhere = false;
    if (ok && ::link(temp.c_str(), file.c_str()) != 0) {
        const int error = errno;
        const bool exists = error == EEXIST;
        struct stat st {};
        if (exists && ::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0) {
            fs::rename(temp, file, ec);
            ok = !ec;
            if (ec) why = "create: " + ec.message();
        } else {
            madeElsewhere = exists;
            ok = false;
            why = std::string("create: ") + std::strerror(error);
        }
    }
    if (ok || madeElsewhere) {
        fs::remove(temp, ec);
        fs::remove(WithSuffix(temp, "-wal"), ec);
        fs::remove(WithSuffix(temp, "-shm"), ec);
        if (madeElsewhere) return true;
    }
    if (!ok) {
        fs::remove(temp, ec);
        fs::remove(WithSuffix(temp, "-journal"), ec);
        fs::remove(WithSuffix(temp, "-wal"), ec);
        fs::remove(WithSuffix(temp, "-shm"), ec);
        return false;
    }
    SyncDirectory(file.parent_path());
    return true;
}

// A private folder, removed with everything in it when the store reading from it has closed.
class ScratchFolder {
  public:
    ScratchFolder() = default;
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
    fs::path path;
};

class SqliteObjectStore final : public ObjectStore {
  public:
    // A store for looking only refuses every change before it reaches SQLite.
    SqliteObjectStore(sqlite3* db, bool forLooking = false) : db_(db), forLooking_(forLooking) {}
    ~SqliteObjectStore() override {
        if (depth_ > 0) Exec(db_, "ROLLBACK");
        // Waits for the statements (members) to be finalised before closing.
        sqlite3_close_v2(db_);
    }

    bool Prepare();
    // The folder holding the copy this store reads; it goes once the store has closed.
    void KeepScratch(fs::path folder) { scratch_.path = std::move(folder); }

    CEOID CeCreateDatabase(const std::u16string& name, uint32_t type) override;
    StoreHandle CeOpenDatabase(CEOID& oid, const std::u16string& name, uint32_t sortPropId,
                               uint32_t flags) override;
    bool CeOidGetInfo(CEOID oid, DatabaseInfo& info) override;
    CEOID CeSeekDatabase(StoreHandle handle, uint32_t seekType, uint32_t value) override;
    CEOID CeReadRecordProps(StoreHandle handle, std::vector<PropValue>& props) override;
    bool ReadSortKeys(StoreHandle handle, std::vector<uint32_t>& keys) override;
    CEOID CeWriteRecordProps(StoreHandle handle, CEOID record,
                             const std::vector<PropValue>& props) override;
    bool CeDeleteRecord(StoreHandle handle, CEOID record) override;
    bool CeDeleteDatabase(CEOID oid) override;
    bool CloseHandle(StoreHandle handle) override;
    bool BeginTransaction() override;
    bool EndTransaction(bool commit) override;
    std::vector<DatabaseDump> Dump() override;
    void FailChangesAfter(int writes) override { failAfter_ = writes < 0 ? -1 : writes; }

  private:
    struct Row {
        CEOID oid;
        int64_t sortkey;
        size_t at;  // the record's bytes in Cursor::bytes
        size_t size;
    };
    // An open handle. The next read returns the first record after (sortkey, oid) in sort
    // order; `rows` holds the records that follow, fetched ahead, valid while `generation`
    // matches the store's (every change and every undo moves the store's on).
    struct Cursor {
        CEOID db = 0;
        bool autoIncrement = false;
        int64_t sortkey = -1;
        CEOID oid = 0;
        std::vector<Row> rows;
        std::vector<uint8_t> bytes;
        size_t next = 0;
        bool rowsReachEnd = false;
        uint64_t generation = 0;
        size_t batch = kFirstBatch;
    };

    Cursor* Find(StoreHandle handle) {
        auto it = cursors_.find(handle);
        return it == cursors_.end() ? nullptr : &it->second;
    }
    void MoveTo(Cursor& c, int64_t sortkey, CEOID oidBefore) {
        c.sortkey = sortkey;
        c.oid = oidBefore;
        c.generation = 0;
        c.batch = kFirstBatch;
    }
    bool Fetch(Cursor& c);
    bool NewOid(CEOID& oid);
    // Runs one changing call as one atomic change (a transaction of its own, or a savepoint
    // inside the caller's transaction), honouring the failure hook. A change of its own that
    // finds the disk full is tried once more after the log has been folded in and emptied.
    template <class Body>
    bool Change(Body&& body);
    // One try of it; `diskFull` tells whether it failed for want of space.
    template <class Body>
    bool TryChange(Body& body, bool& diskFull);
    // Folds the write-ahead log into the store file and empties the log's file. A fold that
    // fails costs nothing but the space: every change is safe in the log until folded.
    void FoldAndEmptyLog() {
        sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    }

    ScratchFolder scratch_;  // first, so it is removed after every statement and the connection
    sqlite3* db_;
    bool forLooking_;
    Statement savepoint_, release_, rollbackTo_, rollback_;
    Statement beginScope_, releaseScope_, rollbackToScope_;
    Statement nextOid_, databaseByName_, databaseById_, insertDatabase_, deleteDatabase_,
        countDelta_, allDatabases_;
    Statement batch_, firstEqual_, sortKeys_, recordById_, insertRecord_, updateRecord_,
        deleteRecord_, deleteRecords_, databaseRecords_;

    std::map<StoreHandle, Cursor> cursors_;
    StoreHandle lastHandle_ = 0;
    uint64_t generation_ = 1;
    int depth_ = 0;
    bool scopeLost_ = false;
    int failAfter_ = -1;
    std::vector<PropValue> work_;
    std::vector<uint8_t> encoded_;
};

bool SqliteObjectStore::Prepare() {
    const bool ok =
        savepoint_.Prepare(db_, "SAVEPOINT op") && release_.Prepare(db_, "RELEASE op") &&
        rollbackTo_.Prepare(db_, "ROLLBACK TO op") && rollback_.Prepare(db_, "ROLLBACK") &&
        beginScope_.Prepare(db_, "SAVEPOINT scope") &&
        releaseScope_.Prepare(db_, "RELEASE scope") &&
        rollbackToScope_.Prepare(db_, "ROLLBACK TO scope") &&
        nextOid_.Prepare(db_, "UPDATE meta SET next_oid = next_oid + 1 RETURNING next_oid - 1") &&
        databaseByName_.Prepare(db_, "SELECT oid FROM databases WHERE name = ?1") &&
        databaseById_.Prepare(db_, "SELECT name, type, records FROM databases WHERE oid = ?1") &&
        insertDatabase_.Prepare(
            db_, "INSERT INTO databases(oid, name, type, records) VALUES(?1, ?2, ?3, 0)") &&
        deleteDatabase_.Prepare(db_, "DELETE FROM databases WHERE oid = ?1") &&
        countDelta_.Prepare(db_, "UPDATE databases SET records = records + ?2 WHERE oid = ?1") &&
        allDatabases_.Prepare(db_, "SELECT oid, name FROM databases") &&
        batch_.Prepare(db_,
                       "SELECT oid, sortkey, props FROM records WHERE db = ?1 AND "
                       "(sortkey, oid) > (?2, ?3) ORDER BY sortkey, oid LIMIT ?4") &&
        firstEqual_.Prepare(db_,
                            "SELECT oid FROM records WHERE db = ?1 AND sortkey = ?2 "
                            "ORDER BY oid LIMIT 1") &&
        sortKeys_.Prepare(db_,
                          "SELECT sortkey FROM records WHERE db = ?1 AND sortkey >= 0 "
                          "ORDER BY sortkey") &&
        recordById_.Prepare(db_, "SELECT db, sortkey, props FROM records WHERE oid = ?1") &&
        insertRecord_.Prepare(
            db_, "INSERT INTO records(db, sortkey, oid, props) VALUES(?1, ?2, ?3, ?4)") &&
        updateRecord_.Prepare(db_, "UPDATE records SET sortkey = ?2, props = ?3 WHERE oid = ?1") &&
        deleteRecord_.Prepare(db_, "DELETE FROM records WHERE oid = ?1 AND db = ?2") &&
        deleteRecords_.Prepare(db_, "DELETE FROM records WHERE db = ?1") &&
        databaseRecords_.Prepare(db_,
                                 "SELECT props FROM records WHERE db = ?1 ORDER BY sortkey, oid");
    return ok;
}

template <class Body>
bool SqliteObjectStore::Change(Body&& body) {
    if (forLooking_ || failAfter_ == 0 || scopeLost_) return false;
    bool diskFull = false;
    bool ok = TryChange(body, diskFull);
    if (!ok && diskFull && depth_ == 0) {
        // The log's file may hold the space the change needs.
        FoldAndEmptyLog();
        ok = TryChange(body, diskFull);
    }
    if (!ok) return false;
    if (failAfter_ > 0) --failAfter_;
    return true;
}

template <class Body>
bool SqliteObjectStore::TryChange(Body& body, bool& diskFull) {
    ++generation_;
    if (!Query(savepoint_).Run()) {
        diskFull = (sqlite3_errcode(db_) & 0xFF) == SQLITE_FULL;
        return false;
    }
    bool ok = body() && Query(release_).Run();
    if (!ok) {
        diskFull = (sqlite3_errcode(db_) & 0xFF) == SQLITE_FULL;
        Query(rollbackTo_).Run();
        Query(release_).Run();
        if (depth_ == 0 && !sqlite3_get_autocommit(db_)) Query(rollback_).Run();
        // Some errors (a full disk) make SQLite undo the whole transaction; the caller's scope
        // is then gone, and nothing more may be changed before it ends, or it would be kept.
        if (depth_ > 0 && sqlite3_get_autocommit(db_)) scopeLost_ = true;
        ++generation_;
        return false;
    }
    return true;
}

// Taken from the file inside the change that uses it, never from a copy in memory, so two
// programs on one store can never hand out the same identifier.
bool SqliteObjectStore::NewOid(CEOID& oid) {
    Query q(nextOid_);
    if (!q.Row()) return false;
    const int64_t next = q.ColumnInt(0);
    if (next < 1 || next > 0xFFFFFFFF) return false;
    oid = static_cast<CEOID>(next);
    return true;
}

CEOID SqliteObjectStore::CeCreateDatabase(const std::u16string& name, uint32_t type) {
    if (name.empty()) return 0;
    const std::vector<uint8_t> bytes = NameBytes(name);
    CEOID oid = 0;
    const bool ok = Change([&] {
        // A taken name fails on the unique name.
        return NewOid(oid) && Query(insertDatabase_)
                                  .Int(1, oid)
                                  .Blob(2, bytes.data(), bytes.size())
                                  .Int(3, type)
                                  .Run();
    });
    return ok ? oid : 0;
}

StoreHandle SqliteObjectStore::CeOpenDatabase(CEOID& oid, const std::u16string& name,
                                              uint32_t sortPropId, uint32_t flags) {
    // Every database has the one sort order on property 0.
    if (sortPropId != 0 && sortPropId != kSortPropertyId) return kInvalidStoreHandle;
    CEOID found = 0;
    if (oid == 0) {
        if (name.empty()) return kInvalidStoreHandle;
        const std::vector<uint8_t> bytes = NameBytes(name);
        Query q(databaseByName_);
        if (!q.Blob(1, bytes.data(), bytes.size()).Row()) return kInvalidStoreHandle;
        found = static_cast<CEOID>(q.ColumnInt(0));
    } else {
        Query q(databaseById_);
        if (!q.Int(1, oid).Row()) return kInvalidStoreHandle;
        found = oid;
    }
    StoreHandle handle = lastHandle_;
    do {
        ++handle;
    } while (handle == 0 || handle == kInvalidStoreHandle || cursors_.count(handle) != 0);
    lastHandle_ = handle;
    Cursor& c = cursors_[handle];
    c.db = found;
    c.autoIncrement = (flags & CEDB_AUTOINCREMENT) != 0;
    oid = found;
    return handle;
}

bool SqliteObjectStore::CeOidGetInfo(CEOID oid, DatabaseInfo& info) {
    if (oid == 0) return false;
    Query q(databaseById_);
    if (!q.Int(1, oid).Row()) return false;
    info.name = NameFromBytes(q.ColumnBlob(0), q.ColumnSize(0));
    info.type = static_cast<uint32_t>(q.ColumnInt(1));
    info.recordCount = static_cast<uint16_t>(q.ColumnInt(2));
    return true;
}

// A seek that finds nothing leaves the handle at the end, so the next read returns 0.
CEOID SqliteObjectStore::CeSeekDatabase(StoreHandle handle, uint32_t seekType, uint32_t value) {
    Cursor* c = Find(handle);
    if (c == nullptr) return 0;
    if (seekType == CEDB_SEEK_CEOID && value != 0) {
        Query q(recordById_);
        if (q.Int(1, value).Row() && static_cast<CEOID>(q.ColumnInt(0)) == c->db) {
            MoveTo(*c, q.ColumnInt(1), value - 1);
            return value;
        }
    } else if (seekType == CEDB_SEEK_VALUEFIRSTEQUAL) {
        Query q(firstEqual_);
        if (q.Int(1, c->db).Int(2, value).Row()) {
            const CEOID found = static_cast<CEOID>(q.ColumnInt(0));
            MoveTo(*c, value, found - 1);
            return found;
        }
    }
    MoveTo(*c, kAfterAll, 0);
    return 0;
}

// Fetches the next records after the handle's position; each fetch of an unbroken run of
// reads takes more rows than the last, so a single read stays cheap and a full scan costs
// few queries.
bool SqliteObjectStore::Fetch(Cursor& c) {
    c.rows.clear();
    c.bytes.clear();
    c.next = 0;
    c.generation = 0;
    Query q(batch_);
    q.Int(1, c.db).Int(2, c.sortkey).Int(3, c.oid).Int(4, static_cast<int64_t>(c.batch));
    while (q.Row()) {
        const uint8_t* data = q.ColumnBlob(2);
        const size_t size = q.ColumnSize(2);
        const size_t at = c.bytes.size();
        if (size != 0) c.bytes.insert(c.bytes.end(), data, data + size);
        c.rows.push_back(Row{static_cast<CEOID>(q.ColumnInt(0)), q.ColumnInt(1), at, size});
    }
    if (!q.Done()) return false;
    c.rowsReachEnd = c.rows.size() < c.batch;
    c.generation = generation_;
    c.batch = std::min(c.batch * 4, kLargestBatch);
    return true;
}

CEOID SqliteObjectStore::CeReadRecordProps(StoreHandle handle, std::vector<PropValue>& props) {
    Cursor* c = Find(handle);
    if (c == nullptr) return 0;
    if (c->generation != generation_) {
        // After a change, reads and writes may alternate: start small again.
        c->batch = kFirstBatch;
        if (!Fetch(*c) || c->rows.empty()) return 0;
    } else if (c->next >= c->rows.size()) {
        if (c->rowsReachEnd || !Fetch(*c) || c->rows.empty()) return 0;
    }
    const Row& row = c->rows[c->next];
    if (c->autoIncrement) {
        // A record that does not decode is passed over like any other.
        c->sortkey = row.sortkey;
        c->oid = row.oid;
        ++c->next;
    }
    if (!DecodeRecord(c->bytes.data() + row.at, row.size, props)) {
        props.clear();
        return 0;
    }
    return row.oid;
}

bool SqliteObjectStore::ReadSortKeys(StoreHandle handle, std::vector<uint32_t>& keys) {
    keys.clear();
    const Cursor* c = Find(handle);
    if (c == nullptr) return false;
    Query q(sortKeys_);
    q.Int(1, c->db);
    while (q.Row()) keys.push_back(static_cast<uint32_t>(q.ColumnInt(0)));
    return q.Done();
}

CEOID SqliteObjectStore::CeWriteRecordProps(StoreHandle handle, CEOID record,
                                            const std::vector<PropValue>& props) {
    Cursor* c = Find(handle);
    if (c == nullptr) return 0;
    for (const PropValue& p : props)
        if (p.Type() != CEVT_UI4 && p.Type() != CEVT_LPWSTR) return 0;
    const CEOID db = c->db;
    CEOID result = 0;
    const bool ok = Change([&] {
        work_.clear();
        encoded_.clear();
        if (record == 0) {
            {
                Query q(databaseById_);
                if (!q.Int(1, db).Row() || q.ColumnInt(2) >= kRecordLimit) return false;
            }
            MergeProperties(work_, props);
            if (!EncodeRecord(work_, encoded_) || !NewOid(result)) return false;
            return Query(insertRecord_)
                       .Int(1, db)
                       .Int(2, SortKey(work_))
                       .Int(3, result)
                       .Blob(4, encoded_.data(), encoded_.size())
                       .Run() &&
                   Query(countDelta_).Int(1, db).Int(2, 1).Run();
        }
        {
            Query q(recordById_);
            if (!q.Int(1, record).Row() || static_cast<CEOID>(q.ColumnInt(0)) != db ||
                !DecodeRecord(q.ColumnBlob(2), q.ColumnSize(2), work_))
                return false;
        }
        MergeProperties(work_, props);
        result = record;
        return EncodeRecord(work_, encoded_) && Query(updateRecord_)
                                                    .Int(1, record)
                                                    .Int(2, SortKey(work_))
                                                    .Blob(3, encoded_.data(), encoded_.size())
                                                    .Run();
    });
    return ok ? result : 0;
}

bool SqliteObjectStore::CeDeleteRecord(StoreHandle handle, CEOID record) {
    Cursor* c = Find(handle);
    if (c == nullptr || record == 0) return false;
    const CEOID db = c->db;
    return Change([&] {
        return Query(deleteRecord_).Int(1, record).Int(2, db).Run() && sqlite3_changes(db_) == 1 &&
               Query(countDelta_).Int(1, db).Int(2, -1).Run();
    });
}

bool SqliteObjectStore::CeDeleteDatabase(CEOID oid) {
    if (oid == 0) return false;
    for (const auto& [handle, cursor] : cursors_)
        if (cursor.db == oid) return false;
    return Change([&] {
        return Query(deleteDatabase_).Int(1, oid).Run() && sqlite3_changes(db_) == 1 &&
               Query(deleteRecords_).Int(1, oid).Run();
    });
}

bool SqliteObjectStore::CloseHandle(StoreHandle handle) {
    return cursors_.erase(handle) == 1;
}

bool SqliteObjectStore::BeginTransaction() {
    if (forLooking_ || scopeLost_ || !Query(beginScope_).Run()) return false;
    ++depth_;
    return true;
}

bool SqliteObjectStore::EndTransaction(bool commit) {
    if (depth_ == 0) return false;
    --depth_;
    if (scopeLost_) {
        if (depth_ == 0) scopeLost_ = false;
        return !commit;
    }
    if (commit && Query(releaseScope_).Run()) return true;
    // Undone on request, or because the commit itself failed.
    ++generation_;
    Query(rollbackToScope_).Run();
    Query(releaseScope_).Run();
    if (depth_ == 0 && !sqlite3_get_autocommit(db_)) Query(rollback_).Run();
    return !commit;
}

std::vector<DatabaseDump> SqliteObjectStore::Dump() {
    std::vector<std::pair<CEOID, std::u16string>> databases;
    {
        Query q(allDatabases_);
        while (q.Row())
            databases.emplace_back(static_cast<CEOID>(q.ColumnInt(0)),
                                   NameFromBytes(q.ColumnBlob(1), q.ColumnSize(1)));
    }
    std::sort(databases.begin(), databases.end(),
              [](const auto& a, const auto& b) { return a.second < b.second; });
    std::vector<DatabaseDump> dump;
    for (auto& [oid, name] : databases) {
        DatabaseDump& d = dump.emplace_back();
        d.name = std::move(name);
        Query q(databaseRecords_);
        q.Int(1, oid);
        while (q.Row()) {
            // A record that does not decode is listed without properties.
            auto& props = d.records.emplace_back();
            if (!DecodeRecord(q.ColumnBlob(0), q.ColumnSize(0), props)) props.clear();
        }
    }
    return dump;
}

std::string Reason(const char* operation, sqlite3* db, int rc) {
    return std::string(operation) + ": " +
           (db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

// Checks the store's layout and readies its statements; false with `why` set when it is not ours.
bool Verify(SqliteObjectStore& store, sqlite3* db, std::string& why) {
    if (QueryInt(db, "PRAGMA application_id") != kApplicationId ||
        QueryInt(db, "PRAGMA user_version") != kSchemaVersion) {
        why = sqlite3_errcode(db) != SQLITE_OK ? Reason("read", db, 0)
                                               : "open: a database of another program";
        return false;
    }
    if (!store.Prepare()) {
        why = Reason("read", db, 0);
        return false;
    }
    return true;
}

// Opens a file that passed the header check, touching nothing in it until every check passed.
std::unique_ptr<ObjectStore> OpenVerified(const fs::path& file, const char* vfs, std::string& why) {
    sqlite3* db = nullptr;
    // One thread uses the store, so SQLite's own locking is left out.
    const int rc =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, vfs);
    if (rc != SQLITE_OK) {
        why = Reason("open", db, rc);
        sqlite3_close(db);
        return nullptr;
    }
    auto store = std::make_unique<SqliteObjectStore>(db);
    // Closing after a failed check must not checkpoint the log into the file.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(db, 2000);
    if (!Verify(*store, db, why)) return nullptr;
    {
        Statement s;
        if (!s.Prepare(db, "PRAGMA journal_mode")) {
            why = Reason("read", db, 0);
            return nullptr;
        }
        Query q(s);
        const bool row = q.Row();
        const auto* mode =
            row ? reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)) : nullptr;
        if (mode == nullptr || std::strcmp(mode, "wal") != 0) {
            why = row ? "open: not a store of this program (no write-ahead log)"
                      : Reason("read", db, 0);
            return nullptr;
        }
    }
    // SQLite falls back to reading only when the file cannot be written: every change would
    // then fail one by one, so such a file is refused at once.
    if (sqlite3_db_readonly(db, "main") != 0) {
        why = "open: the store cannot be written";
        return nullptr;
    }
    if (!Exec(db, "PRAGMA synchronous = FULL")) {
        why = Reason("open", db, 0);
        return nullptr;
    }
    // Reads of the store map its file instead of copying each page out of the system's cache:
    // a full read of the records, at every start and every change of project, costs a third
    // less. Writes still go through the log. Not being able to map only loses the speed.
    Exec(db, "PRAGMA mmap_size = 268435456");
    // SQLite folds the log when a change leaves it kFoldPages long (and ignores a fold that
    // fails), and cuts its file back once a large change has grown it. A store that cannot set
    // them only keeps a longer log.
    sqlite3_wal_autocheckpoint(db, kFoldPages);
    Exec(db, ("PRAGMA journal_size_limit = " + std::to_string(kLogSizeLimit)).c_str());
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    return store;
}

// Whether this program (its effective user) may write the file or folder.
bool Writable(const fs::path& path) {
    return ::faccessat(AT_FDCWD, path.empty() ? "." : path.c_str(), W_OK, AT_EACCESS) == 0;
}

// A file SQLite opens but may not write it opens for reading only, and then makes a log and
// an index beside it with the file's own read-only mode, which would make every later start
// fail even once the file is writable again. So the store, its folder and a log or index
// beside it are checked first, and nothing is made when one of them cannot be written. A log
// or index that such a refused start of an earlier version left read-only is given the
// store's own mode again, as SQLite would have made it. Only permissions are looked at, so no
// file is opened (closing it would drop this program's locks on a store it already has open).
bool CheckWritable(const fs::path& file, std::string& why) {
    struct stat storeStat {};
    if (::stat(file.c_str(), &storeStat) != 0 || !Writable(file)) {
        why = std::string("open: ") + std::strerror(errno);
        return false;
    }
    if (!Writable(file.parent_path())) {
        why = std::string("open: the folder cannot be written: ") + std::strerror(errno);
        return false;
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        const fs::path beside = WithSuffix(file, suffix);
        struct stat st {};
        if (::lstat(beside.c_str(), &st) != 0 || Writable(beside)) continue;
        const int error = errno;
        if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::chmod(beside.c_str(), storeStat.st_mode & 0666) == 0 && Writable(beside))
            continue;
        why = std::string("open: ") + beside.filename().string() + ": " + std::strerror(error);
        return false;
    }
    return true;
}

// The store is made or replaced only under a name that holds a plain file or nothing: a link
// leads to a store elsewhere (a drive that may not be mounted), and a pipe or a device is no
// place for one. Beside it, a log or index that is not a plain file is refused as well.
bool CheckFileKinds(const fs::path& file, std::string& why) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        struct stat target {};
        if (::stat(file.c_str(), &target) != 0) {
            why = "open: a symbolic link to a missing file";
            return false;
        }
        if (!S_ISREG(target.st_mode)) {
            why = "open: a symbolic link to " + DescribeFileKind(target.st_mode);
            return false;
        }
        if (target.st_size == 0) {  // a store would be made through the link
            why = "open: a symbolic link to an empty file";
            return false;
        }
    } else if (::lstat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        why = "open: " + DescribeFileKind(st.st_mode);
        return false;
    }
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const fs::path beside = WithSuffix(file, suffix);
        if (::lstat(beside.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            why = "open: " + beside.filename().string() + " is " + DescribeFileKind(st.st_mode);
            return false;
        }
    }
    return true;
}

// A first start cut short leaves its half-made store under a name of its own; the caller holds
// the data folder, so nobody else is making one now.
void RemoveStaleInitFiles(const fs::path& file) {
    const std::string prefix = file.filename().string() + ".init-";
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    std::vector<fs::path> stale;
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            it->symlink_status(ec).type() == fs::file_type::regular) {
            stale.push_back(it->path());
        }
    }
    for (const fs::path& path : stale) fs::remove(path, ec);
}

std::unique_ptr<ObjectStore> OpenStore(const fs::path& file, const char* vfs, std::string& why) {
    if (!CheckFileKinds(file, why)) return nullptr;
    RemoveStaleInitFiles(file);
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    // A log without its store is someone's data, not a place for a new store.
    const char* const kLonelyLog = "create: a write-ahead log lies there without its store";
    if (status.type() == fs::file_type::not_found) {
        if (SizeOrZero(WithSuffix(file, "-wal")) != 0) {
            why = kLonelyLog;
            return nullptr;
        }
        if (!CreateStoreFile(file, vfs, why)) return nullptr;
    } else if (ec) {
        why = "open: " + ec.message();
        return nullptr;
    } else if (status.type() != fs::file_type::regular) {
        why = "open: not a regular file";
        return nullptr;
    } else {
        const uintmax_t size = fs::file_size(file, ec);
        if (ec) {
            why = "open: " + ec.message();
            return nullptr;
        }
        if (size == 0) {
            if (!CheckWritable(file, why)) return nullptr;
            if (SizeOrZero(WithSuffix(file, "-wal")) != 0) {
                why = kLonelyLog;
                return nullptr;
            }
            if (!CreateStoreFile(file, vfs, why)) return nullptr;
        } else if (!HeaderIsOurs(file, size, why)) {
            return nullptr;
        }
    }
    if (!CheckWritable(file, why)) return nullptr;
    return OpenVerified(file, vfs, why);
}

// The file's name as a SQLite URI, so that parameters can follow it.
std::string FileUri(const fs::path& file) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : fs::absolute(file).string()) {
        if (std::isalnum(c) || std::strchr("/-._~", c) != nullptr) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

std::unique_ptr<SqliteObjectStore> LookingStore(sqlite3* db, int rc, std::string& why) {
    if (rc != SQLITE_OK) {
        why = Reason("open", db, rc);
        sqlite3_close(db);
        return nullptr;
    }
    auto store = std::make_unique<SqliteObjectStore>(db, true);
    if (!Verify(*store, db, why)) return nullptr;
    return store;
}

constexpr int kLookingFlags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;

// Looks at a store whose log holds changes: the store and its log are copied into a private
// folder and the copy is read, since SQLite would make an index file beside the real one.
std::unique_ptr<ObjectStore> LookAtCopy(const fs::path& file, std::string& why) {
    std::string name = (fs::temp_directory_path() / "quorvella-look-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) {
        why = std::string("copy: ") + std::strerror(errno);
        return nullptr;
    }
    ScratchFolder folder;
    folder.path = name;
    const fs::path copy = folder.path / "objectstore.sqlite";
    std::error_code ec;
    fs::copy_file(WithSuffix(file, "-wal"), WithSuffix(copy, "-wal"), ec);
    if (!ec) fs::copy_file(file, copy, ec);
    if (ec) {
        why = "copy: " + ec.message();
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(FileUri(copy).c_str(), &db, kLookingFlags, nullptr);
    auto store = LookingStore(db, rc, why);
    if (store == nullptr) return nullptr;
    store->KeepScratch(std::move(folder.path));
    folder.path.clear();
    return store;
}

std::unique_ptr<ObjectStore> LookAt(const fs::path& file, std::string& why) {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec || status.type() != fs::file_type::regular) {
        why = status.type() == fs::file_type::not_found ? "open: no such file"
              : ec                                      ? "open: " + ec.message()
                                                        : "open: not a regular file";
        return nullptr;
    }
    const uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        why = "open: " + ec.message();
        return nullptr;
    }
    const uintmax_t logSize = SizeOrZero(WithSuffix(file, "-wal"));
    sqlite3* db = nullptr;
    if (size == 0) {
        if (logSize != 0) {
            why = "open: a write-ahead log lies there without its store";
            return nullptr;
        }
        // What the first start would make of it: an empty store, here kept in memory.
        int rc =
            sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc == SQLITE_OK && !Exec(db, kCreateSchema)) rc = sqlite3_errcode(db);
        return LookingStore(db, rc, why);
    }
    if (!HeaderIsOurs(file, size, why)) return nullptr;
    if (logSize != 0) return LookAtCopy(file, why);
    // Without changes in a log the file alone is the store: read as unchanging, SQLite makes
    // no log or index beside it and takes no lock.
    const std::string uri = FileUri(file) + "?immutable=1";
    const int rc = sqlite3_open_v2(uri.c_str(), &db, kLookingFlags, nullptr);
    return LookingStore(db, rc, why);
}

// One line on standard error for whoever started the program; the user sees the program's
// own message.
void Report(const char* what, const fs::path& file, const std::string& why) {
    const std::string line = "quorvella: " + std::string(what) + " " + file.string() + ": " +
                             (why.empty() ? "unknown reason" : why) + "\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace

std::unique_ptr<ObjectStore> OpenObjectStoreFile(const fs::path& file, const char* vfs) {
    std::string why;
    auto store = OpenStore(file, vfs, why);
    if (store == nullptr) Report("cannot open store", file, why);
    return store;
}

std::unique_ptr<ObjectStore> OpenObjectStoreForLooking(const fs::path& file) {
    std::string why;
    auto store = LookAt(file, why);
    if (store == nullptr) Report("cannot look at store", file, why);
    return store;
}

}  // namespace qv
