// The object store's contract: ordering, seeking, reading, writing, deleting, transactions, and
// the coding of a record's stored bytes.
#include "platform/objectstore/object_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "objectstore/store_test_util.h"
#include "platform/objectstore/record_codec.h"

namespace qv {
namespace {

using test::Keyed;
using test::kTag;
using ::testing::ElementsAre;

constexpr uint32_t Text(uint16_t n) {
    return PropId(n, CEVT_LPWSTR);
}

class ObjectStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store = OpenObjectStoreFile(dir / "store.db");
        ASSERT_NE(store, nullptr);
        db = store->CeCreateDatabase(u"Times", 0);
        ASSERT_NE(db, 0u);
        h = test::OpenDb(*store, u"Times");
    }
    int Count() { return test::RecordCount(*store, u"Times"); }
    StoreHandle OpenById(CEOID oid, uint32_t flags = 0) {
        return store->CeOpenDatabase(oid, u"", kSortPropertyId, flags);
    }
    std::vector<uint32_t> Tags() {
        store->CloseHandle(h);
        return test::ReadTags(*store, h = test::OpenDb(*store, u"Times"));
    }
    CEOID Add(uint32_t key, uint32_t tag, StoreHandle to = 0) {
        return store->CeWriteRecordProps(to ? to : h, 0, Keyed(key, tag));
    }
    CEOID Seek(uint32_t value) {
        return store->CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, value);
    }

    test::TempDir dir;
    std::unique_ptr<ObjectStore> store;
    CEOID db = 0;
    StoreHandle h = kInvalidStoreHandle;
};

TEST_F(ObjectStoreTest, ReadsInUnsignedPropertyZeroOrderWithTiesInFirstWrittenOrder) {
    Add(5, 1);
    Add(0xFFFFFFFF, 2);
    store->CeWriteRecordProps(h, 0, {PropValue::Number(kTag, 3)});  // no property 0
    const CEOID tie = Add(2, 4);
    for (auto [key, tag] : {std::pair(0x80000000u, 5u), {2, 6}, {0, 7}, {2, 8}}) Add(key, tag);
    EXPECT_THAT(Tags(), ElementsAre(7, 4, 6, 8, 1, 5, 2, 3));
    // Rewriting a record keeps its place among equals (the program never rewrites property 0).
    ASSERT_EQ(store->CeWriteRecordProps(h, tie, {PropValue::Number(kTag, 40)}), tie);
    EXPECT_THAT(Tags(), ElementsAre(7, 40, 6, 8, 1, 5, 2, 3));
}

TEST_F(ObjectStoreTest, ARunOfTiesLongerThanABatchReadsWholeThroughAChangeHalfWay) {
    std::vector<uint32_t> expected;
    for (uint32_t tag = 1; tag <= 300; ++tag) {
        Add(tag == 1 ? 1 : tag == 300 ? 3 : 2, tag);
        expected.push_back(tag);
    }
    store->CloseHandle(h);
    h = test::OpenDb(*store, u"Times");
    std::vector<uint32_t> read;
    std::vector<PropValue> props;
    for (int i = 0; i < 150 && store->CeReadRecordProps(h, props) != 0; ++i) {
        read.push_back(props[1].ulVal);
    }
    // A change sends the next read back to the smallest batch, which the tied records before
    // the position fill.
    ASSERT_NE(Add(4, 301), 0u);
    expected.push_back(301);
    for (uint32_t tag : test::ReadTags(*store, h)) read.push_back(tag);
    EXPECT_EQ(read, expected);
}

TEST_F(ObjectStoreTest, SeeksAndReadsMoveOnFromThere) {
    const CEOID ten = Add(10, 1), firstTwenty = Add(20, 2);
    Add(20, 3);
    const CEOID thirty = Add(30, 4);
    EXPECT_EQ(Seek(20), firstTwenty);
    EXPECT_THAT(test::ReadTags(*store, h), ElementsAre(2, 3, 4));
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_CEOID, thirty), thirty);
    EXPECT_THAT(test::ReadTags(*store, h), ElementsAre(4));
    // A seek that finds nothing leaves the handle at the end.
    EXPECT_EQ(Seek(10), ten);
    EXPECT_EQ(Seek(15), 0u);
    EXPECT_THAT(test::ReadTags(*store, h), ElementsAre());
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_CEOID, db), 0u);  // a database, not a record
}

