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

class IoFaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterFaultVfs());
        file_ = dir_ / "store.db";
        {
            auto store = OpenObjectStoreFile(file_);
            ASSERT_NE(store, nullptr);
            ASSERT_NE(store->CeCreateDatabase(u"Times", 0), 0u);
            ASSERT_NE(store->CeCreateDatabase(test::kAsideDatabase, 0), 0u);
            const StoreHandle h = Open(*store, u"Times");
            for (uint32_t i = 1; i <= 40; ++i)
                ASSERT_NE(store->CeWriteRecordProps(h, 0, Keyed(i, i)), 0u);
        }
        loop_ = std::make_unique<test::IoFaultLoop>(file_, test::ReadBytes(file_));
    }

    static StoreHandle Open(ObjectStore& store, const std::u16string& name) {
        CEOID oid = 0;
        return store.CeOpenDatabase(oid, name, kSortPropertyId, CEDB_AUTOINCREMENT);
    }

    // The steps of a change made through a handle on Times, on the fault layer.
    test::ChangeSteps Steps(std::function<bool(ObjectStore&, StoreHandle)> change) {
        return {[this] {
                    store_ = OpenObjectStoreFile(file_, kFaultVfsName);
                    ASSERT_NE(store_, nullptr);
                    times_ = Open(*store_, u"Times");
                },
                [this, change] { return change(*store_, times_); },
                [this] {
                    // The store goes on working after the failure.
                    EXPECT_NE(store_->CeWriteRecordProps(Open(*store_, test::kAsideDatabase), 0,
                                                         Keyed(1, 1)),
                              0u);
                    store_.reset();
                }};
    }

    void EveryFaultLeavesOldOrNew(const test::ChangeSteps& steps) {
        for (const test::IoFaultKind& kind : test::kIoFaultKinds) {
            const int points = loop_->Run(
                kind, steps, [this](const std::string& c, bool ok) { loop_->OldOrNew(c, ok); });
            if (HasFailure()) return;
            RecordProperty(kind.name, points);
        }
    }

    test::TempDir dir_;
    fs::path file_;
    std::unique_ptr<test::IoFaultLoop> loop_;
    std::unique_ptr<ObjectStore> store_;
    StoreHandle times_ = kInvalidStoreHandle;
};

TEST_F(IoFaultTest, EachCallOfOneChangeFailingLeavesTheStoreBeforeOrAfterIt) {
    {
        SCOPED_TRACE("adding a record");
        EveryFaultLeavesOldOrNew(Steps([](ObjectStore& s, StoreHandle h) {
            return s.CeWriteRecordProps(h, 0, Keyed(20, 99)) != 0;
        }));
    }
    {
        SCOPED_TRACE("rewriting a record");
        EveryFaultLeavesOldOrNew(Steps([](ObjectStore& s, StoreHandle h) {
            const CEOID found = s.CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, 7);
            return found != 0 && s.CeWriteRecordProps(h, found, Keyed(70, 77)) == found;
        }));
    }
    {
        SCOPED_TRACE("deleting a record");
        EveryFaultLeavesOldOrNew(Steps([](ObjectStore& s, StoreHandle h) {
            const CEOID found = s.CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, 9);
            return found != 0 && s.CeDeleteRecord(h, found);
        }));
    }
}

// A failure inside a scope undoes the whole scope; what the caller changes after it in the
// same scope must not be kept on its own, and the scope must not report a commit.
TEST_F(IoFaultTest, EachCallOfAScopeFailingKeepsAllOfItOrNone) {
    EveryFaultLeavesOldOrNew(Steps([](ObjectStore& s, StoreHandle h) {
        const CEOID first = s.CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, 1);
        if (first == 0) return false;
        StoreTransaction scope(s);
        // Each change goes on whatever the one before said, as a careless caller would.
        const bool deleted = s.CeDeleteRecord(h, first);
        const bool added = s.CeWriteRecordProps(h, 0, Keyed(41, 41)) != 0;
        const bool addedAgain = s.CeWriteRecordProps(h, 0, Keyed(42, 42)) != 0;
        const bool committed = scope.Commit();
        return deleted && added && addedAgain && committed;
    }));
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
    store_ = OpenObjectStoreFile(file_, kFaultVfsName);
    ASSERT_NE(store_, nullptr);
    times_ = Open(*store_, u"Times");
    fs::path log = file_;
    log += "-wal";
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
    CEOID oid = 0;
    store->CeOpenDatabase(oid, u"Times", kSortPropertyId, 0);
    DatabaseInfo info;
    ASSERT_TRUE(store->CeOidGetInfo(oid, info));
    EXPECT_EQ(info.recordCount, 40 + 200 + 2000 + 3);
}

}  // namespace
}  // namespace qv
