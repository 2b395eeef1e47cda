// The object store's contract: ordering, seeking, reading, writing, deleting, transactions.
#include "platform/objectstore/object_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "objectstore/store_test_util.h"

namespace qv {
namespace {

using test::Keyed;
using test::ReadTags;
using ::testing::ElementsAre;

constexpr uint32_t kTag = PropId(1, CEVT_UI4);

class ObjectStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store = OpenObjectStoreFile(dir / "store.db");
        ASSERT_NE(store, nullptr);
        db = store->CeCreateDatabase(u"Times", 0);
        ASSERT_NE(db, 0u);
        CEOID oid = 0;
        h = store->CeOpenDatabase(oid, u"Times", kSortPropertyId, CEDB_AUTOINCREMENT);
        ASSERT_NE(h, kInvalidStoreHandle);
        ASSERT_EQ(oid, db);
    }
    uint16_t Count(CEOID oid) {
        DatabaseInfo info;
        return store->CeOidGetInfo(oid, info) ? info.recordCount : 0xFFFF;
    }
    StoreHandle OpenById(CEOID oid, uint32_t flags = 0) {
        return store->CeOpenDatabase(oid, u"", kSortPropertyId, flags);
    }
    StoreHandle Reopen(StoreHandle old) {
        store->CloseHandle(old);
        CEOID oid = 0;
        return store->CeOpenDatabase(oid, u"Times", kSortPropertyId, CEDB_AUTOINCREMENT);
    }

    test::TempDir dir;
    std::unique_ptr<ObjectStore> store;
    CEOID db = 0;
    StoreHandle h = kInvalidStoreHandle;
};

TEST_F(ObjectStoreTest, ReadsInUnsignedPropertyZeroOrderWithTiesInFirstWrittenOrder) {
    store->CeWriteRecordProps(h, 0, Keyed(5, 1));
    store->CeWriteRecordProps(h, 0, Keyed(0xFFFFFFFF, 2));
    store->CeWriteRecordProps(h, 0, {PropValue::Number(kTag, 3)});  // no property 0
    const CEOID tie = store->CeWriteRecordProps(h, 0, Keyed(2, 4));
    store->CeWriteRecordProps(h, 0, Keyed(0x80000000, 5));
    store->CeWriteRecordProps(h, 0, Keyed(2, 6));
    store->CeWriteRecordProps(h, 0, Keyed(0, 7));
    store->CeWriteRecordProps(h, 0, Keyed(2, 8));
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(7, 4, 6, 8, 1, 5, 2, 3));

    // Rewriting a record keeps its place among equals; a new property 0 moves it.
    h = Reopen(h);
    ASSERT_EQ(store->CeWriteRecordProps(h, tie, {PropValue::Number(kTag, 40)}), tie);
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(7, 40, 6, 8, 1, 5, 2, 3));
    h = Reopen(h);
    ASSERT_EQ(store->CeWriteRecordProps(h, tie, {PropValue::Number(kSortPropertyId, 6)}), tie);
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(7, 6, 8, 1, 40, 5, 2, 3));
    // Back among the 2s it takes its first-written place again.
    h = Reopen(h);
    store->CeWriteRecordProps(h, tie, {PropValue::Number(kSortPropertyId, 2)});
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(7, 40, 6, 8, 1, 5, 2, 3));
}

TEST_F(ObjectStoreTest, SeeksByValueAndByIdentifierAndReadsOnFromThere) {
    const CEOID ten = store->CeWriteRecordProps(h, 0, Keyed(10, 1));
    const CEOID firstTwenty = store->CeWriteRecordProps(h, 0, Keyed(20, 2));
    store->CeWriteRecordProps(h, 0, Keyed(20, 3));
    const CEOID thirty = store->CeWriteRecordProps(h, 0, Keyed(30, 4));

    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, 20), firstTwenty);
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(2, 3, 4));
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_CEOID, thirty), thirty);
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(4));
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_CEOID, firstTwenty), firstTwenty);
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(2, 3, 4));

    // A seek that finds nothing leaves the handle at the end.
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, 10), ten);
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, 15), 0u);
    EXPECT_THAT(ReadTags(*store, h), ElementsAre());
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_CEOID, 0), 0u);
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_CEOID, db), 0u);  // a database, not a record
    EXPECT_EQ(store->CeSeekDatabase(h, 0x40, 20), 0u);             // an unknown seek kind

    // A record of another database cannot be reached through this handle.
    const StoreHandle oh = OpenById(store->CeCreateDatabase(u"Other", 0));
    const CEOID foreign = store->CeWriteRecordProps(oh, 0, Keyed(20, 9));
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_CEOID, foreign), 0u);
    EXPECT_EQ(store->CeSeekDatabase(oh, CEDB_SEEK_VALUEFIRSTEQUAL, 20), foreign);
}

