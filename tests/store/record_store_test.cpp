#include "store/record_store.h"

#include <gtest/gtest.h>

#include "core/project_lists.h"
#include "res/string_table.h"
#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store_fixture.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

class RecordStoreTest : public testing::StoreTest {
  protected:
    std::vector<std::u16string> DatabaseNames() {
        std::vector<std::u16string> names;
        for (const DatabaseDump& d : store->Dump()) names.push_back(d.name);
        return names;
    }

    // Writes a time record as stored properties, as an earlier run or another program did.
    void StoreRawRecord(uint32_t id, uint32_t project, const Text& minutes) {
        CEOID oid = 0;
        StoreHandle h = OpenByName(*store, kTimeDatabaseName, oid);
        if (h == kInvalidStoreHandle) {
            store->CeCreateDatabase(kTimeDatabaseName, 0);
            h = OpenByName(*store, kTimeDatabaseName, oid);
        }
        std::vector<PropValue> props = {
            PropValue::Number(0x00000013, id),      PropValue::Number(0x00010013, project),
            PropValue::Number(0x00020013, 29),      PropValue::Number(0x00030013, 10),
            PropValue::Number(0x00040013, 2005),    PropValue::String(0x0005001F, u"Travel"),
            PropValue::String(0x0006001F, minutes), PropValue::String(0x0007001F, u" ")};
        ASSERT_NE(store->CeWriteRecordProps(h, 0, props), 0u);
        store->CloseHandle(h);
    }

    // Starts with one project (id 7, "Alpha") on a fresh device.
    void StartWithProject(uint32_t* id = nullptr) {
        ASSERT_TRUE(OpenStore(*ctx));
        ProjectRecord p;
        p.name = u"Alpha";
        SetDate(p, MakeDate(2005, 10, 1));
        uint32_t pid = 0;
        ASSERT_TRUE(AddProjectRecord(*ctx, p, pid));
        p.projectId = pid;
        state->projects.Append(p);
        CopyFrom(state->currentProject, p);
        if (id) *id = pid;
    }

    uint32_t Add(const TimeRecord& r) {
        uint32_t id = 0;
        EXPECT_TRUE(AddTimeRecord(*ctx, r, id));
        return id;
    }

    std::vector<uint32_t> LoadedIds() {
        std::vector<uint32_t> ids;
        for (TimeRecord* r = state->timeRecords.First(); r; r = state->timeRecords.Next()) {
            ids.push_back(r->recordId);
        }
        return ids;
    }
};

TEST_F(RecordStoreTest, FirstStartOnAnEmptyDeviceCreatesAllThreeDatabases) {
    ASSERT_TRUE(OpenStore(*ctx));
    EXPECT_EQ(DatabaseNames(),
              (std::vector<std::u16string>{u"Brumo Quorvella", u"Brumo QuorvellaCustom",
                                           u"Brumo QuorvellaPr"}));
    EXPECT_EQ(state->categories.Count(), 0);
    EXPECT_EQ(state->projects.Count(), 0);
    EXPECT_TRUE(shell.events.empty());
    EXPECT_FALSE(LoadTimeRecords(*ctx));  // no records: false without a word
    EXPECT_TRUE(shell.events.empty());
}

TEST_F(RecordStoreTest, ProjectsWithoutRecordsTakeTheTimeRecordsWithThem) {
    StoreRawRecord(100, 1, u"90");
    store->CeCreateDatabase(kProjectsDatabaseName, 0);
    ASSERT_TRUE(OpenStore(*ctx));
    DatabaseInfo info;
    ASSERT_TRUE(store->CeOidGetInfo(state->handles.timeDatabaseId, info));
    EXPECT_EQ(info.recordCount, 0);
}

TEST_F(RecordStoreTest, ExitDropsEmptyDatabasesAndTheNextStartMakesThemAgain) {
    ASSERT_TRUE(OpenStore(*ctx));
    EXPECT_TRUE(DropEmptyTimeDatabase(*ctx));
    EXPECT_TRUE(DropEmptyProjectsDatabase(*ctx));
    EXPECT_EQ(DatabaseNames(), (std::vector<std::u16string>{u"Brumo QuorvellaCustom"}));
    Restart();
    ASSERT_TRUE(OpenStore(*ctx));
    EXPECT_EQ(DatabaseNames().size(), 3u);

    uint32_t pid = 0;
    Restart();
    StartWithProject(&pid);
    Add(MakeRecord(0, 2005, 10, 29, 90, u"Travel", std::nullopt, pid));
    EXPECT_TRUE(DropEmptyTimeDatabase(*ctx));
    EXPECT_TRUE(DropEmptyProjectsDatabase(*ctx));
    EXPECT_EQ(DatabaseNames().size(), 3u);  // one record keeps each
}

