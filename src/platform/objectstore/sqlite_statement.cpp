#include "platform/objectstore/sqlite_statement.h"

namespace qv::sqlite {

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::optional<int64_t> QueryInt(sqlite3* db, const char* sql) {
    Statement s;
    if (!s.Prepare(db, sql)) return std::nullopt;
    Query q(s);
    if (!q.Row()) return std::nullopt;
    return q.ColumnInt(0);
}

std::string Reason(const char* operation, sqlite3* db, int rc) {
    return std::string(operation) + ": " +
           (db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

}  // namespace qv::sqlite
