// A computer killed while it books and writes its journal: every complete line of the journal
// is a change, only the last line may be torn, and the next run cuts the torn line off and
// goes on with the next serial, with every booking of the store in the journal.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <random>

#include "files/temp_dir.h"
#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"
#include "sync/journal_model.h"
#include "sync/sync_engine.h"

namespace qv::testing {
namespace {

// The program on the data folder, with sync on in `folder`.
struct Program {
    FixedClock clock{MakeDate(2026, 3, 1)};
    std::unique_ptr<ObjectStore> store;
    AppState state;
    StoreContext ctx{state, *store, clock};
    std::unique_ptr<sync::Engine> engine;

    Program(const test::TempDir& data, const std::filesystem::path& folder)
        : store(OpenObjectStoreFile(data / "objectstore.sqlite")) {
        if (!OpenStore(ctx)) return;
        engine = std::make_unique<sync::Engine>(ctx);
        if (!engine->On()) engine->TurnOn(folder);
    }

    bool Book(int minutes) {
        TimeRecord r;
        Reset(r);
        SetDate(r, MakeDate(2026, 3, 1 + minutes % 28));
        r.projectId = state.projects.FindAt(0)->projectId;
        SetCategory(r, state.categories.FindAt(0)->name);
        SetMinutes(r, FormatDecimal(minutes));
        SetMemo(r, u"on the train");
        uint32_t id = 0;
        if (!AddTimeRecord(ctx, r, id)) return false;
        engine->LocalChange();
        return engine->Run().ok;
    }
};

TEST(SyncJournalKill, AJournalKilledMidAppendKeepsWholeLinesAndGoesOnAfterTheTornOne) {
    test::TempDir data, folder;
    std::filesystem::path journal;
    {
        Program setup(data, folder.path());
        ProjectRecord p;
        Reset(p);
        p.name = u"Alpha";
        SetDate(p, MakeDate(2026, 1, 1));
        ASSERT_TRUE(AddProjectRecord(setup.ctx, p, p.projectId));
        setup.state.categories.Add([] {
            CategoryItem c;
            SetName(c, u"Travel");
            return c;
        }());
        ASSERT_TRUE(SaveCategories(setup.ctx));
        setup.engine->LocalChange();
        ASSERT_TRUE(setup.engine->Run().ok);
        journal =
            (folder.path() / ("quorvella-" + setup.engine->GetStatus().computer + ".journal"));
    }
    std::mt19937 rng(std::random_device{}());
    for (int round = 0; round < 10; ++round) {
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            Program program(data, folder.path());
            for (int minutes = 5; program.engine && program.Book(minutes); minutes += 5) {
            }
            _exit(1);
        }
        usleep(std::uniform_int_distribution<useconds_t>(10000, 100000)(rng));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped on its own";

        const std::string text = test::ReadBytes(journal);
        const std::vector<Change> lines = ReadJournal(text);
        size_t whole = 0;
        for (size_t i = 0; i < lines.size(); ++i) whole = text.find('\n', whole) + 1;
        EXPECT_EQ(text.find('\n', whole), std::string::npos) << "a bad line before the last";
    }
    // A torn last line as a power cut leaves it, when the kills left none: the start of a line.
    const std::string text = test::ReadBytes(journal);
    if (text.ends_with('\n')) test::WriteBytes(journal, text + text.substr(0, 40));

    Program program(data, folder.path());
    ASSERT_TRUE(program.engine && program.Book(600));
    const std::string after = test::ReadBytes(journal);
    const std::vector<Change> lines = ReadJournal(after);
    ASSERT_EQ(std::count(after.begin(), after.end(), '\n'), lines.size()) << after;
    for (size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i].serial, i + 1);
    (void)LoadAllTimeRecords(program.ctx);
    EXPECT_EQ(Merge(lines).records.size(), program.state.timeRecords.Count());
    EXPECT_GT(program.state.timeRecords.Count(), 5u);
}

}  // namespace
}  // namespace qv::testing
