#include "store/record_store.h"

#include <gtest/gtest.h>

#include "core/project_lists.h"
#include "store_fixture.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;
using Failures = std::vector<StoreFailure>;
using Ids = std::vector<uint32_t>;

class RecordStoreTest : public testing::StoreTest {
  protected:
    // Starts with one project ("Alpha") on a fresh device as the current one; its identifier.
    uint32_t StartWithProject() {
        EXPECT_TRUE(OpenStore(*ctx));
        const uint32_t id = AddProject(u"Alpha");
        CopyFrom(state->currentProject, *state->projects.First());
        return id;
    }

    uint32_t Add(const TimeRecord& r) {
        uint32_t id = 0;
        EXPECT_TRUE(AddTimeRecord(*ctx, r, id));
        return id;
    }

    Ids LoadedIds() {
        Ids ids;
        for (TimeRecord* r = state->timeRecords.First(); r; r = state->timeRecords.Next())
            ids.push_back(r->recordId);
        return ids;
    }
};

// Projects without records take the time records with them at the next start. (Empty
// databases dropped at the exit, and kept ones, are walked by the project scenarios.)
TEST_F(RecordStoreTest, TimeRecordsLeaveWithTheLastProject) {
    StoreRawRecord(100, 1, u"90");
    ASSERT_TRUE(OpenStore(*ctx));
    DatabaseInfo info;
    ASSERT_TRUE(store->CeOidGetInfo(state->handles.timeDatabaseId, info));
    EXPECT_EQ(info.recordCount, 0);
}

TEST_F(RecordStoreTest, LoadingChecksAndNormalisesStoredMinutes) {
    const std::pair<Text, const char16_t*> cases[] = {// no minutes: the load is refused
                                                      {u"1499", u"1499"},
                                                      {u"0090", u"90"},
                                                      {std::nullopt, u"0"},
                                                      {u"1500", nullptr},
                                                      {u"-1", nullptr}};
    for (const auto& [stored, minutes] : cases) {
        Restart(true);
        ASSERT_TRUE(OpenStore(*ctx));
        state->currentProject.projectId = 1;
        StoreRawRecord(100, 1, stored);
        const StoreResult loaded = LoadTimeRecords(*ctx);
        EXPECT_EQ(loaded.ok(), minutes != nullptr);
        if (minutes) {
            ASSERT_EQ(state->timeRecords.Count(), 1);
            EXPECT_EQ(state->timeRecords.First()->minutesText, minutes);
            EXPECT_EQ(state->timeRecords.First()->dateKey, 20051029u);
            EXPECT_TRUE(loaded.failures().empty());
        } else {
            EXPECT_EQ(loaded.failures(), (Failures{{StoreFault::Unreadable, u""}}));
        }
    }
}

// Another project's records are not kept, but a broken one still stops the load; the scratch
// record ends as the last record read, kept or not.
TEST_F(RecordStoreTest, LoadsTheCurrentProjectsRecordsOrAllInIdentifierOrder) {
    ASSERT_TRUE(OpenStore(*ctx));
    for (auto [id, project, minutes] :
         {std::tuple(300, 2, u"10"), {100, 1, u"20"}, {200, 3, u"30"}, {150, 2, u"40"}})
        StoreRawRecord(id, project, minutes);
    state->currentProject.projectId = 2;
    ASSERT_TRUE(LoadTimeRecords(*ctx));
    EXPECT_EQ(LoadedIds(), (Ids{150, 300}));
    EXPECT_EQ(state->scratchRecord.recordId, 300u);
    state->currentProject.projectId = 1;
    ASSERT_TRUE(LoadTimeRecords(*ctx));
    EXPECT_EQ(state->scratchRecord.recordId, 300u);
    EXPECT_EQ(state->scratchRecord.minutesText, u"10");
    ASSERT_TRUE(LoadAllTimeRecords(*ctx));
    EXPECT_EQ(LoadedIds(), (Ids{100, 150, 200, 300}));

    StoreRawRecord(250, 3, u"1500");
    EXPECT_FALSE(LoadTimeRecords(*ctx));
}

