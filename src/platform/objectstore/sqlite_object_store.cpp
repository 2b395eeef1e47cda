// The object store on a SQLite connection: databases, records and their properties, each
// change one atomic step of its own or inside the caller's transaction.
#include <algorithm>
#include <map>

#include "platform/objectstore/record_codec.h"
#include "platform/objectstore/sqlite_statement.h"
#include "platform/objectstore/sqlite_store.h"

namespace qv::sqlite {

namespace {

constexpr int64_t kNoSortValue = int64_t{1} << 32;  // records without property 0 come last
constexpr int64_t kAfterAll = kNoSortValue + 1;
constexpr int64_t kRecordLimit = 65535;  // the record count is 16 bits wide
constexpr size_t kFirstBatch = 16;
constexpr size_t kLargestBatch = 1024;

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

std::string Bytes(const Query& q, int column) {
    const size_t size = q.ColumnSize(column);
    if (size == 0) return {};
    return std::string(reinterpret_cast<const char*>(q.ColumnBlob(column)), size);
}

int64_t SortKey(const std::vector<PropValue>& props) {
    for (const PropValue& p : props)
        if (p.propid == kSortPropertyId) return p.ulVal;
    return kNoSortValue;
}

class SqliteObjectStore final : public ObjectStore {
  public:
    SqliteObjectStore(sqlite3* db, bool forLooking, ScratchFolder scratch)
        : scratch_(std::move(scratch)), db_(db), forLooking_(forLooking) {}
    ~SqliteObjectStore() override {
        if (depth_ > 0) Exec(db_, "ROLLBACK");
        // Waits for the statements (members) to be finalised before closing.
        sqlite3_close_v2(db_);
    }

    bool Prepare();

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
    void ReleaseReadPages() override;
    bool PutValue(const std::string& table, const std::string& key,
                  const std::string& value) override;
    std::optional<std::string> GetValue(const std::string& table, const std::string& key) override;
    bool EraseValue(const std::string& table, const std::string& key) override;
    bool ForEachValue(const std::string& table, const ValueVisitor& fn) override;

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
    // Replaces the handle's fetched rows with the query's rows after its position; the query
    // asked for at most `limit` rows.
    bool FetchRows(Cursor& c, Query& q, int64_t limit);
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

    // Whether the own table exists; its statements are readied once it does.
    bool ValuesReady();

