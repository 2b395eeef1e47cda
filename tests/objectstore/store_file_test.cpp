// The store file: kept across runs, made when new, refused and left alone when unusable.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include "objectstore/store_test_util.h"
#include "platform/objectstore/object_store.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::Keyed;
using test::ReadBytes;
using test::ReadTags;
using test::WriteBytes;
using ::testing::ElementsAre;

// Runs SQL on a file directly, as another program would.
void RunSql(const fs::path& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_free(error);
    sqlite3_close(db);
}

StoreHandle OpenTimes(ObjectStore& store) {
    CEOID oid = 0;
    return store.CeOpenDatabase(oid, u"Times", kSortPropertyId, CEDB_AUTOINCREMENT);
}

// A closed store of a few hundred records (several pages).
void MakeStore(const fs::path& file) {
    auto store = OpenObjectStoreFile(file);
    ASSERT_NE(store, nullptr);
    store->CeCreateDatabase(u"Times", 0);
    const StoreHandle h = OpenTimes(*store);
    StoreTransaction t(*store);
    for (uint32_t i = 0; i < 400; ++i)
        store->CeWriteRecordProps(
            h, 0,
            {PropValue::Number(kSortPropertyId, i), PropValue::String(PropId(7, 31), u"memo")});
    ASSERT_TRUE(t.Commit());
}

TEST(StoreFile, KeepsDatabasesAndRecordsAcrossReopenAndNeverReusesIdentifiers) {
    test::TempDir dir;
    const fs::path file = dir / "store.db";
    CEOID times = 0, last = 0;
    {
        auto store = OpenObjectStoreFile(file);
        ASSERT_NE(store, nullptr);
        times = store->CeCreateDatabase(u"Times", 0);
        store->CeCreateDatabase(u"Projects", 2);
        const StoreHandle h = OpenTimes(*store);
        store->CeWriteRecordProps(h, 0, Keyed(9, 1));
        store->CeWriteRecordProps(h, 0, Keyed(3, 2));
        last = store->CeWriteRecordProps(h, 0, Keyed(3, 3));
        ASSERT_TRUE(store->CeDeleteRecord(h, last));
        // A scope still open when the store goes away is not kept.
        ASSERT_TRUE(store->BeginTransaction());
        store->CeWriteRecordProps(h, 0, Keyed(4, 4));
    }
    auto store = OpenObjectStoreFile(file);
    ASSERT_NE(store, nullptr);
    const StoreHandle h = OpenTimes(*store);
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(2, 1));
    DatabaseInfo info;
    ASSERT_TRUE(store->CeOidGetInfo(times, info));
    EXPECT_EQ(info.recordCount, 2);
    EXPECT_GT(store->CeWriteRecordProps(h, 0, Keyed(1, 5)), last);
    ASSERT_EQ(store->Dump().size(), 2u);
    EXPECT_EQ(store->Dump()[0].name, u"Projects");
}

TEST(StoreFile, TwoProgramsOnOneFileNeverHandOutTheSameIdentifier) {
    test::TempDir dir;
    const fs::path file = dir.path() / "store.sqlite";
    auto a = OpenObjectStoreFile(file);
    auto b = OpenObjectStoreFile(file);
    ASSERT_TRUE(a && b);
    const CEOID dbA = a->CeCreateDatabase(u"A", 0);
    const CEOID dbB = b->CeCreateDatabase(u"B", 0);
    ASSERT_NE(dbA, 0u);
    ASSERT_NE(dbB, 0u);
    EXPECT_NE(dbA, dbB);
    CEOID oid = 0;
    StoreHandle ha = a->CeOpenDatabase(oid, u"A", kSortPropertyId, CEDB_AUTOINCREMENT);
    StoreHandle hb = b->CeOpenDatabase(oid, u"B", kSortPropertyId, CEDB_AUTOINCREMENT);
    const CEOID recA = a->CeWriteRecordProps(ha, 0, {PropValue::Number(kSortPropertyId, 1)});
    const CEOID recB = b->CeWriteRecordProps(hb, 0, {PropValue::Number(kSortPropertyId, 1)});
    ASSERT_NE(recA, 0u);
    ASSERT_NE(recB, 0u);
    EXPECT_NE(recA, recB);
    EXPECT_NE(recB, dbA);
}

TEST(StoreFile, AnAbsentOrEmptyFileBecomesAnEmptyStore) {
    test::TempDir dir;
    WriteBytes(dir / "empty.db", "");
    for (const char* name : {"absent.db", "empty.db"}) {
        auto store = OpenObjectStoreFile(dir / name);
        ASSERT_NE(store, nullptr) << name;
        EXPECT_TRUE(store->Dump().empty());
        EXPECT_NE(store->CeCreateDatabase(u"Times", 0), 0u);
        store.reset();
        store = OpenObjectStoreFile(dir / name);
        ASSERT_NE(store, nullptr) << name;
        EXPECT_EQ(store->Dump().size(), 1u);
    }
    // A log without its store is not replaced by a new store.
    WriteBytes(dir / "lonely.db-wal", "log");
    EXPECT_EQ(OpenObjectStoreFile(dir / "lonely.db"), nullptr);
    EXPECT_FALSE(fs::exists(dir / "lonely.db"));
    EXPECT_EQ(ReadBytes(dir / "lonely.db-wal"), "log");
    EXPECT_EQ(OpenObjectStoreFile(dir / "no-such-folder" / "store.db"), nullptr);
    EXPECT_FALSE(fs::exists(dir / "no-such-folder"));
}

