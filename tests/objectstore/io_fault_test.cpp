// A read, write or sync that fails inside a change leaves the store file whole, holding the
// change entirely or not at all, and a change that is not there is never reported as made.
#include <gtest/gtest.h>

#include <memory>

#include "objectstore/io_fault_util.h"
#include "objectstore/store_test_util.h"
#include "platform/objectstore/object_store.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::Keyed;
using test::OpenDb;

class IoFaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterFaultVfs());
        test::MakeStore(file_, 0);
        auto store = OpenObjectStoreFile(file_);
        ASSERT_NE(store, nullptr);
        ASSERT_NE(store->CeCreateDatabase(test::kAsideDatabase, 0), 0u);
        const StoreHandle h = OpenDb(*store, u"Times");
        for (uint32_t i = 1; i <= 40; ++i)
            ASSERT_NE(store->CeWriteRecordProps(h, 0, Keyed(i, i)), 0u);
    }

    void OpenOnFaultLayer() {
        store_ = OpenObjectStoreFile(file_, kFaultVfsName);
        ASSERT_NE(store_, nullptr);
        times_ = OpenDb(*store_, u"Times");
    }

    test::TempDir dir_;
    const fs::path file_ = dir_ / "store.db";
    std::unique_ptr<ObjectStore> store_;
    StoreHandle times_ = kInvalidStoreHandle;
};

// Inside a scope, a failure undoes the whole scope: what the caller changes after it in the
// same scope must not be kept on its own, and the scope must not report a commit. (Single
// additions, rewrites and deletions are broken call by call in the store's own fault loop.)
TEST_F(IoFaultTest, EachCallOfAChangeFailingLeavesTheStoreBeforeOrAfterIt) {
    test::IoFaultLoop(file_, test::ReadBytes(file_))
        .RunEveryKind(
            {[this] { OpenOnFaultLayer(); },
             [this] {
                 const CEOID first = store_->CeSeekDatabase(times_, CEDB_SEEK_VALUEFIRSTEQUAL, 1);
                 if (first == 0) return false;
                 StoreTransaction scope(*store_);
                 const bool deleted = store_->CeDeleteRecord(times_, first);
                 const bool added = store_->CeWriteRecordProps(times_, 0, Keyed(41, 41)) != 0;
                 const bool addedAgain = store_->CeWriteRecordProps(times_, 0, Keyed(42, 42)) != 0;
                 return deleted && added && addedAgain && scope.Commit();
             },
             [this] {
                 // The store goes on working after the failure.
                 EXPECT_NE(store_->CeWriteRecordProps(OpenDb(*store_, test::kAsideDatabase), 0,
                                                      Keyed(1, 1)),
                           0u);
                 store_.reset();
             }});
}

// SQLite undoes only the failed statement of a change that it refuses on its own data (here a
// taken name, after the new identifier was drawn); the store undoes the rest, inside a scope
// or not, so the refused change leaves no trace.
TEST_F(IoFaultTest, AChangeRefusedHalfWayLeavesNoTrace) {
    auto store = OpenObjectStoreFile(file_);
    ASSERT_NE(store, nullptr);
    const CEOID first = store->CeCreateDatabase(u"First", 0);
    EXPECT_EQ(store->CeCreateDatabase(u"Times", 0), 0u);
    {
        StoreTransaction scope(*store);
        EXPECT_EQ(store->CeCreateDatabase(u"Times", 0), 0u);
        EXPECT_TRUE(scope.Commit());
    }
    EXPECT_EQ(store->CeCreateDatabase(u"Second", 0), first + 1);
}

// The log is folded into the file every few changes, so its file stays small however many
// changes come, and a large change's log is cut back by the next one. A change of its own that
// finds the disk full once is made after the log has been folded in and emptied; one that
// finds it full again is refused.
TEST_F(IoFaultTest, TheLogStaysSmallAndAFullDiskIsTriedOnceMore) {
    OpenOnFaultLayer();
    const fs::path log = file_.string() + "-wal";
    constexpr uintmax_t kSmallLog = 128 * 1024;
    for (uint32_t i = 100; i < 300; ++i)
        ASSERT_NE(store_->CeWriteRecordProps(times_, 0, Keyed(i, i)), 0u);
    EXPECT_LE(fs::file_size(log), kSmallLog);
    {
        StoreTransaction scope(*store_);
        for (uint32_t i = 1000; i < 3000; ++i)
            ASSERT_NE(store_->CeWriteRecordProps(times_, 0, Keyed(i, i)), 0u);
        ASSERT_TRUE(scope.Commit());
    }
    ASSERT_NE(store_->CeWriteRecordProps(times_, 0, Keyed(5000, 5000)), 0u);
    EXPECT_LE(fs::file_size(log), kSmallLog);

    // Each commit is synced to the disk before it is reported made.
    ArmIoFault(IoPoint::Sync, 1000000);
    ASSERT_NE(store_->CeWriteRecordProps(times_, 0, Keyed(4999, 4999)), 0u);
    EXPECT_GT(IoCallsSinceArmed(IoPoint::Sync), 0);
    ArmIoFault(IoPoint::Write, 1, IoError::DiskFull);
    EXPECT_NE(store_->CeWriteRecordProps(times_, 0, Keyed(5001, 5001)), 0u);
    EXPECT_TRUE(IoFaultHit());
    ArmIoFault(IoPoint::Write, 1, IoError::DiskFull, true);
    EXPECT_EQ(store_->CeWriteRecordProps(times_, 0, Keyed(5002, 5002)), 0u);
    DisarmIoFault();
    store_.reset();

    // 40 from the start, 200 one by one, 2000 in one change, three more
    auto store = OpenObjectStoreFile(file_);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(test::RecordCount(*store, u"Times"), 40 + 200 + 2000 + 3);
}

}  // namespace
}  // namespace qv