    ScratchFolder scratch_;  // first, so it is removed after every statement and the connection
    sqlite3* db_;
    bool forLooking_;
    Statement savepoint_, release_, rollbackTo_, rollback_;
    Statement beginScope_, releaseScope_, rollbackToScope_;
    Statement nextOid_, databaseByName_, databaseById_, insertDatabase_, deleteDatabase_,
        countDelta_, allDatabases_;
    Statement batch_, batchFromKey_, firstEqual_, sortKeys_, recordById_, insertRecord_,
        updateRecord_, deleteRecord_, deleteRecords_, databaseRecords_;
    // The own table's statements, once it exists.
    struct ValueStatements {
        Statement get, put, erase, all;
    };
    std::unique_ptr<ValueStatements> values_;

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
        batchFromKey_.Prepare(db_,
                              "SELECT oid, sortkey, props FROM records WHERE db = ?1 AND "
                              "sortkey >= ?2 ORDER BY sortkey, oid LIMIT ?3") &&
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
// few queries. Sort keys rarely repeat, so the rows from the position's sort key on are asked
// for and those at or before the position passed over here, which spares the database a
// comparison of two values on every row; only when a whole batch is passed over (one sort key
// on more records than a batch) are the rows after the position asked for exactly.
bool SqliteObjectStore::Fetch(Cursor& c) {
    const auto limit = static_cast<int64_t>(c.batch);
    c.batch = std::min(c.batch * 4, kLargestBatch);
    Query fromKey(batchFromKey_);
    if (!FetchRows(c, fromKey.Int(1, c.db).Int(2, c.sortkey).Int(3, limit), limit)) return false;
    if (!c.rows.empty() || c.rowsReachEnd) return true;
    Query after(batch_);
    return FetchRows(c, after.Int(1, c.db).Int(2, c.sortkey).Int(3, c.oid).Int(4, limit), limit);
}

bool SqliteObjectStore::FetchRows(Cursor& c, Query& q, int64_t limit) {
    c.rows.clear();
    c.bytes.clear();
    c.next = 0;
    c.generation = 0;
    int64_t seen = 0;
    while (q.Row()) {
        ++seen;
        const auto oid = static_cast<CEOID>(q.ColumnInt(0));
        const int64_t sortkey = q.ColumnInt(1);
        if (sortkey == c.sortkey && oid <= c.oid) continue;
        const uint8_t* data = q.ColumnBlob(2);
        const size_t size = q.ColumnSize(2);
        const size_t at = c.bytes.size();
        if (size != 0) c.bytes.insert(c.bytes.end(), data, data + size);
        c.rows.push_back(Row{oid, sortkey, at, size});
    }
    if (!q.Done()) return false;
    c.rowsReachEnd = seen < limit;
    c.generation = generation_;
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

// Unmapping the file hands its read pages back; the next read maps it again, lazily, and
// finds its pages in the system's cache. A store that never mapped loses nothing.
void SqliteObjectStore::ReleaseReadPages() {
    if (forLooking_) return;
    Exec(db_, "PRAGMA mmap_size = 0");
    Exec(db_, kMapStoreFile);
}

// The own table is made by the first put, inside that put's change, so a put that is undone
// takes the table with it; the next put makes it again.
bool SqliteObjectStore::ValuesReady() {
    if (values_) return true;
    auto v = std::make_unique<ValueStatements>();
    if (!v->get.Prepare(db_, "SELECT value FROM own_values WHERE tbl = ?1 AND key = ?2") ||
        !v->put.Prepare(db_,
                        "INSERT OR REPLACE INTO own_values(tbl, key, value) "
                        "VALUES(?1, ?2, ?3)") ||
        !v->erase.Prepare(db_, "DELETE FROM own_values WHERE tbl = ?1 AND key = ?2") ||
        !v->all.Prepare(db_, "SELECT key, value FROM own_values WHERE tbl = ?1 ORDER BY key"))
        return false;
    values_ = std::move(v);
    return true;
}

bool SqliteObjectStore::PutValue(const std::string& table, const std::string& key,
                                 const std::string& value) {
    const auto put = [&] {
        return Query(values_->put)
            .Blob(1, table.data(), table.size())
            .Blob(2, key.data(), key.size())
            .Blob(3, value.data(), value.size())
            .Run();
    };
    return Change([&] {
        if (values_ && put()) return true;
        values_.reset();
        return Exec(db_,
                    "CREATE TABLE IF NOT EXISTS own_values(tbl BLOB NOT NULL, key BLOB NOT NULL, "
                    "value BLOB NOT NULL, PRIMARY KEY(tbl, key)) WITHOUT ROWID") &&
               ValuesReady() && put();
    });
}

std::optional<std::string> SqliteObjectStore::GetValue(const std::string& table,
                                                       const std::string& key) {
    if (!ValuesReady()) return std::nullopt;
    Query q(values_->get);
    if (!q.Blob(1, table.data(), table.size()).Blob(2, key.data(), key.size()).Row())
        return std::nullopt;
    return Bytes(q, 0);
}

bool SqliteObjectStore::EraseValue(const std::string& table, const std::string& key) {
    if (!ValuesReady()) return Change([] { return true; });
    return Change([&] {
        return Query(values_->erase)
            .Blob(1, table.data(), table.size())
            .Blob(2, key.data(), key.size())
            .Run();
    });
}

bool SqliteObjectStore::ForEachValue(const std::string& table, const ValueVisitor& fn) {
    if (!ValuesReady()) return true;  // never written
    Query q(values_->all);
    q.Blob(1, table.data(), table.size());
    while (q.Row()) {
        fn(Bytes(q, 0), Bytes(q, 1));
    }
    return q.Done();
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

}  // namespace

std::unique_ptr<ObjectStore> StoreOnConnection(sqlite3* db, bool forLooking, ScratchFolder scratch,
                                               std::string& why) {
    auto store = std::make_unique<SqliteObjectStore>(db, forLooking, std::move(scratch));
    if (!Verify(*store, db, why)) return nullptr;
    return store;
}

}  // namespace qv::sqlite
