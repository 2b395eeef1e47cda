// Two computers with their own stores and one shared folder, through the engine.
#include <gtest/gtest.h>

#include <memory>

#include "core/text.h"
#include "files/temp_dir.h"
#include "store/batch_changes.h"
#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"
#include "sync/journal_file.h"
#include "sync/journal_line.h"
#include "sync/ledger.h"
#include "sync/sync_engine.h"

namespace qv::sync {
namespace {

struct Computer {
    explicit Computer(const std::filesystem::path& file)
        : store(OpenObjectStoreFile(file)), clock(MakeDate(2026, 12, 7)) {
        EXPECT_TRUE(OpenStore(ctx));
    }

    uint32_t AddProject(const char16_t* name) {
        ProjectRecord p;
        p.name = std::u16string(name);
        p.description = u"d";
        SetDate(p, MakeDate(2026, 1, 2));
        EXPECT_TRUE(AddProjectRecord(ctx, p, p.projectId));
        state.projects.Append(p);
        clock.Set(OneSecondLater(clock.GetSystemTime()));
        return p.projectId;
    }
    uint32_t Book(uint32_t project, const char16_t* minutes, const char16_t* memo) {
        TimeRecord r;
        Reset(r);
        r.projectId = project;
        SetDate(r, MakeDate(2026, 12, 1));
        SetMinutes(r, std::u16string(minutes));
        SetCategory(r, std::u16string(u"Work"));
        SetMemo(r, std::u16string(memo));
        uint32_t id = 0;
        EXPECT_TRUE(AddTimeRecord(ctx, r, id));
        clock.Set(OneSecondLater(clock.GetSystemTime()));
        return id;
    }
    // The identifier of the project of that name, or of the first record.
    uint32_t Find(const char16_t* project, uint32_t* record = nullptr) {
        AppState view;
        StoreContext vctx{view, *store, clock};
        EXPECT_TRUE(OpenStore(vctx));
        if (record != nullptr && LoadAllTimeRecords(vctx))
            *record = view.timeRecords.First()->recordId;
        const ProjectRecord* p = view.projects.FindByName(std::u16string(project));
        return p != nullptr ? p->projectId : 0;
    }
    RunResult Changed() {
        engine.LocalChange();
        return engine.Run();
    }
    // Every record as "project minutes memo", the projects and the categories, as the program
    // loads them.
    std::string Shown() {
        AppState view;
        StoreContext vctx{view, *store, clock};
        EXPECT_TRUE(OpenStore(vctx));
        std::map<uint32_t, std::u16string> names;
        std::u16string shown = u"projects:";
        for (ProjectRecord* p = view.projects.First(); p; p = view.projects.Next()) {
            names[p->projectId] = *p->name;
            shown += u" " + *p->name;
        }
        shown += u"; categories:";
        for (CategoryItem* c = view.categories.First(); c; c = view.categories.Next())
            shown += u" " + *c->name;
        shown += u"; records:";
        if (LoadAllTimeRecords(vctx))
            for (TimeRecord* r = view.timeRecords.First(); r; r = view.timeRecords.Next())
                shown += u" " + names[r->projectId] + u"/" + *r->minutesText + u"/" + *r->memo;
        return ToUtf8(shown);
    }

