// The program's store operations, single and batch, against a disk that fails each read, write
// or sync of the operation in turn: the store reopens whole, holds the state before or after
// the operation, and an operation that is not there was reported as failed.
#include <gtest/gtest.h>

#include "core/project_lists.h"
#include "objectstore/io_fault_util.h"
#include "store/batch_changes.h"
#include "store_fixture.h"
#include "support/record_builders.h"
namespace qv {
namespace {

using testing::MakeRecord;

class StoreIoFaultTest : public testing::StoreTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterFaultVfs());
        StoreTest::SetUp();
        ASSERT_TRUE(OpenStore(*ctx));
        SetCategories({u"Travel", u"Meeting"});
        ASSERT_TRUE(SaveCategories(*ctx));
        alpha_ = AddProject(u"Alpha");
        clock.Set(OneSecondLater(clock.GetSystemTime()));
        beta_ = AddProject(u"Beta");
        for (int i = 0; i < 5; ++i) {
            uint32_t id = 0;
            ASSERT_TRUE(AddTimeRecord(
                *ctx,
                MakeRecord(0, 2005, 10, 20 + i, 30 + i, u"Travel", u"memo", i < 3 ? alpha_ : beta_),
                id));
            records_.push_back(id);
        }
        ASSERT_NE(store->CeCreateDatabase(test::kAsideDatabase, 0), 0u);
        Close();
        loop_ = std::make_unique<test::IoFaultLoop>(File(), test::ReadBytes(File()));
    }

    // Alpha's records loaded as the current project's.
    void LoadAlpha() {
        state->currentProject.projectId = alpha_;
        ASSERT_TRUE(LoadTimeRecords(*ctx));
    }

    // Runs the operation, after a start of the program on the fault layer and what `ready`
    // does, against every kind of fault. The change counts as reported done only when it
    // succeeded with nothing to tell. The store goes on working after the failure.
    void EveryFault(
        const char* name, std::function<StoreResult()> operation,
        std::function<void()> ready = [] {}) {
        SCOPED_TRACE(name);
        loop_->RunEveryKind(
            {[this, ready] {
                 Restart(false, kFaultVfsName);
                 ASSERT_TRUE(OpenStore(*ctx));
                 ready();
             },
             [operation] {
                 const StoreResult result = operation();
                 return result.ok() && result.failures().empty();
             },
             [this] {
                 CEOID oid = 0;
                 const StoreHandle h = OpenByName(*store, test::kAsideDatabase, oid);
                 EXPECT_NE(store->CeWriteRecordProps(h, 0, {PropValue::Number(0x13, 1)}), 0u);
                 Close();
             }});
    }

    uint32_t alpha_ = 0, beta_ = 0;
    std::vector<uint32_t> records_;
    TimeRecordList range_;
    std::unique_ptr<test::IoFaultLoop> loop_;
};

TEST_F(StoreIoFaultTest, EverySingleAndBatchChangeIsAllOrNothing) {
    uint32_t id = 0;
    EveryFault("adding", [&] {
        return AddTimeRecord(*ctx, MakeRecord(0, 2005, 10, 29, 45, u"Meeting", u"new", alpha_), id);
    });
    EveryFault("updating", [this] {
        return UpdateTimeRecord(
            *ctx, MakeRecord(records_[1], 2005, 11, 2, 120, u"Meeting", u"changed", alpha_));
    });
    EveryFault("deleting", [this] { return DeleteTimeRecord(*ctx, records_[3]); });
    EveryFault(
        "rewriting the categories", [this] { return SaveCategories(*ctx); },
        [this] {
            SetCategories({u"Meeting", u"Phone"});
        });
    EveryFault(
        "deleting a range", [this] { return DeleteTimeRecords(*ctx, range_); },
        [this] {
            LoadAlpha();
            range_.Clear();  // the later two of alpha's three records
            for (uint16_t i = 1; i < state->timeRecords.Count(); ++i)
                range_.Append(*state->timeRecords.FindAt(i));
        });
    EveryFault(
        "renaming a category in the records",
        [this] { return SaveCategoryRename(*ctx, u"Travel", u"Office", true); },
        [this] {
            LoadAlpha();
            SetCategories({u"Meeting", u"Office"});
        });
    EveryFault(
        "deleting a category with its records",
        [this] { return SaveCategoryDeletion(*ctx, u"Travel", true); },
        [this] {
            LoadAlpha();
            SetCategories({u"Meeting"});
        });
    EveryFault("deleting a project with its records",
               [this] { return DeleteProjectWithRecords(*ctx, beta_); });
}

}  // namespace
}  // namespace qv
