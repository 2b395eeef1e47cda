// Record shorthands and file helpers shared by the object-store tests.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <vector>

#include "files/temp_dir.h"
#include "platform/objectstore/object_store.h"

namespace qv::test {

inline constexpr uint32_t kTag = PropId(1, CEVT_UI4);

// A record whose property 0 is `key`, with a second property telling records apart.
inline std::vector<PropValue> Keyed(uint32_t key, uint32_t tag) {
    return {PropValue::Number(kSortPropertyId, key), PropValue::Number(kTag, tag)};
}

// Reads from the handle's position to the end: the second property of each record.
inline std::vector<uint32_t> ReadTags(ObjectStore& store, StoreHandle h) {
    std::vector<uint32_t> tags;
    std::vector<PropValue> props;
    while (store.CeReadRecordProps(h, props) != 0) {
        uint32_t tag = 0xDEAD;
        for (const PropValue& p : props)
            if (p.propid == kTag) tag = p.ulVal;
        tags.push_back(tag);
    }
    return tags;
}

inline StoreHandle OpenDb(ObjectStore& store, const std::u16string& name,
                          uint32_t flags = CEDB_AUTOINCREMENT) {
    CEOID oid = 0;
    return store.CeOpenDatabase(oid, name, kSortPropertyId, flags);
}

// The record count the store keeps for a database; -1 when there is no such database.
inline int RecordCount(ObjectStore& store, const std::u16string& name) {
    CEOID oid = 0;
    store.CloseHandle(store.CeOpenDatabase(oid, name, kSortPropertyId, 0));
    DatabaseInfo info;
    return store.CeOidGetInfo(oid, info) ? info.recordCount : -1;
}

// A closed store whose database Times holds `records` records (400 make several pages).
inline void MakeStore(const std::filesystem::path& file, uint32_t records = 1) {
    auto store = OpenObjectStoreFile(file);
    ASSERT_NE(store, nullptr);
    ASSERT_NE(store->CeCreateDatabase(u"Times", 0), 0u);
    const StoreHandle h = OpenDb(*store, u"Times");
    StoreTransaction t(*store);
    for (uint32_t i = 0; i < records; ++i)
        ASSERT_NE(store->CeWriteRecordProps(h, 0, Keyed(i, i)), 0u);
    ASSERT_TRUE(t.Commit());
}

// Runs SQL on a file directly, as another program would.
inline void RunSql(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

}  // namespace qv::test