TEST_F(ObjectStoreTest, EachReadMovesOnOnlyWithAutoIncrement) {
    const CEOID a = store->CeWriteRecordProps(h, 0, Keyed(1, 1));
    const CEOID b = store->CeWriteRecordProps(h, 0, Keyed(2, 2));
    std::vector<PropValue> props;
    EXPECT_EQ(store->CeReadRecordProps(h, props), a);
    EXPECT_EQ(store->CeReadRecordProps(h, props), b);
    EXPECT_EQ(store->CeReadRecordProps(h, props), 0u);
    EXPECT_EQ(store->CeReadRecordProps(h, props), 0u);

    const StoreHandle still = OpenById(db);
    EXPECT_EQ(store->CeReadRecordProps(still, props), a);
    EXPECT_EQ(store->CeReadRecordProps(still, props), a);
    // Each handle keeps its own position.
    const StoreHandle other = Reopen(kInvalidStoreHandle);
    EXPECT_EQ(store->CeReadRecordProps(other, props), a);
}

TEST_F(ObjectStoreTest, ReadsFollowChangesMadeWhileReading) {
    for (uint32_t k = 1; k <= 40; ++k) store->CeWriteRecordProps(h, 0, Keyed(k * 10, k));
    std::vector<PropValue> props;
    ASSERT_NE(store->CeReadRecordProps(h, props), 0u);  // 10
    ASSERT_NE(store->CeReadRecordProps(h, props), 0u);  // 20

    // Through another handle: one record removed ahead, one added behind, one added ahead.
    const StoreHandle w = Reopen(kInvalidStoreHandle);
    const CEOID thirty = store->CeSeekDatabase(w, CEDB_SEEK_VALUEFIRSTEQUAL, 30);
    ASSERT_TRUE(store->CeDeleteRecord(w, thirty));
    store->CeWriteRecordProps(w, 0, Keyed(5, 100));
    store->CeWriteRecordProps(w, 0, Keyed(45, 101));
    std::vector<uint32_t> tags = ReadTags(*store, h);
    ASSERT_EQ(tags.size(), 38u);
    EXPECT_THAT(std::vector<uint32_t>(tags.begin(), tags.begin() + 3), ElementsAre(4, 101, 5));
    EXPECT_EQ(tags.back(), 40u);

    // A record added after the end was reached is read next.
    store->CeWriteRecordProps(w, 0, Keyed(1000, 102));
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(102));
}

TEST_F(ObjectStoreTest, WritingReplacesGivenPropertiesInPlaceAndAppendsNewOnes) {
    const uint32_t memo = PropId(7, CEVT_LPWSTR);
    const uint32_t category = PropId(5, CEVT_LPWSTR);
    const CEOID r = store->CeWriteRecordProps(
        h, 0,
        {PropValue::Number(kSortPropertyId, 7), PropValue::String(category, u"Work"),
         PropValue::String(memo, std::nullopt), PropValue::String(PropId(6, CEVT_LPWSTR), u"")});
    ASSERT_NE(r, 0u);
    ASSERT_EQ(store->CeWriteRecordProps(h, r,
                                        {PropValue::String(PropId(9, CEVT_LPWSTR), u"new"),
                                         PropValue::String(memo, u"h\u00e9llo \U0001F600")}),
              r);
    std::vector<PropValue> props;
    ASSERT_EQ(store->CeReadRecordProps(h, props), r);
    EXPECT_THAT(props, ElementsAre(PropValue::Number(kSortPropertyId, 7),
                                   PropValue::String(category, u"Work"),
                                   PropValue::String(memo, u"h\u00e9llo \U0001F600"),
                                   PropValue::String(PropId(6, CEVT_LPWSTR), u""),
                                   PropValue::String(PropId(9, CEVT_LPWSTR), u"new")));
    // An absent text stays absent, distinct from an empty one.
    ASSERT_EQ(store->CeWriteRecordProps(h, r, {PropValue::String(memo, std::nullopt)}), r);
    h = Reopen(h);
    ASSERT_EQ(store->CeReadRecordProps(h, props), r);
    EXPECT_FALSE(props[2].lpwstr.has_value());
    EXPECT_EQ(props[3].lpwstr, u"");
    EXPECT_EQ(Count(db), 1);
}