TEST_F(RecordStoreTest, LoadingChecksAndNormalisesStoredMinutes) {
    struct Case {
        Text stored;
        bool loads;
        const char16_t* minutes;
    } cases[] = {{u"1499", true, u"1499"},
                 {u"0090", true, u"90"},
                 {std::nullopt, true, u"0"},
                 {u"1500", false, nullptr},
                 {u"-1", false, nullptr}};
    for (const Case& c : cases) {
        Restart();
        std::filesystem::remove(dir_ / "objectstore.sqlite");
        Restart();
        ASSERT_TRUE(OpenStore(*ctx));
        state->currentProject.projectId = 1;
        StoreRawRecord(100, 1, c.stored);
        shell.events.clear();
        EXPECT_EQ(LoadTimeRecords(*ctx), c.loads);
        if (c.loads) {
            ASSERT_EQ(state->timeRecords.Count(), 1);
            EXPECT_EQ(state->timeRecords.First()->minutesText, c.minutes);
            EXPECT_EQ(state->timeRecords.First()->dateKey, 20051029u);
            EXPECT_TRUE(shell.events.empty());
        } else {
            using E = RecordingShell::Event;
            ASSERT_EQ(shell.events.size(), 4u);
            EXPECT_EQ(shell.events[1].kind, E::Beep);
            EXPECT_EQ(shell.events[3],
                      (E{E::Message, u"There are problems with Quorvella database !", u"Quorvella",
                         kStopBox}));
        }
    }
}

TEST_F(RecordStoreTest, LoadsTheCurrentProjectsRecordsOrAllInIdentifierOrder) {
    ASSERT_TRUE(OpenStore(*ctx));
    StoreRawRecord(300, 2, u"10");
    StoreRawRecord(100, 1, u"20");
    StoreRawRecord(200, 3, u"30");
    StoreRawRecord(150, 2, u"40");
    state->currentProject.projectId = 2;
    ASSERT_TRUE(LoadTimeRecords(*ctx));
    EXPECT_EQ(LoadedIds(), (std::vector<uint32_t>{150, 300}));
    ASSERT_TRUE(LoadAllTimeRecords(*ctx));
    EXPECT_EQ(LoadedIds(), (std::vector<uint32_t>{100, 150, 200, 300}));
}

// Another project's records are not kept, but a broken one still stops the load; the scratch
// record ends as the last record read, kept or not.
TEST_F(RecordStoreTest, OtherProjectsRecordsAreCheckedAndTheScratchRecordIsTheLastRead) {
    ASSERT_TRUE(OpenStore(*ctx));
    StoreRawRecord(100, 1, u"20");
    StoreRawRecord(200, 2, u"30");
    state->currentProject.projectId = 1;
    ASSERT_TRUE(LoadTimeRecords(*ctx));
    EXPECT_EQ(state->scratchRecord.recordId, 200u);
    EXPECT_EQ(state->scratchRecord.minutesText, u"30");
    state->currentProject.projectId = 2;
    ASSERT_TRUE(LoadTimeRecords(*ctx));
    EXPECT_EQ(state->scratchRecord.recordId, 200u);
    EXPECT_EQ(state->timeRecords.First()->minutesText, u"30");

    StoreRawRecord(150, 1, u"1500");
    EXPECT_FALSE(LoadTimeRecords(*ctx));
}

TEST_F(RecordStoreTest, IdentifiersStayUniqueSoUpdateAndDeleteReachTheRightRecord) {
    uint32_t pid = 0;
    StartWithProject(&pid);
    clock.Set(At(2005, 10, 1, 12, 3, 4));
    uint32_t a = Add(MakeRecord(0, 2005, 10, 1, 10, u"Travel", std::nullopt, pid));
    uint32_t b = Add(MakeRecord(0, 2005, 10, 1, 20, u"Meeting", std::nullopt, pid));
    clock.Set(At(2005, 10, 11, 2, 3, 4));  // the same digits, 11234, ten days later
    uint32_t c = Add(MakeRecord(0, 2005, 10, 11, 30, u"Work", std::nullopt, pid));
    clock.Set(At(2005, 10, 31, 23, 59, 59));  // moving on crosses into the next month
    uint32_t d = Add(MakeRecord(0, 2005, 10, 31, 40, u"Work", std::nullopt, pid));
    uint32_t e = Add(MakeRecord(0, 2005, 10, 31, 50, u"Work", std::nullopt, pid));
    EXPECT_EQ(a, 11234u);
    EXPECT_EQ(b, 11235u);
    EXPECT_EQ(c, 11236u);
    EXPECT_EQ(d, 31235959u);
    EXPECT_EQ(e, 1000u);  // the 1st at 00:00:00

    TimeRecord changed = MakeRecord(b, 2005, 10, 1, 120, u"Meeting", u"moved", pid);
    ASSERT_TRUE(UpdateTimeRecord(*ctx, changed));
    ASSERT_TRUE(DeleteTimeRecord(*ctx, c));
    ASSERT_TRUE(LoadTimeRecords(*ctx));
    EXPECT_EQ(LoadedIds(), (std::vector<uint32_t>{e, a, b, d}));
    EXPECT_EQ(state->timeRecords.FindAt(1)->minutesText, u"10");
    EXPECT_EQ(state->timeRecords.FindAt(2)->memo, u"moved");
    EXPECT_EQ(state->timeRecords.FindAt(2)->minutesText, u"120");

    EXPECT_FALSE(UpdateTimeRecord(*ctx, MakeRecord(424242, 2005, 1, 1, 5)));
    EXPECT_FALSE(DeleteTimeRecord(*ctx, 424242));
    EXPECT_TRUE(shell.events.empty());  // a missing record is no message
}

