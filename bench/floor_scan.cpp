// The floor for a start: a bare SQLite program that reads every time record of a store file,
// keeps its bytes, and sorts the records by date. No list, no texts, no windows.
//
//   qv-floor-scan STORE_FILE      prints the number of records read
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/objectstore/object_store.h"
#include "platform/objectstore/record_codec.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv-floor-scan STORE_FILE\n");
        return 2;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return 1;
    sqlite3_stmt* rows = nullptr;
    const char* sql =
        "SELECT r.oid, r.props FROM records r JOIN databases d ON r.db = d.oid "
        "WHERE d.name = ?1 ORDER BY r.sortkey, r.oid";
    if (sqlite3_prepare_v2(db, sql, -1, &rows, nullptr) != SQLITE_OK) return 1;
    static const char16_t kName[] = u"Brumo Quorvella";
    sqlite3_bind_blob(rows, 1, kName, sizeof kName - sizeof(char16_t), SQLITE_STATIC);

    struct Row {
        uint32_t dateKey;
        uint32_t oid;
        std::vector<uint8_t> bytes;
    };
    std::vector<Row> records;
    std::vector<qv::PropValue> props;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(rows, 1));
        const size_t size = static_cast<size_t>(sqlite3_column_bytes(rows, 1));
        uint32_t day = 0, month = 0, year = 0;
        if (qv::DecodeRecord(data, size, props)) {
            for (const qv::PropValue& p : props) {
                if (p.propid == qv::PropId(2, qv::CEVT_UI4)) day = p.ulVal;
                if (p.propid == qv::PropId(3, qv::CEVT_UI4)) month = p.ulVal;
                if (p.propid == qv::PropId(4, qv::CEVT_UI4)) year = p.ulVal;
            }
        }
        records.push_back(Row{year * 10000 + month * 100 + day,
                              static_cast<uint32_t>(sqlite3_column_int64(rows, 0)),
                              std::vector<uint8_t>(data, data + size)});
    }
    sqlite3_finalize(rows);
    sqlite3_close(db);
    std::stable_sort(records.begin(), records.end(),
                     [](const Row& a, const Row& b) { return a.dateKey < b.dateKey; });
    std::printf("%zu\n", records.size());
    return records.empty() ? 1 : 0;
}
