// Thin wrappers over SQLite's prepared statements, for the object store and its file checks.
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qv::sqlite {

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

bool Exec(sqlite3* db, const char* sql);
// One integer from a statement returning one row, e.g. a pragma.
std::optional<int64_t> QueryInt(sqlite3* db, const char* sql);
// "operation: " and SQLite's message for the connection (or for `rc` when there is none).
std::string Reason(const char* operation, sqlite3* db, int rc);

}  // namespace qv::sqlite