TEST_F(RecordStoreTest, StoreFailuresShowTheirNamedMessages) {
    uint32_t pid = 0;
    StartWithProject(&pid);
    uint32_t id = Add(MakeRecord(0, 2005, 10, 1, 10, u"Travel", std::nullopt, pid));
    store->FailChangesAfter(0);
    uint32_t unused = 0;
    EXPECT_FALSE(AddTimeRecord(*ctx, MakeRecord(0, 2005, 10, 1, 10), unused));
    EXPECT_FALSE(UpdateTimeRecord(*ctx, MakeRecord(id, 2005, 10, 1, 20)));
    EXPECT_FALSE(DeleteTimeRecord(*ctx, id));
    EXPECT_EQ(shell.Messages(), (std::vector<std::u16string>{
                                    u"Error during adding record to database: Brumo Quorvella",
                                    u"Error during edit operation in database: Brumo Quorvella",
                                    u"Error during deleting record in database: Brumo Quorvella"}));
    for (const auto& e : shell.events) {
        if (e.kind == RecordingShell::Event::Message) {
            EXPECT_EQ(e.flags, kNoticeBox);
            EXPECT_EQ(e.caption, u"Quorvella");
        }
    }
}

TEST_F(RecordStoreTest, DeletingAProjectsRecordsReachesEarlierRunsAndSparesOthers) {
    StartWithProject();  // a project keeps the records at the next start
    StoreRawRecord(100, 1, u"10");
    StoreRawRecord(200, 2, u"20");
    StoreRawRecord(300, 1, u"30");
    Restart();
    ASSERT_TRUE(OpenStore(*ctx));
    state->currentProject.projectId = 1;
    ASSERT_TRUE(LoadTimeRecords(*ctx));
    state->timeRecords.RemoveAt(0);  // not loaded records go too
    ASSERT_TRUE(DeleteProjectTimeRecords(*ctx, 1));
    ASSERT_TRUE(LoadAllTimeRecords(*ctx));
    EXPECT_EQ(LoadedIds(), (std::vector<uint32_t>{200}));
}

TEST_F(RecordStoreTest, DeletingAProjectsRecordsIsAllOrNothingAndSparesSharedIdentifiers) {
    StartWithProject();
    StoreRawRecord(100, 1, u"10");
    StoreRawRecord(100, 2, u"20");  // the same identifier, as older versions could store it
    StoreRawRecord(300, 2, u"30");
    StoreRawRecord(400, 2, u"40");

    store->FailChangesAfter(1);  // the second deletion fails
    EXPECT_FALSE(DeleteProjectTimeRecords(*ctx, 2));
    EXPECT_EQ(shell.Messages(), (std::vector<std::u16string>{
                                    u"Error during deleting record in database: Brumo Quorvella"}));
    store->FailChangesAfter(-1);
    ASSERT_TRUE(LoadAllTimeRecords(*ctx));
    EXPECT_EQ(LoadedIds(), (std::vector<uint32_t>{100, 100, 300, 400}));

    ASSERT_TRUE(DeleteProjectTimeRecords(*ctx, 2));
    ASSERT_TRUE(LoadAllTimeRecords(*ctx));
    ASSERT_EQ(LoadedIds(), (std::vector<uint32_t>{100}));
    EXPECT_EQ(state->timeRecords.First()->projectId, 1u);
}

TEST_F(RecordStoreTest, TheDatabaseRefusesItsRecordAfterTheLargestCount) {
    uint32_t pid = 0;
    StartWithProject(&pid);
    {
        StoreTransaction bulk(*store);
        for (uint32_t i = 1; i <= kMaxListRecords; ++i) StoreRawRecord(100000000 + i, pid, u"10");
        ASSERT_TRUE(bulk.Commit());
    }
    uint32_t id = 0;
    EXPECT_FALSE(
        AddTimeRecord(*ctx, MakeRecord(0, 2005, 10, 1, 10, u"Travel", std::nullopt, pid), id));
    EXPECT_EQ(shell.Messages().back(), LoadString(kStrTooManyRecords));
}

}  // namespace
}  // namespace qv
