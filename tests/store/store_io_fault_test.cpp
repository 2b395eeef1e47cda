// The program's store operations against a disk that fails each read, write or sync of the
// operation in turn: the store reopens whole, holds the state before or after the operation,
// and an operation that is not there was reported as failed.
#include <gtest/gtest.h>

#include "core/project_lists.h"
#include "objectstore/io_fault_util.h"
#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"
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
        for (const char16_t* name : {u"Travel", u"Meeting"}) {
            CategoryItem c;
            SetName(c, std::u16string(name));
            state->categories.Add(c);
        }
        ASSERT_TRUE(SaveCategories(*ctx));
        alpha_ = AddProject(u"Alpha");
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

    std::filesystem::path File() const { return dir_ / "objectstore.sqlite"; }

    uint32_t AddProject(const char16_t* name) {
        ProjectRecord p;
        p.name = std::u16string(name);
        SetDate(p, MakeDate(2005, 10, 1));
        uint32_t id = 0;
        EXPECT_TRUE(AddProjectRecord(*ctx, p, id));
        clock.Set(OneSecondLater(clock.GetSystemTime()));
        return id;
    }

    void Close() {
        ctx.reset();
        state.reset();
        store.reset();
    }

    // A start of the program on the fault layer, then what the operation needs beforehand.
    test::ChangeSteps Steps(
        std::function<bool()> change, std::function<void()> ready = [] {}) {
        return {
            [this, ready] {
                store = OpenObjectStoreFile(File(), kFaultVfsName);
                ASSERT_NE(store, nullptr);
                state = std::make_unique<AppState>();
                shell = RecordingShell();
                ctx = std::make_unique<StoreContext>(StoreContext{*state, *store, shell, clock});
                ASSERT_TRUE(OpenStore(*ctx));
                ready();
            },
            change,
            [this] {
                // The store goes on working after the failure.
                CEOID oid = 0;
                const StoreHandle h = OpenByName(*store, test::kAsideDatabase, oid);
                EXPECT_NE(store->CeWriteRecordProps(h, 0, {PropValue::Number(0x13, 1)}), 0u);
                Close();
            }};
    }

    // Runs the operation against every kind of fault, judging with `judge` (old or new state
    // when none is given).
    void EveryFault(const test::ChangeSteps& steps,
                    std::function<void(const std::string&, bool)> judge = nullptr) {
        if (!judge) judge = [this](const std::string& c, bool ok) { loop_->OldOrNew(c, ok); };
        for (const test::IoFaultKind& kind : test::kIoFaultKinds) {
            loop_->Run(kind, steps, judge);
            if (HasFailure()) return;
        }
    }

    uint32_t alpha_ = 0, beta_ = 0;
    std::vector<uint32_t> records_;
    std::unique_ptr<test::IoFaultLoop> loop_;
};

TEST_F(StoreIoFaultTest, AddingUpdatingAndDeletingATimeRecordIsAllOrNothing) {
    {
        SCOPED_TRACE("adding");
        EveryFault(Steps([this] {
            uint32_t id = 0;
            return AddTimeRecord(*ctx, MakeRecord(0, 2005, 10, 29, 45, u"Meeting", u"new", alpha_),
                                 id);
        }));
    }
    {
        SCOPED_TRACE("updating");
        EveryFault(Steps([this] {
            return UpdateTimeRecord(
                *ctx, MakeRecord(records_[1], 2005, 11, 2, 120, u"Meeting", u"changed", alpha_));
        }));
    }
    {
        SCOPED_TRACE("deleting");
        EveryFault(Steps([this] { return DeleteTimeRecord(*ctx, records_[3]); }));
    }
}

TEST_F(StoreIoFaultTest, RewritingTheCategoriesKeepsTheWholeOldListOrTheWholeNewOne) {
    EveryFault(Steps([this] { return SaveCategories(*ctx); },
                     [this] {
                         CategoryItem c;
                         SetName(c, std::u16string(u"Phone"));
                         state->categories.Add(c);
                         state->categories.RemoveByName(std::u16string(u"Travel"));
                     }));
}

// The project's records go in one change and the project in a second: a failure between them
// may leave the project without records, and is reported.
TEST_F(StoreIoFaultTest, DeletingAProjectWithItsRecordsStopsOnlyBetweenItsTwoChanges) {
    const std::string recordsGone =
        loop_->ContentsAfter(Steps([this] { return DeleteProjectTimeRecords(*ctx, beta_); }));
    const auto steps = Steps([this] {
        return DeleteProjectTimeRecords(*ctx, beta_) && DeleteProjectRecord(*ctx, beta_);
    });
    EveryFault(steps, [&](const std::string& contents, bool reported) {
        if (contents == recordsGone) {
            EXPECT_FALSE(reported) << "success reported, but the project is still there";
        } else {
            loop_->OldOrNew(contents, reported);
        }
    });
}

}  // namespace
}  // namespace qv