    std::unique_ptr<ObjectStore> store;
    FixedClock clock;
    AppState state;
    StoreContext ctx{state, *store, clock};
    Engine engine{ctx};
};

class TwoComputers : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::filesystem::path folder = dir / "shared";
    Computer a{dir / "a.sqlite"};
    Computer b{dir / "b.sqlite"};
};

TEST_F(TwoComputers, BookingsEditsAndDeletionsTravelBothWays) {
    const uint32_t alpha = a.AddProject(u"Alpha");
    for (const char16_t* name : {u"Work", u"Travel"}) {
        CategoryItem c;
        SetName(c, std::u16string(name));
        a.state.categories.Add(c);
    }
    ASSERT_TRUE(SaveCategories(a.ctx));
    const uint32_t booked = a.Book(alpha, u"90", u"first\tline\nnext");
    RunResult r = a.engine.TurnOn(folder);
    ASSERT_TRUE(r.ok) << r.problem;
    EXPECT_EQ(r.written, 4u);
    r = b.engine.TurnOn(folder);
    ASSERT_TRUE(r.ok) << r.problem;
    EXPECT_EQ(r.applied, 4u);
    EXPECT_EQ(b.Shown(), a.Shown());
    EXPECT_EQ(b.Shown(),
              "projects: Alpha; categories: Work Travel; records: Alpha/90/first\tline\nnext");
    EXPECT_TRUE(a.engine.Run().ok);  // B wrote nothing new
    EXPECT_TRUE(a.engine.NothingNew());

    // An edit on A, then a booking and the deletion of A's record on B.
    TimeRecord edited;
    Reset(edited);
    edited.recordId = booked;
    edited.projectId = alpha;
    SetDate(edited, MakeDate(2026, 12, 1));
    SetMinutes(edited, std::u16string(u"30"));
    SetMemo(edited, std::u16string(u"edited"));
    ASSERT_TRUE(UpdateTimeRecord(a.ctx, edited));
    EXPECT_EQ(a.Changed().written, 1u);
    EXPECT_FALSE(b.engine.NothingNew());
    EXPECT_EQ(b.engine.Run().applied, 1u);
    EXPECT_EQ(b.Shown(), a.Shown());
    AppState view;
    StoreContext vctx{view, *b.store, b.clock};
    ASSERT_TRUE(OpenStore(vctx));
    ASSERT_TRUE(LoadAllTimeRecords(vctx));
    const uint32_t bAlpha = view.timeRecords.First()->projectId;
    ASSERT_TRUE(DeleteTimeRecord(b.ctx, view.timeRecords.First()->recordId));
    b.Book(bAlpha, u"15", u"from b");
    EXPECT_EQ(b.Changed().written, 2u);
    EXPECT_EQ(a.engine.Run().applied, 2u);
    EXPECT_EQ(a.Shown(), "projects: Alpha; categories: Work Travel; records: Alpha/15/from b");
    EXPECT_EQ(b.Shown(), a.Shown());
    // Nothing is applied twice: the journals read again change nothing.
    EXPECT_EQ(a.Changed().applied + b.Changed().applied, 0u);
}

TEST_F(TwoComputers, ConflictingOfflineEditsEndAlikeByClockThenComputer) {
    const uint32_t alpha = a.AddProject(u"Alpha");
    const uint32_t booked = a.Book(alpha, u"60", u"original");
    ASSERT_TRUE(a.engine.TurnOn(folder).ok);
    ASSERT_TRUE(b.engine.TurnOn(folder).ok);
    // Both edit the one record with the same clock: the greater computer wins.
    TimeRecord r;
    Reset(r);
    r.recordId = booked;
    r.projectId = alpha;
    SetDate(r, MakeDate(2026, 12, 1));
    SetMinutes(r, std::u16string(u"61"));
    SetMemo(r, std::u16string(u"by a"));
    ASSERT_TRUE(UpdateTimeRecord(a.ctx, r));
    AppState view;
    StoreContext vctx{view, *b.store, b.clock};
    ASSERT_TRUE(OpenStore(vctx));
    ASSERT_TRUE(LoadAllTimeRecords(vctx));
    TimeRecord onB = *view.timeRecords.First();
    SetMemo(onB, std::u16string(u"by b"));
    ASSERT_TRUE(UpdateTimeRecord(b.ctx, onB));
    ASSERT_TRUE(a.Changed().ok);
    ASSERT_TRUE(b.Changed().ok);
    ASSERT_TRUE(a.engine.Run().ok);
    const bool aWins = a.engine.GetStatus().computer > b.engine.GetStatus().computer;
    EXPECT_EQ(a.Shown(), b.Shown());
    EXPECT_EQ(a.Shown(), aWins ? "projects: Alpha; categories:; records: Alpha/61/by a"
                               : "projects: Alpha; categories:; records: Alpha/60/by b");
    // A later edit wins whoever made it.
    SetMemo(r, std::u16string(u"later"));
    ASSERT_TRUE(UpdateTimeRecord(a.ctx, r));
    ASSERT_TRUE(a.Changed().ok);
    ASSERT_TRUE(a.Changed().ok);
    ASSERT_TRUE(b.engine.Run().ok);
    EXPECT_EQ(b.Shown(), "projects: Alpha; categories:; records: Alpha/61/later");
    const Status status = b.engine.GetStatus();
    ASSERT_EQ(status.computers.size(), 2u);
    EXPECT_EQ(status.computers[0].waiting + status.computers[1].waiting, 0u);
}

TEST_F(TwoComputers, ProjectsPastTheLimitWaitUntilThereIsRoom) {
    std::vector<uint32_t> mine;
    for (char16_t c = u'a'; c < u'a' + 10; ++c) a.AddProject(std::u16string(1, c).c_str());
    for (char16_t c = u'A'; c < u'A' + 10; ++c)
        mine.push_back(b.AddProject(std::u16string(1, c).c_str()));
    ASSERT_TRUE(a.engine.TurnOn(folder).ok);
    RunResult r = b.engine.TurnOn(folder);
    EXPECT_TRUE(r.limitReached);
    EXPECT_EQ(r.applied, 5u);
    EXPECT_EQ(r.waiting, 5u);
    for (size_t i = 0; i < 5; ++i) ASSERT_TRUE(DeleteProjectRecord(b.ctx, mine[i]));
    r = b.Changed();
    EXPECT_FALSE(r.limitReached);
    EXPECT_EQ(r.applied, 5u);
    EXPECT_EQ(b.Shown(), "projects: F G H I J a b c d e f g h i j; categories:; records:");
    // A batch that passes the limit only for a while is applied whole.
    EXPECT_FALSE(a.engine.Run().limitReached);
    EXPECT_EQ(a.Shown(), "projects: a b c d e f g h i j F G H I J; categories:; records:");
    ProjectRecord renamed;
    Reset(renamed);
    renamed.projectId = a.Find(u"a");
    renamed.name = u"z";
    renamed.description = u"d";
    SetDate(renamed, MakeDate(2026, 1, 2));
    ASSERT_TRUE(UpdateProjectRecord(a.ctx, renamed));
    ASSERT_TRUE(a.Changed().ok);
    EXPECT_FALSE(b.engine.Run().limitReached);
    EXPECT_EQ(b.Shown(), "projects: F G H I J b c d e f g h i j z; categories:; records:");
}

TEST_F(TwoComputers, ABatchUndoneAtTheProjectLimitTellsTheProgramToReadItsListsAgain) {
    a.AddProject(u"Zeta");
    for (char16_t c = u'A'; c < u'A' + 15; ++c) b.AddProject(std::u16string(1, c).c_str());
    ASSERT_TRUE(a.engine.TurnOn(folder).ok);
    const RunResult r = b.engine.TurnOn(folder);
    EXPECT_TRUE(r.limitReached);
    EXPECT_EQ(r.applied, 0u);
    // Nothing was applied, yet the undone batch used the program's project list: either the
    // list is as stored or the program is told to read it again.
    std::u16string listed;
    for (uint32_t i = 0; i < b.state.projects.Count(); ++i)
        listed += b.state.projects.FindAt(i)->name.value_or(u"");
    EXPECT_TRUE(r.BookChanged() || listed == u"ABCDEFGHIJKLMNO") << ToUtf8(listed);
}

TEST_F(TwoComputers, AStoreCopiedToAnotherComputerStopsRatherThanLoseItsBooking) {
    const uint32_t alpha = a.AddProject(u"Alpha");
    ASSERT_TRUE(a.engine.TurnOn(folder).ok);
    std::filesystem::copy_file(dir / "a.sqlite", dir / "e.sqlite");
    Computer e{dir / "e.sqlite"};
    a.Book(alpha, u"60", u"on a");
    ASSERT_TRUE(a.Changed().ok);
    e.Book(e.Find(u"Alpha"), u"70", u"on e");
    const RunResult r = e.Changed();
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.problem.find("copied"), std::string::npos) << r.problem;
}