TEST_F(ObjectStoreTest, RefusedWritesChangeNothing) {
    const CEOID r = store->CeWriteRecordProps(h, 0, Keyed(1, 1));
    const CEOID otherDb = store->CeCreateDatabase(u"Other", 0);
    const StoreHandle oh = OpenById(otherDb, CEDB_AUTOINCREMENT);
    const CEOID foreign = store->CeWriteRecordProps(oh, 0, Keyed(1, 2));

    EXPECT_EQ(store->CeWriteRecordProps(h, foreign, Keyed(1, 3)), 0u);  // another database's
    EXPECT_EQ(store->CeWriteRecordProps(h, db, Keyed(1, 3)), 0u);       // a database
    EXPECT_EQ(store->CeWriteRecordProps(h, 0, {PropValue::Number(PropId(2, 2), 1)}), 0u);
    EXPECT_EQ(store->CeWriteRecordProps(h, r, {PropValue::Number(PropId(2, 65), 1)}), 0u);
    EXPECT_EQ(store->CeWriteRecordProps(h + 77, 0, Keyed(1, 3)), 0u);
    EXPECT_FALSE(store->CeDeleteRecord(h, foreign));

    EXPECT_THAT(ReadTags(*store, h), ElementsAre(1));
    EXPECT_THAT(ReadTags(*store, oh), ElementsAre(2));
}

TEST_F(ObjectStoreTest, DeletingRecordsKeepsTheCountAndNeverReusesIdentifiers) {
    store->CeWriteRecordProps(h, 0, Keyed(1, 1));
    const CEOID b = store->CeWriteRecordProps(h, 0, Keyed(2, 2));
    EXPECT_TRUE(store->CeDeleteRecord(h, b));
    EXPECT_FALSE(store->CeDeleteRecord(h, b));
    EXPECT_EQ(Count(db), 1);
    const CEOID c = store->CeWriteRecordProps(h, 0, Keyed(2, 3));
    EXPECT_GT(c, b);
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_CEOID, b), 0u);
    EXPECT_THAT(ReadTags(*store, Reopen(h)), ElementsAre(1, 3));
}

TEST_F(ObjectStoreTest, DatabasesAreFoundByNameOrIdentifierAndDeletedOnlyWhenClosed) {
    EXPECT_EQ(store->CeCreateDatabase(u"Times", 0), 0u);       // the name is taken
    const CEOID other = store->CeCreateDatabase(u"times", 3);  // names are case-sensitive
    ASSERT_NE(other, 0u);

    DatabaseInfo info;
    ASSERT_TRUE(store->CeOidGetInfo(other, info));
    EXPECT_EQ(info.name, u"times");
    EXPECT_EQ(info.type, 3u);
    EXPECT_EQ(info.recordCount, 0);
    const CEOID record = store->CeWriteRecordProps(h, 0, Keyed(1, 1));
    EXPECT_FALSE(store->CeOidGetInfo(record, info));

    CEOID oid = 0;
    EXPECT_EQ(store->CeOpenDatabase(oid, u"Missing", kSortPropertyId, 0), kInvalidStoreHandle);
    EXPECT_EQ(oid, 0u);
    EXPECT_EQ(OpenById(record), kInvalidStoreHandle);  // a record is not a database
    oid = 0;
    const StoreHandle second = store->CeOpenDatabase(oid, u"Times", kSortPropertyId, 0);
    EXPECT_EQ(oid, db);
    EXPECT_NE(second, h);

    // Both handles must be closed first; then its records go with it.
    EXPECT_FALSE(store->CeDeleteDatabase(db));
    EXPECT_TRUE(store->CloseHandle(h));
    EXPECT_FALSE(store->CloseHandle(h));
    EXPECT_FALSE(store->CeDeleteDatabase(db));
    EXPECT_TRUE(store->CloseHandle(second));
    EXPECT_TRUE(store->CeDeleteDatabase(db));
    EXPECT_FALSE(store->CeDeleteDatabase(record));
    EXPECT_FALSE(store->CeOidGetInfo(db, info));
    oid = 0;
    EXPECT_EQ(store->CeOpenDatabase(oid, u"Times", kSortPropertyId, 0), kInvalidStoreHandle);
    std::vector<PropValue> props;
    EXPECT_EQ(store->CeReadRecordProps(h, props), 0u);

    const CEOID again = store->CeCreateDatabase(u"Times", 0);
    EXPECT_GT(again, record);
    EXPECT_EQ(Count(again), 0);
}

TEST_F(ObjectStoreTest, ADatabaseRefusesItsRecordAfterThe65535th) {
    {
        StoreTransaction t(*store);
        for (uint32_t i = 0; i < 65535; ++i)
            ASSERT_NE(store->CeWriteRecordProps(h, 0, Keyed(i, i)), 0u) << i;
        ASSERT_TRUE(t.Commit());
    }
    EXPECT_EQ(Count(db), 65535);
    EXPECT_EQ(store->CeWriteRecordProps(h, 0, Keyed(1, 1)), 0u);
    EXPECT_EQ(Count(db), 65535);
    const CEOID last = store->CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, 65534);
    EXPECT_EQ(store->CeWriteRecordProps(h, last, {PropValue::Number(kTag, 7)}), last);
    EXPECT_TRUE(store->CeDeleteRecord(h, last));
    EXPECT_NE(store->CeWriteRecordProps(h, 0, Keyed(1, 1)), 0u);
    EXPECT_EQ(Count(db), 65535);
    EXPECT_EQ(ReadTags(*store, Reopen(h)).size(), 65535u);
}