TEST_F(ObjectStoreTest, WritingReplacesGivenPropertiesInPlaceAndAppendsNewOnes) {
    const std::u16string emoji = u"h\u00e9llo \U0001F600";
    const CEOID r = store->CeWriteRecordProps(
        h, 0,
        {PropValue::Number(kSortPropertyId, 7), PropValue::String(Text(5), u"Work"),
         PropValue::String(Text(7), std::nullopt), PropValue::String(Text(6), u"")});
    ASSERT_NE(r, 0u);
    ASSERT_EQ(store->CeWriteRecordProps(
                  h, r, {PropValue::String(Text(9), u"new"), PropValue::String(Text(7), emoji)}),
              r);
    std::vector<PropValue> props;
    ASSERT_EQ(store->CeReadRecordProps(h, props), r);
    EXPECT_THAT(props,
                ElementsAre(PropValue::Number(kSortPropertyId, 7),
                            PropValue::String(Text(5), u"Work"), PropValue::String(Text(7), emoji),
                            PropValue::String(Text(6), u""), PropValue::String(Text(9), u"new")));
    EXPECT_EQ(Count(), 1);
}

TEST_F(ObjectStoreTest, RefusedOrFailingChangesChangeNothing) {
    const CEOID r = Add(1, 1);
    const StoreHandle oh = OpenById(store->CeCreateDatabase(u"Other", 0), CEDB_AUTOINCREMENT);
    const CEOID foreign = Add(1, 2, oh);
    EXPECT_EQ(store->CeWriteRecordProps(h, foreign, Keyed(1, 3)), 0u);  // another database's
    EXPECT_EQ(store->CeWriteRecordProps(h, db, Keyed(1, 3)), 0u);       // a database
    EXPECT_EQ(store->CeWriteRecordProps(h, 0, {PropValue::Number(PropId(2, 2), 1)}), 0u);
    EXPECT_EQ(store->CeWriteRecordProps(h, r, {PropValue::Number(PropId(2, 65), 1)}), 0u);
    EXPECT_EQ(Add(1, 3, h + 77), 0u);
    EXPECT_FALSE(store->CeDeleteRecord(h, foreign));
    EXPECT_EQ(store->CeSeekDatabase(h, CEDB_SEEK_CEOID, foreign), 0u);
    EXPECT_THAT(test::ReadTags(*store, oh), ElementsAre(2));
    EXPECT_THAT(Tags(), ElementsAre(1));
}

TEST_F(ObjectStoreTest, DatabasesAndRecordsAreFoundDeletedAndNeverReuseIdentifiers) {
    Add(1, 1);
    const CEOID b = Add(2, 2);
    EXPECT_TRUE(store->CeDeleteRecord(h, b));
    EXPECT_FALSE(store->CeDeleteRecord(h, b));
    const CEOID record = Add(2, 3);
    EXPECT_GT(record, b);
    EXPECT_THAT(Tags(), ElementsAre(1, 3));

    EXPECT_EQ(store->CeCreateDatabase(u"Times", 0), 0u);  // the name is taken
    EXPECT_NE(store->CeCreateDatabase(u"times", 3), 0u);  // names are case-sensitive
    EXPECT_EQ(OpenById(record), kInvalidStoreHandle);     // a record is not a database
    const StoreHandle second = OpenById(db);
    // Both handles must be closed first; then its records go with it.
    EXPECT_FALSE(store->CeDeleteDatabase(db));
    EXPECT_TRUE(store->CloseHandle(h));
    EXPECT_FALSE(store->CloseHandle(h));
    EXPECT_FALSE(store->CeDeleteDatabase(db));
    EXPECT_TRUE(store->CloseHandle(second));
    EXPECT_TRUE(store->CeDeleteDatabase(db));
    const CEOID again = store->CeCreateDatabase(u"Times", 0);
    EXPECT_GT(again, record);
    EXPECT_EQ(Count(), 0);
}