TEST_F(TwoComputers, AJournalLargerThanOneReadingIsReadWholeWithEveryLineOnce) {
    // Some 11 MB of lines: more than is read at a time, so lines cross from one reading to the
    // next.
    const std::string other(32, 'e');
    std::string bytes;
    const uint64_t count = 150000;
    for (uint64_t serial = 1; serial <= count; ++serial)
        bytes += EncodeLine({other, serial, serial, 1700000000, Kind::CategoryPut, "Work", {}});
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(AppendDurably(JournalPath(folder, other), bytes));
    b.AddProject(u"Alpha");
    ASSERT_TRUE(b.engine.TurnOn(folder).ok);
    const Status status = b.engine.GetStatus();
    ASSERT_EQ(status.computers.size(), 2u);
    const ComputerSeen& seen = status.computers[status.computers[0].id == other ? 0 : 1];
    EXPECT_EQ(seen.changes, count);
    EXPECT_EQ(seen.waiting, 0u);
    EXPECT_EQ(b.Shown(), "projects: Alpha; categories: Work; records:");
}

TEST_F(TwoComputers, AJournalWrittenAnewAfterItWasLostIsReadOnFromItsStart) {
    const uint32_t alpha = a.AddProject(u"Alpha");
    for (int i = 0; i < 6; ++i) a.Book(alpha, u"60", u"before");
    ASSERT_TRUE(a.engine.TurnOn(folder).ok);
    ASSERT_TRUE(b.engine.TurnOn(folder).ok);
    // The new journal grows past where B stopped in the old one.
    std::filesystem::remove(JournalPath(folder, a.engine.GetStatus().computer));
    for (int i = 0; i < 12; ++i) a.Book(alpha, u"30", u"after");
    ASSERT_TRUE(a.Changed().ok);
    EXPECT_EQ(b.engine.Run().applied, 12u);
    EXPECT_EQ(b.Shown(), a.Shown());
}