TEST_F(ObjectStoreTest, TransactionScopesCommitAllOrNothingAndOnlyTheOutermostCommits) {
    EXPECT_FALSE(store->EndTransaction(true));  // no scope open

    ASSERT_TRUE(store->BeginTransaction());
    store->CeWriteRecordProps(h, 0, Keyed(1, 1));
    store->CeWriteRecordProps(h, 0, Keyed(2, 2));
    ASSERT_TRUE(store->EndTransaction(false));
    EXPECT_EQ(Count(db), 0);

    // An inner commit is undone by the outer scope's rollback.
    ASSERT_TRUE(store->BeginTransaction());
    store->CeWriteRecordProps(h, 0, Keyed(1, 1));
    ASSERT_TRUE(store->BeginTransaction());
    store->CeWriteRecordProps(h, 0, Keyed(2, 2));
    ASSERT_TRUE(store->EndTransaction(true));
    EXPECT_EQ(Count(db), 2);
    ASSERT_TRUE(store->EndTransaction(false));
    EXPECT_EQ(Count(db), 0);

    // An inner rollback undoes only the inner scope.
    ASSERT_TRUE(store->BeginTransaction());
    store->CeWriteRecordProps(h, 0, Keyed(1, 1));
    ASSERT_TRUE(store->BeginTransaction());
    store->CeWriteRecordProps(h, 0, Keyed(2, 2));
    ASSERT_TRUE(store->EndTransaction(false));
    ASSERT_TRUE(store->EndTransaction(true));
    EXPECT_THAT(ReadTags(*store, Reopen(h)), ElementsAre(1));
    h = Reopen(h);

    // A scope left without Commit rolls back, database creation included.
    {
        StoreTransaction t(*store);
        ASSERT_TRUE(t.ok());
        store->CeWriteRecordProps(h, 0, Keyed(3, 3));
        EXPECT_NE(store->CeCreateDatabase(u"Scratch", 0), 0u);
    }
    CEOID oid = 0;
    EXPECT_EQ(store->CeOpenDatabase(oid, u"Scratch", kSortPropertyId, 0), kInvalidStoreHandle);
    EXPECT_THAT(ReadTags(*store, h), ElementsAre(1));

    // A failing call inside a scope takes back only itself.
    ASSERT_TRUE(store->BeginTransaction());
    store->CeWriteRecordProps(h, 0, Keyed(4, 4));
    EXPECT_EQ(store->CeCreateDatabase(u"Times", 0), 0u);
    ASSERT_TRUE(store->EndTransaction(true));
    EXPECT_THAT(ReadTags(*store, Reopen(h)), ElementsAre(1, 4));
}

TEST_F(ObjectStoreTest, FailingChangesLeaveTheStoreAsItWas) {
    const CEOID r = store->CeWriteRecordProps(h, 0, Keyed(1, 1));
    store->FailChangesAfter(1);
    EXPECT_NE(store->CeWriteRecordProps(h, 0, Keyed(2, 2)), 0u);
    EXPECT_EQ(store->CeWriteRecordProps(h, 0, Keyed(3, 3)), 0u);
    EXPECT_EQ(store->CeWriteRecordProps(h, r, Keyed(9, 9)), 0u);
    EXPECT_FALSE(store->CeDeleteRecord(h, r));
    EXPECT_EQ(store->CeCreateDatabase(u"Other", 0), 0u);
    EXPECT_THAT(ReadTags(*store, Reopen(h)), ElementsAre(1, 2));  // reads still work
}

TEST(UnavailableObjectStore, FailsEveryCall) {
    auto store = MakeUnavailableObjectStore();
    CEOID oid = 0;
    std::vector<PropValue> props;
    EXPECT_EQ(store->CeCreateDatabase(u"Times", 0), 0u);
    EXPECT_EQ(store->CeOpenDatabase(oid, u"Times", kSortPropertyId, 0), kInvalidStoreHandle);
    EXPECT_EQ(store->CeReadRecordProps(1, props), 0u);
    EXPECT_EQ(store->CeWriteRecordProps(1, 0, Keyed(1, 1)), 0u);
    StoreTransaction t(*store);
    EXPECT_FALSE(t.Commit());
}

}  // namespace
}  // namespace qv