// Records booked in one second get identifiers a second apart. A missing record fails with
// nothing to tell; a refused change names the database. (Updates and deletions reaching their
// record are walked by the register scenarios.)
TEST_F(RecordStoreTest, IdentifiersMoveOnASecondAndFailuresNameTheDatabase) {
    const uint32_t pid = StartWithProject();
    clock.Set(At(2005, 10, 1, 12, 3, 4));
    const uint32_t a = Add(MakeRecord(0, 2005, 10, 1, 10, u"Travel", std::nullopt, pid));
    EXPECT_EQ((Ids{a, Add(MakeRecord(0, 2005, 10, 11, 30, u"Work", std::nullopt, pid))}),
              (Ids{11234, 11235}));
    const TimeRecord changed = MakeRecord(a, 2005, 10, 1, 120, u"Meeting", u"moved", pid);
    for (const StoreResult& missing : {UpdateTimeRecord(*ctx, MakeRecord(424242, 2005, 1, 1, 5)),
                                       DeleteTimeRecord(*ctx, 424242)}) {
        EXPECT_FALSE(missing);
        EXPECT_TRUE(missing.failures().empty());
    }
    store->FailChangesAfter(0);
    uint32_t unused = 0;
    for (auto [result, fault] :
         {std::pair{AddTimeRecord(*ctx, MakeRecord(0, 2005, 10, 1, 10), unused),
                    StoreFault::Adding},
          std::pair{UpdateTimeRecord(*ctx, changed), StoreFault::Editing},
          std::pair{DeleteTimeRecord(*ctx, a), StoreFault::Deleting}}) {
        EXPECT_FALSE(result);
        EXPECT_EQ(result.failures(), (Failures{{fault, kTimeDatabaseName}}));
    }
}

// Every stored record of the project goes, loaded or not, by its own object: a record
// identifier shared with another project's record is spared. A refused deletion keeps them all.
TEST_F(RecordStoreTest, DeletingAProjectsRecordsIsAllOrNothingAndSparesSharedIdentifiers) {
    StartWithProject();
    StoreRawRecord(100, 1, u"10");
    StoreRawRecord(100, 2, u"20");  // the same identifier, as older versions could store it
    StoreRawRecord(300, 2, u"30");
    StoreRawRecord(400, 2, u"40");
    state->currentProject.projectId = 2;
    ASSERT_TRUE(LoadTimeRecords(*ctx));
    state->timeRecords.RemoveAt(0);  // not loaded records go too

    store->FailChangesAfter(1);  // the second deletion fails
    const StoreResult refused = DeleteProjectTimeRecords(*ctx, 2);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.failures(), (Failures{{StoreFault::Deleting, kTimeDatabaseName}}));
    store->FailChangesAfter(-1);
    ASSERT_TRUE(LoadAllTimeRecords(*ctx));
    EXPECT_EQ(LoadedIds(), (Ids{100, 100, 300, 400}));

    ASSERT_TRUE(DeleteProjectTimeRecords(*ctx, 2));
    ASSERT_TRUE(LoadAllTimeRecords(*ctx));
    ASSERT_EQ(LoadedIds(), (Ids{100}));
    EXPECT_EQ(state->timeRecords.First()->projectId, 1u);
}

TEST_F(RecordStoreTest, TheDatabaseRefusesItsRecordAfterTheLargestCount) {
    const uint32_t pid = StartWithProject();
    StoreTransaction bulk(*store);
    for (uint32_t i = 1; i <= kMaxListRecords; ++i) StoreRawRecord(100000000 + i, pid, u"10");
    ASSERT_TRUE(bulk.Commit());
    uint32_t id = 0;
    const StoreResult full = AddTimeRecord(*ctx, MakeRecord(0, 2005, 10, 1, 10), id);
    EXPECT_FALSE(full);
    EXPECT_EQ(full.failures(), (Failures{{StoreFault::TooManyRecords, u""}}));
}

}  // namespace
}  // namespace qv