TEST(StoreFile, RefusesAnUnusableFileAndLeavesItByteForByte) {
    test::TempDir dir;
    const fs::path good = dir / "good.db";
    MakeStore(good);
    const std::string store = ReadBytes(good);
    ASSERT_GT(store.size(), 8192u);

    std::string garbage(store.size(), '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
    WriteBytes(dir / "garbage.db", garbage);
    WriteBytes(dir / "half.db", store.substr(0, store.size() / 2));
    WriteBytes(dir / "short.db", store.substr(0, 50));
    RunSql(dir / "other.db", "CREATE TABLE t(x); INSERT INTO t VALUES(1);");
    RunSql(dir / "other-wal.db", "PRAGMA journal_mode=WAL; CREATE TABLE t(x);");
    fs::copy_file(good, dir / "newer.db");
    RunSql(dir / "newer.db", "PRAGMA user_version = 2;");

    for (const char* name :
         {"garbage.db", "half.db", "short.db", "other.db", "other-wal.db", "newer.db"}) {
        const fs::path file = dir / name;
        const std::string before = ReadBytes(file);
        EXPECT_EQ(OpenObjectStoreFile(file), nullptr) << name;
        EXPECT_EQ(ReadBytes(file), before) << name;
        EXPECT_FALSE(fs::exists(dir.path() / (std::string(name) + "-wal"))) << name;
    }

    fs::create_directory(dir / "folder.db");
    EXPECT_EQ(OpenObjectStoreFile(dir / "folder.db"), nullptr);
    EXPECT_TRUE(fs::is_directory(dir / "folder.db"));
    EXPECT_TRUE(fs::is_empty(dir / "folder.db"));

    // The original still opens whole.
    auto reopened = OpenObjectStoreFile(good);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->Dump()[0].records.size(), 400u);
}

TEST(StoreFile, NothingButAPlainFileIsMadeOrReplacedAndLinksAreLeftAsTheyAre) {
    test::TempDir dir;
    const fs::path file = dir / "objectstore.sqlite";
    // A store on a drive that is not mounted: the link stays, no store is made in its place.
    fs::create_symlink(dir / "unmounted" / "objectstore.sqlite", file);
    EXPECT_EQ(OpenObjectStoreFile(file), nullptr);
    EXPECT_TRUE(fs::is_symlink(file));
    WriteBytes(dir / "empty", "");
    fs::remove(file);
    fs::create_symlink(dir / "empty", file);
    EXPECT_EQ(OpenObjectStoreFile(file), nullptr);
    EXPECT_EQ(ReadBytes(dir / "empty"), "");
    // A link to a real store is followed.
    MakeStore(dir / "real.db");
    fs::remove(file);
    fs::create_symlink(dir / "real.db", file);
    EXPECT_NE(OpenObjectStoreFile(file), nullptr);

    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(OpenObjectStoreFile(file), nullptr);
    EXPECT_EQ(fs::status(file).type(), fs::file_type::fifo);
    fs::remove(file);

    // A log or index beside the store that is not a plain file.
    MakeStore(file);
    const std::string before = ReadBytes(file);
    for (const char* suffix : {"-wal", "-shm"}) {
        const fs::path beside = file.string() + suffix;
        ASSERT_EQ(::mkfifo(beside.c_str(), 0600), 0);
        EXPECT_EQ(OpenObjectStoreFile(file), nullptr) << suffix;
        fs::remove(beside);
    }
    EXPECT_EQ(ReadBytes(file), before);
}

TEST(StoreFile, HalfMadeStoresOfCrashedFirstStartsAreRemoved) {
    test::TempDir dir;
    const fs::path file = dir / "objectstore.sqlite";
    for (const char* name :
         {"objectstore.sqlite.init-Ab12Cd", "objectstore.sqlite.init-Ab12Cd-journal",
          "objectstore.sqlite.init-Xy34Zw"}) {
        WriteBytes(dir / name, "half");
    }
    WriteBytes(dir / "objectstore.sqlite.other", "kept");
    ASSERT_NE(OpenObjectStoreFile(file), nullptr);
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename().string().find(".init-"), std::string::npos)
            << entry.path();
    }
    EXPECT_EQ(ReadBytes(dir / "objectstore.sqlite.other"), "kept");
}

TEST(StoreFile, ARecordThatDoesNotDecodeFailsOnlyItsOwnRead) {
    test::TempDir dir;
    const fs::path file = dir / "store.db";
    CEOID broken = 0;
    {
        auto store = OpenObjectStoreFile(file);
        store->CeCreateDatabase(u"Times", 0);
        const StoreHandle h = OpenTimes(*store);
        store->CeWriteRecordProps(h, 0, Keyed(1, 1));
        broken = store->CeWriteRecordProps(h, 0, Keyed(2, 2));
        store->CeWriteRecordProps(h, 0, Keyed(3, 3));
    }
    const std::string sql =
        "UPDATE records SET props = x'0102000000130000' WHERE oid = " + std::to_string(broken);
    RunSql(file, sql.c_str());

    auto store = OpenObjectStoreFile(file);
    ASSERT_NE(store, nullptr);
    const StoreHandle h = OpenTimes(*store);
    std::vector<PropValue> props;
    EXPECT_NE(store->CeReadRecordProps(h, props), 0u);
    EXPECT_EQ(store->CeReadRecordProps(h, props), 0u);
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(3));
    EXPECT_EQ(store->CeWriteRecordProps(h, broken, Keyed(2, 9)), 0u);
}

}  // namespace
}  // namespace qv
