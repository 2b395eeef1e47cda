#include <gtest/gtest.h>

#include "core/project_lists.h"
#include "store_fixture.h"
#include "support/record_builders.h"

namespace qv {
namespace {

class CategoriesProjectsStoreTest : public testing::StoreTest {
  protected:
    template <class List>
    std::vector<std::u16string> Names(List& list) {
        std::vector<std::u16string> names;
        for (auto* item = list.First(); item; item = list.Next()) names.push_back(*item->name);
        return names;
    }
};

// The order survives a save and the next start; a failed save keeps the previous list; a
// name stored twice loads once; an empty list is kept as no database.
TEST_F(CategoriesProjectsStoreTest, CategoriesSurviveTheNextStartOrAFailedSave) {
    ASSERT_TRUE(OpenStore(*ctx));
    SetCategories({u"Work", u"Travel", u"Meeting"});
    ASSERT_TRUE(SaveCategories(*ctx));
    const auto dump = store->Dump();
    ASSERT_EQ(dump[1].name, u"Brumo QuorvellaCustom");
    ASSERT_EQ(dump[1].records.size(), 3u);
    EXPECT_EQ(dump[1].records[2][0].ulVal, 2u);
    EXPECT_EQ(dump[1].records[2][1].lpwstr, u"Meeting");
    SetCategories({u"Work", u"Travel", u"Meeting", u"Phone"});
    store->FailChangesAfter(4);  // the delete, the create and two writes go through
    const StoreResult refused = SaveCategories(*ctx);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.failures(),
              (std::vector<StoreFailure>{{StoreFault::Editing, kCategoriesDatabaseName}}));
    store->FailChangesAfter(-1);
    CEOID oid = 0;
    const StoreHandle h = OpenByName(*store, kCategoriesDatabaseName, oid);
    store->CeWriteRecordProps(h, 0,
                              {PropValue::Number(0x13, 3), PropValue::String(0x1001F, u"Work")});
    store->CloseHandle(h);
    Restart();
    ASSERT_TRUE(OpenStore(*ctx));
    EXPECT_EQ(Names(state->categories),
              (std::vector<std::u16string>{u"Work", u"Travel", u"Meeting"}));

    state->categories.Clear();
    ASSERT_TRUE(SaveCategories(*ctx));
    for (const DatabaseDump& d : store->Dump()) EXPECT_NE(d.name, u"Brumo QuorvellaCustom");
    Restart();
    ASSERT_TRUE(OpenStore(*ctx));
    EXPECT_EQ(state->categories.Count(), 0);
}

TEST_F(CategoriesProjectsStoreTest, ProjectsRoundTripAndTheCurrentOneComesFromLastProject) {
    ASSERT_TRUE(OpenStore(*ctx));
    clock.Set(At(2005, 10, 5, 14, 3, 9));
    const uint32_t beta = AddProject(u"Beta", MakeDate(2005, 10, 5));
    EXPECT_EQ(beta, 51439u);
    EXPECT_EQ(AddProject(u"Alpha", MakeDate(2004, 3, 5)), 514310u);  // same second: 14:03:10
    ProjectRecord noDescription;
    noDescription.name = u"Gamma";
    noDescription.description = u"";
    clock.Set(At(2005, 10, 1, 0, 0, 0));
    uint32_t gamma = 0;
    ASSERT_TRUE(AddProjectRecord(*ctx, noDescription, gamma));
    EXPECT_EQ(gamma, 1000u);

    // A name differing in case is another name. (The named last project becoming the current
    // one, renames and deletions are walked by the project scenarios.)
    Restart();
    state->settings.LastProject = u"alpha";
    ASSERT_TRUE(OpenStore(*ctx));
    EXPECT_EQ(Names(state->projects), (std::vector<std::u16string>{u"Gamma", u"Beta", u"Alpha"}));
    EXPECT_EQ(state->currentProject.name, u"Gamma");
    EXPECT_EQ(state->settings.LastProject, u"Gamma");
    EXPECT_EQ(state->projects.FindAt(0)->description, u"");
    EXPECT_EQ(state->projects.FindAt(1)->description, u" ");  // absent is stored as a blank
    EXPECT_EQ(DateText(*state->projects.FindAt(2), 0), u"05-03-04");
    ASSERT_TRUE(DeleteProjectRecord(*ctx, beta));
    const StoreResult gone = DeleteProjectRecord(*ctx, beta);
    EXPECT_FALSE(gone);
    EXPECT_TRUE(gone.failures().empty());  // nothing to tell
}

TEST_F(CategoriesProjectsStoreTest, ProjectSortsKeepTiesAscendingAndReverseThemDescending) {
    ASSERT_TRUE(OpenStore(*ctx));
    AddProject(u"beta", MakeDate(2005, 1, 2));
    AddProject(u"Beta", MakeDate(2005, 1, 1));
    AddProject(u"Alpha", MakeDate(2005, 1, 2));
    int total = 30;
    for (ProjectRecord* p = state->projects.First(); p; p = state->projects.Next()) {
        p->totalMinutes = total;
        total = 90;
    }
    using V = std::vector<std::u16string>;
    const struct {
        bool (*sort)(AppState&, uint32_t);
        uint32_t order;
        V names;
    } sorts[] = {{SortProjectsByName, 0, {u"Alpha", u"Beta", u"beta"}},
                 {SortProjectsByName, 1, {u"beta", u"Beta", u"Alpha"}},
                 {SortProjectsByDate, 2, {u"Beta", u"beta", u"Alpha"}},
                 {SortProjectsByDate, 1, {u"Alpha", u"beta", u"Beta"}},
                 {SortProjectsByTotal, 0, {u"beta", u"Alpha", u"Beta"}},  // Beta, Alpha: 90
                 {SortProjectsByTotal, 1, {u"Beta", u"Alpha", u"beta"}}};
    for (const auto& s : sorts) {
        ASSERT_TRUE(s.sort(*state, s.order));
        EXPECT_EQ(Names(state->projects), s.names);
    }
}

// The balance counts only the current project's records; one record at a time it moves
// without a walk and ends where a walk would.
TEST_F(CategoriesProjectsStoreTest, BalanceCountsTheCurrentProjectAndMovesAsAWalkWould) {
    state->currentProject.projectId = 1;
    ASSERT_TRUE(UpdateProjectBalance(*state));
    EXPECT_EQ(TimeText(state->balanceRecord, Comma), u"0,0");
    const auto list = [&](const TimeRecord& r) {
        state->timeRecords.Append(r);
        AdjustProjectBalance(*state, r, +1);
    };
    list(testing::MakeRecord(1, 2005, 1, 1, 600, u"A", std::nullopt, 1));
    list(testing::MakeRecord(2, 2005, 1, 1, 90, u"A", std::nullopt, 2));  // another project's
    TimeRecord noMinutes = testing::MakeRecord(3, 2005, 1, 1, 30, u"A", std::nullopt, 1);
    noMinutes.minutesText.reset();
    list(noMinutes);
    EXPECT_EQ(TimeText(state->balanceRecord, Colon), u"10:00");

    AdjustProjectBalance(*state, *state->timeRecords.FindAt(0), -1);
    state->timeRecords.RemoveAt(0);
    EXPECT_EQ(TimeText(state->balanceRecord, Comma), u"0,0");
    const int64_t moved = state->balanceMinutes;
    ASSERT_TRUE(UpdateProjectBalance(*state));
    EXPECT_EQ(state->balanceMinutes, moved);
}

}  // namespace
}  // namespace qv
