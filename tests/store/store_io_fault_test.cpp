// The program's store operations, single and batch, against a disk that fails each read, write
// or sync of the operation in turn: the store reopens whole, holds the state before or after
// the operation, and an operation that is not there was reported as failed.
#include <gtest/gtest.h>

#include "core/project_lists.h"
#include "objectstore/io_fault_util.h"
#include "store/batch_changes.h"
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

    // A start of the program on the fault layer, then what the operation needs beforehand. The
    // change counts as reported done only when it succeeded with nothing to tell.
    test::ChangeSteps Steps(
        std::function<StoreResult()> operation, std::function<void()> ready = [] {}) {
        const auto change = [operation] {
            const StoreResult result = operation();
            return result.ok() && result.failures().empty();
        };
        return {[this, ready] {
                    store = OpenObjectStoreFile(File(), kFaultVfsName);
                    ASSERT_NE(store, nullptr);
                    state = std::make_unique<AppState>();
                    ctx = std::make_unique<StoreContext>(StoreContext{*state, *store, clock});
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

    // Runs the operation against every kind of fault: the old state or the new one.
    void EveryFault(const test::ChangeSteps& steps) {
        const auto judge = [this](const std::string& c, bool ok) { loop_->OldOrNew(c, ok); };
        for (const test::IoFaultKind& kind : test::kIoFaultKinds) {
            loop_->Run(kind, steps, judge);
            if (HasFailure()) return;
        }
    }

    uint32_t alpha_ = 0, beta_ = 0;
    std::vector<uint32_t> records_;
    std::unique_ptr<test::IoFaultLoop> loop_;

    void SetCategories(std::initializer_list<const char16_t*> names) {
        state->categories.Clear();
        for (const char16_t* name : names) {
            CategoryItem c;
            SetName(c, std::u16string(name));
            state->categories.Add(c);
        }
    }

    TimeRecordList range_;
};

TEST_F(StoreIoFaultTest, EverySingleAndBatchChangeIsAllOrNothing) {
    const auto loadAlpha = [this] {
        state->currentProject.projectId = alpha_;
        ASSERT_TRUE(LoadTimeRecords(*ctx));
    };
    const struct {
        const char* name;
        std::function<StoreResult()> change;
        std::function<void()> ready;
    } operations[] = {
        {"adding",
         [this] {
             uint32_t id = 0;
             return AddTimeRecord(*ctx, MakeRecord(0, 2005, 10, 29, 45, u"Meeting", u"new", alpha_),
                                  id);
         },
         [] {}},
        {"updating",
         [this] {
             return UpdateTimeRecord(
                 *ctx, MakeRecord(records_[1], 2005, 11, 2, 120, u"Meeting", u"changed", alpha_));
         },
         [] {}},
        {"deleting", [this] { return DeleteTimeRecord(*ctx, records_[3]); }, [] {}},
        {"rewriting the categories", [this] { return SaveCategories(*ctx); },
         [this] {
             SetCategories({u"Meeting", u"Phone"});
         }},
        {"deleting a range", [this] { return DeleteTimeRecords(*ctx, range_); },
         [&, this] {
             loadAlpha();
             range_.Clear();  // the later two of alpha's three records
             for (uint16_t i = 1; i < state->timeRecords.Count(); ++i) {
                 range_.Append(*state->timeRecords.FindAt(i));
             }
         }},
        {"renaming a category in the records",
         [this] { return SaveCategoryRename(*ctx, u"Travel", u"Office", true); },
         [&, this] {
             loadAlpha();
             SetCategories({u"Meeting", u"Office"});
         }},
        {"deleting a category with its records",
         [this] { return SaveCategoryDeletion(*ctx, u"Travel", true); },
         [&, this] {
             loadAlpha();
             SetCategories({u"Meeting"});
         }},
        {"deleting a project with its records",
         [this] { return DeleteProjectWithRecords(*ctx, beta_); }, [] {}},
    };
    for (const auto& operation : operations) {
        SCOPED_TRACE(operation.name);
        EveryFault(Steps(operation.change, operation.ready));
    }
}

}  // namespace
}  // namespace qv