TEST_F(ObjectStoreTest, ADatabaseRefusesItsRecordAfterThe65535th) {
    StoreTransaction t(*store);
    for (uint32_t i = 0; i < 65535; ++i) ASSERT_NE(Add(i, i), 0u) << i;
    ASSERT_TRUE(t.Commit());
    EXPECT_EQ(Add(1, 1), 0u);
    const CEOID last = Seek(65534);
    EXPECT_EQ(store->CeWriteRecordProps(h, last, {PropValue::Number(kTag, 7)}), last);
    EXPECT_TRUE(store->CeDeleteRecord(h, last));
    EXPECT_NE(Add(1, 1), 0u);
    EXPECT_EQ(Count(), 65535);
    EXPECT_EQ(Tags().size(), 65535u);
}

TEST_F(ObjectStoreTest, TransactionScopesCommitAllOrNothingAndOnlyTheOutermostCommits) {
    EXPECT_FALSE(store->EndTransaction(true));  // no scope open
    // {outer commit, inner commit}: the inner commit is undone by the outer rollback, an inner
    // rollback undoes only the inner scope.
    for (auto [outer, inner, left] : {std::tuple(false, true, 0), std::tuple(true, false, 1)}) {
        ASSERT_TRUE(store->BeginTransaction());
        Add(1, 1);
        ASSERT_TRUE(store->BeginTransaction());
        Add(2, 2);
        ASSERT_TRUE(store->EndTransaction(inner));
        EXPECT_EQ(Count(), 2 - !inner);
        ASSERT_TRUE(store->EndTransaction(outer));
        EXPECT_EQ(Count(), left);
    }
    // A scope left without Commit rolls back, database creation included.
    {
        StoreTransaction t(*store);
        ASSERT_TRUE(t.ok());
        Add(3, 3);
        EXPECT_NE(store->CeCreateDatabase(u"Scratch", 0), 0u);
    }
    EXPECT_EQ(test::OpenDb(*store, u"Scratch"), kInvalidStoreHandle);
    EXPECT_THAT(Tags(), ElementsAre(1));
}

TEST(RecordCodec, RoundTripsIntoReusedStorageAndRefusesMalformedBytes) {
    const std::vector<PropValue> sample = {
        PropValue::Number(kSortPropertyId, 0xFFFFFFFF), PropValue::String(Text(5), u"Caf\u00e9"),
        PropValue::String(Text(7), std::nullopt), PropValue::String(Text(6), u"")};
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodeRecord(sample, bytes));
    // Decoding over longer, differently typed values leaves nothing of them behind.
    std::vector<PropValue> props(6, PropValue::String(Text(9), u"left over"));
    props[0] = PropValue::Number(PropId(3, CEVT_UI4), 42);
    ASSERT_TRUE(DecodeRecord(bytes.data(), bytes.size(), props));
    EXPECT_EQ(props, sample);
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(DecodeRecord(bytes.data(), n, props)) << n;
    bytes.push_back(0);
    EXPECT_FALSE(DecodeRecord(bytes.data(), bytes.size(), props));
    EXPECT_FALSE(EncodeRecord({PropValue::Number(PropId(1, 2), 1)}, bytes));

    const std::pair<bool, std::vector<uint8_t>> cases[] = {
        {true, {1, 0, 0}},                                    // no properties
        {false, {2, 0, 0}},                                   // unknown format
        {false, {1, 0xFF, 0xFF, 0x13, 0, 0, 0, 1, 0, 0, 0}},  // count too large
        {false, {1, 1, 0, 0x02, 0, 0, 0, 1, 0, 0, 0}},        // unknown type
        // A text longer than the bytes left, including lengths that overflow when doubled.
        {false, {1, 1, 0, 0x1F, 0, 5, 0, 2, 0, 0, 0, 'a', 0}},
        {false, {1, 1, 0, 0x1F, 0, 5, 0, 0xFE, 0xFF, 0xFF, 0x7F, 'a', 0}},
        {false, {1, 1, 0, 0x1F, 0, 5, 0, 0xFE, 0xFF, 0xFF, 0xFF}},
        {true, {1, 1, 0, 0x1F, 0, 5, 0, 1, 0, 0, 0, 'a', 0}},
    };
    for (const auto& [decodes, b] : cases)
        EXPECT_EQ(DecodeRecord(b.data(), b.size(), props), decodes) << b.size();
}

}  // namespace
}  // namespace qv
