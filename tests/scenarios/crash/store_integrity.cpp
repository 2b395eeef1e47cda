// Runs SQLite's integrity check on a store file, the way the crashed program left it (with its
// log beside it, when there is one), and prints the verdict.
//
//   store_integrity FILE        exit 0 when the check says ok, 1 otherwise
#include <sqlite3.h>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: store_integrity FILE\n";
        return 2;
    }
    sqlite3* db = nullptr;
    // Opening without creating: a file that is missing is no store at all.
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::cout << "cannot open: " << sqlite3_errmsg(db) << "\n";
        sqlite3_close(db);
        return 1;
    }
    sqlite3_stmt* check = nullptr;
    std::string verdict;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) != SQLITE_OK) {
        verdict = std::string("cannot check: ") + sqlite3_errmsg(db) + "\n";
    } else {
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(check)) == SQLITE_ROW) {
            const auto* line = sqlite3_column_text(check, 0);
            verdict += line ? reinterpret_cast<const char*>(line) : "null";
            verdict += '\n';
        }
        if (rc != SQLITE_DONE)
            verdict += std::string("check stopped: ") + sqlite3_errmsg(db) + "\n";
    }
    sqlite3_finalize(check);
    sqlite3_close(db);
    std::cout << verdict;
    return verdict == "ok\n" ? 0 : 1;
}