TEST_F(TwoComputers, AProjectDeletedWhileBookedElsewhereStaysUntilItsLastRecordGoes) {
    const uint32_t alpha = a.AddProject(u"Alpha");
    a.AddProject(u"Beta");
    ASSERT_TRUE(a.engine.TurnOn(folder).ok);
    ASSERT_TRUE(b.engine.TurnOn(folder).ok);
    ASSERT_TRUE(DeleteProjectWithRecords(a.ctx, alpha));
    ASSERT_TRUE(a.Changed().ok);
    b.Book(b.Find(u"Alpha"), u"7", u"late");
    ASSERT_TRUE(b.Changed().ok);
    EXPECT_EQ(a.engine.Run().applied, 1u);
    EXPECT_EQ(a.Shown(), "projects: Beta Alpha; categories:; records: Alpha/7/late");
    EXPECT_EQ(b.Shown(), "projects: Alpha Beta; categories:; records: Alpha/7/late");
    // Looking again finds nothing to note: the store is not touched.
    const auto generation = StoredGeneration(*a.store);
    ASSERT_TRUE(a.Changed().ok);
    EXPECT_EQ(StoredGeneration(*a.store), generation);
    uint32_t late = 0;
    b.Find(u"Alpha", &late);
    ASSERT_TRUE(DeleteTimeRecord(b.ctx, late));
    EXPECT_EQ(b.Changed().applied, 1u);
    ASSERT_TRUE(a.engine.Run().ok);
    EXPECT_EQ(a.Shown(), "projects: Beta; categories:; records:");
    EXPECT_EQ(b.Shown(), a.Shown());
}

// A crash may leave a torn line in the journal, or whole lines there while the outbox still
// holds them: the journal is mended and nothing reaches it twice.
TEST_F(TwoComputers, AJournalLeftByACrashIsMendedAndNothingIsWrittenTwice) {
    const uint32_t alpha = a.AddProject(u"Alpha");
    ASSERT_TRUE(a.engine.TurnOn(folder).ok);
    const auto journal = JournalPath(folder, a.engine.GetStatus().computer);
    std::string lines;
    ASSERT_TRUE(ReadFrom(journal, 0, lines));
    a.Book(alpha, u"5", u"one");
    ASSERT_TRUE(a.Changed().ok);
    std::string all;
    ASSERT_TRUE(ReadFrom(journal, 0, all));
    // The last line again in the outbox, and half of a line after it.
    const std::string last = all.substr(lines.size());
    ASSERT_TRUE(a.store->PutValue(kOutboxTable, OutboxKey(2), last));
    ASSERT_TRUE(AppendDurably(journal, last.substr(0, 20)));
    a.Book(alpha, u"6", u"two");
    EXPECT_EQ(a.Changed().written, 1u);
    ASSERT_TRUE(b.engine.TurnOn(folder).ok);
    EXPECT_EQ(b.Shown(), "projects: Alpha; categories:; records: Alpha/5/one Alpha/6/two");
    ASSERT_TRUE(ReadFrom(journal, 0, all));
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 3);
}

}  // namespace
}  // namespace qv::sync
