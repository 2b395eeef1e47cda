// The projects balance: totals per project over a range, and the records the dialog leaves
// behind however it ends.
#include "dialogs/projects_balance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "headless/scripted_host.h"
#include "store/projects_store.h"
#include "store/record_store.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

ProjectRecord Project(uint32_t id, const char16_t* name) {
    ProjectRecord p;
    p.projectId = id;
    p.name = std::u16string(name);
    SetDate(p, MakeDate(2005, 10, 1));
    return p;
}

TEST(ComputeProjectTotals, EachProjectGetsItsOwnRecordsFromStartToEndBothIncluded) {
    AppState s;
    s.projects.Append(Project(1, u"Alpha"));
    s.projects.Append(Project(2, u"Beta"));
    s.projects.Append(Project(3, u"Gamma"));
    s.projects.First()->totalMinutes = 999;  // a total left by an earlier report
    s.timeRecords.Append(MakeRecord(1, 2005, 10, 2, 10, u"Travel", std::nullopt, 1));  // before
    s.timeRecords.Append(MakeRecord(2, 2005, 10, 3, 30, u"Travel", std::nullopt, 1));  // start
    s.timeRecords.Append(MakeRecord(3, 2005, 10, 5, 60, u"Travel", std::nullopt, 1));  // end
    s.timeRecords.Append(MakeRecord(4, 2005, 10, 6, 15, u"Travel", std::nullopt, 1));  // after
    s.timeRecords.Append(MakeRecord(5, 2005, 10, 4, 45, u"Travel", std::nullopt, 2));
    s.timeRecords.Append(MakeRecord(6, 2005, 10, 5, 100, u"Travel", std::nullopt, 9));  // gone
    s.timeRecords.Append(MakeRecord(7, 2005, 10, 7, 20, u"Travel", std::nullopt, 9));

    int32_t total = -1;
    EXPECT_TRUE(ComputeProjectTotals(s, DateKeyOf(2005, 10, 3), DateKeyOf(2005, 10, 5), total));
    EXPECT_EQ(s.projects.FindAt(0)->totalMinutes, 90);
    EXPECT_EQ(s.projects.FindAt(1)->totalMinutes, 45);
    EXPECT_EQ(s.projects.FindAt(2)->totalMinutes, 0);
    EXPECT_EQ(total, 135);  // the deleted project's 100 minutes count nowhere

    // A single day; the range of a project that no longer exists finds nothing.
    EXPECT_TRUE(ComputeProjectTotals(s, DateKeyOf(2005, 10, 6), DateKeyOf(2005, 10, 6), total));
    EXPECT_EQ(total, 15);
    EXPECT_FALSE(ComputeProjectTotals(s, DateKeyOf(2005, 10, 7), DateKeyOf(2005, 10, 7), total));
    EXPECT_EQ(total, 0);
    EXPECT_EQ(s.projects.FindAt(0)->totalMinutes, 0);

    AppState none;
    none.timeRecords.Append(MakeRecord(1, 2005, 10, 4, 45));
    EXPECT_FALSE(ComputeProjectTotals(none, 0, 0xFFFFFFFF, total));
}

// The dialog over a store file of its own.
class ProjectsBalanceTest : public test::ScriptedHost {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("qv-balance-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        store_ = OpenObjectStoreFile(dir_ / "objectstore.sqlite");
        ASSERT_NE(store_, nullptr);
        ctx_ = std::make_unique<StoreContext>(StoreContext{state_, *store_, clock});
        ASSERT_TRUE(OpenStore(*ctx_));
        alpha_ = AddProject(u"Alpha");
        beta_ = AddProject(u"Beta");
        uint32_t id = 0;
        ASSERT_TRUE(AddTimeRecord(*ctx_, MakeRecord(0, 2005, 10, 3, 30, u"T", u"", alpha_), id));
        ASSERT_TRUE(AddTimeRecord(*ctx_, MakeRecord(0, 2005, 10, 3, 90, u"T", u"", beta_), id));
        CopyFrom(state_.currentProject, *state_.projects.First());
        ASSERT_TRUE(LoadTimeRecords(*ctx_));
        state_.rangeStartDate = state_.rangeEndDate = MakeDate(2005, 10, 3);
    }
    void TearDown() override {
        ctx_.reset();
        store_.reset();
        std::filesystem::remove_all(dir_);
    }
    uint32_t AddProject(const char16_t* name) {
        ProjectRecord p = Project(0, name);
        uint32_t id = 0;
        EXPECT_TRUE(AddProjectRecord(*ctx_, p, id));
        p.projectId = id;
        state_.projects.Append(p);
        clock.Set(OneSecondLater(clock.GetSystemTime()));
        return id;
    }
    int Run() {
        return ShowProjectsBalance(host, *ctx_, [this] { ++exports_; });
    }

    std::filesystem::path dir_;
    std::unique_ptr<ObjectStore> store_;
    AppState state_;
    std::unique_ptr<StoreContext> ctx_;
    uint32_t alpha_ = 0, beta_ = 0;
    int exports_ = 0;
};

TEST_F(ProjectsBalanceTest, OkLeavesTheCurrentProjectsRecordsAndTheChosenOrder) {
    // The report works on both projects' records; Export... runs its hook and comes back.
    Add(A::MakeClick(kProjectsBalanceReport));
    Look([this] { EXPECT_EQ(state_.timeRecords.Count(), 2); });
    Add(A::MakeClick(kProjectsBalanceExport));
    Look([this] {
        EXPECT_EQ(exports_, 1);
        EXPECT_EQ(host.TopWindow()->DefaultButton(), kProjectsBalanceReset);
    });
    Add(A::MakeClick(kProjectsBalanceReset));
    // A tap on the Balance header, twice: the order of the projects and the sort outlive OK.
    Add(A::MakeClick(kProjectsBalanceReport));
    Add(A::MakeHeader(kProjectsBalanceList, 1));
    Add(A::MakeHeader(kProjectsBalanceList, 1));
    Add(A::MakeClick(IDOK));
    EXPECT_EQ(Run(), kProjectsBalanceOk);
    ASSERT_EQ(state_.timeRecords.Count(), 1);
    EXPECT_EQ(state_.timeRecords.First()->projectId, alpha_);
    EXPECT_EQ(*state_.projects.First()->name, u"Beta");
    EXPECT_EQ(state_.projects.First()->totalMinutes, 90);
    EXPECT_EQ(state_.settings.SortPBalance, 1u);
    EXPECT_EQ(state_.settings.SortOrderPBalance, 1u);
    EXPECT_TRUE(errors.empty());
}

TEST_F(ProjectsBalanceTest, TheListIsBuiltAgainAtTheRectangleOfEachLayout) {
    auto place = [this](Rect rect, int nameWidth, int balanceWidth) {
        Look([=, this] {
            const ControlState* list = host.TopWindow()->Find(kProjectsBalanceList);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->rect, rect);
            ASSERT_EQ(list->columns.size(), 2u);
            EXPECT_EQ(list->columns[0].width, nameWidth);
            EXPECT_EQ(list->columns[1].width, balanceWidth);
            EXPECT_EQ(list->rows.size(), 2u);
        });
    };
    Add(A::MakeClick(kProjectsBalanceReport));
    place({7, 120, 223, 108}, 120, 95);
    Add(A::MakeScreen(320, 240));
    place({140, 5, 173, 105}, 95, 100);
    Add(A::MakeScreen(240, 320));
    place({7, 120, 223, 108}, 120, 95);
    Add(A::MakeClick(IDOK));
    EXPECT_EQ(Run(), kProjectsBalanceOk);
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace qv
